#include "FolderLock.h"

#if JUCE_WINDOWS
 #ifndef NOMINMAX
  #define NOMINMAX
 #endif
 #ifndef WIN32_LEAN_AND_MEAN
  #define WIN32_LEAN_AND_MEAN
 #endif
 #include <windows.h>
#else
 #include <cerrno>
 #include <fcntl.h>
 #include <sys/file.h>
 #include <sys/stat.h>
 #include <unistd.h>
#endif

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

juce::String busyText(const juce::File& folder)
{
    return "another instance of the plug-in kept the folder " + folder.getFullPathName() + " busy";
}

juce::String cannotOpenText(const juce::File& lockFile)
{
    return "the lock file " + lockFile.getFullPathName()
           + " cannot be opened (it may belong to another user account, or the folder is read-only)";
}
} // namespace

#if JUCE_WINDOWS

struct FolderLock::Native
{
    HANDLE handle = INVALID_HANDLE_VALUE;
    juce::File file;

    ~Native()
    {
        // Removed while still held: whoever waits on this file finds it gone and opens anew.
        DeleteFileW(file.getFullPathName().toWideCharPointer());
        OVERLAPPED overlapped{};
        UnlockFileEx(handle, 0, 1, 0, &overlapped);
        CloseHandle(handle);
    }
};

namespace
{
constexpr DWORD shareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

HANDLE openLockFile(const juce::File& file)
{
    const auto path = file.getFullPathName();
    auto handle = CreateFileW(path.toWideCharPointer(), GENERIC_READ | GENERIC_WRITE, shareAll, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        // A file we may only read locks as well.
        handle = CreateFileW(path.toWideCharPointer(), GENERIC_READ, shareAll, nullptr, OPEN_EXISTING, 0, nullptr);
    return handle;
}

bool sameFile(HANDLE handle, const juce::File& file)
{
    const auto other = CreateFileW(file.getFullPathName().toWideCharPointer(), FILE_READ_ATTRIBUTES, shareAll, nullptr,
                                   OPEN_EXISTING, 0, nullptr);
    if (other == INVALID_HANDLE_VALUE)
        return false;
    BY_HANDLE_FILE_INFORMATION a{}, b{};
    const bool same = GetFileInformationByHandle(handle, &a) && GetFileInformationByHandle(other, &b)
                      && a.dwVolumeSerialNumber == b.dwVolumeSerialNumber && a.nFileIndexHigh == b.nFileIndexHigh
                      && a.nFileIndexLow == b.nFileIndexLow;
    CloseHandle(other);
    return same;
}
} // namespace

FolderLock::FolderLock(const juce::File& folder, int waitMs) : inProcess(processWideMutex())
{
    const auto deadline = juce::Time::getMillisecondCounter() + (juce::uint32)juce::jmax(0, waitMs);
    const auto timeLeft = [deadline] { return (juce::int32)(deadline - juce::Time::getMillisecondCounter()) > 0; };
    const auto file = folder.getChildFile(lockFileName);
    folder.createDirectory();

    for (;;)
    {
        const auto handle = openLockFile(file);
        if (handle == INVALID_HANDLE_VALUE)
        {
            // Denied also while a released lock file is being removed: worth another try.
            if (GetLastError() == ERROR_ACCESS_DENIED && timeLeft())
            {
                Sleep(10);
                continue;
            }
            failure = cannotOpenText(file);
            return;
        }

        bool held = false;
        for (;;)
        {
            OVERLAPPED overlapped{};
            if (LockFileEx(handle, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &overlapped))
            {
                held = true;
                break;
            }
            if (GetLastError() != ERROR_LOCK_VIOLATION && GetLastError() != ERROR_IO_PENDING)
                break;
            if (!timeLeft())
                break;
            Sleep(2); // short: the holder may take it again at once
        }

        if (held && sameFile(handle, file))
        {
            native = std::make_unique<Native>();
            native->handle = handle;
            native->file = file;
            return;
        }
        if (held)
        {
            OVERLAPPED overlapped{};
            UnlockFileEx(handle, 0, 1, 0, &overlapped);
        }
        CloseHandle(handle);
        if (!timeLeft())
        {
            failure = busyText(folder);
            return;
        }
    }
}

#else

struct FolderLock::Native
{
    int fd = -1;
    juce::File file;

    ~Native()
    {
        // Removed while still held: whoever waits on this file finds it gone and opens anew.
        ::unlink(file.getFullPathName().toRawUTF8());
        ::close(fd);
    }
};

FolderLock::FolderLock(const juce::File& folder, int waitMs) : inProcess(processWideMutex())
{
    const auto deadline = juce::Time::getMillisecondCounter() + (juce::uint32)juce::jmax(0, waitMs);
    const auto timeLeft = [deadline] { return (juce::int32)(deadline - juce::Time::getMillisecondCounter()) > 0; };
    const auto file = folder.getChildFile(lockFileName);
    const auto path = file.getFullPathName();
    folder.createDirectory();

    for (;;)
    {
        int fd = ::open(path.toRawUTF8(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0644);
        if (fd < 0 && (errno == EACCES || errno == EPERM || errno == EROFS))
            fd = ::open(path.toRawUTF8(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW); // flock needs no write access
        if (fd < 0)
        {
            failure = cannotOpenText(file);
            return;
        }

        bool held = false;
        int lockError = 0;
        for (;;)
        {
            if (::flock(fd, LOCK_EX | LOCK_NB) == 0)
            {
                held = true;
                break;
            }
            lockError = errno;
            if (lockError == EINTR)
                continue;
            if (lockError != EWOULDBLOCK || !timeLeft())
                break;
            juce::Thread::sleep(2); // short: the holder may take it again at once
        }

        // The holder removes the file on release: a lock on a removed file excludes nobody.
        struct stat ours{}, named{};
        if (held && ::fstat(fd, &ours) == 0 && ::stat(path.toRawUTF8(), &named) == 0 && ours.st_dev == named.st_dev
            && ours.st_ino == named.st_ino)
        {
            native = std::make_unique<Native>();
            native->fd = fd;
            native->file = file;
            return;
        }
        const bool lockFailed = !held && lockError != EWOULDBLOCK;
        ::close(fd);
        if (lockFailed)
        {
            failure = "the file system of " + folder.getFullPathName() + " does not support locking";
            return;
        }
        if (!timeLeft())
        {
            failure = busyText(folder);
            return;
        }
    }
}

#endif

FolderLock::~FolderLock() = default;

} // namespace zarnel
