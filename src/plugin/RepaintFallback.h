#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

namespace zarnel
{

// Keeps a window painting where the display never reports a refresh. JUCE 7 on Windows holds
// every repaint until DXGI reports a vertical blank; wine 8 (which Linux users run Windows
// plug-ins in) never does, so the editor would keep its first picture. While refreshes arrive
// this does nothing; when none came since its last tick, it paints what is pending itself.
class RepaintFallback : private juce::Timer
{
public:
    static constexpr int ticksPerSecond = 30;

    explicit RepaintFallback(juce::Component& component);
    ~RepaintFallback() override;

private:
    void timerCallback() override;

    juce::Component& component;
    bool refreshed = false;
    juce::VBlankAttachment refreshes;

    JUCE_DECLARE_NON_COPYABLE(RepaintFallback)
};

} // namespace zarnel
