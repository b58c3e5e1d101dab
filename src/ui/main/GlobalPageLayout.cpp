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

const char* GlobalPageLayout::tip(int index)
{
    static const char* const tips[GlobalSettings::numSettings] = {
        "COARSE: tunes the whole instrument up or down in semitones.",
        "FINE: tunes the whole instrument up or down in cents.",
        "MIDI CHANNEL: the channel the Mopho x4 listens on; the editor needs All channels.",
        "MIDI CLOCK MODE: whether the Mopho x4 runs on its own clock or on MIDI clock, and whether it sends it.",
        "MIDI PARAM SEND: how the Mopho x4 sends its knob moves; the editor needs NRPN.",
        "MIDI PARAM RECV: which parameter messages the Mopho x4 takes; the editor needs All.",
        "MIDI CONTROLLER ENA: lets the Mopho x4 send and receive controllers; the editor needs it on.",
        "MIDI SYSEX ENABLE: lets the Mopho x4 send and receive programs as SysEx; the editor needs it on.",
        "MIDI OUT SELECT: whether the MIDI out sends the Mopho x4's own messages or passes on its MIDI in; the editor "
        "needs MIDI OUT.",
        "POLY CHAIN: passes notes on to further instruments on the MIDI out, for more voices.",
        "LOCAL CONTROL: whether the Mopho x4's own knobs and keys play its sound directly.",
        "AUDIO OUTPUT: stereo or mono audio out of the Mopho x4.",
        "POT MODE: how a turned knob takes over from the stored value: relative, passthru or jump.",
        "DUMPER POLARITY: the sustain pedal's polarity, or the pedal latching the arpeggiator.",
        "PEDAL: what the foot pedal input controls.",
        "PRESSURE ENA: whether the keys' pressure (aftertouch) is sent and used.",
        "PRESSURE CURVE: how pressing harder turns into pressure values.",
        "VELOCITY CURVE: how playing harder turns into velocity values.",
        "ARP LATCH MODE: how the latched arpeggiator takes new notes: normal or relatch.",
    };
    return GlobalSettings::isValidIndex(index) ? tips[index] : "";
}

bool GlobalPageLayout::isOnCloseMark(int x, int y, int pageWidthNow) noexcept
{
    return x > pageWidthNow - 27 && x < pageWidthNow - 10 && y >= 9 && y <= 24;
}

} // namespace zarnel
