#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

namespace zarnel
{

// The framed panel the bank page and the write dialog share: content laid out in unscaled pixels
// and drawn at a scale below 1 when the panel is too small for it, on a rounded frame.
struct PageFrame
{
    // The largest scale up to 1 at which content of this size fits.
    static float fitScale(float width, float height, float contentWidth, float contentHeight);
    static void place(juce::Component& child, float scale, int x, int y, int w, int h);
    // Fills the panel with `shade`, then the frame (unscaled pixels) at the scale.
    static void paint(juce::Graphics& g, juce::Colour shade, juce::Rectangle<int> frame, float scale);

    PageFrame() = delete;
};

} // namespace zarnel
