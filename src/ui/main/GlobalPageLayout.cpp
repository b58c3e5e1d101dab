#include "GlobalPageLayout.h"

#include "../../model/GlobalSettings.h"

#include <array>
#include <cmath>

namespace zarnel
{

namespace
{
using C = GlobalPageLayout::Control;
constexpr auto M = GlobalPageLayout::menuBox;
constexpr auto T = GlobalPageLayout::toggle;
constexpr auto K = GlobalPageLayout::knob;

const std::array<C, GlobalSettings::numSettings> controls{{
    {K, 44, 50, 64, 65, 0},     // COARSE
    {K, 114, 50, 64, 65, 0},    // FINE
    {M, 340, 50, 100, 30, 120}, // MIDI CHANNEL:
    {M, 142, 128, 100, 30, 120},
    {M, 142, 162, 100, 30, 120},
    {M, 142, 196, 100, 30, 120},
    {T, 172, 230, 40, 30, 150},
    {T, 172, 264, 40, 30, 150},
    {M, 384, 128, 100, 30, 120},
    {M, 384, 162, 100, 30, 120},
    {T, 370, 78, 100, 30, 150}, // LOCAL CONTROL
    {M, 626, 230, 100, 30, 120},
    {M, 626, 128, 100, 30, 120},
    {M, 626, 162, 100, 30, 120},
    {M, 626, 196, 100, 30, 120},
    {T, 414, 196, 40, 30, 150}, // PRESSURE ENA
    {M, 384, 230, 100, 30, 120},
    {M, 384, 264, 100, 30, 120},
    {M, 626, 264, 100, 30, 120},
}};
} // namespace

const GlobalPageLayout::Control& GlobalPageLayout::control(int index)
{
    return controls[(size_t)juce::jlimit(0, GlobalSettings::numSettings - 1, index)];
}

int GlobalPageLayout::knobFrame(int value, int maximum)
{
    if (maximum <= 0)
        return 0;
    const double frame = (300.0 - (maximum - value) * (300.0 / maximum)) / 5.35;
    return (int)std::lround(juce::jlimit(0.0, (double)maxKnobFrame, frame));
}

int GlobalPageLayout::dragValue(int startValue, int dx, int dy, int maximum)
{
    const int step = maximum < 30 ? 15 : 2;
    return startValue + dx / step - dy / step;
}

std::vector<std::pair<int, juce::String>> GlobalPageLayout::menuItems(int index)
{
    std::vector<std::pair<int, juce::String>> items;
    if (!GlobalSettings::isValidIndex(index))
        return items;
    for (int v = 0; v <= GlobalSettings::setting(index).maximum; ++v)
        if (const auto text = GlobalSettings::valueText(index, v); text.isNotEmpty())
            items.emplace_back(v + 1, text);
    return items;
}

bool GlobalPageLayout::isOnCloseMark(int x, int y, int pageWidthNow) noexcept
{
    return x > pageWidthNow - 27 && x < pageWidthNow - 10 && y >= 9 && y <= 24;
}

} // namespace zarnel
