#include "midi/Notification.h"
#include "plugin/ZarnelAudioProcessor.h"
#include "plugin/ZarnelAudioProcessorEditor.h"
#include "support/SynthRig.h"
#include "support/MessagePump.h"
#include "support/TempFolder.h"
#include "support/VirtualMidiBackend.h"
#include "ui/main/MainComp.h"

#include <gtest/gtest.h>

using namespace zarnel;

namespace
{

class MainCompTest : public ::testing::Test
{
protected:
    void pump(int ms) { zarnel::test::pumpMessages(ms); }

    juce::ScopedJuceInitialiser_GUI gui;
    test::SynthRig rig;
    ZarnelAudioProcessor processor{rig.folder.get(), rig.backend};
};

} // namespace

TEST(MainCompText, ProgressTexts)
{
    const std::tuple<int, int, const char*> cases[] = {
        {0, 0, "U1:1"}, {3, 127, "U4:128"}, {4, 0, "F1:1"}, {7, 127, "F4:128"}, {1, 63, "U2:64"}};
    for (const auto& [bank, program, text] : cases)
        EXPECT_EQ(MainComp::progressText(bank, program), juce::String(text));
}

TEST_F(MainCompTest, FirstOpeningShowsTheAboutPanelWhichClosesByItself)
{
    {
        ZarnelAudioProcessorEditor editor(processor);
        auto* about = editor.getMainComp().getAboutPanel();
        ASSERT_NE(about, nullptr);
        EXPECT_TRUE(about->closesByItself());
        pump(1500);
        EXPECT_NE(editor.getMainComp().getAboutPanel(), nullptr);
        pump(1200);
        EXPECT_EQ(editor.getMainComp().getAboutPanel(), nullptr);
    }
    ZarnelAudioProcessorEditor again(processor);
    EXPECT_EQ(again.getMainComp().getAboutPanel(), nullptr) << "later openings do not show it";
}

TEST_F(MainCompTest, AboutFromTheMenuStaysUntilClicked)
{
    ZarnelAudioProcessorEditor editor(processor);
    auto& main = editor.getMainComp();
    main.toggleAbout(false, 0);
    main.toggleAbout(true, 0);
    ASSERT_NE(main.getAboutPanel(), nullptr);
    EXPECT_FALSE(main.getAboutPanel()->closesByItself());
    pump(2500);
    ASSERT_NE(main.getAboutPanel(), nullptr);
    main.getAboutPanel()->mouseDown(juce::MouseEvent(juce::Desktop::getInstance().getMainMouseSource(), {}, {}, 0.0f,
                                                     0.0f, 0.0f, 0.0f, 0.0f, main.getAboutPanel(),
                                                     main.getAboutPanel(), juce::Time::getCurrentTime(), {},
                                                     juce::Time::getCurrentTime(), 1, false));
    pump(100);
    EXPECT_EQ(main.getAboutPanel(), nullptr);
}

TEST_F(MainCompTest, LayoutScalesWithTheWindowAndTheBarStays23High)
{
    ZarnelAudioProcessorEditor editor(processor);
    auto& main = editor.getMainComp();
    const std::pair<int, int> sizes[] = {{1191, 700}, {1429, 1046}, {452, 150}, {1012, 595}, {800, 600}};
    for (const auto& [w, h] : sizes)
    {
        editor.setSize(w, h);
        EXPECT_EQ(main.getBounds(), juce::Rectangle<int>(0, 0, w, h));
        EXPECT_EQ(main.getAppBar().getHeight(), 23) << w;
        EXPECT_EQ(main.getAppBar().getWidth(), w);
        EXPECT_FLOAT_EQ(processor.getState().uiScale.load(), (float)w / 1191.0f);
        // Products with the scale are truncated.
        EXPECT_EQ(main.getEditorArea().getBottom(), (int)(680.0f * ((float)w / 1191.0f))) << w;
        EXPECT_EQ(main.getProgramDisplay().getWidth(), (int)(180.0f * ((float)w / 1191.0f))) << w;
        EXPECT_EQ(processor.editorWidth, w);
        EXPECT_EQ(processor.getState().getSettings().getEntryInt(SettingsList::editorWidthEntry), w);
    }
}

