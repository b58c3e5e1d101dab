#pragma once

#include <juce_events/juce_events.h>

namespace juce
{
// JUCE's own step of its message loop (defined in juce_events for every platform).
bool dispatchNextMessageOnSystemQueue(bool returnIfNoPendingMessages);
} // namespace juce

namespace zarnel::test
{

// Runs the message loop for a while, as MessageManager::runDispatchLoopUntil did: that one goes
// away with modal loops, which the plug-in builds without. A time of 0 handles one message.
inline void pumpMessages(int milliseconds)
{
    const auto end = juce::Time::getMillisecondCounter() + (juce::uint32)juce::jmax(0, milliseconds);
    for (;;)
    {
        const bool dispatched = juce::dispatchNextMessageOnSystemQueue(true);
        if (juce::Time::getMillisecondCounter() >= end)
            return;
        if (!dispatched)
            juce::Thread::sleep(1);
    }
}

} // namespace zarnel::test
