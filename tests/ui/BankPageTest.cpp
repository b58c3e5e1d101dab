#include "MenuTestSupport.h"
#include "UiTestSupport.h"

#include "files/WriteDestination.h"
#include "model/DSI_Program.h"
#include "model/ParDes.h"
#include "plugin/ZarnelAudioProcessorEditor.h"
#include "ui/main/MainComp.h"
#include "ui/menus/BankTransferMenu.h"
#include "ui/menus/WriteCommand.h"

#include <gtest/gtest.h>

using namespace zarnel;

namespace
{

// The editor on the simulated synthesizer, its menus and category pop-ups answered by the test.
class BankPageTest : public ::testing::Test
{
protected:
    BankPageTest()
    {
        main.toggleAbout(false, 0);
        main.getCommands().setMenuShower([this](const MenuModel& menu, juce::Component* anchor, std::function<void(int)>) {
            shown.push_back(menu);
            anchors.push_back(anchor);
        });
        page.setCategoryChooser([this](std::function<void(int)> onChosen) { chooseCategory = std::move(onChosen); });
        processor.prepareToPlay(44100.0, 512);
        rig.synth.waitUntilIdle(3000);
        pump(100);
        rig.synth.clearLogs();
        hostMidi();
    }

    void pump(int ms) { test::runUntil([] { return false; }, ms); }
    std::vector<Bytes> wire(size_t expected) { return test::receivedSinceLastCall(rig.synth, expected); }

    // What the next block hands the host.
    std::vector<Bytes> hostMidi()
    {
        juce::AudioBuffer<float> audio(2, 512);
        juce::MidiBuffer midi;
        processor.processBlock(audio, midi);
        std::vector<Bytes> out;
        for (const auto m : midi)
            out.emplace_back(m.data, m.data + m.numBytes);
        return out;
    }

    void pressRow(int visibleRow, int x = 100, juce::ModifierKeys mods = test::leftButton())
    {
        auto& grid = page.getGrid();
        grid.mouseDown(test::mouseAt(grid, x, visibleRow * 26 + 5, mods));
        grid.dispatchPendingMessages();
        page.dispatchPendingMessages();
    }

    void setCategory(int bank, int program, int category)
    {
        auto record = state.getBankProgram(bank, program);
        record[(size_t)DSI_Program::categoryOffset] = (std::uint8_t)category;
        state.setBankProgram(bank, program, record);
    }

    juce::ScopedJuceInitialiser_GUI gui;
    test::SynthRig rig;
    ZarnelAudioProcessor processor{rig.folder.get(), rig.backend};
    ZarnelAudioProcessorEditor editor{processor};
    MainComp& main = editor.getMainComp();
    BankComp& page = main.getBankPage();
    MidiCntrState& state = processor.getState();
    std::vector<MenuModel> shown;
    std::vector<juce::Component*> anchors;
    std::function<void(int)> chooseCategory;
};

ProgramSysex::Record named(ProgramSysex::Record r, const char* name)
{
    DSI_Program::encodeName(name, r.data() + DSI_Program::nameOffset);
    return r;
}

} // namespace

TEST_F(BankPageTest, BankButtonsShowTheirBankAndSelectItOnBothOutputs)
{
    state.selectProgram(0, 17, false);
    main.stsbutPressed(AppBar::bankCode);
    ASSERT_TRUE(main.isBankPageShown());
    EXPECT_TRUE(page.isVisible());
    EXPECT_EQ(page.getGrid().getSelectedProgram(), 17);

    page.stsbutChanged(&page.getBankButton(5));
    const std::vector<Bytes> selection{{0xB0, 32, 5}, {0xC0, 17}};
    EXPECT_EQ(wire(2), selection);
    EXPECT_EQ(hostMidi(), selection) << "a recording host captures the choice";
    EXPECT_EQ(state.currentBank.load(), 5);
    EXPECT_EQ(state.getCurrentProgram(), state.getBankProgram(5, 17));
    EXPECT_EQ(page.getGrid().getModel().getModeArgument(), 5);
    EXPECT_EQ(page.getGrid().getSelectedProgram(), 17);

    main.stsbutChanged(&page.getOkButton());
    EXPECT_FALSE(main.isBankPageShown());
    EXPECT_FALSE(page.isVisible());

    // The sequencer button left visible above the page leads to the sequencer page.
    main.toggleBankPage(true);
    main.stsbutChanged(&main.getEditorPanel().getSequencerButton());
    EXPECT_FALSE(main.isBankPageShown());
    EXPECT_TRUE(main.getSequencerPanel().isVisible());
    main.toggleBankPage(true);
    EXPECT_EQ(main.getCurrentPage(), MainComp::editorPage);
    EXPECT_FALSE(main.getSequencerPanel().isVisible());
}

