#pragma once

#include <juce_graphics/juce_graphics.h>

namespace zarnel
{

// Where the section zoom puts a section in a window of a given size. A section is shown one and a
// half times its size, its top 100 pixels down and centred across; when that does not fit, it moves
// up and then shrinks to the largest scale that fits, so the zoom works at every window size.
class ZoomLayout
{
public:
    static constexpr float preferredScale = 1.5f;
    static constexpr int preferredTop = 100;
    static constexpr int margin = 10;
    static constexpr int frameGrowth = 5;             // the zoom's section frames are 5 units larger
    static constexpr int controlShiftX = 4, controlShiftY = 2; // controls sit this far into the frame
    static constexpr int envelopeX = 330, envelopeY = 4;       // an envelope's place in its frame

    struct Placement
    {
        float scale = preferredScale;
        juce::Point<int> offset;       // the enlarged frame's top-left corner in the window
        juce::Rectangle<int> frame;    // the enlarged frame in the window
    };

    // The frame of a section in the zoom, unscaled (its own corner at 0, 0).
    static juce::Rectangle<int> frameOf(int section) noexcept;
    static Placement place(int section, int windowWidth, int windowHeight) noexcept;
    // A control's stored position inside its section's frame, from its stored panel position.
    static juce::Point<int> positionInFrame(int section, float storedX, float storedY) noexcept;

    ZoomLayout() = delete;
};

} // namespace zarnel
