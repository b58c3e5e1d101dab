#include "CheckedFileOutput.h"

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
 #include <sys/stat.h>
 #include <unistd.h>
#endif

namespace zarnel
{

namespace
{
constexpr size_t bufferSize = 64 * 1024;
}

#if JUCE_WINDOWS

CheckedFileOutput::CheckedFileOutput(const juce::File& file)
{
    const auto h = CreateFileW(file.getFullPathName().toWideCharPointer(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
    opened = h != INVALID_HANDLE_VALUE;
    handle = opened ? h : nullptr;
    hasFailed = !opened;
    buffer.reserve(bufferSize);
}

bool CheckedFileOutput::writeOut(const char* data, size_t numBytes)
{
    while (numBytes > 0)
    {
        const auto chunk = (DWORD)juce::jmin(numBytes, (size_t)(1 << 30));
        DWORD written = 0;
        if (!WriteFile((HANDLE)handle, data, chunk, &written, nullptr) || written == 0)
            return false;
        data += written;
        numBytes -= written;
    }
    return true;
}

void CheckedFileOutput::close()
{
    if (handle != nullptr)
        CloseHandle((HANDLE)handle);
    handle = nullptr;
}

bool CheckedFileOutput::finish()
{
    flush();
    if (handle == nullptr || hasFailed)
    {
        close();
        return false;
    }
    LARGE_INTEGER size{};
    const bool ok = FlushFileBuffers((HANDLE)handle) && GetFileSizeEx((HANDLE)handle, &size)
                    && size.QuadPart == position;
    const bool closed = CloseHandle((HANDLE)handle) != 0;
    handle = nullptr;
    hasFailed = !(ok && closed);
    return !hasFailed;
}

#else

CheckedFileOutput::CheckedFileOutput(const juce::File& file)
{
    fd = ::open(file.getFullPathName().toRawUTF8(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    opened = fd >= 0;
    hasFailed = !opened;
    buffer.reserve(bufferSize);
}

bool CheckedFileOutput::writeOut(const char* data, size_t numBytes)
{
    while (numBytes > 0)
    {
        const auto written = ::write(fd, data, numBytes);
        if (written < 0 && errno == EINTR)
            continue;
        // A short write is how a full disk first shows: the rest is tried, and fails with ENOSPC.
        if (written <= 0)
            return false;
        data += written;
        numBytes -= (size_t)written;
    }
    return true;
}

void CheckedFileOutput::close()
{
    if (fd >= 0)
        ::close(fd);
    fd = -1;
}

bool CheckedFileOutput::finish()
{
    flush();
    if (fd < 0 || hasFailed)
    {
        close();
        return false;
    }
    struct stat info{};
    const bool ok = ::fsync(fd) == 0 && ::fstat(fd, &info) == 0 && (juce::int64)info.st_size == position;
    // Some file systems (NFS) report a failed write only when the file is closed.
    const bool closed = ::close(fd) == 0;
    fd = -1;
    hasFailed = !(ok && closed);
    return !hasFailed;
}

#endif

CheckedFileOutput::~CheckedFileOutput()
{
    close();
}

void CheckedFileOutput::flush()
{
    if (!hasFailed && !buffer.empty())
        hasFailed = !writeOut(buffer.data(), buffer.size());
    buffer.clear();
}

bool CheckedFileOutput::write(const void* data, size_t numBytes)
{
    if (hasFailed)
        return false;
    if (buffer.size() + numBytes <= bufferSize)
    {
        buffer.insert(buffer.end(), static_cast<const char*>(data), static_cast<const char*>(data) + numBytes);
    }
    else
    {
        flush();
        if (!hasFailed)
        {
            if (numBytes < bufferSize)
                buffer.insert(buffer.end(), static_cast<const char*>(data), static_cast<const char*>(data) + numBytes);
            else
                hasFailed = !writeOut(static_cast<const char*>(data), numBytes);
        }
    }
    if (hasFailed)
        return false;
    position += (juce::int64)numBytes;
    return true;
}

} // namespace zarnel
