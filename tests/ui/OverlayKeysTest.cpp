#include "PanelTestSupport.h"

#include "model/DSI_Program.h"

#include <gtest/gtest.h>

#include <functional>

using namespace zarnel;

namespace
{

// A key as the window hands it out: from the focused control up through its parents, each asked in
// turn until one takes it. At the main component its key listeners come first, the last added
// first (the overlay's keys, then the undo shortcuts), as JUCE's peer does it.
bool sendKey(test::EditorRig& r, juce::Component& focused, const juce::KeyPress& key)
{
    for (auto* c = &focused; c != nullptr; c = c->getParentComponent())
    {
        if (c == &r.main
            && (r.main.getOverlayKeys().keyPressed(key, c) || r.main.getHistoryBar().keyPressed(key, c)))
            return true;
        if (c->keyPressed(key))
            return true;
    }
    return false;
}

const juce::KeyPress escape(juce::KeyPress::escapeKey);
const juce::KeyPress returnKey(juce::KeyPress::returnKey);

struct OverlayKeysTest : ::testing::Test
{
    OverlayKeysTest() { r.settle(); }

    // Where the keys are when the overlay has just opened.
    juce::Component& start()
    {
        auto* at = r.main.getOverlayKeys().startOfOverlay();
        EXPECT_NE(at, nullptr);
        return at != nullptr ? *at : r.main;
    }
    void pump() { zarnel::test::pumpMessages(30); }

    test::EditorRig r;
    MainComp& main = r.main;
};

} // namespace

TEST_F(OverlayKeysTest, EscapeAndReturnAnswerEachOverlay)
{
    int yes = 0;
    ProgramSysex::Record slotBefore;
    struct Row
    {
        const char* overlay;
        std::function<void()> open;
        juce::KeyPress key;
        std::function<bool()> answered; // what the key did, checked once the messages have run
    };
    auto& transfers = r.processor.getState().getBankTransfers();
    const Row rows[] = {
        {"message, Escape", [&] { main.showMessage("Saved."); }, escape, [&] { return main.getMessageBox() == nullptr; }},
        {"message, Return", [&] { main.showMessage("Saved."); }, returnKey, [&] { return main.getMessageBox() == nullptr; }},
        {"question, Escape is no", [&] { main.askQuestion("Replace?", [&] { ++yes; }); }, escape,
         [&] { return main.getMessageBox() == nullptr && yes == 0; }},
        {"question, Return is yes", [&] { main.askQuestion("Replace?", [&] { ++yes; }); }, returnKey,
         [&] { return main.getMessageBox() == nullptr && yes == 1; }},
        {"progress, Escape cancels", [&] { main.startBankTransfer(100, 0); }, escape,
         [&] { return main.getProgressBar() == nullptr && !transfers.isActive(); }},
        {"progress, Return leaves it running", [&] { main.startBankTransfer(100, 0); }, returnKey,
         [&] { return main.getProgressBar() != nullptr && transfers.isActive(); }},
        {"about, Escape", [&] { main.toggleAbout(true, 0); }, escape, [&] { return main.getAboutPanel() == nullptr; }},
        {"about, Return", [&] { main.toggleAbout(true, 0); }, returnKey, [&] { return main.getAboutPanel() == nullptr; }},
        {"write dialog, Escape cancels",
         [&] {
             slotBefore = r.processor.getState().getBankProgram(0, 5);
             main.toggleWriteDialog(true);
         },
         escape, [&] { return !main.isWriteDialogShown() && r.processor.getState().getBankProgram(0, 5) == slotBefore; }},
        {"write dialog, Return writes", [&] { main.toggleWriteDialog(true); }, returnKey,
         [&] { return !main.isWriteDialogShown() && r.settleUntil([&] { return r.rig.synth.program(0, 5) == r.processor.getState().getCurrentProgram(); }); }},
    };
    for (const auto& row : rows)
    {
        r.processor.getState().selectProgram(4, 5, false);
        r.settle();
        row.open();
        auto* overlay = main.getTopOverlay();
        ASSERT_NE(overlay, nullptr) << row.overlay;
        auto& from = start();
        EXPECT_TRUE(overlay->isParentOf(&from) || &from == overlay) << row.overlay;
        EXPECT_TRUE(sendKey(r, from, row.key)) << row.overlay;
        pump();
        EXPECT_TRUE(row.answered()) << row.overlay;
        // Whatever is left is closed for the next row.
        if (main.getProgressBar() != nullptr)
            main.endBankTransfer();
        if (main.isWriteDialogShown())
            main.toggleWriteDialog(false);
        pump();
        yes = 0;
    }
}

