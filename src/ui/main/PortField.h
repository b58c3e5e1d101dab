#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <functional>

namespace zarnel
{

// One port box of the MIDI setup: the chosen port's name and a light that is on while the port is
// open. The owner keeps the list and does the choosing; the box makes it reachable without a
// mouse: Tab reaches it, Space, F4 or Alt+Down open the port menu, Up and Down (Left and Right,
// Home and End) step to another port, and screen readers hear a combo box under its title.
// Return is left to the panel, which answers OK.
class PortField : public juce::Component, public juce::SettableTooltipClient
{
public:
    explicit PortField(const juce::String& title);

    // Shown as it is now, telling nobody.
    void show(const juce::String& name, bool open);
    const juce::String& getShownName() const noexcept { return name; }
    bool isShownOpen() const noexcept { return open; }
    // Announces a new choice to screen readers.
    void announce();

    // The port menu at the box.
    std::function<void()> onMenu;
    // A step through the list: -1 back, +1 on, or to an end (INT_MIN first, INT_MAX last).
    std::function<void(int)> onStep;

    void paint(juce::Graphics& g) override;
    bool keyPressed(const juce::KeyPress& key) override;
    void focusGained(FocusChangeType cause) override;
    void focusLost(FocusChangeType cause) override;
    std::unique_ptr<juce::AccessibilityHandler> createAccessibilityHandler() override;

private:
    void openMenu();

    juce::String name;
    bool open = false;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(PortField)
};

} // namespace zarnel
