#include "ZoomLayout.h"

#include "ControlTable.h"

namespace zarnel
{

juce::Rectangle<int> ZoomLayout::frameOf(int section) noexcept
{
    if (section < 0 || section >= ControlTable::numSections)
        return {};
    const auto& area = ControlTable::sections()[(size_t)section].area;
    return {0, 0, area.getWidth() + frameGrowth, area.getHeight() + frameGrowth};
}

ZoomLayout::Placement ZoomLayout::place(int section, int windowWidth, int windowHeight) noexcept
{
    const auto frame = frameOf(section);
    Placement p;
    if (frame.isEmpty())
        return p;
    const float w = (float)frame.getWidth(), h = (float)frame.getHeight();
    const float fitsAcross = (float)(windowWidth - 2 * margin) / w;
    const float fitsDown = (float)(windowHeight - 2 * margin) / h;
    p.scale = juce::jmax(0.05f, juce::jmin(preferredScale, fitsAcross, fitsDown));
    const int scaledW = (int)(w * p.scale), scaledH = (int)(h * p.scale);
    p.offset.x = (int)(((float)windowWidth - w * p.scale) * 0.5f);
    p.offset.y = juce::jmax(margin, juce::jmin(preferredTop, windowHeight - margin - scaledH));
    p.frame = {p.offset.x, p.offset.y, scaledW, scaledH};
    return p;
}

juce::Point<int> ZoomLayout::positionInFrame(int section, float storedX, float storedY) noexcept
{
    if (section < 0 || section >= ControlTable::numSections)
        return {};
    const auto& area = ControlTable::sections()[(size_t)section].area;
    // setOrigin takes the layout point, 16 below the stored top edge.
    return {(int)storedX - area.getX() + controlShiftX, (int)storedY - area.getY() + controlShiftY + 16};
}

} // namespace zarnel