TEST_F(OverlayKeysTest, KeysUnderAnOverlayNeverReachTheEditor)
{
    auto* knob = r.panel().getControl(20);
    const int original = r.processor.getState().getCurrentByte(20);
    r.processor.setParameterFromEditor(20, original == 90 ? 91 : 90, true, false);
    r.settle();
    const int edited = r.processor.getState().getCurrentByte(20);
    main.startBankTransfer(100, 0);
    ASSERT_NE(main.getProgressBar(), nullptr);

    auto& from = start();
    // Tab wraps inside the bar: the bar, its CANCEL, the bar again; never a control of the editor.
    auto traverser = main.makeFocusTraverser();
    for (auto* c = traverser.getNextComponent(&from); c != &from; c = traverser.getNextComponent(c))
        EXPECT_TRUE(main.getProgressBar()->isParentOf(c)) << c->getTitle();
    // Undo, arrows, Return: the knob keeps its value, the bar's WRITE does not open the dialog.
    const juce::KeyPress keys[] = {juce::KeyPress('z', juce::ModifierKeys::commandModifier, 0),
                                   juce::KeyPress(juce::KeyPress::upKey), returnKey,
                                   juce::KeyPress(juce::KeyPress::tabKey)};
    for (const auto& key : keys)
        sendKey(r, from, key);
    pump();
    EXPECT_EQ(r.processor.getState().getCurrentByte(20), edited) << "undone under the bar";
    EXPECT_EQ(knob->getShownValue(), edited);
    EXPECT_FALSE(main.isWriteDialogShown());
    EXPECT_NE(main.getProgressBar(), nullptr);
    // A control under the overlay that still had the keys sends them in: Tab lands in the bar.
    EXPECT_EQ(traverser.getNextComponent(knob), &from);
    main.endBankTransfer();
    pump();

    // With the bar gone, the same shortcut undoes again.
    EXPECT_TRUE(sendKey(r, *knob, juce::KeyPress('z', juce::ModifierKeys::commandModifier, 0)));
    EXPECT_EQ(r.processor.getState().getCurrentByte(20), original);
}

TEST_F(OverlayKeysTest, WriteStoresANameTypedButNotConfirmed)
{
    main.toggleWriteDialog(true);
    auto* dialog = main.getWriteDialog();
    ASSERT_NE(dialog, nullptr);
    dialog->openRenameBox();
    ASSERT_NE(dialog->getRenameBox(), nullptr);
    dialog->getRenameBox()->getEditor()->setText("Typed Only");
    const int bank = dialog->getBank(), program = dialog->getProgram();
    main.stsbutChanged(&dialog->getWriteButton());
    pump();
    const auto stored = r.processor.getState().getBankProgram(bank, program);
    EXPECT_EQ(DSI_Program::decodeName(stored.data(), stored.size()).trimEnd(), "Typed Only");
    EXPECT_FALSE(main.isWriteDialogShown());
}

