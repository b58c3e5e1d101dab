#include "plugin/MidiClockGenerator.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>

using zarnel::MidiClockGenerator;
using Transport = MidiClockGenerator::Transport;

namespace
{

struct Event
{
    int position;
    int status;
    int value; // song position pointer value, else 0

    bool operator==(const Event& o) const
    {
        return position == o.position && status == o.status && value == o.value;
    }
};

std::ostream& operator<<(std::ostream& os, const Event& e)
{
    return os << "{" << e.position << ", 0x" << std::hex << e.status << std::dec << ", " << e.value << "}";
}

std::vector<Event> eventsOf(const juce::MidiBuffer& buffer)
{
    std::vector<Event> out;
    for (const auto m : buffer)
    {
        const int value = m.data[0] == 0xF2 ? m.data[1] + 128 * m.data[2] : 0;
        out.push_back({m.samplePosition, m.data[0], value});
    }
    return out;
}

constexpr double rate = 44100.0;
constexpr int block = 512;

Transport stopped(double ppq)
{
    Transport t;
    t.ppqPosition = ppq;
    return t;
}

Transport playing(double ppq, double bpm = 120.0)
{
    Transport t;
    t.bpm = bpm;
    t.ppqPosition = ppq;
    t.isPlaying = true;
    return t;
}

class ClockFixture : public ::testing::Test
{
protected:
    ClockFixture() { buffer.ensureSize(3080); }

    std::vector<Event> run(const Transport& t, int samples = block)
    {
        buffer.clear();
        clock.process(t, buffer, samples, rate);
        return eventsOf(buffer);
    }

    // Runs the transport on from ppq for `blocks` blocks, collecting events with absolute offsets.
    std::vector<Event> play(double ppq, int blocks, double bpm = 120.0)
    {
        std::vector<Event> all;
        const double perSample = bpm / 60.0 / rate;
        for (int k = 0; k < blocks; ++k)
            for (auto e : run(playing(ppq + k * block * perSample, bpm)))
            {
                e.position += k * block;
                all.push_back(e);
            }
        return all;
    }

    MidiClockGenerator clock;
    juce::MidiBuffer buffer;
};

// A host playing a timeline: a tempo read at each block's start, a loop it wraps either inside a
// block or by ending the block at the loop end, and positions it may round. Collects what the
// generator sends at absolute sample times, and where each clock should be: the time the host's
// position passes each 1/24 beat.
struct ClockHost
{
    std::function<double(double)> tempoAt = [](double) { return 120.0; };
    std::vector<int> blocks{512};
    double sampleRate = rate;
    double loopStart = 0.0, loopEnd = 0.0;
    bool splitsAtLoopEnd = false;
    double rounding = 0.0; // the largest error of a reported position, in quarter notes

    struct Sent
    {
        double time;
        int status;
        int value;
    };
    std::vector<Sent> sent;
    std::vector<double> idealClocks;
    std::int64_t endTime = 0;
    double position = 0.0; // where the host stands after a run

    // Plays `beats` quarter notes from `from` (looped beats count too), after the last run.
    void run(MidiClockGenerator& clock, double from, double beats)
    {
        juce::MidiBuffer buffer;
        buffer.ensureSize(3080);
        double ppq = from;
        std::int64_t now = endTime;
        std::uint32_t noise = 1;
        const bool looping = loopEnd > loopStart;
        double played = 0.0;
        for (size_t k = 0; played < beats; ++k)
        {
            Transport t = playing(ppq, tempoAt(ppq));
            t.isLooping = looping;
            t.loopStartPpq = loopStart;
            t.loopEndPpq = loopEnd;
            noise = noise * 1664525u + 1013904223u;
            t.ppqPosition += rounding * ((double)(noise >> 8) / (double)(1u << 24) * 2.0 - 1.0);

            const double b = t.bpm / 60.0 / sampleRate;
            int n = blocks[k % blocks.size()];
            const double toEnd = (loopEnd - ppq) / b; // samples, fractional
            const bool wraps = looping && ppq < loopEnd && toEnd < n - 1e-9;
            if (wraps && splitsAtLoopEnd)
                n = std::max(1, (int)std::ceil(toEnd - 1e-9));

            buffer.clear();
            clock.process(t, buffer, n, sampleRate);
            for (const auto m : buffer)
                sent.push_back({(double)(now + m.samplePosition), m.data[0],
                                m.data[0] == 0xF2 ? m.data[1] + 128 * m.data[2] : 0});

            if (wraps)
            {
                addIdeal((double)now, ppq, loopEnd, b);
                addIdeal((double)now + toEnd, loopStart, loopStart + (n - toEnd) * b, b);
                ppq = loopStart + (n - toEnd) * b;
            }
            else
            {
                addIdeal((double)now, ppq, ppq + n * b, b);
                ppq += n * b;
            }
            now += n;
            played += n * b;
        }
        endTime = now;
        position = ppq;
    }

