#include "RepaintFallback.h"

#include <utility>

namespace zarnel
{

RepaintFallback::RepaintFallback(juce::Component& c)
    : component(c), refreshes(&c, [this] { refreshed = true; })
{
    startTimerHz(ticksPerSecond);
}

RepaintFallback::~RepaintFallback()
{
    stopTimer();
}

void RepaintFallback::timerCallback()
{
    if (std::exchange(refreshed, false))
        return;
    if (auto* peer = component.getPeer())
        peer->performAnyPendingRepaintsNow();
}

} // namespace zarnel
