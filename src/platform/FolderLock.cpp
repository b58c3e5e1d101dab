#include "FolderLock.h"

namespace zarnel
{

namespace
{
std::mutex& processWideMutex()
{
    // One for all folders: saves are rare and short.
    static std::mutex mutex;
    return mutex;
}
} // namespace

FolderLock::FolderLock(const juce::File&) : inProcess(processWideMutex())
{
    // One lock for every folder, like the mutex: no lock file per folder piles up (tests make
    // many folders). POSIX record locks belong to the process, so the mutex above keeps this the
    // only one here.
    betweenProcesses = std::make_unique<juce::InterProcessLock>("ZarnelX4SettingsSave");
    locked = betweenProcesses->enter(timeoutMs);
}

FolderLock::~FolderLock()
{
    if (locked)
        betweenProcesses->exit();
}

} // namespace zarnel