TEST_F(BankPageTest, ARowPressLoadsTheProgramAndSelectsItUnlessLoadedDataIsUsed)
{
    for (const bool useLoaded : {false, true})
    {
        state.selectProgram(1, 0, false);
        main.toggleBankPage(true);
        page.getLoadedDataSwitch().setOn(!useLoaded);
        page.getLoadedDataSwitch().mouseDown(test::mouseAt(page.getLoadedDataSwitch(), 3, 3));
        page.getLoadedDataSwitch().dispatchPendingMessages();
        page.dispatchPendingMessages();
        ASSERT_EQ(state.useLoadedData.load(), useLoaded);

        pressRow(3);
        EXPECT_EQ(state.getCurrentProgram(), state.getBankProgram(1, 3)) << useLoaded;
        const auto expected = useLoaded ? std::vector<Bytes>{} : std::vector<Bytes>{{0xB0, 32, 1}, {0xC0, 3}};
        EXPECT_EQ(wire(expected.size()), expected) << useLoaded;
        EXPECT_EQ(hostMidi(), expected) << useLoaded;
        EXPECT_EQ(state.currentProgramNumber.load(), useLoaded ? 0 : 3);
    }
}

TEST_F(BankPageTest, TheSwitchAndTheFlagAgreeWhenPressesArriveAsOneMessage)
{
    main.toggleBankPage(true);
    auto& led = page.getLoadedDataSwitch();
    for (int presses : {1, 2, 3})
    {
        for (int i = 0; i < presses; ++i)
            led.mouseDown(test::mouseAt(led, 3, 3));
        led.dispatchPendingMessages();
        page.dispatchPendingMessages();
        EXPECT_EQ(state.useLoadedData.load(), led.isOn()) << presses;
    }
}

TEST_F(BankPageTest, ACategoryChosenInTheListReachesTheBankTheListsAndTheDataFile)
{
    for (int b = 0; b < 8; ++b)
        for (int p = 0; p < 128; ++p)
            setCategory(b, p, 0);
    setCategory(1, 3, 7);
    setCategory(1, 9, 7);
    state.flushPendingWrites();
    main.toggleBankPage(true);
    page.stsbutChanged(&page.getCategoryButton(7));
    ASSERT_EQ(page.getGrid().getModel().getNumRows(), 2);

    // Two spare category buttons stay hidden; "-----" lists category 0.
    EXPECT_FALSE(page.getCategoryButton(26).isVisible());
    EXPECT_FALSE(page.getCategoryButton(27).isVisible());
    EXPECT_EQ(page.getCategoryButton(0).getCaption(), "-----");
    page.stsbutChanged(&page.getCategoryButton(0));
    EXPECT_EQ(page.getGrid().getModel().getNumRows(), 8 * 128 - 2);
    page.stsbutChanged(&page.getCategoryButton(7));

    // A right press on the category first makes the program current, then asks.
    pressRow(0, 200, test::rightButton());
    EXPECT_EQ(wire(2), (std::vector<Bytes>{{0xB0, 32, 1}, {0xC0, 3}}));
    ASSERT_TRUE(chooseCategory);
    chooseCategory(2);
    pump(100);
    EXPECT_EQ(state.getBankProgram(1, 3)[117], 2);
    EXPECT_EQ(page.getGrid().getModel().getNumRows(), 1) << "the category view drops the row";
    EXPECT_EQ(page.getGrid().getModel().getRow(0), (ProgramListModel::Row{1, 9}));

    ASSERT_TRUE(state.hasPendingWrites());
    state.flushPendingWrites();
    const auto file = rig.folder.file("data_X4m.mph");
    juce::MemoryBlock bytes;
    ASSERT_TRUE(file.loadFileAsData(bytes));
    EXPECT_EQ(((const std::uint8_t*)bytes.getData())[14 + 32768 + 3 * 256 + 117], 2);
}

