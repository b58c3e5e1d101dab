#include "PanelTestSupport.h"

#include "ui/main/MIDI_Setup.h"

#include <gtest/gtest.h>

namespace zarnel
{
// The write dialog is not built yet; its flag is what the setup commands look at.
struct MainCompTestAccess
{
    static void setWriteDialogShown(MainComp& main, bool shown) { main.writeDialogShown = shown; }
};
} // namespace zarnel

using namespace zarnel;
using namespace zarnel::test;

namespace
{

class MidiSetupTest : public ::testing::Test
{
protected:
    MidiSetupTest()
    {
        // The opening's link test has been answered: what follows starts from a quiet wire.
        EXPECT_TRUE(runUntil([&] { return state.haveGlobalsArrived(); }, 3000));
        pumpMessages(20);
    }

    MIDI_Setup& openSetup()
    {
        main.stsbutPressed(AppBar::midiCode);
        EXPECT_NE(main.getMidiSetup(), nullptr);
        return *main.getMidiSetup();
    }

    int globalRequests() { return rig.rig.synth.counters().globalRequests; }

    juce::String settingsOnDisk(int entry)
    {
        SettingsList fromDisk(rig.rig.folder.file("mphedstx.dat"));
        fromDisk.loadSettings();
        return fromDisk.getEntry(entry);
    }