    // Clocks for positions [a, e) that start at `time` and move on by b a sample; none before 0.
    // Counted in clocks, so that where one span ends and the next begins no clock is lost or doubled.
    void addIdeal(double time, double a, double e, double b)
    {
        for (auto k = (std::int64_t)std::ceil(24.0 * std::max(0.0, a)); (double)k < 24.0 * e; ++k)
            idealClocks.push_back(time + ((double)k / 24.0 - a) / b);
    }

    std::vector<double> clocks() const
    {
        std::vector<double> out;
        for (const auto& s : sent)
            if (s.status == 0xF8)
                out.push_back(s.time);
        return out;
    }

    std::vector<Sent> transport() const
    {
        std::vector<Sent> out;
        for (const auto& s : sent)
            if (s.status != 0xF8)
                out.push_back(s);
        return out;
    }

    // Every clock once, each within a sample of its place (the last sample left out: a clock due
    // there may go with the block that never came).
    void expectClocksOnTheGrid() const
    {
        auto got = clocks();
        auto ideal = idealClocks;
        const auto tail = [&](std::vector<double>& v) {
            v.erase(std::lower_bound(v.begin(), v.end(), (double)endTime - 1.0), v.end());
        };
        tail(got);
        tail(ideal);
        ASSERT_EQ(got.size(), ideal.size());
        double worst = 0.0;
        size_t at = 0;
        for (size_t i = 0; i < got.size(); ++i)
            if (std::abs(got[i] - ideal[i]) > worst)
            {
                worst = std::abs(got[i] - ideal[i]);
                at = i;
            }
        EXPECT_LE(worst, 1.0) << "clock " << at << " at " << got[at] << ", due at " << ideal[at];
    }
};

double rampFrom120To140(double ppq)
{
    return 120.0 + 20.0 * std::clamp(ppq / 16.0, 0.0, 1.0);
}

struct GridRow
{
    const char* name;
    std::vector<int> blocks;
    double sampleRate;
    bool ramp;
    double start;    // quarter notes
    double rounding; // of reported positions, quarter notes
};

void PrintTo(const GridRow& row, std::ostream* os)
{
    *os << row.name;
}

class ClockGridTest : public ::testing::TestWithParam<GridRow>
{
};

} // namespace

TEST_P(ClockGridTest, EveryClockOnceAndWithinASampleOfTheHostsBeat)
{
    const auto& row = GetParam();
    MidiClockGenerator clock;
    clock.enable = true;
    ClockHost host;
    host.blocks = row.blocks;
    host.sampleRate = row.sampleRate;
    host.rounding = row.rounding;
    if (row.ramp)
        host.tempoAt = rampFrom120To140;
    host.run(clock, row.start, 32.0);
    host.expectClocksOnTheGrid();
}

