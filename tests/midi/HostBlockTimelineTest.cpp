// The line that puts the host's samples on the millisecond clock, driven by host calls of our own.
#include "midi/HostBlockTimeline.h"

#include <gtest/gtest.h>

using namespace zarnel;

namespace
{

constexpr double rate = 44100.0;
constexpr double msPerSample = 1000.0 / rate;

} // namespace

TEST(HostBlockTimeline, JitteryCallsInBurstsMoveNoEventAgainstAnother)
{
    // A device buffer of 1024 samples handed over late by up to 3 ms, the latest first, split
    // into blocks of 64 called back to back.
    HostBlockTimeline line;
    const double t0 = 5000.0;
    const double period = 1024 * msPerSample;
    double firstStart = 0.0;
    std::int64_t samples = 0;
    for (int callback = 0; callback < 10 * 43; ++callback)
    {
        const double jitter = callback == 0 ? 3.0 : 0.3 * ((callback * 7) % 10);
        for (int b = 0; b < 16; ++b)
        {
            const double now = t0 + callback * period + jitter + b * 0.05;
            const double start = line.beginBlock(now, 64, rate);
            if (samples == 0)
                firstStart = start;
            ASSERT_GE(start, now) << callback;
            ASSERT_NEAR(start, firstStart + samples * msPerSample, 1e-6) << callback;
            EXPECT_NEAR(line.dueTime(10, 5.0), start + 5.0 + 10 * msPerSample, 1e-9);
            samples += 64;
        }
    }
}

TEST(HostBlockTimeline, LatencyStaysBoundedWhenCallsDrift)
{
    struct Case
    {
        const char* what;
        double callEveryMs; // per block of 512, after a steady second
        double maxLeadAfterMs; // of the last block over its call
    };
    const double blockMs = 512 * msPerSample;
    const Case cases[] = {
        // The line is pulled back towards the calls: latency does not grow.
        {"an audio clock 50 ppm fast, ten minutes", blockMs * (1.0 - 50e-6), 1.0},
        // Faster than real time: the line starts again whenever it runs too far ahead.
        {"rendering offline", blockMs * 0.01, HostBlockTimeline::maxLeadMs},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.what);
        HostBlockTimeline line;
        double now = 100.0;
        for (int k = 0; k < 86; ++k, now += blockMs)
            line.beginBlock(now, 512, rate);
        double lead = 0.0;
        for (int k = 0; k < (int)(600000.0 / blockMs); ++k, now += c.callEveryMs)
        {
            lead = line.beginBlock(now, 512, rate) - now;
            ASSERT_GE(lead, 0.0);
            ASSERT_LE(lead, HostBlockTimeline::maxLeadMs);
        }
        EXPECT_LE(lead, c.maxLeadAfterMs);
    }
}

TEST(HostBlockTimeline, StallsAndRateChangesStartTheLineAtTheCallAndNothingOvertakes)
{
    HostBlockTimeline line;
    line.beginBlock(1000.0, 512, rate);
    const double noteOn = line.dueTime(500, 200.0);
    // The next block on time, the latency lowered meanwhile: its note-off waits for the note-on.
    line.beginBlock(1000.0 + 512 * msPerSample, 512, rate);
    EXPECT_DOUBLE_EQ(line.dueTime(0, 0.0), noteOn);

    // The host stalls for half a second.
    EXPECT_DOUBLE_EQ(line.beginBlock(1600.0, 512, rate), 1600.0);
    EXPECT_DOUBLE_EQ(line.dueTime(3, 0.0), 1600.0 + 3 * msPerSample);
    // Another rate, called before the old line's place for it.
    EXPECT_DOUBLE_EQ(line.beginBlock(1605.0, 512, 48000.0), 1605.0);
}