    EditorRig rig;
    MainComp& main = rig.main;
    MidiCntrState& state = rig.processor.getState();
};

TEST_F(MidiSetupTest, TheMidiButtonOpensThePanelWithThePortsAndSwitchesAsTheyAre)
{
    state.clockOutEnabled = true;
    state.forwardHostMidi = false;
    auto& setup = openSetup();
    EXPECT_EQ(setup.getBounds(), juce::Rectangle<int>(0, 23, 1191, 700));
    EXPECT_EQ(setup.getInputPosition(), 1);
    EXPECT_EQ(setup.getOutputPosition(), 1);
    EXPECT_TRUE(setup.isInputShownOpen());
    EXPECT_TRUE(setup.isOutputShownOpen());
    EXPECT_TRUE(setup.getClockBox().isTicked());
    EXPECT_FALSE(setup.getHostToOutBox().isTicked());
    const auto menu = setup.createPortMenu(MIDI_Setup::inputBox);
    juce::PopupMenu::MenuItemIterator it(menu);
    ASSERT_TRUE(it.next());
    EXPECT_EQ(it.getItem().text, "NONE");
    ASSERT_TRUE(it.next());
    EXPECT_EQ(it.getItem().text, SynthRig::deviceName);
    EXPECT_TRUE(it.getItem().isTicked);

    main.stsbutPressed(AppBar::midiCode);
    EXPECT_EQ(main.getMidiSetup(), nullptr);
    EXPECT_FALSE(main.isMidiSetupShown());
}

TEST_F(MidiSetupTest, PortBoxesTakePressesBetweenTheirEdges)
{
    const struct
    {
        int x, y;
        MIDI_Setup::PortBox box;
    } cases[] = {{60, 90, MIDI_Setup::noBox},     {61, 90, MIDI_Setup::inputBox},  {349, 90, MIDI_Setup::inputBox},
                 {350, 90, MIDI_Setup::noBox},    {200, 81, MIDI_Setup::inputBox}, {200, 103, MIDI_Setup::inputBox},
                 {200, 80, MIDI_Setup::noBox},    {200, 131, MIDI_Setup::outputBox}, {200, 153, MIDI_Setup::outputBox},
                 {200, 154, MIDI_Setup::noBox}};
    for (const auto& c : cases)
        EXPECT_EQ(MIDI_Setup::portBoxAt(c.x, c.y), c.box) << c.x << "," << c.y;
}

TEST(MidiSetupAlone, WithOnlyNoneListedNoMenuOpens)
{
    UiEnvironment ui;
    TempFolder folder;
    VirtualMidiBackend noDevices;
    MidiCntrState state(folder.get(), noDevices);
    MIDI_Setup setup(state);
    setup.setPortLists({}, {});
    EXPECT_EQ(setup.createPortMenu(MIDI_Setup::inputBox).getNumItems(), 0);
    EXPECT_EQ(setup.createPortMenu(MIDI_Setup::outputBox).getNumItems(), 0);
    setup.portChosen(MIDI_Setup::inputBox, 2); // beyond the list
    EXPECT_EQ(setup.getCommand(), 0);
}

TEST_F(MidiSetupTest, ChoosingPortsOpensThemAndTheIndicatorsFollow)
{
    auto& setup = openSetup();
    auto& backend = rig.rig.backend;
    const struct
    {
        MIDI_Setup::PortBox box;
        int item;
        bool open;
    } steps[] = {{MIDI_Setup::inputBox, 1, false},
                 {MIDI_Setup::outputBox, 1, false},
                 {MIDI_Setup::inputBox, 2, true},
                 {MIDI_Setup::outputBox, 2, true}};
    for (const auto& s : steps)
    {
        const int requestsBefore = globalRequests();
        setup.portChosen(s.box, s.item);
        const bool input = s.box == MIDI_Setup::inputBox;
        EXPECT_EQ(setup.getCommand(), input ? 300 : 302);
        EXPECT_EQ(setup.getValue(), s.item - 1);
        EXPECT_EQ(input ? setup.getInputPosition() : setup.getOutputPosition(), s.item - 1);
        EXPECT_EQ(input ? setup.isInputShownOpen() : setup.isOutputShownOpen(), s.open) << s.item;
        EXPECT_EQ(input ? backend.isInputOpen(SynthRig::deviceName) : backend.isOutputOpen(SynthRig::deviceName), s.open);
        EXPECT_EQ(state.getPorts().portNames[input ? 0 : 1], s.open ? SynthRig::deviceName : "NONE");
        if (s.open && !input) // with both ports open again the link test gets through
            EXPECT_TRUE(rig.rig.synth.waitUntil([&] { return globalRequests() > requestsBefore; }, 3000));
    }
    // The port file is written when the panel closes.
    setup.getOkButton().buttonClicked(setup.getOkButton().getInnerButton());
    juce::MemoryBlock bytes;
    ASSERT_TRUE(rig.rig.folder.file("mhxplports.dat").loadFileAsData(bytes));
    EXPECT_EQ(bytes, MIDI_PORTS_Control::formatPortFile({SynthRig::deviceName, SynthRig::deviceName, "NONE"}));
}

TEST_F(MidiSetupTest, CheckBoxesSetTheStateTheSettingsAndSendTheLinkTest)
{
    state.clockOutEnabled = state.forwardHostMidi = state.thruToHost = false;
    auto& setup = openSetup();
    struct Case
    {
        Check_But& box;
        int command;
        std::atomic<bool>& flag;
        int entry;
    };
    const Case cases[] = {{setup.getClockBox(), 206, state.clockOutEnabled, SettingsList::midiClockEntry},
                          {setup.getHostToOutBox(), 202, state.forwardHostMidi, SettingsList::forwardHostMidiEntry},
                          {setup.getInToHostBox(), 210, state.thruToHost, SettingsList::thruToHostEntry}};
    for (const auto& c : cases)
        for (const bool ticked : {true, false})
        {
            const int requestsBefore = globalRequests();
            c.box.mouseDown(mouseAt(c.box, 5, 5));
            c.box.mouseUp(mouseAt(c.box, 5, 5));
            pumpMessages(10);
            EXPECT_EQ(setup.getCommand(), c.command);
            EXPECT_EQ(setup.getValue(), ticked ? 1 : 0);
            EXPECT_EQ(c.flag.load(), ticked) << c.command;
            EXPECT_EQ(settingsOnDisk(c.entry), ticked ? "1" : "0") << c.command;
            EXPECT_TRUE(rig.rig.synth.waitUntil([&] { return globalRequests() > requestsBefore; }, 3000));
        }
}

TEST_F(MidiSetupTest, OkSendsTheLinkTestAndThePanelGoesAfterItsCallback)
{
    auto& setup = openSetup();
    juce::Component::SafePointer<MIDI_Setup> alive(&setup);
    const int requestsBefore = globalRequests();
    setup.getOkButton().buttonClicked(setup.getOkButton().getInnerButton());
    EXPECT_EQ(main.getMidiSetup(), nullptr);
    EXPECT_FALSE(main.isMidiSetupShown());
    EXPECT_NE(alive.getComponent(), nullptr) << "still inside its own callback";
    pumpMessages(20);
    EXPECT_EQ(alive.getComponent(), nullptr);
    EXPECT_TRUE(rig.rig.synth.waitUntil([&] { return globalRequests() > requestsBefore; }, 3000));
}

TEST_F(MidiSetupTest, WithTheWriteDialogOpenOkKeepsThePanelAndItsFlag)
{
    openSetup();
    MainCompTestAccess::setWriteDialogShown(main, true);
    main.handleSetupCommand(MIDI_Setup::okPressed, 0);
    ASSERT_NE(main.getMidiSetup(), nullptr);
    EXPECT_TRUE(main.isMidiSetupShown());
    main.stsbutPressed(AppBar::midiCode); // nothing while the dialog is open
    EXPECT_NE(main.getMidiSetup(), nullptr);

    MainCompTestAccess::setWriteDialogShown(main, false);
    main.stsbutPressed(AppBar::midiCode);
    pumpMessages(20);
    EXPECT_EQ(main.getMidiSetup(), nullptr) << "the second press closes the panel kept, builds none over it";
    int panels = 0;
    for (auto* child : main.getChildren())
        panels += dynamic_cast<MIDI_Setup*>(child) != nullptr ? 1 : 0;
    EXPECT_EQ(panels, 0);
}

TEST_F(MidiSetupTest, OpeningShowsTheLatencyWithoutWritingItBack)
{
    // A table from a file: 1500 ms lies beyond the slider, the mode is not the one the panel
    // would write.
    state.setLatency(402, {1500, 20, 0, 0, 0, 0, 0});
    ASSERT_TRUE(state.getSettings().saveSettings());
    state.setSampleRate(44100.0);

    auto& setup = openSetup();
    pumpMessages(50);
    EXPECT_EQ(setup.getSync().getSlider().getMilliseconds(), 1000);
    EXPECT_EQ(setup.getSync().getSampleRateLabel().getText(), "44100 Hz");
    EXPECT_EQ(state.getLatencyTable()[0], 1500);
    EXPECT_EQ(state.getLatencyMode(), 402);
    EXPECT_FALSE(state.getSettings().hasUnsavedChanges());
}

TEST_F(MidiSetupTest, TheSliderWritesTheTableAndTheOffsetAndReleaseSavesIt)
{
    state.setSampleRate(48000.0);
    auto& setup = openSetup();
    auto& sync = setup.getSync();
    auto& slider = sync.getSlider();
    EXPECT_EQ(sync.getSampleRateLabel().getText(), "48000 Hz");

    slider.mouseDown(mouseAt(slider, 40, 9));
    slider.mouseDrag(mouseAt(slider, 100, 9)); // 82 pixels make 500 ms
    pumpMessages(20);
    EXPECT_EQ(state.getLatencyTable()[1], 500);
    EXPECT_EQ(state.getLatencyOffset(), 500);
    slider.mouseUp(mouseAt(slider, 100, 9));
    sync.mouseUp(mouseAt(slider, 100, 9)); // as the slider's mouse listener hears it
    EXPECT_EQ(settingsOnDisk(SettingsList::firstLatencyEntry + 1), "500") << "saved at release, not at shut-down";
}

TEST_F(MidiSetupTest, StatusTextsOnTheBarAndThePanelFollowTheLinkTest)
{
    auto& setup = openSetup();
    main.drainNotifications();
    const std::pair<std::uint32_t, const char*> steps[] = {{Notification::globalDumpRequested, "OFF-LINE"},
                                                           {Notification::globalDumpArrived, "DSI:  MOPHO X4 ON-LINE"},
                                                           {Notification::globalDumpRequested, "OFF-LINE"}};
    for (const auto& [code, text] : steps)
    {
        main.handleStateCode(code);
        EXPECT_EQ(main.getAppBar().getStatusLabel().getText(), text);
        EXPECT_EQ(setup.getStatusLabel().getText(), text);
    }
    // The synthesizer answers the panel's own link test.
    state.requestGlobalDump();
    ASSERT_TRUE(runUntil([&] { return setup.getStatusLabel().getText() == MainComp::onlineText; }, 3000));
    EXPECT_EQ(main.getAppBar().getStatusLabel().getText(), MainComp::onlineText);
}

TEST(MidiSetupStatus, ANewPanelStartsWithDashes)
{
    UiEnvironment ui;
    TempFolder folder;
    VirtualMidiBackend noDevices;
    MidiCntrState state(folder.get(), noDevices);
    MIDI_Setup setup(state);
    EXPECT_EQ(setup.getStatusLabel().getText(), "------");
}

TEST_F(MidiSetupTest, TheGlobalPageClosesLaterAndGlobalsDuringTheWaitNeverClosesTwice)
{
    auto& setup = openSetup();
    setup.getGlobalsButton().buttonClicked(setup.getGlobalsButton().getInnerButton());
    auto* page = setup.getGlobalPage();
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->getBounds(), juce::Rectangle<int>(38, 285, 750, 310));
    EXPECT_FALSE(setup.areInstructionsVisible());

