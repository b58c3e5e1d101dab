#include "MessagePump.h"

#include <juce_events/juce_events.h>

namespace zarnel::test
{

void pumpMessages(int ms)
{
    juce::MessageManager::getInstance()->runDispatchLoopUntil(ms);
}

} // namespace zarnel::test