TEST_F(MainCompTest, SizeLimitsAndReopeningKeepTheSize)
{
    {
        ZarnelAudioProcessorEditor editor(processor);
        auto& limits = editor.getLimits();
        EXPECT_EQ(limits.getMinimumWidth(), 452);
        EXPECT_EQ(limits.getMaximumHeight(), 1046);
        juce::Rectangle<int> bounds(0, 0, 2000, 100);
        limits.checkBounds(bounds, editor.getBounds(), {0, 0, 4000, 4000}, false, false, true, true);
        EXPECT_EQ(bounds.getWidth(), 1429);
        EXPECT_EQ(bounds.getHeight(), 150);
        editor.setSize(900, 640);
    }
    ZarnelAudioProcessorEditor reopened(processor);
    EXPECT_EQ(reopened.getWidth(), 900);
    EXPECT_EQ(reopened.getHeight(), 640);
}

TEST_F(MainCompTest, NotificationsAreHandledInArrivalOrder)
{
    ZarnelAudioProcessorEditor editor(processor);
    auto& main = editor.getMainComp();
    auto& state = processor.getState();
    main.drainNotifications();

    state.postNotification(Notification::globalDumpArrived);
    state.postNotification(Notification::globalDumpRequested);
    main.drainNotifications();
    EXPECT_EQ(main.getAppBar().getStatusLabel().getText(), "OFF-LINE");

    state.postNotification(Notification::globalDumpRequested);
    state.postNotification(Notification::noteOn(1, 60, 100)); // no panel for it yet: skipped
    state.postNotification(Notification::globalDumpArrived);
    main.drainNotifications();
    EXPECT_EQ(main.getAppBar().getStatusLabel().getText(), "DSI:  MOPHO X4 ON-LINE");
    std::uint32_t code;
    EXPECT_FALSE(state.popNotification(code)) << "the queue is emptied";
}

TEST_F(MainCompTest, OpeningSendsTheLinkTestAndGoesOnLineWhenTheSynthAnswers)
{
    ZarnelAudioProcessorEditor editor(processor);
    auto& main = editor.getMainComp();
    EXPECT_EQ(main.getAppBar().getStatusLabel().getText(), "");
    EXPECT_EQ(main.getAppBar().getChannelLabel().getText(), "Chan: 1");
    ASSERT_TRUE(rig.synth.waitUntil([&] { return processor.getState().haveGlobalsArrived(); }, 3000));
    pump(100);
    EXPECT_EQ(main.getAppBar().getStatusLabel().getText(), "DSI:  MOPHO X4 ON-LINE");
}

TEST_F(MainCompTest, BankReceiveShowsProgressAndEnds)
{
    ZarnelAudioProcessorEditor editor(processor);
    auto& main = editor.getMainComp();
    main.toggleAbout(false, 0);
    pump(100);
    main.startBankTransfer(0, 2);
    ASSERT_NE(main.getProgressBar(), nullptr);
    ASSERT_TRUE(rig.synth.waitUntil([&] { return !processor.getState().isBankReceiveActive(); }, 10000));
    pump(200);
    EXPECT_EQ(main.getProgressBar(), nullptr);
    for (int p = 0; p < 128; ++p)
        ASSERT_EQ(processor.getState().getBankProgram(2, p), rig.synth.program(2, p)) << p;
}

TEST_F(MainCompTest, MessageBoxSitsInTheMiddleAndOkRemovesIt)
{
    ZarnelAudioProcessorEditor editor(processor);
    auto& main = editor.getMainComp();
    main.toggleAbout(false, 0);
    main.showMessage("Hello");
    ASSERT_NE(main.getMessageBox(), nullptr);
    EXPECT_EQ(main.getMessageBox()->getBoxPosition(), juce::Point<int>(365, 300));
    // It covers the editor and takes its clicks, without a process-wide modal state.
    EXPECT_EQ(main.getMessageBox()->getBounds(), main.getLocalBounds());
    EXPECT_TRUE(main.getMessageBox()->isParentOf(main.getComponentAt(600, 100)) || main.getComponentAt(600, 100) == main.getMessageBox());
    EXPECT_EQ(juce::Component::getCurrentlyModalComponent(), nullptr);
    main.stsbutPressed(MsgCont::okCode);
    pump(50);
    EXPECT_EQ(main.getMessageBox(), nullptr);
}

