// The MIDI clock against the host's own beat: over a tempo ramp and over a loop, at several block
// sizes. What counts is where the clocks land, measured in samples; the time per block is a side note.

#include "BenchSupport.h"

#include "plugin/MidiClockGenerator.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <limits>
#include <vector>

using namespace zarnel;
using namespace zarnel::bench;

namespace
{

using Transport = MidiClockGenerator::Transport;

constexpr double beatsPlayed = 32.0;

// A host as plug-ins see one: a position and a tempo at each block's start, the tempo holding
// for the block. A looping host wraps inside the block, or ends the block at the loop end.
struct Timeline
{
    double (*tempoAt)(double ppq) = nullptr;
    int blockSize = 512;
    double loopStart = 0.0, loopEnd = 0.0;
    bool splitsAtLoopEnd = false;
};

double rampFrom120To140(double ppq)
{
    return 120.0 + 20.0 * std::clamp(ppq / 16.0, 0.0, 1.0);
}

double steady120(double)
{
    return 120.0;
}

// Clock times sent by the generator and due by the host's position, in samples from the start.
struct Landing
{
    std::vector<double> sent, due;
    double seconds = 0.0;
    std::int64_t blocks = 0;
    AllocationCount allocations;
};

void addDue(std::vector<double>& due, double time, double from, double to, double b)
{
    for (auto k = (std::int64_t)std::ceil(24.0 * std::max(0.0, from)); (double)k < 24.0 * to; ++k)
        due.push_back(time + ((double)k / 24.0 - from) / b);
}

void play(const Timeline& host, Landing& out)
{
    using Clock = std::chrono::steady_clock;
    MidiClockGenerator clock;
    clock.enable = true;
    juce::MidiBuffer buffer;
    buffer.ensureSize(3080);
    const bool looping = host.loopEnd > host.loopStart;

    double ppq = looping ? host.loopStart : 0.0;
    Transport t;
    t.ppqPosition = ppq;
    clock.process(t, buffer, host.blockSize, sampleRate); // stopped there first

    std::int64_t now = 0;
    double played = 0.0;
    while (played < beatsPlayed)
    {
        t.bpm = host.tempoAt(ppq);
        t.ppqPosition = ppq;
        t.isPlaying = true;
        t.isLooping = looping;
        t.loopStartPpq = host.loopStart;
        t.loopEndPpq = host.loopEnd;
        const double b = t.bpm / 60.0 / sampleRate;
        int n = host.blockSize;
        const double toEnd = (host.loopEnd - ppq) / b;
        const bool wraps = looping && ppq < host.loopEnd && toEnd < n - 1e-9;
        if (wraps && host.splitsAtLoopEnd)
            n = std::max(1, (int)std::ceil(toEnd - 1e-9));

        buffer.clear();
        const auto start = Clock::now();
        {
            const AllocationScope scope(out.allocations);
            clock.process(t, buffer, n, sampleRate);
        }
        out.seconds += std::chrono::duration<double>(Clock::now() - start).count();
        ++out.blocks;
        for (const auto m : buffer)
            if (m.data[0] == 0xF8)
                out.sent.push_back((double)(now + m.samplePosition));

        if (wraps)
        {
            addDue(out.due, (double)now, ppq, host.loopEnd, b);
            addDue(out.due, (double)now + toEnd, host.loopStart, host.loopStart + (n - toEnd) * b, b);
            ppq = host.loopStart + (n - toEnd) * b;
        }
        else
        {
            addDue(out.due, (double)now, ppq, ppq + n * b, b);
            ppq += n * b;
        }
        now += n;
        played += n * b;
    }
    // A clock due on the last sample may go with the block that never came.
    const auto end = (double)now - 1.0;
    out.sent.erase(std::lower_bound(out.sent.begin(), out.sent.end(), end), out.sent.end());
    out.due.erase(std::lower_bound(out.due.begin(), out.due.end(), end), out.due.end());
}

// Clocks a beat (between the clocks due on two whole beats), the worst distance of a clock from
// the nearest one due, and the spacing of the clocks sent and of those due.
void report(benchmark::State& st, const Landing& l)
{
    int fewest = std::numeric_limits<int>::max(), most = 0;
    for (size_t beat = 0; beat + 24 < l.due.size(); beat += 24)
    {
        const auto from = std::lower_bound(l.sent.begin(), l.sent.end(), l.due[beat] - 1.0);
        const auto to = std::lower_bound(l.sent.begin(), l.sent.end(), l.due[beat + 24] - 1.0);
        const int n = (int)(to - from);
        fewest = std::min(fewest, n);
        most = std::max(most, n);
    }
    double worst = 0.0;
    for (const double s : l.sent)
    {
        const auto next = std::lower_bound(l.due.begin(), l.due.end(), s);
        double d = std::numeric_limits<double>::max();
        if (next != l.due.end())
            d = *next - s;
        if (next != l.due.begin())
            d = std::min(d, s - *(next - 1));
        worst = std::max(worst, d);
    }
    const auto spacing = [](const std::vector<double>& v, double& lo, double& hi) {
        lo = std::numeric_limits<double>::max();
        hi = 0.0;
        for (size_t i = 1; i < v.size(); ++i)
        {
            lo = std::min(lo, v[i] - v[i - 1]);
            hi = std::max(hi, v[i] - v[i - 1]);
        }
    };
    double sentLo, sentHi, dueLo, dueHi;
    spacing(l.sent, sentLo, sentHi);
    spacing(l.due, dueLo, dueHi);

    st.counters["clocks"] = (double)l.sent.size();
    st.counters["due"] = (double)l.due.size();
    st.counters["per_beat_min"] = fewest;
    st.counters["per_beat_max"] = most;
    st.counters["worst_samples"] = worst;
    st.counters["spacing_min"] = sentLo;
    st.counters["spacing_max"] = sentHi;
    st.counters["due_spacing_min"] = dueLo;
    st.counters["due_spacing_max"] = dueHi;
    setPerOperationCounters(st, l.seconds, l.blocks, l.allocations);
}

void runTimeline(benchmark::State& st, const Timeline& host)
{
    Landing last;
    double seconds = 0.0;
    std::int64_t blocks = 0;
    AllocationCount allocations;
    for (auto _ : st)
    {
        Landing l;
        play(host, l);
        st.SetIterationTime(l.seconds);
        seconds += l.seconds;
        blocks += l.blocks;
        allocations.news += l.allocations.news;
        allocations.mallocs += l.allocations.mallocs;
        last = std::move(l);
    }
    // Every run lands the same: the figures of the last, the time of all.
    last.seconds = seconds;
    last.blocks = blocks;
    last.allocations = allocations;
    report(st, last);
}

void BM_ClockRamp(benchmark::State& st)
{
    Timeline host;
    host.tempoAt = rampFrom120To140;
    host.blockSize = (int)st.range(0);
    runTimeline(st, host);
}

// A one-bar loop at 120 bpm, played eight times; the second argument is 1 for a host that ends
// its block at the loop end.
void BM_ClockLoop(benchmark::State& st)
{
    Timeline host;
    host.tempoAt = steady120;
    host.blockSize = (int)st.range(0);
    host.loopStart = 4.0;
    host.loopEnd = 8.0;
    host.splitsAtLoopEnd = st.range(1) != 0;
    runTimeline(st, host);
}

BENCHMARK(BM_ClockRamp)->Arg(1)->Arg(64)->Arg(512)->Arg(4096)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ClockLoop)
    ->Args({64, 0})
    ->Args({512, 0})
    ->Args({4096, 0})
    ->Args({512, 1})
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);

} // namespace
