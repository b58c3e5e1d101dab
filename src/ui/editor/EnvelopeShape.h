#pragma once

#include <juce_graphics/juce_graphics.h>

#include <array>

namespace zarnel
{

// The geometry and drag arithmetic of an envelope display, apart from the component so that it
// can be checked directly: stage values (attack, decay, sustain, release, each 0..127) to the five
// corners of the shape, pointer positions to handles, pointer travel to value steps.
class EnvelopeShape
{
public:
    using Stages = std::array<float, 4>;

    enum Stage
    {
        attack = 0,
        decay = 1,
        sustain = 2,
        release = 3
    };

    enum Handle
    {
        noHandle = -1,
        attackHandle = 0,
        decaySustainHandle = 1,
        releaseHandle = 2
    };

    static constexpr float unit = 48.0f / 127.0f; // one stage step, in unscaled pixels
    static constexpr float left = 16.0f, top = 16.0f, bottom = 70.0f;
    static constexpr float sustainLength = 100.0f; // the plateau is always 100 steps long
    static constexpr float handleReach = 7.0f;
    static constexpr float pixelsPerStep = 1.5f;
    static constexpr float maximum = 127.0f;

    // x0..x4, y0..y4 in unscaled units.
    static std::array<juce::Point<float>, 5> corners(const Stages& stages) noexcept;
    // The closed shape through the corners, every coordinate times scale.
    static juce::Path path(const Stages& stages, float scale);
    // The handle under a pointer in the display's pixels: attack, then release, then decay/sustain.
    static int handleAt(const Stages& stages, juce::Point<float> pointer, float scale) noexcept;
    // Pointer travel to whole steps: 1.5 pixels a step, halves to even, whatever the scale.
    static int stepsFor(int pixels) noexcept;

    // One drag event. x and y moved tell which axes the event changed; the result holds the new
    // values, which stages changed and the value text ("40", " , 90", "40 , 90" or " ").
    struct DragResult
    {
        Stages stages;
        std::array<bool, 4> changed{};
        juce::String text;
        bool anyChanged() const noexcept { return changed[0] || changed[1] || changed[2] || changed[3]; }
    };
    static DragResult drag(int handle, const Stages& atDown, const Stages& current, bool xMoved, int dxPixels,
                           bool yMoved, int dyPixels);

    EnvelopeShape() = delete;
};

} // namespace zarnel