TEST_F(OverlayKeysTest, TheMidiSetupAndTheBankPageReplaceEachOther)
{
    const auto shown = [&] {
        int n = 0;
        n += main.getMidiSetup() != nullptr && main.getMidiSetup()->isVisible() ? 1 : 0;
        n += main.isBankPageShown() && main.getBankPage().isVisible() ? 1 : 0;
        return n;
    };
    main.stsbutPressed(AppBar::midiCode);
    main.stsbutPressed(AppBar::bankCode);
    EXPECT_TRUE(main.isBankPageShown());
    EXPECT_FALSE(main.isMidiSetupShown());
    EXPECT_EQ(shown(), 1);
    main.stsbutPressed(AppBar::midiCode);
    EXPECT_FALSE(main.isBankPageShown());
    EXPECT_TRUE(main.isMidiSetupShown());
    EXPECT_EQ(shown(), 1);
    pump();
    // The write dialog takes the MIDI setup's place; then neither MIDI nor BANK opens over it.
    main.stsbutPressed(AppBar::writeCode);
    EXPECT_FALSE(main.isMidiSetupShown());
    EXPECT_EQ(shown(), 0);
    main.stsbutPressed(AppBar::midiCode);
    main.stsbutPressed(AppBar::bankCode);
    EXPECT_EQ(shown(), 0);
    EXPECT_EQ(main.getTopOverlay(), main.getWriteDialog());
    main.toggleWriteDialog(false);
}

TEST_F(OverlayKeysTest, OverlaysFitTheWindowAndLongMessagesWrap)
{
    const juce::String longText = "Could not save the MIDI port choice to the folder Zarnel. Check that the disk is not "
                                  "full and the folder can be written, then choose the ports again.";
    const std::pair<int, int> sizes[] = {{452, 150}, {1012, 595}, {1191, 700}, {1429, 1046}};
    main.toggleAbout(true, 0);
    main.startBankTransfer(100, 0);
    main.toggleWriteDialog(true);
    main.showMessage(longText);
    for (const auto& [w, h] : sizes)
    {
        r.editor.setSize(w, h);
        const juce::Rectangle<int> window(0, 0, w, h);
        const auto where = juce::String(w) + "x" + juce::String(h);
        // Every child of each overlay, where it is drawn (scaled ones too), lies in the window.
        for (auto* overlay : {(juce::Component*)main.getMessageBox(), (juce::Component*)main.getProgressBar(),
                              (juce::Component*)main.getWriteDialog(), (juce::Component*)main.getAboutPanel()})
        {
            ASSERT_NE(overlay, nullptr) << where;
            EXPECT_TRUE(window.contains(overlay->getBounds())) << where;
            for (auto* child : overlay->getChildren())
            {
                const auto drawn = main.getLocalArea(child, child->getLocalBounds());
                EXPECT_TRUE(!child->isVisible() || window.contains(drawn))
                    << where << " " << typeid(*overlay).name() << " " << child->getTitle() << " at " << drawn.toString();
            }
        }
        const auto* about = main.getAboutPanel();
        EXPECT_TRUE(window.contains(about->getContentBounds())) << where << " " << about->getContentBounds().toString();

        // The message: all its lines in the text area, the area and OK in the box, the box in the window.
        auto* box = main.getMessageBox();
        const auto area = box->getTextArea();
        EXPECT_TRUE(window.contains(box->getBoxBounds())) << where;
        EXPECT_TRUE(box->getBoxBounds().contains(area)) << where;
        EXPECT_TRUE(box->getBoxBounds().contains(box->getOkButton().getBounds())) << where;
        EXPECT_FALSE(area.intersects(box->getOkButton().getBounds())) << where;
        EXPECT_LE(MsgCont::wrappedHeight(longText, box->getTextFont(), (float)area.getWidth()), (float)area.getHeight())
            << where << ": the last lines are cut";
        EXPECT_GE(box->getTextFont().getHeight(), 11.0f) << where;
    }
    // A short message keeps its place at the usual size.
    main.endBankTransfer();
    main.stsbutPressed(MsgCont::okCode);
    pump();
    main.showMessage("Saved.");
    r.editor.setSize(1191, 700);
    EXPECT_EQ(main.getMessageBox()->getBoxBounds(), juce::Rectangle<int>(365, 300, 460, 100));
    main.toggleWriteDialog(false);
}
