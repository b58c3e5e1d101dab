#include "EnvelopeShape.h"

#include <cmath>

namespace zarnel
{

std::array<juce::Point<float>, 5> EnvelopeShape::corners(const Stages& s) noexcept
{
    const float x0 = left;
    const float x1 = x0 + unit * s[attack];
    const float x2 = x1 + unit * s[decay];
    const float x3 = x2 + unit * sustainLength;
    const float x4 = x3 + unit * s[release];
    const float plateau = bottom - unit * s[sustain];
    return {{{x0, bottom}, {x1, top}, {x2, plateau}, {x3, plateau}, {x4, bottom}}};
}

juce::Path EnvelopeShape::path(const Stages& stages, float scale)
{
    const auto c = corners(stages);
    juce::Path p;
    p.startNewSubPath(c[0] * scale);
    for (size_t i = 1; i < c.size(); ++i)
        p.lineTo(c[i] * scale);
    p.closeSubPath();
    return p;
}

int EnvelopeShape::handleAt(const Stages& stages, juce::Point<float> pointer, float scale) noexcept
{
    const auto c = corners(stages);
    const auto within = [&](float fromX, float toX, float y) {
        return (fromX - handleReach) * scale < pointer.x && pointer.x < (toX + handleReach) * scale
               && (y - handleReach) * scale < pointer.y && pointer.y < (y + handleReach) * scale;
    };
    if (within(c[1].x, c[1].x, c[1].y))
        return attackHandle;
    if (within(c[4].x, c[4].x, c[4].y))
        return releaseHandle;
    if (within(c[2].x, c[3].x, c[2].y))
        return decaySustainHandle;
    return noHandle;
}

int EnvelopeShape::stepsFor(int pixels) noexcept
{
    return (int)std::nearbyint((double)pixels / (double)pixelsPerStep);
}

EnvelopeShape::DragResult EnvelopeShape::drag(int handle, const Stages& atDown, const Stages& current, bool xMoved,
                                              int dx, bool yMoved, int dy)
{
    DragResult r{current, {}, " "};
    const auto setStage = [&](int stage, int steps) {
        const float value = juce::jlimit(0.0f, maximum, atDown[(size_t)stage] + (float)stepsFor(steps));
        if (value == r.stages[(size_t)stage])
            return false;
        r.stages[(size_t)stage] = value;
        r.changed[(size_t)stage] = true;
        return true;
    };

    if (xMoved && handle >= attackHandle && handle <= releaseHandle)
    {
        const int stage = handle == attackHandle ? attack : handle == decaySustainHandle ? decay : release;
        if (setStage(stage, dx))
            r.text = juce::String((int)r.stages[(size_t)stage]);
    }
    if (yMoved && handle == decaySustainHandle && setStage(sustain, dy))
        r.text << " , " << juce::String((int)r.stages[sustain]);

    if (r.anyChanged())
        for (auto& v : r.stages)
            v = std::trunc(v);
    return r;
}

} // namespace zarnel
