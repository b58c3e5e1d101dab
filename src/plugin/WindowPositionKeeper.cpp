#include "WindowPositionKeeper.h"

namespace zarnel
{

WindowPositionKeeper::WindowPositionKeeper(juce::Component& componentInWindow) : component(componentInWindow)
{
#if JUCE_LINUX || JUCE_BSD
    startTimer(intervalMs);
#endif
}

WindowPositionKeeper::~WindowPositionKeeper()
{
    stopTimer();
}

void WindowPositionKeeper::timerCallback()
{
    if (!component.isShowing())
        return;
    if (auto* top = component.getTopLevelComponent(); top != nullptr && top->isOnDesktop())
        top->repaint(0, 0, 1, 1);
}

} // namespace zarnel