TEST_F(BankPageTest, ButtonsAndRightPressesOpenTheirMenusAndReceivesRelistInPlace)
{
    main.toggleBankPage(true);
    const std::pair<int, const char*> commands[] = {
        {BankComp::fileCode, "Load Program Bank To Bank U1"}, {BankComp::midiCode, "Receive Program Bank "},
        {BankComp::presetsCode, "Factory Presets "}};
    for (const auto& [code, firstText] : commands)
    {
        page.stsbutChanged(page.getCommandButton(code));
        page.dispatchPendingMessages();
        ASSERT_FALSE(shown.empty()) << code;
        EXPECT_EQ(shown.back().getEntries().front().text, firstText);
        EXPECT_EQ(anchors.back(), page.getCommandButton(code));
    }

    // Scrolled down and a row chosen, a right press elsewhere than the category opens the
    // program menu for that slot.
    for (int i = 0; i < 40; ++i)
        page.getGrid().mouseWheelMove(test::mouseAt(page.getGrid(), 10, 10), test::wheel(-1.0f));
    const int first = page.getGrid().getModel().getFirstRow();
    pressRow(2, 100, test::rightButton());
    ASSERT_EQ(shown.size(), 4u);
    EXPECT_EQ(shown.back().getEntries().front().text, "Copy Program: " + state.getBankProgramName(0, first + 2));

    // A bank received meanwhile leaves the list where it was.
    state.setBankProgram(0, first + 2, named(state.getBankProgram(4, 0), "Received"));
    state.postNotification(Notification::bankContentChanged);
    pump(100);
    EXPECT_EQ(page.getGrid().getModel().getFirstRow(), first);
    EXPECT_EQ(page.getGrid().getSelectedProgram(), first + 2);
}

TEST_F(BankPageTest, WriteDestinationsAreUserSlots)
{
    const std::tuple<int, int, int, int> cases[] = {{2, 4, 2, 4}, {0, 0, 0, 0}, {4, 17, 0, 17}, {7, 127, 0, 127}};
    for (const auto& [bank, program, toBank, toProgram] : cases)
    {
        const auto d = WriteDestination::initialFor(bank, program);
        EXPECT_EQ(d.bank, toBank) << bank;
        EXPECT_EQ(d.program, toProgram) << bank;
        EXPECT_TRUE(WriteDestination::isWritable(d.bank, d.program));
    }
    EXPECT_FALSE(WriteDestination::isWritable(4, 0));
    EXPECT_FALSE(WriteDestination::isWritable(3, 128));

    // Opened on a factory program, the dialog starts at U1 with its number, listing U1.
    state.selectProgram(5, 17, false);
    main.stsbutPressed(AppBar::writeCode);
    auto* dialog = main.getWriteDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->getBank(), 0);
    EXPECT_EQ(dialog->getProgram(), 17);
    EXPECT_EQ(dialog->getGrid().getModel().getModeArgument(), 0);
    EXPECT_EQ(dialog->getGrid().getSelectedProgram(), 17);
    // BANK does nothing while the dialog is open.
    main.stsbutPressed(AppBar::bankCode);
    EXPECT_FALSE(main.isBankPageShown());
}

TEST_F(BankPageTest, WriteStoresTheNamedProgramInTheChosenUserSlot)
{
    state.selectProgram(4, 0, false);
    auto edited = state.getCurrentProgram();
    main.stsbutPressed(AppBar::writeCode);
    auto* dialog = main.getWriteDialog();
    ASSERT_NE(dialog, nullptr);
    dialog->setCategoryChooser([this](std::function<void(int)> onChosen) { chooseCategory = std::move(onChosen); });

    // U3, row 5; then a category and a name.
    dialog->stsbutChanged(&dialog->getBankButton(2));
    auto& grid = dialog->getGrid();
    grid.mouseDown(test::mouseAt(grid, 100, 4 * 26 + 5));
    grid.dispatchPendingMessages();
    EXPECT_EQ(dialog->getBank(), 2);
    EXPECT_EQ(dialog->getProgram(), 4);
    auto& display = dialog->getDisplay();
    display.mouseDown(test::mouseAt(display, display.getWidth() - 5, 5));
    display.dispatchPendingMessages();
    ASSERT_EQ(display.getZone(), LCD_Comp::categoryZone);
    ASSERT_TRUE(chooseCategory);
    chooseCategory(12);
    EXPECT_EQ(display.getCategoryText(), ParDes::categoryName(12));
    dialog->openRenameBox();
    ASSERT_NE(dialog->getRenameBox(), nullptr);
    EXPECT_EQ(dialog->getRenameBox()->getText(), DSI_Program::decodeName(edited.data(), edited.size()).trimEnd());
    dialog->getRenameBox()->getEditor()->setText("Night Bass");
    dialog->stsbutChanged(dialog->getRenameBox()->getOkButton());
    EXPECT_EQ(dialog->getName(), "Night Bass");
    EXPECT_EQ(dialog->getRenameBox(), nullptr);

    // Return in the box answers like OK; Escape like Cancel.
    dialog->openRenameBox();
    dialog->getRenameBox()->getEditor()->setText("Nope");
    dialog->getRenameBox()->getEditor()->onEscapeKey();
    dialog->openRenameBox();
    EXPECT_EQ(dialog->getRenameBox()->getText(), "Night Bass");
    dialog->getRenameBox()->getEditor()->setText("Night Bass");
    dialog->getRenameBox()->getEditor()->onReturnKey();
    EXPECT_EQ(dialog->getName(), "Night Bass");
    EXPECT_EQ(dialog->getRenameBox(), nullptr);

    main.stsbutChanged(&dialog->getWriteButton());
    auto expected = named(edited, "Night Bass");
    expected[117] = 12;
    const auto sent = wire(1);
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0], ProgramSysex::programDump(2, 4, expected.data(), expected.size()));
    EXPECT_EQ((Bytes(sent[0].begin(), sent[0].begin() + 6)), (Bytes{0xF0, 0x01, 0x29, 0x02, 0x02, 0x04}));
    EXPECT_EQ(rig.synth.program(2, 4), expected);
    EXPECT_EQ(state.getBankProgram(2, 4), expected);
    EXPECT_TRUE(state.hasPendingWrites());

    // Closed once the button has finished reporting, not inside its call.
    EXPECT_FALSE(main.isWriteDialogShown());
    const juce::Component::SafePointer<WriteSnd> gone(dialog);
    pump(50);
    EXPECT_EQ(gone, nullptr);
}

