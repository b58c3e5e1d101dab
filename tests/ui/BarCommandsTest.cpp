#include "MenuTestSupport.h"
#include "UiTestSupport.h"

#include "plugin/ZarnelAudioProcessor.h"
#include "plugin/ZarnelAudioProcessorEditor.h"
#include "support/SynthRig.h"
#include "ui/main/MainComp.h"
#include "ui/menus/BankTransferMenu.h"
#include "ui/menus/ChannelMenu.h"

#include <gtest/gtest.h>

using namespace zarnel;

namespace
{

// The editor as a user meets it, its menus answered by the test instead of a pop-up.
class BarCommandsTest : public ::testing::Test
{
protected:
    BarCommandsTest()
    {
        main.toggleAbout(false, 0);
        main.getCommands().setMenuShower([this](const MenuModel& menu, juce::Component* anchor, std::function<void(int)> onResult) {
            shown.push_back(menu);
            anchors.push_back(anchor);
            answer = std::move(onResult);
        });
        rig.synth.waitUntilIdle(3000);
        test::runUntil([] { return false; }, 100);
        rig.synth.clearLogs();
    }

    std::vector<Bytes> wire(size_t expected) { return test::receivedSinceLastCall(rig.synth, expected); }

    juce::ScopedJuceInitialiser_GUI gui;
    test::SynthRig rig;
    ZarnelAudioProcessor processor{rig.folder.get(), rig.backend};
    ZarnelAudioProcessorEditor editor{processor};
    MainComp& main = editor.getMainComp();
    MidiCntrState& state = processor.getState();
    std::vector<MenuModel> shown;
    std::vector<juce::Component*> anchors;
    std::function<void(int)> answer;
};

} // namespace

TEST_F(BarCommandsTest, BarButtonsOpenTheirMenusUnderThemselves)
{
    const std::pair<int, const char*> cases[] = {
        {AppBar::fileCode, "Load Single Program"}, {AppBar::editCode, "Copy Program: "}, {AppBar::sendCode, "Current Preset: "}};
    for (int i = 0; i < AppBar::numButtons; ++i)
        for (const auto& [code, firstText] : cases)
            if (main.getAppBar().getButton(i).getId() == code)
            {
                main.stsbutPressed(code);
                ASSERT_FALSE(shown.empty()) << code;
                EXPECT_TRUE(shown.back().getEntries().front().text.startsWith(firstText)) << code;
                EXPECT_EQ(anchors.back(), &main.getAppBar().getButton(i)) << code;
            }
    EXPECT_EQ(shown.size(), std::size(cases));
}

TEST_F(BarCommandsTest, ChannelLabelAndProgramDisplayMenusActOnTheSynthesizer)
{
    main.changeListenerCallback(&main.getAppBar().getChannelLabel());
    ASSERT_EQ(shown.size(), 1u);
    answer(16);
    EXPECT_EQ(main.getAppBar().getChannelLabel().getText(), "Chan: 16");

    main.getCommands().openProgramSelectMenu();
    ASSERT_EQ(shown.size(), 2u);
    answer(100000 + 2);
    EXPECT_EQ(wire(2), (std::vector<Bytes>{{0xBF, 32, 2}, {0xCF, 0}}));
    EXPECT_EQ(state.currentBank.load(), 2);

    // A dismissed menu does nothing.
    main.getCommands().openProgramSelectMenu();
    answer(0);
    EXPECT_EQ(wire(0), std::vector<Bytes>{});

    main.stsbutPressed(AppBar::recvCode);
    EXPECT_EQ(wire(1), (std::vector<Bytes>{{0xF0, 0x01, 0x29, 0x06, 0xF7}}));
}

TEST_F(BarCommandsTest, ATransferWithoutAnOutputSaysSoAndSendsNothing)
{
    state.selectOutputPort(0);
    // A receive could only wait out its retries and end as if it had worked.
    for (const int mode : {BankTransmitter::transmitAll, BankTransmitter::transmitOne, BankTransferMenu::receiveOne,
                           BankTransferMenu::receiveAll})
    {
        main.startBankTransfer(mode, 0);
        ASSERT_NE(main.getMessageBox(), nullptr) << mode;
        EXPECT_EQ(main.getProgressBar(), nullptr) << mode;
        EXPECT_FALSE(main.getBankTransmitter().isActive()) << mode;
        EXPECT_FALSE(state.isBankReceiveActive()) << mode;
        main.stsbutPressed(MsgCont::okCode);
        ASSERT_TRUE(test::runUntil([&] { return main.getMessageBox() == nullptr; }, 1000)) << mode;
    }
    test::runUntil([] { return false; }, 300);
    EXPECT_TRUE(rig.synth.received().empty());
}

TEST_F(BarCommandsTest, CancelStopsATransmissionFromTheEditor)
{
    main.startBankTransfer(BankTransmitter::transmitOne, 1);
    ASSERT_NE(main.getProgressBar(), nullptr);
    EXPECT_TRUE(main.getCommands().isBankTransferRunning()) << "a chooser answering now loads nothing";
    ASSERT_TRUE(test::runUntil([&] { return rig.synth.counters().programDumpsReceived >= 2; }, 3000));

    main.stsbutChanged(main.getProgressBar()->getCancelButton());
    ASSERT_TRUE(test::runUntil([&] { return main.getProgressBar() == nullptr; }, 1000));
    EXPECT_FALSE(main.getCommands().isBankTransferRunning());
    EXPECT_FALSE(main.getBankTransmitter().isActive());
    const int sent = rig.synth.counters().programDumpsReceived;
    test::runUntil([] { return false; }, (int)(2.0 * BankTransmitter::stepMs) + 50);
    EXPECT_EQ(rig.synth.counters().programDumpsReceived, sent);
    EXPECT_LT(sent, 128);
}

TEST_F(BarCommandsTest, AQuestionActsOnlyOnOkOnceItsBoxIsGone)
{
    for (const int button : {MsgCont::cancelCode, MsgCont::okCode})
    {
        int yes = 0;
        main.askQuestion("Replace the existing file A.m_p?", [&] { ++yes; });
        ASSERT_NE(main.getMessageBox(), nullptr);
        EXPECT_TRUE(main.getMessageBox()->getCancelButton().isVisible());
        main.stsbutPressed(button);
        EXPECT_EQ(yes, 0) << "never inside the button's own callback";
        ASSERT_TRUE(test::runUntil([&] { return main.getMessageBox() == nullptr; }, 1000));
        EXPECT_EQ(yes, button == MsgCont::okCode ? 1 : 0) << button;
    }
    // A message shown meanwhile waits behind the question: the OK answers the question the user
    // read, and the message follows.
    int yes = 0;
    main.askQuestion("Replace?", [&] { ++yes; });
    main.showMessage("Something else.");
    EXPECT_EQ(main.getMessageBox()->getText(), "Replace?");
    main.stsbutPressed(MsgCont::okCode);
    ASSERT_TRUE(test::runUntil([&] { return yes == 1; }, 1000));
    ASSERT_NE(main.getMessageBox(), nullptr);
    EXPECT_EQ(main.getMessageBox()->getText(), "Something else.");
}
