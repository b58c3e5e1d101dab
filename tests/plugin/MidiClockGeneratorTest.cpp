#include "plugin/MidiClockGenerator.h"

#include <gtest/gtest.h>

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

} // namespace

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
    const auto blockStart = (std::int64_t)std::floor(rate * 60.0 / 120.0 * 1.1 + 0.5);

    const auto events = play(1.1, 16);
    ASSERT_FALSE(events.empty());
    std::vector<Event> continues, clocks;
    for (const auto& e : events)
        (e.status == 0xFB ? continues : clocks).push_back(e);

    ASSERT_EQ(continues.size(), 1u);
    EXPECT_NEAR(continues[0].position, continueAt, 1);
    for (const auto& c : clocks)
    {
        ASSERT_EQ(c.status, 0xF8);
        EXPECT_EQ((blockStart + c.position) % h, 0) << "clocks fall on absolute multiples of the period";
    }
    EXPECT_NEAR((double)clocks.size(), 16.0 * block / h, 1.0);
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

    const double perSample = 120.0 / 60.0 / rate;
    std::vector<Event> events;
    double ppq = 3.0;
    for (int k = 0; k < 100 && ppq < 4.0; ++k, ppq += block * perSample)
    {
        t.ppqPosition = ppq;
        for (auto e : run(t))
            events.push_back(e);
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
