// What hosts do between ordinary blocks: blocks of no samples (parameter flushes), block sizes
// that change, and no blocks at all for a while (bypass, processing switched off).
#include "plugin/ZarnelAudioProcessor.h"
#include "support/SynthRig.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

using namespace zarnel;

namespace
{

struct PlayingHead : juce::AudioPlayHead
{
    juce::Optional<PositionInfo> getPosition() const override { return info; }
    PositionInfo info;
};

class HostBlocksTest : public ::testing::Test
{
protected:
    HostBlocksTest() { processor.prepareToPlay(44100.0, 512); }

    std::vector<Bytes> block(int numSamples)
    {
        juce::AudioBuffer<float> audio(2, numSamples);
        audio.clear();
        midi.clear();
        processor.processBlock(audio, midi);
        std::vector<Bytes> out;
        for (const auto m : midi)
            out.emplace_back(m.data, m.data + m.numBytes);
        return out;
    }

    juce::ScopedJuceInitialiser_GUI juce;
    test::SynthRig rig;
    ZarnelAudioProcessor processor{rig.folder.get(), rig.backend};
    juce::MidiBuffer midi;
};

} // namespace

TEST_F(HostBlocksTest, ABlockWithoutSamplesKeepsMidiForTheHost)
{
    processor.getState().thruToHost = true;
    rig.synth.noteOn(60, 100);
    rig.synth.noteOff(60);
    ASSERT_TRUE(rig.synth.waitUntilIdle(3000));

    EXPECT_TRUE(block(0).empty());
    EXPECT_TRUE(block(0).empty());
    EXPECT_EQ(block(256), (std::vector<Bytes>{{0x90, 60, 100}, {0x80, 60, 0}}));
}

TEST_F(HostBlocksTest, WithoutBlocksStaleMessagesGoAndFreshOnesCome)
{
    processor.getState().thruToHost = true;

    // Far more than the queue holds, while the host processes nothing.
    for (int i = 0; i < 1500; ++i)
        rig.synth.noteOn(20 + i % 60, 1 + i % 100);
    ASSERT_TRUE(rig.synth.waitUntilIdle(5000));
    juce::Thread::sleep((int)MidiCntrState::toHostWindowMs + 100);

    // The newest always get in, and what waited too long is dropped.
    rig.synth.noteOn(90, 64);
    rig.synth.noteOff(90);
    ASSERT_TRUE(rig.synth.waitUntilIdle(3000));
    EXPECT_EQ(block(512), (std::vector<Bytes>{{0x90, 90, 64}, {0x80, 90, 0}}));

    // A full queue within the window: the note-off at its end still reaches the host.
    for (int i = 0; i < 1500; ++i)
        rig.synth.noteOn(30, 90);
    rig.synth.noteOff(30);
    ASSERT_TRUE(rig.synth.waitUntilIdle(5000));
    const auto got = block(512);
    ASSERT_FALSE(got.empty());
    EXPECT_EQ(got.back(), (Bytes{0x80, 30, 0}));
}

TEST_F(HostBlocksTest, WhatEndsANoteReachesTheHostWhateverHappensMeanwhile)
{
    processor.getState().thruToHost = true;
    const std::vector<Bytes> releases{{0x80, 60, 0}, {0x90, 61, 0}, {0xB0, 64, 0}, {0xB0, 123, 0}, {0xB0, 120, 0}};
    // A note-on of velocity 0 may come back as a note-off.
    const auto normal = [](Bytes m) {
        if ((m[0] & 0xF0) == 0x90 && m[2] == 0)
            m[0] = (std::uint8_t)(0x80 | (m[0] & 0x0F));
        return m;
    };
    struct Case
    {
        const char* what;
        std::function<void()> meanwhile;
    };
    const Case cases[] = {
        {"no block within the window", [] { juce::Thread::sleep((int)MidiCntrState::toHostWindowMs + 100); }},
        {"prepareToPlay", [&] { processor.prepareToPlay(48000.0, 256); }},
        {"releaseResources", [&] { processor.releaseResources(); }},
        {"the queue overflowed",
         [&] {
             for (int i = 0; i < 1500; ++i)
                 rig.synth.noteOn(20 + i % 10, 50);
             ASSERT_TRUE(rig.synth.waitUntilIdle(5000));
         }},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.what);
        // What the host already holds: two notes and the pedal.
        rig.synth.noteOn(60, 100);
        rig.synth.noteOn(61, 100);
        rig.synth.sendRaw({0xB0, 64, 127});
        ASSERT_TRUE(rig.synth.waitUntilIdle(3000));
        EXPECT_EQ(block(512).size(), 3u);

        for (const auto& m : releases)
            rig.synth.sendRaw(m);
        ASSERT_TRUE(rig.synth.waitUntilIdle(3000));
        c.meanwhile();

        std::vector<Bytes> got;
        for (const auto& m : block(512))
            got.push_back(normal(m));
        for (const auto& m : releases)
            EXPECT_TRUE(std::find(got.begin(), got.end(), normal(m)) != got.end())
                << "lost: " << (int)m[0] << " " << (int)m[1] << " " << (int)m[2];
    }
}

