// processBlock against an empty pass-through processor, editor edits to the output device,
// and making a processor.

#include "BenchSupport.h"

#include "plugin/HostParameter.h"
#include "plugin/ZarnelAudioProcessor.h"
#include "support/SynthRig.h"

#include <algorithm>
#include <chrono>
#include <functional>
#include <memory>
#include <random>
#include <thread>

using namespace zarnel;
using namespace zarnel::bench;

namespace
{

constexpr int hostEventsPerBlock = 64;
constexpr int hostEventsLatencyMs = 10;

std::vector<int> latencyTable(int ms)
{
    return std::vector<int>(SettingsList::numLatencyValues, ms);
}

juce::MidiBuffer hostEvents(int count)
{
    juce::MidiBuffer events;
    for (int i = 0; i < count; ++i)
    {
        const int note = 36 + i / 2;
        events.addEvent(i % 2 == 0 ? juce::MidiMessage::noteOn(1, note, (juce::uint8)90)
                                   : juce::MidiMessage::noteOff(1, note),
                        i * (blockSize / juce::jmax(1, count)));
    }
    return events;
}

// Blocks as a host runs them, `batch` to an iteration and timed by hand: the host's events are
// copied in and the output drained (`betweenBatches`) outside the timed part.
// `beforeBlock` runs on the same thread just before each block, inside the timing and the
// allocation count (host parameter changes, as VST3 and LV2 hosts make them).
void runBlocks(benchmark::State& st, juce::AudioProcessor& processor, const juce::MidiBuffer& events, int batch,
               const std::function<bool()>& betweenBatches, const std::function<void(std::int64_t)>& beforeBlock = {})
{
    using Clock = std::chrono::steady_clock;

    juce::AudioBuffer<float> audio(2, blockSize);
    for (int ch = 0; ch < 2; ++ch)
        for (int i = 0; i < blockSize; ++i)
            audio.setSample(ch, i, (float)((i + ch) % 9) * 0.1f - 0.4f);
    std::vector<juce::MidiBuffer> midi((size_t)batch);
    for (auto& m : midi)
        m.ensureSize(8192);

    PlayingHead head;
    processor.setPlayHead(&head);
    processor.prepareToPlay(sampleRate, blockSize);

    AllocationCount allocations;
    double seconds = 0.0;
    std::int64_t blocks = 0;
    for (auto _ : st)
    {
        // The empty processor leaves them as they are.
        for (auto& m : midi)
            if (m.getNumEvents() != events.getNumEvents())
            {
                m.clear();
                m.addEvents(events, 0, -1, 0);
            }

        const auto start = Clock::now();
        {
            const AllocationScope scope(allocations);
            for (auto& m : midi)
            {
                if (beforeBlock)
                    beforeBlock(blocks + (&m - midi.data()));
                processor.processBlock(audio, m);
                benchmark::DoNotOptimize(audio.getWritePointer(0));
                benchmark::ClobberMemory();
                head.advance(blockSize);
            }
        }
        const double elapsed = std::chrono::duration<double>(Clock::now() - start).count();
        st.SetIterationTime(elapsed);
        seconds += elapsed;
        blocks += batch;

        if (!betweenBatches())
        {
            st.SkipWithError("the output did not drain");
            break;
        }
    }

    processor.releaseResources();
    processor.setPlayHead(nullptr);
    setPerOperationCounters(st, seconds, blocks, allocations);
}

// 512 blocks make about 290 clocks; 12 blocks of 64 events and their clocks about 780 messages.
// Both stay below the schedule's 1024 places.
int batchFor(int events)
{
    return events == 0 ? 512 : 12;
}

void BM_ProcessBlock_Empty(benchmark::State& st)
{
    const int events = (int)st.range(0);
    EmptyProcessor processor;
    runBlocks(st, processor, hostEvents(events), batchFor(events), [] { return true; });
}

void BM_ProcessBlock_Zarnel(benchmark::State& st)
{
    const int events = (int)st.range(0);
    test::SynthRig rig;
    ZarnelAudioProcessor processor(rig.folder.get(), rig.backend);
    auto& state = processor.getState();
    if (!state.getPorts().isOutputOpen())
    {
        st.SkipWithError("the output port is not open");
        return;
    }
    state.clockOutEnabled = true;
    state.forwardHostMidi = true;
    state.setLatency(0, latencyTable(events > 0 ? hostEventsLatencyMs : 0));
    // Batches come far faster than real time, as in an offline render: forwarded events are then
    // due by their blocks' calls, so they drain between batches.
    processor.setNonRealtime(true);

    runBlocks(st, processor, hostEvents(events), batchFor(events),
              [&] { return flushOutput(state, rig.synth); });
    if (!flushOutput(state, rig.synth))
        return;

    // The clock was running: a few more blocks put clocks on the wire.
    PlayingHead head;
    processor.setPlayHead(&head);
    processor.prepareToPlay(sampleRate, blockSize);
    juce::AudioBuffer<float> audio(2, blockSize);
    juce::MidiBuffer midi;
    for (int i = 0; i < 16; ++i)
    {
        processor.processBlock(audio, midi);
        head.advance(blockSize);
    }
    const bool clocked = rig.synth.waitUntil(
        [&] {
            for (const auto& e : rig.synth.received())
                if (e.bytes.size() == 1 && e.bytes[0] == 0xF8)
                    return true;
            return false;
        },
        3000);
    processor.setPlayHead(nullptr);
    if (!clocked)
        st.SkipWithError("no MIDI clock reached the synthesizer");
    st.counters["dropped"] = (double)state.getPorts().getNumDropped();
}

// Host automation on the audio thread: 16 parameters change before every block, each sent to the
// synthesizer with the latency offset. 12 blocks a batch keep the messages below the schedule's
// 1024 places.
constexpr int automatedPerBlock = 16;

void BM_ProcessBlock_Automation(benchmark::State& st)
{
    test::SynthRig rig;
    ZarnelAudioProcessor processor(rig.folder.get(), rig.backend);
    auto& state = processor.getState();
    if (!state.getPorts().isOutputOpen())
    {
        st.SkipWithError("the output port is not open");
        return;
    }
    state.clockOutEnabled = true;
    state.setLatency(0, latencyTable(hostEventsLatencyMs));
    const int before = rig.synth.counters().nrpnsApplied;
    std::int64_t changes = 0;

    // Between batches, the automation (due 10 ms later) reaches the synthesizer.
    const auto drain = [&] {
        juce::Thread::sleep(hostEventsLatencyMs + 5);
        return waitForOutput(state, rig.synth);
    };
    runBlocks(
        st, processor, {}, 12, drain,
        [&](std::int64_t block) {
            for (int k = 0; k < automatedPerBlock; ++k)
            {
                const int index = 10 + 7 * k; // spread over the table, every one its own NRPN
                const float value = (float)((block + k) % 2);
                processor.getHostParameter(index)->setValue(value);
                ++changes;
            }
        });
    if (!drain())
        return;
    st.counters["changes_per_block"] = automatedPerBlock;
    if (rig.synth.counters().nrpnsApplied - before < changes / 2)
        st.SkipWithError("automation did not reach the synthesizer");
}

BENCHMARK(BM_ProcessBlock_Empty)->Arg(0)->Arg(hostEventsPerBlock)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ProcessBlock_Zarnel)->Arg(0)->Arg(hostEventsPerBlock)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ProcessBlock_Automation)->UseManualTime()->Unit(benchmark::kMicrosecond);