// Failures reported while a message is open (two saves failing in one pass, or one between an
// OK and the box's removal) wait for it; an OK, even clicked twice, removes only its own box.
TEST_F(MainCompTest, MessagesShownMeanwhileWaitForTheOkOfTheOneOpen)
{
    ZarnelAudioProcessorEditor editor(processor);
    auto& main = editor.getMainComp();
    main.toggleAbout(false, 0);
    processor.getState().postNotification(Notification::fileWriteFailed + Notification::bankDataFile);
    processor.getState().postNotification(Notification::fileWriteFailed + Notification::settingsFile);
    pump(50);
    ASSERT_NE(main.getMessageBox(), nullptr);
    EXPECT_TRUE(main.getMessageBox()->getText().contains("user banks"));
    main.stsbutPressed(MsgCont::okCode);
    main.showMessage("third");
    main.stsbutPressed(MsgCont::okCode);

    for (const char* shown : {"settings", "third"})
    {
        pump(50);
        ASSERT_NE(main.getMessageBox(), nullptr) << shown;
        EXPECT_TRUE(main.getMessageBox()->getText().contains(shown)) << main.getMessageBox()->getText();
        main.stsbutPressed(MsgCont::okCode);
    }
    pump(50);
    EXPECT_EQ(main.getMessageBox(), nullptr);
}

// A question asked while a message is open waits with its answer; a message shown while the
// question is open neither replaces it nor takes its answer.
TEST_F(MainCompTest, AQuestionWaitsBehindAnOpenMessageAndKeepsItsAnswer)
{
    ZarnelAudioProcessorEditor editor(processor);
    auto& main = editor.getMainComp();
    main.toggleAbout(false, 0);
    int answered = 0;
    main.showMessage("first");
    main.askQuestion("Replace?", [&] { ++answered; });
    EXPECT_EQ(main.getMessageBox()->getText(), "first");
    EXPECT_FALSE(main.getMessageBox()->getCancelButton().isVisible());

    main.stsbutPressed(MsgCont::okCode);
    pump(50);
    ASSERT_NE(main.getMessageBox(), nullptr);
    EXPECT_EQ(main.getMessageBox()->getText(), "Replace?");
    EXPECT_TRUE(main.getMessageBox()->getCancelButton().isVisible());
    EXPECT_EQ(answered, 0);

    main.showMessage("meanwhile");
    main.stsbutPressed(MsgCont::okCode);
    main.stsbutPressed(MsgCont::okCode); // a double click answers once
    pump(50);
    EXPECT_EQ(answered, 1);
    ASSERT_NE(main.getMessageBox(), nullptr);
    EXPECT_EQ(main.getMessageBox()->getText(), "meanwhile");
    EXPECT_FALSE(main.getMessageBox()->getCancelButton().isVisible());

    main.askQuestion("Again?", [&] { answered += 10; });
    main.stsbutPressed(MsgCont::okCode);
    pump(50);
    main.stsbutPressed(MsgCont::cancelCode);
    pump(50);
    EXPECT_EQ(answered, 1) << "a question closed with CANCEL was answered yes";
    EXPECT_EQ(main.getMessageBox(), nullptr);
}

TEST(MainCompAlone, OffLineShowsWhenNoSynthesizerAnswers)
{
    juce::ScopedJuceInitialiser_GUI gui;
    test::TempFolder folder;
    test::VirtualMidiBackend noDevices;
    ZarnelAudioProcessor processor{folder.get(), noDevices};
    ZarnelAudioProcessorEditor editor(processor);
    zarnel::test::pumpMessages(100);
    EXPECT_EQ(editor.getMainComp().getAppBar().getStatusLabel().getText(), "OFF-LINE");
}

