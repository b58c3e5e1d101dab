#include "MidiClockGenerator.h"

#include <cmath>

namespace zarnel
{

namespace
{
std::int64_t roundHalfUp(double v) noexcept
{
    return (std::int64_t)std::floor(v + 0.5);
}
} // namespace

MidiClockGenerator::MidiClockGenerator() = default;

int MidiClockGenerator::samplesPerClock(double bpm, double sampleRate) noexcept
{
    if (!std::isfinite(bpm) || bpm < minimumBpm || bpm > maximumBpm || !(sampleRate > 0.0))
        return 0;
    return (int)std::lround(sampleRate * 60.0 / (bpm * 24.0));
}

void MidiClockGenerator::songPositionPointer(double positionPpq, juce::MidiBuffer& out) noexcept
{
    const double sixteenths = std::isfinite(positionPpq) ? std::ceil(4.0 * positionPpq) : 0.0;
    const int value = (int)juce::jlimit(0.0, 16383.0, sixteenths);
    // A three-byte message lives inside the MidiMessage itself: no allocation here.
    out.addEvent(juce::MidiMessage(0xF2, value & 0x7F, (value >> 7) & 0x7F), 0);
}

void MidiClockGenerator::process(const Transport& transport, juce::MidiBuffer& out, int numSamples,
                                 double sampleRate) noexcept
{
    if (numSamples <= 0 || !(sampleRate > 0.0))
        return;

    const double r = sampleRate;
    const int h = samplesPerClock(transport.bpm, r);
    const bool tempoUsable = h > 0;
    const double tempo = tempoUsable ? transport.bpm : 0.0;
    const double b = tempo / 60.0 / r;
    const double p = (std::isfinite(transport.ppqPosition) ? transport.ppqPosition : 0.0) + sampleOffset * b;
    const double t = r * 0.001 * b;
    const bool jumped = p < last - t || p > last + t;

    if (!(transport.isPlaying || transport.isRecording))
    {
        if (wasPlaying || jumped)
        {
            out.addEvent(stopMessage, 0);
            songPositionPointer(p, out);
        }
        last = p;
        pending = continueDue;
        wasPlaying = false;
        return;
    }

    if (!wasPlaying)
    {
        start = std::ceil(4.0 * p) / 4.0;
        if (jumped)
            songPositionPointer(start, out);
    }
    else if (jumped)
    {
        start = std::ceil(4.0 * p) / 4.0;
        if (pending == 0)
        {
            out.addEvent(stopMessage, 0);
            songPositionPointer(p, out);
        }
        else
        {
            songPositionPointer(p, out);
        }
        pending = continueDue;
    }

    const std::int64_t blockStart = tempoUsable ? roundHalfUp(r * 60.0 / tempo * p) : 0;
    const bool looping = stopAtLoopEnd && transport.isLooping && transport.loopStartPpq != transport.loopEndPpq;

    for (int i = 0; i < numSamples; ++i)
    {
        last = p + i * b;
        if (last >= start)
        {
            if ((pending & continueDue) != 0)
            {
                out.addEvent(continueMessage, i);
                pending = (std::uint8_t)(pending & ~continueDue);
            }
            if (looping && tempoUsable && (pending & loopStopSent) == 0
                && roundHalfUp(std::abs(transport.loopEndPpq - last) * 60.0 / tempo * r) <= h)
            {
                out.addEvent(stopMessage, i);
                pending = (std::uint8_t)(pending | loopStopSent);
            }
        }
        if (enable && tempoUsable)
        {
            const std::int64_t absolute = blockStart + i;
            if (absolute % h == 0)
                out.addEvent(clockMessage, i);
        }
    }
    wasPlaying = true;
}

} // namespace zarnel
