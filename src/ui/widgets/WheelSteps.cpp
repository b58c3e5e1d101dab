#include "WheelSteps.h"

namespace zarnel
{

int WheelSteps::take(const juce::MouseWheelDetails& wheel) noexcept
{
    const float delta = wheel.deltaY;
    if (delta == 0.0f)
        return 0;
    if (!wheel.isSmooth)
    {
        remainder = 0.0f;
        return delta > 0.0f ? 1 : -1;
    }
    // A turn back starts from nothing: the part of a step left over belongs to the other way.
    if ((remainder > 0.0f && delta < 0.0f) || (remainder < 0.0f && delta > 0.0f))
        remainder = 0.0f;
    remainder += delta;
    const int steps = (int)(remainder / smoothUnit);
    remainder -= (float)steps * smoothUnit;
    return steps;
}

} // namespace zarnel