TEST_F(BankPageTest, WriteWithoutAnOutputSaysSoAndKeepsTheDialog)
{
    main.stsbutPressed(AppBar::writeCode);
    auto* dialog = main.getWriteDialog();
    ASSERT_NE(dialog, nullptr);
    state.selectOutputPort(0);
    main.stsbutChanged(&dialog->getWriteButton());
    ASSERT_NE(main.getMessageBox(), nullptr);
    EXPECT_EQ(main.getMessageBox()->getText(), WriteCommand::noOutputText);
    EXPECT_EQ(main.getWriteDialog(), dialog);

    // CANCEL: gone after the press has been reported.
    main.stsbutChanged(&dialog->getCancelButton());
    EXPECT_EQ(main.getWriteDialog(), nullptr);
    const juce::Component::SafePointer<WriteSnd> gone(dialog);
    EXPECT_NE(gone, nullptr);
    pump(50);
    EXPECT_EQ(gone, nullptr);
}

TEST_F(BankPageTest, WriteKeepsACategoryAboveTheLastUntilOneIsChosen)
{
    auto edited = state.getCurrentProgram();
    edited[117] = 30;
    state.storeProgram(false, 0, 0, edited);
    for (const int chosen : {-1, 3})
    {
        main.stsbutPressed(AppBar::writeCode);
        auto* dialog = main.getWriteDialog();
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->getDisplay().getCategoryText(), ParDes::categoryName(ParDes::numCategories - 1));
        dialog->setCategoryChooser([this](std::function<void(int)> onChosen) { chooseCategory = std::move(onChosen); });
        if (chosen >= 0)
        {
            auto& display = dialog->getDisplay();
            display.mouseDown(test::mouseAt(display, display.getWidth() - 5, 5));
            display.dispatchPendingMessages();
            ASSERT_TRUE(chooseCategory);
            chooseCategory(chosen);
        }
        main.stsbutChanged(&dialog->getWriteButton());
        EXPECT_EQ(rig.synth.program(0, 0)[117], chosen >= 0 ? chosen : 30) << chosen;
        pump(50);
    }
}

TEST_F(BankPageTest, TheLateAnswerToACancelledReceiveLeavesTheEditedProgram)
{
    state.selectProgram(2, 40, false);
    const auto edited = named(state.getCurrentProgram(), "My Edit");
    state.storeProgram(false, 2, 40, edited);
    main.startBankTransfer(BankTransferMenu::receiveOne, 0);
    ASSERT_TRUE(test::runUntil([&] { return rig.synth.counters().programDumpsSent >= 2; }, 3000));
    main.stsbutChanged(main.getProgressBar()->getCancelButton());
    ASSERT_TRUE(test::runUntil([&] { return main.getProgressBar() == nullptr; }, 1000));
    pump(300);
    EXPECT_EQ(state.getCurrentProgram(), edited);
    EXPECT_EQ(state.currentBank.load(), 2);
    EXPECT_EQ(state.currentProgramNumber.load(), 40);
}
