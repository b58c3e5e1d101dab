#pragma once

#include "AllocationCounter.h"

#include "midi/MidiCntrState.h"
#include "support/SimulatedSynth.h"

#include <benchmark/benchmark.h>
#include <juce_audio_processors/juce_audio_processors.h>

namespace zarnel::bench
{

constexpr int blockSize = 512;
constexpr double sampleRate = 44100.0;

// A pass-through processor with nothing else in it: stereo in and out, no editor, no state.
class EmptyProcessor final : public juce::AudioProcessor
{
public:
    EmptyProcessor()
        : AudioProcessor(BusesProperties()
                             .withInput("Input", juce::AudioChannelSet::stereo(), true)
                             .withOutput("Output", juce::AudioChannelSet::stereo(), true))
    {
    }

    const juce::String getName() const override { return "Empty"; }
    void prepareToPlay(double, int) override {}
    void releaseResources() override {}

    void processBlock(juce::AudioBuffer<float>& buffer, juce::MidiBuffer&) override
    {
        juce::ScopedNoDenormals noDenormals;
        const int ins = getTotalNumInputChannels();
        const int outs = getTotalNumOutputChannels();
        if (!buffer.hasBeenCleared())
            for (int ch = ins; ch < outs && ch < buffer.getNumChannels(); ++ch)
                buffer.clear(ch, 0, buffer.getNumSamples());
    }
    using AudioProcessor::processBlock;

    double getTailLengthSeconds() const override { return 0.0; }
    bool acceptsMidi() const override { return true; }
    bool producesMidi() const override { return true; }
    juce::AudioProcessorEditor* createEditor() override { return nullptr; }
    bool hasEditor() const override { return false; }
    int getNumPrograms() override { return 1; }
    int getCurrentProgram() override { return 0; }
    void setCurrentProgram(int) override {}
    const juce::String getProgramName(int) override { return {}; }
    void changeProgramName(int, const juce::String&) override {}
    void getStateInformation(juce::MemoryBlock&) override {}
    void setStateInformation(const void*, int) override {}
};

// A host transport playing at a fixed tempo, moved on by hand after each block.
struct PlayingHead : juce::AudioPlayHead
{
    PlayingHead()
    {
        info.setBpm(120.0);
        info.setTimeSignature(TimeSignature{4, 4});
        info.setIsPlaying(true);
        info.setPpqPosition(0.0);
    }

    juce::Optional<PositionInfo> getPosition() const override { return info; }

    void advance(int samples)
    {
        ppq += samples * (120.0 / 60.0) / sampleRate;
        info.setPpqPosition(ppq);
    }

    PositionInfo info;
    double ppq = 0.0;
};

// Waits until everything scheduled on the output so far has reached the synthesizer: a
// program change scheduled now goes out after all of it.
inline bool waitForOutput(MidiCntrState& state, test::SimulatedSynth& synth)
{
    const int before = synth.counters().programChanges;
    const std::uint8_t marker[] = {0xC0, 0};
    if (!state.getPorts().scheduleMessage(marker, 2, juce::Time::getMillisecondCounterHiRes()))
        return false;
    return synth.waitUntil([&] { return synth.counters().programChanges > before; }, 3000);
}

// Between two timed transfers, untimed: the synthesizer's logs and the state's notifications go.
inline void clearAfterTransfer(benchmark::State& st, test::SimulatedSynth& synth, MidiCntrState& state)
{
    st.PauseTiming();
    synth.clearLogs();
    std::uint32_t code;
    while (state.popNotification(code))
    {
    }
    st.ResumeTiming();
}

// Lets everything the processor scheduled go out, what waits for the latency offset included,
// so the schedule never fills during a run (a full schedule refuses messages, which costs less
// than taking them).
inline bool flushOutput(MidiCntrState& state, test::SimulatedSynth& synth)
{
    juce::Thread::sleep(state.getLatencyOffset() + 2);
    const bool ok = waitForOutput(state, synth);
    synth.clearLogs();
    std::uint32_t code;
    while (state.popNotification(code))
    {
    }
    return ok;
}

// For benchmarks timed by hand in batches: time and heap allocations per operation.
inline void setPerOperationCounters(benchmark::State& st, double seconds, std::int64_t operations,
                                    const AllocationCount& count)
{
    if (operations <= 0)
        return;
    st.counters["ns"] = seconds * 1e9 / (double)operations;
    st.counters["allocs"] = (double)count.total() / (double)operations;
}

} // namespace zarnel::bench