TEST_F(MainCompTest, OverlaysStayUsableWhenTheWindowShrinks)
{
    ZarnelAudioProcessorEditor editor(processor);
    auto& main = editor.getMainComp();
    main.toggleAbout(false, 0);
    main.showMessage("Hello");
    main.startBankTransfer(100, 0); // a send: nothing is requested, the bar just stands there
    const std::pair<int, int> sizes[] = {{452, 150}, {1429, 1046}, {800, 500}};
    for (const auto& [w, h] : sizes)
    {
        editor.setSize(w, h);
        const juce::Rectangle<int> window(0, 0, w, h);
        auto* box = main.getMessageBox();
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->getBounds(), window);
        EXPECT_TRUE(window.contains(box->getOkButton().getBounds())) << w << ": OK at " << box->getOkButton().getX();
        auto* bar = main.getProgressBar();
        ASSERT_NE(bar, nullptr);
        EXPECT_EQ(bar->getBounds(), window);
        EXPECT_TRUE(window.contains(bar->getCancelButton()->getBounds())) << w;
    }
    main.endBankTransfer();
}

TEST_F(MainCompTest, OverlaysBlockOnlyTheirOwnEditor)
{
    test::SynthRig otherRig;
    ZarnelAudioProcessor other{otherRig.folder.get(), otherRig.backend};
    ZarnelAudioProcessorEditor first(processor), second(other);
    auto& main = first.getMainComp();
    main.toggleAbout(false, 0);
    second.getMainComp().toggleAbout(false, 0);
    main.startBankTransfer(100, 0);
    main.toggleAbout(true, 0);
    main.showMessage("Busy");

    EXPECT_EQ(juce::Component::getNumCurrentlyModalComponents(), 0);
    auto* otherPanel = &second.getMainComp().getEditorPanel();
    EXPECT_FALSE(otherPanel->isCurrentlyBlockedByAnotherModalComponent());
    // In their own editor the overlays take the clicks: nothing under them is hit.
    const auto* hit = main.getComponentAt(main.getEditorPanel().getBounds().getCentre());
    EXPECT_FALSE(main.getEditorPanel().isParentOf(hit) || hit == &main.getEditorPanel());
    main.endBankTransfer();
}

TEST_F(MainCompTest, TheEditorReopensWithinItsLimits)
{
    const std::pair<juce::Point<int>, juce::Point<int>> cases[] = {
        {{120, 40}, {452, 150}}, {{0, 0}, {452, 150}}, {{5000, 3000}, {1429, 1046}}, {{900, 640}, {900, 640}}};
    for (const auto& [forced, reopened] : cases)
    {
        {
            ZarnelAudioProcessorEditor editor(processor);
            editor.setSize(forced.x, forced.y); // what a host may do; its resizes are not constrained
        }
        ZarnelAudioProcessorEditor again(processor);
        EXPECT_EQ(again.getWidth(), reopened.x) << forced.toString();
        EXPECT_EQ(again.getHeight(), reopened.y) << forced.toString();
    }
}

TEST_F(MainCompTest, AFileThatCannotBeWrittenIsShownNotTakenAsSaved)
{
    ZarnelAudioProcessorEditor editor(processor);
    pump(2800); // the about panel of the first opening closes
    auto& state = processor.getState();
    // A folder where the bank data file belongs: every write of it fails.
    ASSERT_TRUE(rig.folder.file("data_X4m.mph").createDirectory());

    state.setBankProgram(0, 0, state.getBankProgram(4, 1));
    state.flushPendingWrites();
    pump(100);
    ASSERT_NE(editor.getMainComp().getMessageBox(), nullptr);
    EXPECT_TRUE(editor.getMainComp().getMessageBox()->getText().contains("user banks"));
    EXPECT_TRUE(state.hasPendingWrites());

    // Once the file can be written, the next change writes what was left over too.
    ASSERT_TRUE(rig.folder.file("data_X4m.mph").deleteRecursively());
    state.setBankProgram(0, 1, state.getBankProgram(4, 2));
    pump(1500);
    EXPECT_FALSE(state.hasPendingWrites());
    juce::MemoryBlock content;
    ASSERT_TRUE(rig.folder.file("data_X4m.mph").loadFileAsData(content));
    const auto* bytes = static_cast<const std::uint8_t*>(content.getData());
    const auto first = state.getBankProgram(4, 1), second = state.getBankProgram(4, 2);
    EXPECT_TRUE(std::equal(first.begin(), first.end(), bytes + 14));
    EXPECT_TRUE(std::equal(second.begin(), second.end(), bytes + 14 + 256));
}