// 120 bpm at 48 kHz puts a clock every 1000 samples: with 500-sample blocks, a clock sits on
// every other block edge, or (started half a clock and half a sample before 0) half a sample
// before one.
INSTANTIATE_TEST_SUITE_P(
    Hosts, ClockGridTest,
    ::testing::Values(GridRow{"ramp_1", {1}, 44100.0, true, 0.0, 0.0},
                      GridRow{"ramp_64", {64}, 44100.0, true, 0.0, 0.0},
                      GridRow{"ramp_512", {512}, 44100.0, true, 0.0, 0.0},
                      GridRow{"ramp_4096", {4096}, 44100.0, true, 0.0, 0.0},
                      GridRow{"ramp_odd_lengths", {1, 919, 333, 2048, 7, 918}, 96000.0, true, 0.0, 0.0},
                      GridRow{"ramp_rounded_positions", {441, 512}, 44100.0, true, 0.0, 1e-9},
                      GridRow{"clocks_on_block_edges", {500}, 48000.0, false, 0.0, 1e-12},
                      GridRow{"clocks_half_a_sample_from_edges", {500}, 48000.0, false, 0.5 / 24000.0 - 1.0 / 48.0, 1e-12}),
    [](const auto& p) { return std::string(p.param.name); });

TEST(MidiClockLoop, EachPassStopsBeforeTheEndAndContinuesFromTheStart)
{
    // Bar loops from bar 2, the tempo still ramping, with hosts that wrap inside a block and
    // hosts that end the block at the loop end.
    for (const bool split : {false, true})
        for (const int size : {64, 512, 4096})
        {
            SCOPED_TRACE(testing::Message() << (split ? "split" : "wrapped") << " blocks of " << size);
            MidiClockGenerator clock;
            clock.enable = true;
            ClockHost host;
            host.blocks = {size};
            host.tempoAt = rampFrom120To140;
            host.loopStart = 4.0;
            host.loopEnd = 8.0;
            host.splitsAtLoopEnd = split;
            juce::MidiBuffer ignored;
            clock.process(stopped(4.0), ignored, size, rate);
            host.run(clock, 4.0, 3 * 4.0 - 0.5); // wraps twice, ends inside the third pass
            host.expectClocksOnTheGrid();

            // A continue at the start; then, each pass, a stop within the last clock before the
            // end, and at the loop start a song position there and a continue.
            const auto transport = host.transport();
            ASSERT_EQ(transport.size(), 7u);
            EXPECT_EQ(transport[0].status, 0xFB);
            const auto& wraps = host.idealClocks;
            for (int pass = 0; pass < 2; ++pass)
            {
                const double wrapTime = wraps[(size_t)(96 * (pass + 1))]; // the clock at the loop start
                const double period = wraps[(size_t)(96 * (pass + 1) - 1)] - wraps[(size_t)(96 * (pass + 1) - 2)];
                const auto* t = &transport[(size_t)(1 + 3 * pass)];
                EXPECT_EQ(t[0].status, 0xFC);
                EXPECT_GE(t[0].time, wrapTime - period - 1.0);
                EXPECT_LT(t[0].time, wrapTime - 1.0);
                EXPECT_EQ(t[1].status, 0xF2);
                EXPECT_EQ(t[1].value, 16);
                EXPECT_EQ(t[2].status, 0xFB);
                EXPECT_NEAR(t[1].time, wrapTime, 1.0);
                EXPECT_NEAR(t[2].time, wrapTime, 1.0);
            }
        }
}

TEST(MidiClockLoop, PlayingOnFromTheLoopEndIsNoLoop)
{
    // The host stands at the loop end, or beyond it, and plays on from there.
    for (const double from : {8.0, 9.3})
    {
        SCOPED_TRACE(from);
        MidiClockGenerator clock;
        clock.enable = true;
        ClockHost host;
        host.loopStart = 4.0;
        host.loopEnd = 8.0;
        juce::MidiBuffer ignored;
        clock.process(stopped(from), ignored, block, rate);
        host.run(clock, from, 4.0);
        host.expectClocksOnTheGrid();
        const auto transport = host.transport();
        ASSERT_EQ(transport.size(), 1u);
        EXPECT_EQ(transport[0].status, 0xFB);
    }
}