namespace
{

struct ClockRow
{
    const char* name;
    std::vector<int> pattern; // block lengths, repeated
};

class ClockBlocksTest : public HostBlocksTest, public ::testing::WithParamInterface<ClockRow>
{
};

} // namespace

TEST_P(ClockBlocksTest, SteadyTempoGivesOneClockEveryPeriodAndNoRelocation)
{
    // 120 bpm at 44.1 kHz: a clock every 919 samples. The host plays from 0 and its position
    // moves exactly with the samples, whatever the block lengths.
    PlayingHead head;
    head.info.setBpm(120.0);
    head.info.setPpqPosition(0.0);
    processor.setPlayHead(&head);
    processor.getState().clockOutEnabled = true;
    processor.prepareToPlay(44100.0, 512);
    block(512); // stopped at the start
    head.info.setIsPlaying(true);

    const int total = 44100;
    int done = 0;
    for (size_t k = 0; done < total; ++k)
    {
        const int n = std::min(GetParam().pattern[k % GetParam().pattern.size()], total - done);
        head.info.setPpqPosition(done * 120.0 / 60.0 / 44100.0);
        head.info.setTimeInSamples(done);
        block(n);
        done += n;
    }
    processor.setPlayHead(nullptr);

    const int expectedClocks = (total + 918) / 919;
    auto count = [&](std::uint8_t status) {
        int n = 0;
        for (const auto& e : rig.synth.received())
            n += e.bytes.size() == 1 && e.bytes[0] == status;
        return n;
    };
    ASSERT_TRUE(rig.synth.waitUntil([&] { return count(0xF8) >= expectedClocks; }, 5000)) << count(0xF8);
    juce::Thread::sleep(50);
    EXPECT_EQ(count(0xF8), expectedClocks);

    // Located at the start while stopped, a continue when playing starts; then nothing but clocks.
    std::vector<Bytes> transport;
    for (const auto& e : rig.synth.received())
        if (e.bytes[0] != 0xF8)
            transport.push_back(e.bytes);
    EXPECT_EQ(transport, (std::vector<Bytes>{{0xFC}, {0xF2, 0, 0}, {0xFB}}));
}

INSTANTIATE_TEST_SUITE_P(Blocks, ClockBlocksTest,
                         ::testing::Values(ClockRow{"fixed", {512}},
                                           ClockRow{"one_short_block", {512, 512, 512, 128, 512, 512, 512, 512}},
                                           ClockRow{"alternating_64_1024", {64, 1024}},
                                           ClockRow{"empty_blocks_between", {512, 0, 0, 480, 0}},
                                           ClockRow{"odd_lengths", {1, 919, 333, 2048, 7, 0, 918}}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(HostBlocksTest, ADumpNeverCostsANoteOffWaitingForTheLatency)
{
    processor.getState().setLatency(0, {40, 40, 40, 40, 40, 40, 0});
    processor.prepareToPlay(44100.0, 512);
    juce::AudioBuffer<float> audio(2, 512);
    midi.clear();
    midi.addEvent(juce::MidiMessage::noteOn(1, 60, (juce::uint8)100), 5);
    midi.addEvent(juce::MidiMessage::noteOff(1, 60), 300);
    processor.processBlock(audio, midi);
    midi.clear();
    midi.addEvent(juce::MidiMessage::noteOn(1, 62, (juce::uint8)100), 1);
    processor.processBlock(audio, midi);
    midi.clear();
    midi.addEvent(juce::MidiMessage::noteOff(1, 62), 0);
    processor.processBlock(audio, midi);

    // A program stored into the synthesizer while those wait for the latency.
    auto& state = processor.getState();
    state.sendProgramDump(0, 3, state.getBankProgram(5, 3));

    const auto got = [&](const Bytes& m) {
        for (const auto& e : rig.synth.received())
            if (e.bytes == m)
                return true;
        return false;
    };
    ASSERT_TRUE(rig.synth.waitUntil([&] { return got({0x80, 60, 0}) && got({0x80, 62, 0}); }, 3000))
        << "a note hangs on the instrument";
    EXPECT_EQ(rig.synth.program(0, 3), state.getBankProgram(5, 3));
}