//==== One editor edit ================================================================================

constexpr int editedIndex = 20; // filter cutoff, NRPN 15
constexpr int editBatch = 768; // below the schedule's 1024 places

int valueFor(std::int64_t call)
{
    // Only the data LSB changes: one CC 38 per call once the NRPN is selected.
    return call % 2 == 0 ? 100 : 101;
}

// `batch` calls of `edit` to an iteration, timed by hand; between batches everything sent
// reaches the synthesizer and the notifications are taken, outside the timed part.
void runEdits(benchmark::State& st, ZarnelAudioProcessor& processor, test::SimulatedSynth& synth,
              const std::function<void(std::int64_t)>& edit)
{
    using Clock = std::chrono::steady_clock;
    auto& state = processor.getState();
    AllocationCount allocations;
    double seconds = 0.0;
    std::int64_t calls = 0;
    for (auto _ : st)
    {
        const auto start = Clock::now();
        {
            const AllocationScope scope(allocations);
            for (int i = 0; i < editBatch; ++i)
                edit(calls + i);
        }
        const double elapsed = std::chrono::duration<double>(Clock::now() - start).count();
        st.SetIterationTime(elapsed);
        seconds += elapsed;
        calls += editBatch;

        const bool ok = waitForOutput(state, synth);
        synth.clearLogs();
        std::uint32_t code;
        while (state.popNotification(code))
        {
        }
        if (!ok)
        {
            st.SkipWithError("the output did not drain");
            break;
        }
    }
    setPerOperationCounters(st, seconds, calls, allocations);
}

