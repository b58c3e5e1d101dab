#pragma once

#include <cstdint>

namespace zarnel
{

// Puts every sample the host hands us on the millisecond clock, so MIDI forwarded from the host
// and the MIDI clock keep their timing inside and across blocks. Blocks are laid end to end by
// their sample counts: when the host happens to call (it jitters, and calls several blocks at once
// when it splits a device buffer) moves no event against another, so note lengths survive. The
// line follows the clock only where it must: forward when a block comes later than its place (a
// stall, a slow audio clock), back a little per second when every block comes early (a fast audio
// clock), and anew at another sample rate or when blocks come far too early (rendering faster
// than real time). Audio thread only; nothing here allocates.
class HostBlockTimeline
{
public:
    // Blocks coming earlier than their place by more than this start the line again: a host in
    // real time works no further ahead than a large device buffer (or a short render-ahead), and
    // anything more would only pile up in the output's schedule.
    static constexpr double maxLeadMs = 250.0;
    // Early blocks pull the line back only past this headroom for the host's jitter, and by no
    // more per second of audio than two quartz clocks drift apart.
    static constexpr double pullSlackMs = 0.5;
    static constexpr double maxPullMsPerSecond = 0.1;

    // The start of a block of numSamples that the host hands over at nowMs.
    double beginBlock(double nowMs, int numSamples, double sampleRate) noexcept;
    // When an event at samplePosition of the block begun last is due, latencyMs later; never
    // before the event due before it, so a note-off never overtakes its note-on.
    double dueTime(int samplePosition, double latencyMs) noexcept;
    // The next block starts the line at its call: for hosts whose blocks follow no clock
    // (rendering offline). The order of what was due is kept.
    void restart() noexcept { rate = 0.0; }

private:
    void anchorAt(double nowMs, double sampleRate) noexcept;

    double rate = 0.0;
    double msPerSample = 0.0;
    double anchorMs = 0.0;
    std::int64_t samplesSinceAnchor = 0;
    double blockStartMs = 0.0;
    double lastDueMs = 0.0;
    // The smallest lead of a block over its call during the current second of audio.
    double windowLeadMs = 0.0;
    std::int64_t windowSamples = 0;
};

} // namespace zarnel
