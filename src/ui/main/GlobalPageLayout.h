#pragma once

#include <juce_core/juce_core.h>

#include <utility>
#include <vector>

namespace zarnel
{

// The global settings page as data: where each of the 19 controls sits, how it is drawn and how
// its gestures turn into values. No component here, so tests and the page share one table.
class GlobalPageLayout
{
public:
    static constexpr int pageWidth = 750;
    static constexpr int pageHeight = 310;
    static constexpr int closeCode = 2222;
    static constexpr int maxKnobFrame = 60;

    enum Style
    {
        menuBox = 0,
        toggle = 1,
        knob = 3
    };

    struct Control
    {
        Style style;
        int x, y, width, height;
        int labelDistance; // the page draws the label this far left of the control; 0: the knob draws its own
    };

    static const Control& control(int index);

    // The knob picture's frame for a value: real division, so COARSE at 12 shows frame 28.
    static int knobFrame(int value, int maximum);
    // A knob drag from its start: right and up raise the value, one step per 15 pixels for short
    // ranges and per 2 pixels for long ones. Not clamped.
    static int dragValue(int startValue, int dx, int dy, int maximum);
    // A click on a switch: 0 becomes 1, anything else (the synthesizer may report 2) becomes 0.
    static int clickedSwitchValue(int value) noexcept { return value == 0 ? 1 : 0; }
    // The menu of a menu box: (item id = value + 1, text) for every value with a text.
    static std::vector<std::pair<int, juce::String>> menuItems(int index);
    static bool isOnCloseMark(int x, int y, int pageWidthNow) noexcept;
    // The tooltip of a setting: its name and what it does, in a sentence.
    static const char* tip(int index);

    GlobalPageLayout() = delete;
};

} // namespace zarnel
