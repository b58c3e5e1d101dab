#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

namespace zarnel
{

// The one way widgets tell their listeners. A listener may delete the sender (closing the panel
// that owns it) or another listener, so: the list is copied under its lock, the caller passes
// arguments copied beforehand, each listener is told only while it is still registered, and the
// walk stops as soon as the sender is gone. Listeners are told from the last added to the first.
struct ListenerCalls
{
    // Returns false when the sender was deleted on the way.
    template <typename Listener, typename Call>
    static bool tell(juce::Component& sender, juce::CriticalSection& lock, const juce::Array<Listener*>& listeners,
                     Call&& call)
    {
        juce::Array<Listener*> copy;
        {
            const juce::ScopedLock sl(lock);
            copy = listeners;
        }
        const juce::Component::SafePointer<juce::Component> alive(&sender);
        for (int i = copy.size(); --i >= 0;)
        {
            auto* listener = copy.getUnchecked(i);
            {
                const juce::ScopedLock sl(lock);
                if (!listeners.contains(listener))
                    continue;
            }
            call(*listener);
            if (alive == nullptr)
                return false;
        }
        return true;
    }

    ListenerCalls() = delete;
};

} // namespace zarnel
