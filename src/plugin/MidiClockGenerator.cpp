#include "MidiClockGenerator.h"

#include <algorithm>
#include <cmath>

namespace zarnel
{

namespace
{
constexpr double clocksPerBeat = 24.0;
constexpr double sixteenthsPerBeat = 4.0;

// Keeps the clock arithmetic inside 64 bits whatever a host reports.
double bounded(double ppq) noexcept
{
    return juce::jlimit(-1.0e9, 1.0e9, std::isfinite(ppq) ? ppq : 0.0);
}
} // namespace

// One block's view of the host: how far a sample moves the position, and its loop.
struct MidiClockGenerator::Block
{
    int h = 0;              // samples per clock; 0 when no clock can run
    double b = 0.0;         // quarter notes per sample; 0 likewise
    double tolerance = 0.0; // a millisecond of position: the host's jitter, not a jump
    double halfSample = 0.0;
    bool looping = false;
    double loopStart = 0.0;
    double loopEnd = 0.0;

    // Inside the loop and short of its end, so heading for the jump back. A host standing at the
    // end (within its rounding) plays on past it.
    bool approachesLoopEnd(double ppq) const noexcept
    {
        return looping && ppq >= loopStart - tolerance && ppq < loopEnd - halfSample;
    }

    // The first sixteenth, and the first clock, later than a sample before a position: a host
    // that lands a fraction of a sample past a beat (a loop end between two samples, rounding)
    // still starts on it. Never before position 0.
    double sixteenthFrom(double ppq) const noexcept
    {
        return std::max(0.0, (std::floor(sixteenthsPerBeat * (ppq - b)) + 1.0) / sixteenthsPerBeat);
    }