    // The close mark: the page stays until 100 ms later.
    page->mouseDown(mouseAt(*page, 750 - 18, 15));
    EXPECT_NE(setup.getGlobalPage(), nullptr);
    pumpMessages(200);
    EXPECT_EQ(setup.getGlobalPage(), nullptr);
    EXPECT_TRUE(setup.areInstructionsVisible());

    // Close mark, then GLOBALS twice while the delayed close waits: the page opened again stays.
    setup.toggleGlobalPage();
    setup.getGlobalPage()->mouseDown(mouseAt(*setup.getGlobalPage(), 750 - 18, 15));
    setup.toggleGlobalPage();
    EXPECT_EQ(setup.getGlobalPage(), nullptr);
    setup.toggleGlobalPage();
    pumpMessages(250);
    EXPECT_NE(setup.getGlobalPage(), nullptr);
}

TEST_F(MidiSetupTest, GlobalNotificationsRepaintOnlyAControlThatExists)
{
    auto& setup = openSetup();
    setup.toggleGlobalPage();
    auto* page = setup.getGlobalPage();
    ASSERT_NE(page, nullptr);
    main.setVisible(true);
    pumpMessages(50);
    auto& recorder = *new RepaintRecorder(main); // the component owns it
    main.setCachedComponentImage(&recorder);
    recorder.take();

    main.handleStateCode(0x20000000 + 9);
    const auto poly = page->getControl(9)->getBounds() + page->getPosition() + setup.getPosition();
    EXPECT_TRUE(recorder.take().containsRectangle(poly));

    for (const std::uint32_t index : {19u, 99u, 127u})
    {
        main.handleStateCode(0x20000000 + index);
        EXPECT_TRUE(recorder.take().isEmpty()) << index;
    }
}

} // namespace
