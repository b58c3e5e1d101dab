#pragma once

#include <juce_core/juce_core.h>

#include <memory>
#include <mutex>

namespace zarnel
{

// Makes the read, merge and write of a file in the settings folder one step for every thread and
// process: two instances saving at the same moment (a DAW and the Standalone app, say) would
// otherwise each merge into what they read before the other wrote, and lose the other's change.
// Within a process a mutex serialises; between processes an OS lock on a file inside the folder
// itself (flock on POSIX, LockFileEx on Windows), so only accounts that can write the folder
// share it. The lock file is removed when the lock is released.
class FolderLock
{
public:
    static constexpr int timeoutMs = 3000;
    static constexpr const char* lockFileName = ".zarnel-lock";

    explicit FolderLock(const juce::File& folder, int waitMs = timeoutMs);
    ~FolderLock();

    // False when the lock could not be taken: another process held it too long, or the lock
    // file cannot be opened (made by another account, a read-only folder). The caller then
    // writes nothing and says so. Within the process it waits (a save is short).
    bool isLocked() const noexcept { return native != nullptr; }
    // Why the lock was not taken, to be shown to the user; empty when locked.
    const juce::String& getFailure() const noexcept { return failure; }

private:
    struct Native;

    std::unique_lock<std::mutex> inProcess;
    std::unique_ptr<Native> native;
    juce::String failure;

    JUCE_DECLARE_NON_COPYABLE(FolderLock)
};

} // namespace zarnel
