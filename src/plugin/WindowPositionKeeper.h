#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

namespace zarnel
{

// Keeps a top-level window where the user put it under X11 window managers that frame it.
// JUCE 7 on Linux drops a window's paint buffer after 3 s without painting and, at the next paint,
// sends the window's position to the X server again, as that of the outer frame: under a manager
// that draws a title bar of its own (twm) the window then slides down by that bar each time the
// editor repaints after a pause (opening a panel, the zoom, the bank page). A tiny paint every
// two seconds keeps the buffer, so the position is never sent again.
class WindowPositionKeeper : private juce::Timer
{
public:
    static constexpr int intervalMs = 2000;

    explicit WindowPositionKeeper(juce::Component& componentInWindow);
    ~WindowPositionKeeper() override;

private:
    void timerCallback() override;

    juce::Component& component;

    JUCE_DECLARE_NON_COPYABLE(WindowPositionKeeper)
};

} // namespace zarnel
