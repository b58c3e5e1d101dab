#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

namespace zarnel
{

// Turns mouse-wheel movements into whole value steps. A notched wheel steps once per notch,
// however small the delta its platform reports; smooth deltas (trackpads) add up, and what is
// left of a step waits for the next movement in the same direction.
class WheelSteps
{
public:
    // About eight pixels of trackpad travel on a Mac.
    static constexpr float smoothUnit = 1.0f / 64.0f;

    // Steps up (positive) or down (negative) for this movement; 0 for none yet.
    int take(const juce::MouseWheelDetails& wheel) noexcept;
    void reset() noexcept { remainder = 0.0f; }

private:
    float remainder = 0.0f;
};

} // namespace zarnel
