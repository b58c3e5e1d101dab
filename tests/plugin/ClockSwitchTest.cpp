// Clock output switched on and off from the MIDI setup while the host plays: what reaches the
// instrument through the processor.
#include "plugin/ZarnelAudioProcessor.h"
#include "support/SynthRig.h"

#include <gtest/gtest.h>

using namespace zarnel;

namespace
{

struct Head : juce::AudioPlayHead
{
    juce::Optional<PositionInfo> getPosition() const override { return info; }
    PositionInfo info;
};

class ClockSwitchTest : public ::testing::Test
{
protected:
    static constexpr int blockSize = 512;
    static constexpr double perSample = 120.0 / 60.0 / 44100.0;

    ClockSwitchTest()
    {
        head.info.setBpm(120.0);
        head.info.setIsPlaying(true);
        processor.getState().setLatency(0, std::vector<int>(SettingsList::numLatencyValues, 0));
        processor.setPlayHead(&head);
        // Blocks come far faster than real time here: timed from their calls, not laid end to
        // end, what they send goes out at once.
        processor.setNonRealtime(true);
        processor.prepareToPlay(44100.0, blockSize);
    }

    ~ClockSwitchTest() override { processor.setPlayHead(nullptr); }

    void play(int blocks)
    {
        for (int k = 0; k < blocks; ++k)
        {
            head.info.setPpqPosition(ppq);
            processor.processBlock(audio, midi);
            midi.clear();
            ppq += blockSize * perSample;
        }
    }

    // What the instrument got, without the clocks, once the output has gone quiet.
    std::vector<Bytes> transportReceived()
    {
        juce::Thread::sleep(50);
        EXPECT_TRUE(rig.synth.waitUntilIdle(3000));
        std::vector<Bytes> out;
        for (const auto& e : rig.synth.received())
            if (e.bytes[0] != 0xF8)
                out.push_back(e.bytes);
        return out;
    }

    int clocksReceived() const
    {
        int n = 0;
        for (const auto& e : rig.synth.received())
            n += e.bytes.size() == 1 && e.bytes[0] == 0xF8;
        return n;
    }

    juce::ScopedJuceInitialiser_GUI juce;
    test::SynthRig rig;
    ZarnelAudioProcessor processor{rig.folder.get(), rig.backend};
    Head head;
    juce::AudioBuffer<float> audio{2, blockSize};
    juce::MidiBuffer midi;
    double ppq = 1.1;
};

} // namespace

TEST_F(ClockSwitchTest, SwitchedOnWhilePlayingLocatesAndContinuesAtTheNextSixteenth)
{
    processor.getState().clockOutEnabled = false;
    play(20);
    EXPECT_TRUE(transportReceived().empty());

    processor.getState().clockOutEnabled = true;
    const int sixteenth = (int)std::ceil(4.0 * ppq);
    play(20);
    EXPECT_EQ(transportReceived(), (std::vector<Bytes>{{0xF2, (std::uint8_t)sixteenth, 0}, {0xFB}}));
    EXPECT_GT(clocksReceived(), 0);
}

TEST_F(ClockSwitchTest, SwitchedOffWhilePlayingStopsTheInstrument)
{
    // Switched off, a running instrument would wait for the next clock mid-pattern; a stop leaves
    // it where a later start or switch-on can find it.
    processor.getState().clockOutEnabled = true;
    play(20);
    const auto before = transportReceived();
    ASSERT_FALSE(before.empty());
    ASSERT_EQ(before.back(), (Bytes{0xFB}));

    processor.getState().clockOutEnabled = false;
    play(1);
    const int clocks = clocksReceived();
    play(20);
    auto after = transportReceived();
    after.erase(after.begin(), after.begin() + (std::ptrdiff_t)before.size());
    EXPECT_EQ(after, (std::vector<Bytes>{{0xFC}}));
    EXPECT_EQ(clocksReceived(), clocks) << "no clock once switched off";
}