// The floor: the same three bytes handed straight to the scheduled output.
void BM_EditorEdit_Schedule(benchmark::State& st)
{
    test::SynthRig rig;
    ZarnelAudioProcessor processor(rig.folder.get(), rig.backend);
    processor.prepareToPlay(sampleRate, blockSize);
    auto& ports = processor.getState().getPorts();
    runEdits(st, processor, rig.synth, [&](std::int64_t call) {
        const std::uint8_t cc[] = {0xB0, 38, (std::uint8_t)valueFor(call)};
        benchmark::DoNotOptimize(ports.scheduleMessage(cc, 3, juce::Time::getMillisecondCounterHiRes()));
    });
}

void BM_EditorEdit_Call(benchmark::State& st)
{
    test::SynthRig rig;
    ZarnelAudioProcessor processor(rig.folder.get(), rig.backend);
    processor.prepareToPlay(sampleRate, blockSize);
    const int before = rig.synth.counters().nrpnsApplied;
    std::int64_t calls = 0;
    runEdits(st, processor, rig.synth, [&](std::int64_t call) {
        processor.setParameterFromEditor(editedIndex, valueFor(call), true, true);
        ++calls;
    });
    if (rig.synth.counters().nrpnsApplied - before != calls)
        st.SkipWithError("edits were lost or suppressed on the way");
}

// From the call until the synthesizer has applied the change (instant wire: the moment the
// sender thread hands the bytes to the device). The sender polls every millisecond; a random
// pause before each edit keeps the edits from locking onto its phase.
void BM_EditorEdit_EndToEnd(benchmark::State& st)
{
    using Clock = std::chrono::steady_clock;
    test::SynthRig rig;
    ZarnelAudioProcessor processor(rig.folder.get(), rig.backend);
    auto& state = processor.getState();
    processor.prepareToPlay(sampleRate, blockSize);
    const int before = rig.synth.counters().nrpnsApplied;

    std::minstd_rand random(1);
    std::uniform_int_distribution<int> pauseUs(0, 1000);
    std::vector<double> latencies;
    std::int64_t calls = 0;
    for (auto _ : st)
    {
        std::this_thread::sleep_for(std::chrono::microseconds(pauseUs(random)));
        const auto target = before + calls + 1;
        const auto start = Clock::now();
        processor.setParameterFromEditor(editedIndex, valueFor(calls), true, true);
        while (rig.synth.counters().nrpnsApplied < target)
        {
            if (Clock::now() - start > std::chrono::seconds(3))
                break;
            std::this_thread::yield();
        }
        const auto end = Clock::now();
        if (rig.synth.counters().nrpnsApplied < target)
        {
            st.SkipWithError("an edit did not arrive");
            break;
        }
        const double seconds = std::chrono::duration<double>(end - start).count();
        st.SetIterationTime(seconds);
        latencies.push_back(seconds);
        if (++calls % editBatch == 0)
        {
            rig.synth.clearLogs();
            std::uint32_t code;
            while (state.popNotification(code))
            {
            }
        }
    }

    if (latencies.empty())
        return;
    std::sort(latencies.begin(), latencies.end());
    const auto at = [&](double q) { return latencies[(size_t)(q * (double)(latencies.size() - 1))] * 1e6; };
    st.counters["p50_us"] = at(0.5);
    st.counters["p99_us"] = at(0.99);
    st.counters["max_us"] = latencies.back() * 1e6;
}

BENCHMARK(BM_EditorEdit_Schedule)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_EditorEdit_Call)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_EditorEdit_EndToEnd)->UseManualTime()->Unit(benchmark::kMicrosecond);

//==== Making a processor ============================================================================

void BM_Instance_Empty(benchmark::State& st)
{
    for (auto _ : st)
    {
        auto processor = std::make_unique<EmptyProcessor>();
        benchmark::DoNotOptimize(processor.get());
    }
}

// Settings folder and virtual MIDI of its own, the port file naming the simulated synth: the
// ports open and their sender thread starts and stops with each instance.
void BM_Instance_Zarnel(benchmark::State& st)
{
    using Clock = std::chrono::steady_clock;
    test::SynthRig rig;
    double constructing = 0.0, destroying = 0.0;
    for (auto _ : st)
    {
        const auto start = Clock::now();
        auto processor = std::make_unique<ZarnelAudioProcessor>(rig.folder.get(), rig.backend);
        benchmark::DoNotOptimize(processor.get());
        const auto built = Clock::now();
        processor.reset();
        constructing += std::chrono::duration<double>(built - start).count();
        destroying += std::chrono::duration<double>(Clock::now() - built).count();
    }
    if (st.iterations() > 0)
    {
        st.counters["construct_ms"] = constructing * 1e3 / (double)st.iterations();
        st.counters["destroy_ms"] = destroying * 1e3 / (double)st.iterations();
    }
}

BENCHMARK(BM_Instance_Empty)->UseRealTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Instance_Zarnel)->UseRealTime()->Unit(benchmark::kMicrosecond);

} // namespace
