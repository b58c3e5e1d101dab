#pragma once

namespace zarnel::test
{

// Runs the message loop of the calling thread (which owns the MessageManager) for about ms
// milliseconds, so timers and asynchronous updates fire as they would in a host.
void pumpMessages(int ms);

} // namespace zarnel::test
