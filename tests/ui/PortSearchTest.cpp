#include "UiTestSupport.h"

#include "midi/PortSearch.h"
#include "plugin/ZarnelAudioProcessor.h"
#include "plugin/ZarnelAudioProcessorEditor.h"
#include "support/SynthRig.h"
#include "support/TempFolder.h"
#include "ui/main/MainComp.h"

#include <gtest/gtest.h>

#include <mutex>

using namespace zarnel;
using namespace zarnel::test;

namespace
{

TEST(PortSearchOrder, PairsWhoseNamesShareAWordComeFirst)
{
    using P = PortSearch::Pair;
    const struct
    {
        juce::StringArray inputs, outputs;
        std::vector<P> firstPairs;
    } cases[] = {
        // Same names: each device with itself first, in list order.
        {{"Alpha Keys", "Mopho x4", "Gamma"}, {"Alpha Keys", "Mopho x4", "Gamma"}, {{1, 1}, {2, 2}, {3, 3}, {2, 1}}},
        // "MIDI", "Port" and numbers say nothing about the device.
        {{"Mopho x4 In", "USB MIDI Port 1"}, {"USB MIDI Port 1 Out", "Mopho x4 Out"}, {{1, 2}, {2, 1}, {1, 1}}},
        {{"A"}, {}, {}},
        {{}, {"A"}, {}},
    };
    for (const auto& c : cases)
    {
        const auto pairs = PortSearch::orderPairs(c.inputs, c.outputs);
        EXPECT_EQ(pairs.size(), (size_t)(c.inputs.size() * c.outputs.size()));
        for (size_t i = 0; i < c.firstPairs.size(); ++i)
            EXPECT_EQ(pairs[i], c.firstPairs[i]) << c.inputs.joinIntoString(",") << " #" << i;
    }
}

// A device whose far end never answers and remembers what it was sent.
class SilentDevice : public VirtualMidiBackend::FarSide
{
public:
    void receivedFromPlugin(const juce::MidiMessage& message) override
    {
        const std::lock_guard<std::mutex> lk(lock);
        messages.emplace_back(message.getRawData(), message.getRawData() + message.getRawDataSize());
    }
    std::vector<Bytes> received()
    {
        const std::lock_guard<std::mutex> lk(lock);
        return messages;
    }

private:
    std::mutex lock;
    std::vector<Bytes> messages;
};

// Three devices, the synthesizer the second, and no port file: a first start.
class PortSearchTest : public ::testing::Test
{
protected:
    PortSearchTest()
    {
        backend.addDevice("Alpha Keys MIDI 1", &alpha);
        synth = std::make_unique<SimulatedSynth>(backend, "Mopho x4 MIDI 1", SynthRig::instantWire());
        backend.addDevice("Gamma Pads MIDI 1", &gamma);
    }
    ~PortSearchTest() override
    {
        editor.reset();
        processor.reset();
    }

    void open()
    {
        processor = std::make_unique<ZarnelAudioProcessor>(folder.get(), backend);
        processor->getState().clockOutEnabled = true; // must not reach a device that is not the synth
        editor = std::make_unique<ZarnelAudioProcessorEditor>(*processor);
    }
    MainComp& main() { return editor->getMainComp(); }
    MidiCntrState& state() { return processor->getState(); }
    PortSearch& search() { return state().getPortSearch(); }
    juce::MemoryBlock portFile()
    {
        juce::MemoryBlock bytes;
        folder.file("mhxplports.dat").loadFileAsData(bytes);
        return bytes;
    }
    void writePortFile(const juce::String& in, const juce::String& out)
    {
        ASSERT_TRUE(folder.file("mhxplports.dat").replaceWithData(
            MIDI_PORTS_Control::formatPortFile({in, out, "NONE"}).getData(),
            MIDI_PORTS_Control::formatPortFile({in, out, "NONE"}).getSize()));
    }
    // Only the link test ever reaches a device that is not the instrument.
    void expectOnlyRequests(SilentDevice& device)
    {
        for (const auto& m : device.received())
            EXPECT_EQ(m, ProgramSysex::globalDumpRequest());
    }

