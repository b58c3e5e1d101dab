// Host notes forwarded to the instrument: how far each lands from its sample's time and how much
// note lengths change, at several block sizes under a host whose calls jitter. Measured on the
// simulated synthesizer's DIN wire in its virtual time, and once through the real MIDI sender.

#include "BenchSupport.h"

#include "midi/HostBlockTimeline.h"
#include "platform/SettingsFolder.h"
#include "plugin/ZarnelAudioProcessor.h"
#include "support/TempFolder.h"
#include "support/VirtualMidiBackend.h"

#include <chrono>
#include <cmath>
#include <limits>
#include <mutex>
#include <random>
#include <thread>

using namespace zarnel;
using namespace zarnel::bench;
using test::SimulatedSynth;

namespace
{

constexpr double msPerSample = 1000.0 / sampleRate;
// The host's audio device hands over at least this many samples at a time, late by up to the
// jitter; the host splits them into blocks called back to back.
constexpr int deviceBuffer = 256;
constexpr double maxJitterMs = 2.0;
constexpr double warmUpSeconds = 2.0;

struct HostEvent
{
    std::int64_t sample = 0;
    Bytes bytes;
};

// A line of notes, one at a time, lengths 20 to 400 ms, gaps 5 to 100 ms: no two messages meet on
// the wire, so whatever moves them is the timing.
std::vector<HostEvent> noteLine(std::int64_t from, std::int64_t to, std::mt19937& random)
{
    std::uniform_int_distribution<int> length(882, 17640), gap(220, 4410);
    std::vector<HostEvent> events;
    int note = 48;
    for (auto on = from + gap(random);;)
    {
        const auto off = on + length(random);
        if (off >= to)
            return events;
        events.push_back({on, {0x90, (std::uint8_t)note, 100}});
        events.push_back({off, {0x80, (std::uint8_t)note, 0}});
        note = 48 + (note - 47) % 24;
        on = off + gap(random);
    }
}

struct Errors
{
    double timingMs = 0.0; // how far events move against each other: largest minus smallest offset
    double lengthMs = 0.0; // the largest change of a note's length
};

// arrivals[k] is when events[k] arrived; notes come as on/off pairs.
Errors errorsOf(const std::vector<HostEvent>& events, const std::vector<double>& arrivals)
{
    double lo = std::numeric_limits<double>::max(), hi = std::numeric_limits<double>::lowest();
    Errors e;
    for (size_t k = 0; k < events.size(); ++k)
    {
        const double offset = arrivals[k] - (double)events[k].sample * msPerSample;
        lo = std::min(lo, offset);
        hi = std::max(hi, offset);
        if (k % 2 == 1)
        {
            const double length = (double)(events[k].sample - events[k - 1].sample) * msPerSample;
            e.lengthMs = std::max(e.lengthMs, std::abs(arrivals[k] - arrivals[k - 1] - length));
        }
    }
    e.timingMs = hi - lo;
    return e;
}

// The host's calls: device buffers late by up to maxJitterMs, each split into blocks called back
// to back, every block taking 30 % of its own duration. block(callMs, firstSample, numSamples).
template <typename Block>
void runHost(int blockSize, std::int64_t totalSamples, std::mt19937& random, Block&& block)
{
    std::uniform_real_distribution<double> jitter(0.0, maxJitterMs);
    const int perDevice = std::max(deviceBuffer, blockSize);
    for (std::int64_t first = 0; first < totalSamples; first += perDevice)
    {
        const double handedOverMs = 1000.0 + (double)first * msPerSample + jitter(random);
        for (int b = 0; b < perDevice / blockSize; ++b)
            block(handedOverMs + 0.3 * b * blockSize * msPerSample, first + (std::int64_t)b * blockSize, blockSize);
    }
}

// When each event, due at dues[k], has crossed a DIN wire into the simulated synthesizer.
std::vector<double> arrivalsOnTheWire(const std::vector<HostEvent>& events, const std::vector<double>& dues)
{
    SimulatedSynth::Options options;
    options.msPerByte = SimulatedSynth::dinMsPerByte;
    test::VirtualMidiBackend backend;
    SimulatedSynth synth(backend, "Wire", options);
    for (size_t k = 0; k < events.size(); ++k)
    {
        if (dues[k] > synth.virtualTimeMs())
            synth.advanceVirtualTime(dues[k] - synth.virtualTimeMs());
        const auto& b = events[k].bytes;
        synth.receivedFromPlugin(juce::MidiMessage(b.data(), (int)b.size()));
    }
    std::vector<double> arrivals;
    for (const auto& entry : synth.received())
        arrivals.push_back(entry.timeMs);
    return arrivals;
}

void BM_HostNoteTiming(benchmark::State& st)
{
    const int blockSize = (int)st.range(0);
    Errors ours, before;
    for (auto _ : st)
    {
        std::mt19937 random(22);
        const auto total = (std::int64_t)(30.0 * sampleRate);
        const auto events = noteLine((std::int64_t)(warmUpSeconds * sampleRate), total, random);

        // The engine's line, and the rule it replaced: every event of a block due at its call.
        HostBlockTimeline line;
        std::vector<double> dues, blockCalls;
        size_t next = 0;
        runHost(blockSize, total, random,
                [&](double callMs, std::int64_t first, int n)
                {
                    line.beginBlock(callMs, n, sampleRate);
                    for (; next < events.size() && events[next].sample < first + n; ++next)
                    {
                        dues.push_back(line.dueTime((int)(events[next].sample - first), 0.0));
                        blockCalls.push_back(callMs);
                    }
                });
        if (dues.size() != events.size())
        {
            st.SkipWithError("events left over");
            return;
        }
        ours = errorsOf(events, arrivalsOnTheWire(events, dues));
        before = errorsOf(events, arrivalsOnTheWire(events, blockCalls));
    }
    st.counters["timing_ms"] = ours.timingMs;
    st.counters["length_ms"] = ours.lengthMs;
    st.counters["before_timing_ms"] = before.timingMs;
    st.counters["before_length_ms"] = before.lengthMs;
    st.counters["goal_ms"] = msPerSample + SimulatedSynth::dinMsPerByte;
}

BENCHMARK(BM_HostNoteTiming)->Arg(1)->Arg(64)->Arg(512)->Arg(4096)->Iterations(1)->Unit(benchmark::kMillisecond);

// The instrument's end of the cable: when each message arrives, on the real clock.
class ArrivalClock : public test::VirtualMidiBackend::FarSide
{
public:
    void receivedFromPlugin(const juce::MidiMessage&) override
    {
        const std::lock_guard<std::mutex> lk(lock);
        arrivals.push_back(juce::Time::getMillisecondCounterHiRes());
    }
    std::vector<double> taken()
    {
        const std::lock_guard<std::mutex> lk(lock);
        return arrivals;
    }

private:
    std::mutex lock;
    std::vector<double> arrivals;
};

// The whole way in real time: the processor called every 512 samples by the clock (the machine's
// own jitter), its sender, a virtual device.
void BM_HostNoteTiming_Sender(benchmark::State& st)
{
    using Clock = std::chrono::steady_clock;
    constexpr int block = 512;
    const char* name = "Instrument";
    ArrivalClock instrument;
    test::VirtualMidiBackend backend;
    backend.addDevice(name, &instrument);
    test::TempFolder folder;
    const auto ports = MIDI_PORTS_Control::formatPortFile({name, name, "NONE"});
    folder.file(SettingsFolder::portFileName).replaceWithData(ports.getData(), ports.getSize());

    Errors errors;
    for (auto _ : st)
    {
        ZarnelAudioProcessor processor(folder.get(), backend);
        processor.prepareToPlay(sampleRate, block);
        std::mt19937 random(22);
        const auto total = (std::int64_t)(6.0 * sampleRate);
        const auto events = noteLine((std::int64_t)(1.0 * sampleRate), total, random);

        juce::AudioBuffer<float> audio(2, block);
        juce::MidiBuffer midi;
        midi.ensureSize(1024);
        const auto start = Clock::now();
        size_t next = 0;
        for (std::int64_t first = 0; first < total; first += block)
        {
            std::this_thread::sleep_until(start + std::chrono::duration<double>((double)first / sampleRate));
            midi.clear();
            for (; next < events.size() && events[next].sample < first + block; ++next)
                midi.addEvent(events[next].bytes.data(), (int)events[next].bytes.size(), (int)(events[next].sample - first));
            processor.processBlock(audio, midi);
        }
        juce::Thread::sleep(100);
        const auto arrivals = instrument.taken();
        if (arrivals.size() != events.size())
        {
            st.SkipWithError("not every note arrived");
            return;
        }
        errors = errorsOf(events, arrivals);
    }
    st.counters["timing_ms"] = errors.timingMs;
    st.counters["length_ms"] = errors.lengthMs;
}

BENCHMARK(BM_HostNoteTiming_Sender)->Iterations(1)->UseRealTime()->Unit(benchmark::kMillisecond);

} // namespace
