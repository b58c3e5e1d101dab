#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <functional>
#include <memory>

namespace zarnel
{

// The self-drawn buttons as screen readers and the keyboard reach them: their caption as title,
// their on state for the switching kinds, and a press that does what a click does (Return or
// Space when focused). Clicks keep the keyboard focus where it was.
class ButtonAccess
{
public:
    struct Button
    {
        juce::AccessibilityRole role = juce::AccessibilityRole::button;
        std::function<juce::String()> title;
        std::function<void()> press; // empty: the widget's own Return key
        std::function<bool()> isOn; // empty for plain buttons
    };

    // Called from the widget's constructor.
    static void takeFocusFromKeys(juce::Component& widget);
    static std::unique_ptr<juce::AccessibilityHandler> makeHandler(juce::Component& widget, Button button);
    // Presses on Return or Space; false for other keys, which go on to the parents.
    static bool pressOnKey(const juce::KeyPress& key, const std::function<void()>& press);

    // Widgets with a value of their own (sequencer steps, wheels): read, set and named here.
    struct ValueParts
    {
        std::function<juce::String()> title;
        std::function<double()> value;
        std::function<juce::String()> text;
        std::function<void(double)> set;
        double minimum = 0.0, maximum = 127.0;
    };
    static std::unique_ptr<juce::AccessibilityHandler> makeValueHandler(juce::Component& widget, ValueParts parts);
    // Up or Right: +1, Down or Left: -1, any other key (or with Cmd/Ctrl): 0.
    static int arrowDirection(const juce::KeyPress& key) noexcept;

    // A value a screen reader only reads out: a list's selected row, what a display shows.
    static std::unique_ptr<juce::AccessibilityTextValueInterface> readOnlyText(std::function<juce::String()> text);
};

} // namespace zarnel