    UiEnvironment ui;
    TempFolder folder;
    VirtualMidiBackend backend;
    SilentDevice alpha, gamma;
    std::unique_ptr<SimulatedSynth> synth;
    std::unique_ptr<ZarnelAudioProcessor> processor;
    std::unique_ptr<ZarnelAudioProcessorEditor> editor;
};

TEST_F(PortSearchTest, TheFirstStartFindsTheSynthOnTheSecondPairAndSaysSo)
{
    open();
    ASSERT_NE(main().getScanPanel(), nullptr) << "no port file: the search starts by itself";
    EXPECT_TRUE(search().isRunning());
    ASSERT_TRUE(runUntil([&] { return !search().isRunning(); }, 5000));
    EXPECT_EQ(search().getPhase(), PortSearch::Phase::found);
    EXPECT_EQ(search().getPairIndex(), 1);
    EXPECT_EQ(search().getPair(), (PortSearch::Pair{2, 2}));

    const auto text = main().getScanPanel()->getText();
    EXPECT_TRUE(text.contains("Mopho x4 found")) << text;
    EXPECT_TRUE(text.contains("In:  Mopho x4 MIDI 1")) << text;
    EXPECT_TRUE(text.contains("Out: Mopho x4 MIDI 1")) << text;
    EXPECT_EQ(portFile(), MIDI_PORTS_Control::formatPortFile({"Mopho x4 MIDI 1", "Mopho x4 MIDI 1", "NONE"}));
    EXPECT_TRUE(backend.isInputOpen("Mopho x4 MIDI 1"));
    EXPECT_TRUE(backend.isOutputOpen("Mopho x4 MIDI 1"));
    EXPECT_FALSE(backend.isOutputOpen("Alpha Keys MIDI 1"));
    EXPECT_EQ(state().getSettings().getEntryInt(SettingsList::scanOutputPortEntry), 2);
    ASSERT_TRUE(runUntil([&] { return main().getAppBar().getStatusLabel().getText() == MainComp::onlineText; }, 3000));
    expectOnlyRequests(alpha);
    EXPECT_FALSE(alpha.received().empty());
    EXPECT_TRUE(gamma.received().empty()) << "the search stopped at the synthesizer";

    // Its OK removes the panel.
    auto& button = main().getScanPanel()->getButton();
    EXPECT_EQ(button.getCaption(), "OK");
    button.buttonClicked(button.getInnerButton());
    pumpMessages(30);
    EXPECT_EQ(main().getScanPanel(), nullptr);
}

// A search silences the output for everything but its request: a bank on its way cannot go on
// as if it reached the instrument.
TEST_F(PortSearchTest, ABankTransmissionDoesNotFinishAsSentWhileASearchRuns)
{
    writePortFile("Mopho x4 MIDI 1", "Mopho x4 MIDI 1");
    open();
    double t = 0.0;
    BankTransmitter transmitter(state(), [&] { return t; });
    bool lost = false;
    transmitter.onOutputLost = [&] { lost = true; };
    ASSERT_TRUE(transmitter.start(BankTransmitter::transmitOne, 0));
    search().setClock([] { return 0.0; }); // the search stays on its first pair
    ASSERT_TRUE(search().start());
    for (int i = 0; i < 200 && transmitter.isActive(); ++i)
        transmitter.tick(t += BankTransmitter::stepMs);
    EXPECT_FALSE(transmitter.isActive());
    EXPECT_TRUE(lost) << "the transmission stopped and says so";
    search().cancel();
}

TEST_F(PortSearchTest, WhenNothingAnswersItSaysSoAndThePortsStayAsTheyWere)
{
    synth->setGlobal(SimulatedSynth::globalSysexEnable, 0); // the usual reason nothing answers
    writePortFile("Gamma Pads MIDI 1", "Alpha Keys MIDI 1");
    open();
    EXPECT_EQ(main().getScanPanel(), nullptr) << "a port file: no search by itself";
    const auto fileBefore = portFile();
    // A clock that runs ahead: every wait for an answer is over at the next step.
    double fakeNow = 0.0;
    search().setClock([&] { return fakeNow += 1000.0; });

    main().stsbutPressed(AppBar::midiCode);
    main().getMidiSetup()->getSearchButton().buttonClicked(main().getMidiSetup()->getSearchButton().getInnerButton());
    ASSERT_NE(main().getScanPanel(), nullptr);
    ASSERT_TRUE(runUntil([&] { return !search().isRunning(); }, 5000));
    EXPECT_EQ(search().getPhase(), PortSearch::Phase::nothingAnswered);
    pumpMessages(30);

    const auto text = main().getScanPanel()->getText();
    EXPECT_TRUE(text.startsWith("NOT CONNECTED!")) << text;
    EXPECT_TRUE(text.contains("the MIDI ports are as they were")) << text;
    EXPECT_EQ(portFile(), fileBefore);
    EXPECT_EQ(state().getPorts().portNames[0], "Gamma Pads MIDI 1");
    EXPECT_EQ(state().getPorts().portNames[1], "Alpha Keys MIDI 1");
    EXPECT_TRUE(backend.isInputOpen("Gamma Pads MIDI 1"));
    EXPECT_TRUE(backend.isOutputOpen("Alpha Keys MIDI 1"));
    EXPECT_FALSE(backend.isOutputOpen("Mopho x4 MIDI 1"));
    auto* setup = main().getMidiSetup();
    ASSERT_NE(setup, nullptr);
    EXPECT_EQ(setup->getInputPosition(), 3);
    EXPECT_EQ(setup->getOutputPosition(), 1);
    expectOnlyRequests(gamma);
}

TEST_F(PortSearchTest, CancelStopsItAndTheUserPortsComeBack)
{
    writePortFile("Alpha Keys MIDI 1", "Alpha Keys MIDI 1");
    open();
    main().toggleAbout(false, 0);
    main().toggleScan(true);
    ASSERT_TRUE(search().isRunning());
    EXPECT_EQ(search().getPairIndex(), 0);
    auto* panel = main().getScanPanel();
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->getButton().getCaption(), "CANCEL");

