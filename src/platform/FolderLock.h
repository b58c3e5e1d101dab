#pragma once

#include <juce_core/juce_core.h>

#include <memory>
#include <mutex>

namespace zarnel
{

// Makes the read, merge and write of a file in the settings folder one step for every thread and
// process: two instances saving at the same moment (a DAW and the Standalone app, say) would
// otherwise each merge into what they read before the other wrote, and lose the other's change.
// Within a process a mutex serialises; between processes a lock file named after the folder.
class FolderLock
{
public:
    static constexpr int timeoutMs = 3000;

    explicit FolderLock(const juce::File& folder);
    ~FolderLock();

    // False when the lock could not be had in time: the caller writes nothing and tries later.
    bool isLocked() const noexcept { return locked; }

private:
    std::unique_lock<std::timed_mutex> inProcess;
    std::unique_ptr<juce::InterProcessLock> betweenProcesses;
    bool locked = false;

    JUCE_DECLARE_NON_COPYABLE(FolderLock)
};

} // namespace zarnel
