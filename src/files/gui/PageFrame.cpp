#include "PageFrame.h"

#include <algorithm>

namespace zarnel
{

float PageFrame::fitScale(float width, float height, float contentWidth, float contentHeight)
{
    return juce::jlimit(0.1f, 1.0f, std::min(width / contentWidth, height / contentHeight));
}

void PageFrame::place(juce::Component& child, float scale, int x, int y, int w, int h)
{
    child.setBounds(x, y, w, h);
    child.setTransform(scale < 1.0f ? juce::AffineTransform::scale(scale) : juce::AffineTransform());
}

void PageFrame::paint(juce::Graphics& g, juce::Colour shade, juce::Rectangle<int> frame, float scale)
{
    g.fillAll(shade);
    const auto area = frame.toFloat() * scale;
    g.setColour(juce::Colour(0xFF212326));
    g.fillRoundedRectangle(area, 10.0f);
    g.setColour(juce::Colour(0xFFE4E4E4));
    g.drawRoundedRectangle(area, 10.0f, 2.0f);
}

} // namespace zarnel
