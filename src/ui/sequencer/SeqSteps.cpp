#include "SeqSteps.h"

#include <array>

namespace zarnel
{

namespace
{
const std::array<const char*, 24> quarterTones{"C",  "C+",  "C#", "C#+", "D",  "D+",  "D#", "D#+",
                                               "E",  "E+",  "F",  "F+",  "F#", "F#+", "G",  "G+",
                                               "G#", "G#+", "A",  "A+",  "A#", "A#+", "B",  "B+"};
} // namespace

juce::String SeqSteps::quarterToneName(int value)
{
    value = juce::jmax(0, value);
    return juce::String(quarterTones[(size_t)(value % 24)]) + juce::String(value / 24);
}

juce::String SeqSteps::label(int value, bool noteDisplay)
{
    value = shownValueOf(value);
    if (value == offCode)
        return "OFF";
    if (value == resetCode)
        return "RST";
    return noteDisplay ? quarterToneName(value) : juce::String(value);
}

int SeqSteps::quantized(int value, bool quantize) noexcept
{
    const int v = juce::jlimit(0, offCode, value);
    if (!quantize || v > maxNoteValue)
        return v;
    return v - (v % 2);
}

int SeqSteps::topBoxNext(int shown, int& saved) noexcept
{
    if (shown == resetCode)
        return offCode;
    if (shown == offCode)
        return saved;
    saved = shown;
    return resetCode;
}

int SeqSteps::dragValueAt(float y, float vy) noexcept
{
    if (vy <= 0.0f)
        return 0;
    const float r = (float)maxNoteValue - (y / vy - 23.0f);
    return juce::jlimit(0, maxNoteValue, (int)r);
}

std::optional<int> SeqSteps::wheelStep(int shown, bool up, bool quantize) noexcept
{
    shown = juce::jlimit(0, offCode, shown);
    if (!quantize)
    {
        const int next = shown + (up ? 1 : -1);
        if (next < 0 || next > offCode)
            return std::nullopt;
        return next;
    }
    // The values quantize can reach: 0, 2, ..., 124, then 126 and 127.
    if (up)
    {
        if (shown >= offCode)
            return std::nullopt;
        if (shown >= maxNoteValue - 1)
            return juce::jmax((int)resetCode, shown + 1);
        return shown - (shown % 2) + 2;
    }
    if (shown <= 0)
        return std::nullopt;
    if (shown == offCode)
        return resetCode;
    const int even = shown - (shown % 2);
    return even == shown ? shown - 2 : even;
}

std::optional<int> SeqSteps::stepAt(int x, int stepWidth) noexcept
{
    if (stepWidth <= 0 || x <= 0)
        return std::nullopt;
    const int c = x / stepWidth;
    if (c >= numSteps || x == c * stepWidth)
        return std::nullopt;
    return c;
}

} // namespace zarnel