TEST(MidiClockLoop, ALoopSwitchedOffAfterItsStopPlaysOn)
{
    // The stop before the loop end went out, then the loop is switched off: the host plays on
    // past the end, and the instrument with it from the next sixteenth.
    MidiClockGenerator clock;
    clock.enable = true;
    ClockHost host;
    host.loopStart = 4.0;
    host.loopEnd = 8.0;
    juce::MidiBuffer ignored;
    clock.process(stopped(7.0), ignored, block, rate);
    host.run(clock, 7.0, 0.98);
    ASSERT_LT(host.position, 8.0);
    ASSERT_EQ(host.transport().back().status, 0xFC);

    host.loopEnd = host.loopStart;
    host.run(clock, host.position, 2.0);
    host.expectClocksOnTheGrid();
    const auto transport = host.transport();
    ASSERT_EQ(transport.size(), 4u);
    EXPECT_EQ(transport[2].status, 0xF2);
    EXPECT_EQ(transport[2].value, 32);
    EXPECT_EQ(transport[3].status, 0xFB);
    EXPECT_NEAR(transport[3].time, host.idealClocks[24], 1.0); // the clock at 8.0
}

TEST(MidiClockCountIn, NothingBeforePositionZeroThenStartThere)
{
    for (const int size : {64, 512, 4096})
    {
        SCOPED_TRACE(size);
        MidiClockGenerator clock;
        clock.enable = true;
        juce::MidiBuffer ignored;
        clock.process(stopped(0.0), ignored, size, rate); // located at the start
        ClockHost host;
        host.blocks = {size};
        host.run(clock, -4.0, 6.0);
        host.expectClocksOnTheGrid();

        const double zero = 4.0 * rate * 60.0 / 120.0;
        ASSERT_FALSE(host.sent.empty());
        EXPECT_GE(host.sent.front().time, zero - 1.0) << "sent during the count-in";
        const auto transport = host.transport();
        ASSERT_EQ(transport.size(), 2u);
        EXPECT_EQ(transport[0].status, 0xF2);
        EXPECT_EQ(transport[0].value, 0);
        EXPECT_EQ(transport[1].status, 0xFB);
        EXPECT_NEAR(transport[1].time, zero, 1.0);
        EXPECT_EQ(host.sent[2].status, 0xF8) << "the first clock follows the continue";
    }
}

TEST(MidiClock, PeriodAtCommonTempos)
{
    const std::tuple<double, double, int> cases[] = {{120.0, 44100.0, 919}, {120.0, 48000.0, 1000},
                                                    {90.0, 44100.0, 1225},  {250.0, 96000.0, 960},
                                                    {0.0, 44100.0, 0},      {-5.0, 44100.0, 0},
                                                    {1e9, 44100.0, 0},      {120.0, 0.0, 0}};
    for (const auto& [bpm, sr, h] : cases)
        EXPECT_EQ(MidiClockGenerator::samplesPerClock(bpm, sr), h) << bpm << " at " << sr;
}

TEST_F(ClockFixture, StoppedTransportStaysQuietUntilTheLocatorMoves)
{
    run(stopped(0.0)); // the first block finds a position
    EXPECT_TRUE(run(stopped(0.0)).empty());
    EXPECT_TRUE(run(stopped(0.0)).empty());
    EXPECT_EQ(run(stopped(1.1)), (std::vector<Event>{{0, 0xFC, 0}, {0, 0xF2, 5}}));
    EXPECT_TRUE(run(stopped(1.1)).empty());
}

TEST_F(ClockFixture, StartSendsContinueOnTheNextSixteenth)
{
    clock.enable = true;
    run(stopped(1.1));
    const double perSample = 120.0 / 60.0 / rate;
    const int continueAt = (int)std::ceil((1.25 - 1.1) / perSample);
    const int h = 919;
    // Where each 1/24 beat of the host's position falls, the first at or after 1.1.
    const auto clockAt = [&](int k) { return (k / 24.0 - 1.1) / perSample; };

    const auto events = play(1.1, 16);
    ASSERT_FALSE(events.empty());
    std::vector<Event> continues, clocks;
    for (const auto& e : events)
        (e.status == 0xFB ? continues : clocks).push_back(e);

    ASSERT_EQ(continues.size(), 1u);
    EXPECT_NEAR(continues[0].position, continueAt, 1);
    for (size_t i = 0; i < clocks.size(); ++i)
    {
        ASSERT_EQ(clocks[i].status, 0xF8);
        EXPECT_LE(std::abs(clocks[i].position - clockAt(27 + (int)i)), 0.5 + 1e-6) << "clocks fall on the beat's 1/24";
    }
    EXPECT_NEAR((double)clocks.size(), 16.0 * block / h, 1.0);

    // The continue goes just before the clock of its sixteenth, so that clock is the first played.
    const auto at = std::find(events.begin(), events.end(), continues[0]);
    ASSERT_NE(at + 1, events.end());
    EXPECT_EQ(*(at + 1), (Event{continues[0].position, 0xF8, 0}));
    EXPECT_LE(std::abs(continues[0].position - clockAt(30)), 0.5 + 1e-6);
}