    std::int64_t clockFrom(double ppq) const noexcept
    {
        return std::max<std::int64_t>(0, (std::int64_t)std::floor(clocksPerBeat * (ppq - b)) + 1);
    }
};

MidiClockGenerator::MidiClockGenerator() = default;

int MidiClockGenerator::samplesPerClock(double bpm, double sampleRate) noexcept
{
    if (!std::isfinite(bpm) || bpm < minimumBpm || bpm > maximumBpm || !(sampleRate > 0.0))
        return 0;
    return (int)std::lround(sampleRate * 60.0 / (bpm * 24.0));
}

void MidiClockGenerator::songPositionPointer(double positionPpq, juce::MidiBuffer& out) noexcept
{
    addSongPosition(positionPpq, 0, out);
}

void MidiClockGenerator::addSongPosition(double positionPpq, int sample, juce::MidiBuffer& out) noexcept
{
    const double sixteenths = std::isfinite(positionPpq) ? std::ceil(sixteenthsPerBeat * positionPpq) : 0.0;
    const int value = (int)juce::jlimit(0.0, 16383.0, sixteenths);
    // A three-byte message lives inside the MidiMessage itself: no allocation here.
    out.addEvent(juce::MidiMessage(0xF2, value & 0x7F, (value >> 7) & 0x7F), sample);
}

void MidiClockGenerator::process(const Transport& transport, juce::MidiBuffer& out, int numSamples,
                                 double sampleRate) noexcept
{
    stoppedForSwitchOff = false;
    if (numSamples <= 0 || !(sampleRate > 0.0))
        return;

    Block k;
    k.h = samplesPerClock(transport.bpm, sampleRate);
    k.b = k.h > 0 ? transport.bpm / 60.0 / sampleRate : 0.0;
    k.tolerance = sampleRate * 0.001 * k.b;
    k.halfSample = 0.5 * k.b;
    k.loopStart = bounded(transport.loopStartPpq);
    k.loopEnd = bounded(transport.loopEndPpq);
    k.looping = transport.isLooping && k.loopEnd > k.loopStart;

    const double p = bounded(transport.ppqPosition);
    const bool jumped = !(std::abs(p - expected) <= k.tolerance);
    const bool switchedOn = enable && !wasEnabled;
    const bool switchedOff = !enable && wasEnabled;
    const bool running = wasPlaying && pending == 0;
    wasEnabled = enable;

    if (!(transport.isPlaying || transport.isRecording))
    {
        if (wasPlaying || jumped)
        {
            out.addEvent(stopMessage, 0);
            songPositionPointer(p, out);
        }
        else if (switchedOn)
        {
            songPositionPointer(p, out);
        }
        stoppedForSwitchOff = switchedOff && running;
        expected = p;
        pending = continueDue;
        wasPlaying = false;
        return;
    }

    if (switchedOff && running)
    {
        // The stop goes alone; what the rest of this block would bring stays unsent anyway.
        out.addEvent(stopMessage, 0);
        stoppedForSwitchOff = true;
        start = k.sixteenthFrom(p);
        pending = continueDue;
        expected = p + numSamples * k.b;
        nextClock = k.clockFrom(expected);
        wasPlaying = true;
        return;
    }

    // A start, a jump or the clock switched on: the instrument learns where the host is. After a
    // loop-end stop the host may also play on past the end (its loop switched off meanwhile).
    const bool fresh = !wasPlaying || jumped || switchedOn;
    if (fresh || ((pending & loopStopSent) != 0 && !k.approachesLoopEnd(p)))
    {
        if (running && jumped && !switchedOn)
            out.addEvent(stopMessage, 0);
        // A start where the host stood still was located by the stopped blocks.
        locate(k, p, 0, wasPlaying || jumped || switchedOn, out);
        if (fresh)
            nextClock = k.clockFrom(p);
    }

    // A host that wraps inside the block: from the first sample at or past the loop end, its
    // position starts again at the loop start. A loop end on a sample is on it, whatever the
    // arithmetic's last bit says.
    int wrapAt = numSamples;
    if (k.b > 0.0 && k.approachesLoopEnd(p))
    {
        const double firstPastEnd = std::ceil((k.loopEnd - p) / k.b - 1.0e-6);
        if (firstPastEnd < numSamples)
            wrapAt = std::max(1, (int)firstPastEnd);
    }

    span(k, p, 0, wrapAt, out);
    if (wrapAt < numSamples)
    {
        const double q = p + wrapAt * k.b - (k.loopEnd - k.loopStart);
        if (pending == 0)
            out.addEvent(stopMessage, wrapAt);
        locate(k, q, wrapAt, true, out);
        nextClock = k.clockFrom(q);
        span(k, q, wrapAt, numSamples, out);
        expected = q + (numSamples - wrapAt) * k.b;
    }
    else
    {
        expected = p + numSamples * k.b;
    }
    wasPlaying = true;
}

void MidiClockGenerator::locate(const Block& k, double position, int sample, bool sendPosition,
                                juce::MidiBuffer& out) noexcept
{
    start = k.sixteenthFrom(position);
    pending = continueDue;
    // In a count-in or pre-roll the instrument hears nothing until position 0.
    if (position < -k.halfSample)
        pending |= songPositionDue;
    else if (sendPosition)
        addSongPosition(start, sample, out);
}

void MidiClockGenerator::span(const Block& k, double position, int from, int to, juce::MidiBuffer& out) noexcept
{
    // The sample nearest a position; one a little before the span (a clock the last block left
    // on its edge, a host's rounding) falls on its first sample.
    const auto sampleOf = [&](double ppq) {
        if (k.b <= 0.0)
            return ppq <= position ? from : to;
        const double x = std::floor((ppq - position) / k.b + 0.5);
        return from + (int)juce::jlimit(0.0, (double)(to - from), x);
    };

    // The continue goes before the clock of its sixteenth, on the same sample.
    int continuedAt = -1;
    if ((pending & continueDue) != 0)
    {
        const int at = sampleOf(start);
        if (at < to)
        {
            if ((pending & songPositionDue) != 0)
                addSongPosition(start, at, out);
            out.addEvent(continueMessage, at);
            pending = 0;
            continuedAt = at;
        }
    }

    // Stop within the last clock period before the loop end, so the instrument holds still over
    // the jump back; not when it was only just continued there.
    if (pending == 0 && k.h > 0 && k.approachesLoopEnd(position))
    {
        const double toEnd = (k.loopEnd - position) / k.b;
        const double windowStart = std::ceil(toEnd - k.h);
        const double at = std::max(0.0, windowStart);
        const bool continuedInWindow = continuedAt >= 0 && continuedAt - from >= windowStart;
        if (at < to - from && at < toEnd - 0.5 && !continuedInWindow)
        {
            out.addEvent(stopMessage, from + (int)at);
            pending = loopStopSent;
        }
    }

    if (k.b <= 0.0)
        return;
    // Heading for the loop end, the clock on the end itself is the loop start's, after the wrap.
    const double clocksEnd = k.approachesLoopEnd(position) ? k.loopEnd - k.halfSample : 1.0e300;
    // Clocks long past are dropped, never sent as a burst.
    nextClock = std::max(nextClock, k.clockFrom(position - k.tolerance));
    for (;; ++nextClock)
    {
        const double ppq = (double)nextClock / clocksPerBeat;
        if (ppq >= clocksEnd)
            break;
        const int at = sampleOf(ppq);
        if (at >= to)
            break;
        if (enable)
            out.addEvent(clockMessage, at);
    }
}

} // namespace zarnel
