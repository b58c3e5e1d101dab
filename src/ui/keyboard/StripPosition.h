#pragma once

namespace zarnel
{

// Where the keyboard strip's top edge may go, in pixels of a window scaled by s: dragged between
// just below the application bar and collapsed, then snapped on release to collapsed (only the
// grip shows), fully shown at the bottom, or left where it is higher up.
struct StripPosition
{
    static constexpr int collapsedTop = 680, shownTop = 528, highestTop = 23, snapDistance = 86;
    static constexpr int width = 1191, height = 172, gripHeight = 20;

    static int top(int unscaled, float s) noexcept { return (int)((float)unscaled * s); }
    static int dragged(int startTop, int movedBy, float s) noexcept;
    static int snapped(int top, float s) noexcept;

    StripPosition() = delete;
};

} // namespace zarnel