TEST_F(ClockFixture, DisabledClockStillSendsTransportMessages)
{
    clock.enable = false;
    run(stopped(2.0));
    const auto events = play(2.0, 8);
    EXPECT_EQ(events, (std::vector<Event>{{0, 0xFB, 0}}));
}

TEST_F(ClockFixture, JumpWhilePlayingStopsAndRelocates)
{
    clock.enable = false;
    run(stopped(0.0));
    play(0.0, 4);
    // The host jumps to bar 5 while running.
    const auto events = run(playing(16.3));
    ASSERT_GE(events.size(), 2u);
    EXPECT_EQ(events[0], (Event{0, 0xFC, 0}));
    EXPECT_EQ(events[1], (Event{0, 0xF2, 66}));
    const auto after = play(16.3 + block * 2.0 / rate, 20);
    EXPECT_EQ(std::count_if(after.begin(), after.end(), [](const Event& e) { return e.status == 0xFB; }), 1);
}

TEST_F(ClockFixture, LoopEndSendsStopOnceAndTheJumpBackContinues)
{
    clock.enable = false;
    run(stopped(3.0));
    Transport t = playing(3.0);
    t.isLooping = true;
    t.loopStartPpq = 0.0;
    t.loopEndPpq = 4.0;

    // The host ends its last block at the loop end.
    const double perSample = 120.0 / 60.0 / rate;
    std::vector<Event> events;
    double ppq = 3.0;
    for (int k = 0; k < 100 && ppq < 4.0 - perSample / 2; ++k)
    {
        const int n = std::min(block, (int)std::ceil((4.0 - ppq) / perSample - 1e-6));
        t.ppqPosition = ppq;
        for (auto e : run(t, n))
            events.push_back(e);
        ppq += n * perSample;
    }
    EXPECT_EQ(std::count_if(events.begin(), events.end(), [](const Event& e) { return e.status == 0xFC; }), 1);

    // Back at the loop start: a position, no second stop, and a continue at once (0 is a sixteenth).
    t.ppqPosition = 0.0;
    const auto back = run(t);
    ASSERT_GE(back.size(), 2u);
    EXPECT_EQ(back[0], (Event{0, 0xF2, 0}));
    EXPECT_EQ(back[1], (Event{0, 0xFB, 0}));
}

TEST_F(ClockFixture, TempoChangeKeepsOneClockPerPeriod)
{
    clock.enable = true;
    run(stopped(0.0));
    const auto slow = play(0.0, 40, 60.0);
    const auto countClocks = [](const std::vector<Event>& v) {
        return std::count_if(v.begin(), v.end(), [](const Event& e) { return e.status == 0xF8; });
    };
    EXPECT_NEAR((double)countClocks(slow), 40.0 * block / 1838.0, 1.0);
}

TEST_F(ClockFixture, UnusableTemposNeverFloodOrDivideByZero)
{
    clock.enable = true;
    run(stopped(0.0));
    for (double bpm : {0.0, -10.0, 1e7, std::numeric_limits<double>::infinity()})
    {
        const auto events = run(playing(0.0, bpm));
        EXPECT_LE(events.size(), 2u) << bpm;
        for (const auto& e : events)
            EXPECT_NE(e.status, 0xF8) << bpm;
    }
}

TEST_F(ClockFixture, SongPositionIsClampedToFourteenBits)
{
    run(stopped(0.0));
    EXPECT_EQ(run(stopped(99999.0)), (std::vector<Event>{{0, 0xFC, 0}, {0, 0xF2, 16383}}));
    EXPECT_EQ(run(stopped(-3.0)), (std::vector<Event>{{0, 0xFC, 0}, {0, 0xF2, 0}}));
}
