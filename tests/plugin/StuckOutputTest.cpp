// A MIDI output whose driver stops taking data (a cable pulled, a device hung) must not hold up
// the host: nothing waits on it for long, it is closed and the user told, and once the driver
// comes back everything it held is let go and freed.
#include "plugin/ZarnelAudioProcessor.h"
#include "support/MessagePump.h"
#include "support/SynthRig.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

using namespace zarnel;
using zarnel::test::SimulatedSynth;

namespace
{

constexpr const char* device = test::SynthRig::deviceName;

double now()
{
    return juce::Time::getMillisecondCounterHiRes();
}

class CodeCollector : public MidiCntrStateListener
{
public:
    void midiCntrStateChanged(MidiCntrState& state) override
    {
        std::uint32_t code;
        while (state.popNotification(code))
            codes.push_back(code);
    }
    std::vector<std::uint32_t> codes;
};

class StuckOutputTest : public ::testing::Test
{
protected:
    ~StuckOutputTest() override
    {
        rig.backend.resumeOutput(device);
        processor.reset();
        waitForCleanUp();
    }

    void open()
    {
        // Choosing another output is remembered: start each time on the instrument.
        const auto ports = MIDI_PORTS_Control::formatPortFile({device, device, "NONE"});
        rig.folder.file("mhxplports.dat").replaceWithData(ports.getData(), ports.getSize());
        processor = std::make_unique<ZarnelAudioProcessor>(rig.folder.get(), rig.backend);
        processor->prepareToPlay(44100.0, 512);
    }

    // A note held by the host, then the driver stops taking data in the middle of a send.
    void holdAndStall()
    {
        juce::AudioBuffer<float> audio(2, 512);
        juce::MidiBuffer midi;
        midi.addEvent(juce::MidiMessage::noteOn(1, 60, (juce::uint8)100), 0);
        processor->processBlock(audio, midi);
        ASSERT_TRUE(rig.synth.waitUntil([&] { return !rig.synth.notesSoundingOnAnyChannel().empty(); }, 3000));
        rig.backend.stallOutput(device);
        state().sendNote(1, 61, 100);
        ASSERT_TRUE(rig.backend.waitForStalledSend(device, 3000));
    }

    // Every sender thread and device handle freed, and nothing left sounding.
    void waitForCleanUp()
    {
        const auto end = now() + 5000.0;
        while ((ScheduledMidiOutput::getNumAlive() != 0 || rig.backend.isOutputOpen(device)) && now() < end)
            juce::Thread::sleep(1);
        EXPECT_EQ(ScheduledMidiOutput::getNumAlive(), 0);
        EXPECT_FALSE(rig.backend.isOutputOpen(device));
        EXPECT_TRUE(rig.synth.notesSoundingOnAnyChannel().empty());
    }

    MidiCntrState& state() { return processor->getState(); }

    juce::ScopedJuceInitialiser_GUI juce;
    test::SynthRig rig;
    SimulatedSynth other{rig.backend, "Other x4 MIDI", test::SynthRig::instantWire()};
    std::unique_ptr<ZarnelAudioProcessor> processor;
};

} // namespace

TEST_F(StuckOutputTest, NothingWaitsForAStuckDevice)
{
    struct Case
    {
        const char* name;
        std::function<void()> action;
    };
    const Case cases[] = {
        {"long dump", [&] { state().sendEditBuffer(state().getCurrentProgram()); }},
        {"another output", [&] { state().selectOutputPort(2); }},
        {"port search", [&] { state().getPortSearch().start(); }},
        {"closing the project", [&] { processor.reset(); }},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        open();
        holdAndStall();
        const double before = now();
        c.action();
        EXPECT_LT(now() - before, 1000.0);

        rig.backend.resumeOutput(device);
        processor.reset();
        waitForCleanUp();
    }
}

TEST_F(StuckOutputTest, AnOutputThatStopsRespondingIsClosedTheUserToldAndTheNextStartTriesItAgain)
{
    open();
    holdAndStall();
    const auto portFileBefore = rig.folder.file("mhxplports.dat").loadFileAsString();

    // The editor is closed: the user hears of it once it opens.
    test::pumpMessages((int)ScheduledMidiOutput::stallLimitMs + 300);
    EXPECT_FALSE(state().getPorts().isOutputOpen());
    EXPECT_EQ(state().getPorts().portNames[1], device);
    CodeCollector editor;
    state().addListener(&editor);
    test::pumpMessages(100);
    state().removeListener(&editor);
    EXPECT_EQ(std::count(editor.codes.begin(), editor.codes.end(), Notification::outputNotResponding), 1);

    // Sending to the closed port goes nowhere and waits for nothing.
    const double before = now();
    state().sendEditBuffer(state().getCurrentProgram());
    EXPECT_LT(now() - before, 100.0);

    rig.backend.resumeOutput(device);
    processor.reset();
    waitForCleanUp();
    EXPECT_EQ(rig.folder.file("mhxplports.dat").loadFileAsString(), portFileBefore);

    open();
    EXPECT_TRUE(state().getPorts().isOutputOpen());
}