    panel->getButton().buttonClicked(panel->getButton().getInnerButton());
    pumpMessages(30);
    EXPECT_EQ(main().getScanPanel(), nullptr);
    EXPECT_EQ(search().getPhase(), PortSearch::Phase::cancelled);
    EXPECT_TRUE(backend.isInputOpen("Alpha Keys MIDI 1"));
    EXPECT_TRUE(backend.isOutputOpen("Alpha Keys MIDI 1"));
    EXPECT_FALSE(backend.isOutputOpen("Mopho x4 MIDI 1"));
    EXPECT_EQ(portFile(), MIDI_PORTS_Control::formatPortFile({"Alpha Keys MIDI 1", "Alpha Keys MIDI 1", "NONE"}));
    pumpMessages(600);
    EXPECT_EQ(search().getPhase(), PortSearch::Phase::cancelled) << "nothing steps a cancelled search";
}

TEST_F(PortSearchTest, ChoosingAPortWhileItRunsCancelsIt)
{
    writePortFile("NONE", "NONE");
    open();
    main().toggleScan(true);
    ASSERT_TRUE(search().isRunning());
    main().stsbutPressed(AppBar::midiCode);
    main().handleSetupCommand(MIDI_Setup::outputChosen, 3);
    EXPECT_FALSE(search().isRunning());
    EXPECT_TRUE(backend.isOutputOpen("Gamma Pads MIDI 1"));
    EXPECT_FALSE(backend.isInputOpen("Alpha Keys MIDI 1"));
    EXPECT_EQ(state().getPorts().portNames[1], "Gamma Pads MIDI 1");
}

} // namespace
