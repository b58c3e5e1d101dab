// Whatever cuts the host's notes off from the instrument (another output, a port search, a
// channel change, bypass, shut-down) must leave nothing sounding on it.
#include "plugin/ZarnelAudioProcessor.h"
#include "support/SynthRig.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

using namespace zarnel;
using zarnel::test::SimulatedSynth;

namespace
{

using Events = std::vector<std::pair<Bytes, int>>;

const Bytes noteOn1{0x90, 60, 100}, noteOn2{0x91, 64, 90}, pedalDown1{0xB0, 64, 127};

class SoundingNotesTest : public ::testing::Test
{
protected:
    SoundingNotesTest() { processor->prepareToPlay(44100.0, 512); }

    void block(const Events& events, bool bypass = false)
    {
        audio.setSize(2, 512, false, false, true);
        for (int ch = 0; ch < 2; ++ch)
            for (int i = 0; i < 512; ++i)
                audio.setSample(ch, i, 0.25f * (float)(ch + 1));
        juce::MidiBuffer midi;
        for (const auto& [bytes, position] : events)
            midi.addEvent(bytes.data(), (int)bytes.size(), position);
        if (bypass)
            processor->processBlockBypassed(audio, midi);
        else
            processor->processBlock(audio, midi);
    }

    // Two notes on two channels, one of them under the pedal, sounding on the instrument.
    void holdNotes()
    {
        block({{noteOn1, 0}, {pedalDown1, 0}, {noteOn2, 10}});
        ASSERT_TRUE(rig.synth.waitUntil([&] { return rig.synth.notesSoundingOnAnyChannel().size() == 2; }, 3000))
            << testing::PrintToString(rig.synth.notesSoundingOnAnyChannel());
        ASSERT_EQ(rig.synth.channelsWithPedalDown(), std::vector<int>{1});
    }

    bool silent(SimulatedSynth& synth)
    {
        return synth.waitUntil([&] {
            return synth.notesSoundingOnAnyChannel().empty() && synth.channelsWithPedalDown().empty();
        }, 3000);
    }

    MidiCntrState& state() { return processor->getState(); }

    juce::ScopedJuceInitialiser_GUI juce;
    test::SynthRig rig;
    SimulatedSynth other{rig.backend, "Other x4 MIDI", test::SynthRig::instantWire()};
    std::unique_ptr<ZarnelAudioProcessor> processor =
        std::make_unique<ZarnelAudioProcessor>(rig.folder.get(), rig.backend);
    juce::AudioBuffer<float> audio;
};

} // namespace

TEST_F(SoundingNotesTest, EveryWayOfCuttingTheHostOffLetsGoOfWhatSounds)
{
    struct Case
    {
        const char* name;
        std::function<void()> cut;
    };
    const Case cases[] = {
        {"another output", [&] { state().selectOutputPort(2); }},
        {"no output", [&] { state().selectOutputPort(0); }},
        {"port search", [&] { state().getPortSearch().start(); }},
        {"channel change", [&] { state().setMidiChannel(5); }},
        {"bypass", [&] { block({}, true); }},
        {"shut-down", [&] { processor.reset(); }},
        // The note-off waits for the latency offset when the output goes: it never comes, and
        // the note must still end.
        {"note-off waiting for its latency",
         [&] {
             state().setLatency(0, {300, 300, 300, 300, 300, 300, 0});
             block({{{0x80, 60, 0}, 100}, {{0x81, 64, 0}, 200}});
             state().selectOutputPort(2);
         }},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        if (processor == nullptr)
            processor = std::make_unique<ZarnelAudioProcessor>(rig.folder.get(), rig.backend);
        state().selectOutputPort(1);
        state().setMidiChannel(1);
        state().setLatency(0, {0, 0, 0, 0, 0, 0, 0});
        processor->prepareToPlay(44100.0, 512);
        block({});

        holdNotes();
        c.cut();
        EXPECT_TRUE(silent(rig.synth)) << testing::PrintToString(rig.synth.notesSoundingOnAnyChannel());
        EXPECT_TRUE(silent(other));
    }
}

TEST_F(SoundingNotesTest, BypassPassesAudioAndForwardsOnlyWhatEndsNotes)
{
    block({});
    rig.synth.clearLogs();
    const Bytes noteOff{0x80, 61, 0}, zeroVelocity{0x90, 62, 0}, pedalUp{0xB0, 64, 0}, allOff{0xB0, 123, 0};
    block({{{0x90, 61, 100}, 0},
           {{0xB0, 7, 100}, 5},
           {noteOff, 100},
           {zeroVelocity, 200},
           {pedalDown1, 250},
           {pedalUp, 300},
           {allOff, 400}},
          true);
    for (int ch = 0; ch < 2; ++ch)
        EXPECT_EQ(audio.getSample(ch, 100), 0.25f * (float)(ch + 1)) << "audio passes through";

    const std::vector<Bytes> expected{noteOff, zeroVelocity, pedalUp, allOff};
    ASSERT_TRUE(rig.synth.waitUntil([&] { return rig.synth.received().size() >= expected.size(); }, 3000));
    juce::Thread::sleep(50);
    std::vector<Bytes> got;
    for (const auto& e : rig.synth.received())
        got.push_back(e.bytes);
    EXPECT_EQ(got, expected);
}
