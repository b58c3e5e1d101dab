#include "FolderLock.h"

namespace zarnel
{

namespace
{
std::timed_mutex& processWideMutex()
{
    // One for all folders: saves are rare and short.
    static std::timed_mutex mutex;
    return mutex;
}
} // namespace

FolderLock::FolderLock(const juce::File& folder)
    : inProcess(processWideMutex(), std::chrono::milliseconds(timeoutMs))
{
    if (!inProcess.owns_lock())
        return;
    // POSIX record locks belong to the process, so the mutex above keeps this the only one here.
    const auto name = "ZarnelSettings-" + juce::String::toHexString(folder.getFullPathName().hashCode64());
    betweenProcesses = std::make_unique<juce::InterProcessLock>(name);
    locked = betweenProcesses->enter(timeoutMs);
}

FolderLock::~FolderLock()
{
    if (locked)
        betweenProcesses->exit();
}

} // namespace zarnel
