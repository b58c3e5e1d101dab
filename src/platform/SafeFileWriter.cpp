#include "SafeFileWriter.h"

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
 #include <fcntl.h>
 #include <sys/stat.h>
 #include <unistd.h>
#endif

#include <optional>
#include <vector>

namespace zarnel
{

namespace
{
#if JUCE_WINDOWS

// A link is written through, not replaced by a plain file.
std::optional<juce::File> resolveLinks(const juce::File& file)
{
    const auto path = file.getFullPathName();
    const auto attributes = GetFileAttributesW(path.toWideCharPointer());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0)
        return file;
    const auto handle = CreateFileW(path.toWideCharPointer(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return std::nullopt; // a link to nothing: writing would replace the link
    std::vector<wchar_t> buffer(32768);
    const auto length = GetFinalPathNameByHandleW(handle, buffer.data(), (DWORD)buffer.size(),
                                                  FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    CloseHandle(handle);
    if (length == 0 || length >= buffer.size())
        return std::nullopt;
    juce::String resolved(buffer.data(), (size_t)length);
    if (resolved.startsWith("\\\\?\\UNC\\"))
        resolved = "\\\\" + resolved.substring(8);
    else if (resolved.startsWith("\\\\?\\"))
        resolved = resolved.substring(4);
    return juce::File(resolved);
}

bool replaceTarget(const juce::File& temp, const juce::File& target)
{
    // A virus scanner or indexer may hold the target for a moment.
    for (int attempt = 0; attempt < 5; ++attempt)
    {
        if (MoveFileExW(temp.getFullPathName().toWideCharPointer(), target.getFullPathName().toWideCharPointer(),
                        MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return true;
        Sleep(100);
    }
    return false;
}

void keepPermissions(const juce::File&, const juce::File&) {}

void syncFolder(const juce::File&) {}

#else

// A link is written through, not replaced by a plain file.
std::optional<juce::File> resolveLinks(const juce::File& file)
{
    auto current = file;
    for (int hops = 0; hops < 40; ++hops)
    {
        char buffer[4096];
        const auto length = ::readlink(current.getFullPathName().toRawUTF8(), buffer, sizeof(buffer));
        if (length < 0)
            return current;
        if ((size_t)length >= sizeof(buffer))
            return std::nullopt;
        current = current.getSiblingFile(juce::String::fromUTF8(buffer, (int)length));
    }
    return std::nullopt; // a loop of links
}

bool replaceTarget(const juce::File& temp, const juce::File& target)
{
    return ::rename(temp.getFullPathName().toRawUTF8(), target.getFullPathName().toRawUTF8()) == 0;
}

// The replacement keeps the access the user gave the file.
void keepPermissions(const juce::File& target, const juce::File& temp)
{
    struct stat info{};
    if (::stat(target.getFullPathName().toRawUTF8(), &info) == 0)
        ::chmod(temp.getFullPathName().toRawUTF8(), info.st_mode & 07777);
}

// After a rename the new directory entry only survives a power loss once the folder is synced.
void syncFolder(const juce::File& folder)
{
    const int fd = ::open(folder.getFullPathName().toRawUTF8(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0)
    {
        ::fsync(fd);
        ::close(fd);
    }
}

#endif

juce::File temporaryNameFor(const juce::File& target)
{
    // ".<stem>_temp<hex><extension>": hidden, and known to removeStaleTemporaries. The process id
    // keeps apart processes whose random numbers run alike (forked ones), whose killed writers
    // may have left their names taken.
#if JUCE_WINDOWS
    const auto process = (juce::uint32)GetCurrentProcessId();
#else
    const auto process = (juce::uint32)::getpid();
#endif
    const auto random = (juce::uint32)juce::Random::getSystemRandom().nextInt();
    const auto hex = [](juce::uint32 value) { return juce::String::toHexString((juce::int64)value).paddedLeft('0', 8); };
    return target.getSiblingFile("." + target.getFileNameWithoutExtension() + "_temp" + hex(process) + hex(random)
                                 + target.getFileExtension());
}
} // namespace

bool SafeFileWriter::write(const juce::File& target, const Writer& writer)
{
    const auto resolved = resolveLinks(target);
    if (!resolved || resolved->isDirectory())
        return false;
    const auto& destination = *resolved;
    const auto folder = destination.getParentDirectory();
    if (!folder.createDirectory())
        return false;

    // A sibling of the file itself, so the replacement stays on one file system.
    for (int attempt = 0; attempt < 100; ++attempt)
    {
        const auto temp = temporaryNameFor(destination);
        bool written = false;
        {
            CheckedFileOutput out(temp);
            if (!out.openedOk())
            {
                if (temp.exists())
                    continue; // the name was taken
                return false;
            }
            keepPermissions(destination, temp);
            written = writer(out) && !out.failed() && out.finish();
        }
        // Only a file known to hold every byte replaces the target; otherwise the target stays.
        if (!written || !replaceTarget(temp, destination))
        {
            temp.deleteFile();
            return false;
        }
        syncFolder(folder);
        return true;
    }
    return false;
}

bool SafeFileWriter::write(const juce::File& target, const void* data, size_t size)
{
    return write(target, [data, size](juce::OutputStream& out) { return size == 0 || out.write(data, size); });
}

bool SafeFileWriter::write(const juce::File& target, const juce::String& text)
{
    return write(target, [&text](juce::OutputStream& out) {
        const auto bytes = text.getNumBytesAsUTF8();
        return bytes == 0 || out.write(text.toRawUTF8(), bytes);
    });
}

bool SafeFileWriter::isTemporaryOf(const juce::String& fileName, const juce::String& targetName)
{
    // ".<stem>_temp<hex><extension>", and ".<stem>_temp<hex><n><extension>" from juce::TemporaryFile.
    const juce::File target(juce::File::getCurrentWorkingDirectory().getChildFile(targetName));
    const auto prefix = "." + target.getFileNameWithoutExtension() + "_temp";
    const auto extension = target.getFileExtension();
    if (!fileName.startsWith(prefix) || !fileName.endsWith(extension))
        return false;
    const auto middle = fileName.substring(prefix.length(), fileName.length() - extension.length());
    return middle.isNotEmpty() && middle.containsOnly("0123456789abcdefABCDEF");
}

int SafeFileWriter::removeStaleTemporaries(const juce::File& folder, const juce::StringArray& targetNames,
                                           juce::RelativeTime minimumAge)
{
    if (!folder.isDirectory())
        return 0;
    const auto cutoff = juce::Time::getCurrentTime() - minimumAge;
    int removed = 0;
    for (const auto& entry : juce::RangedDirectoryIterator(folder, false, "*", juce::File::findFiles))
    {
        const auto& file = entry.getFile();
        const auto name = file.getFileName();
        bool ours = false;
        for (const auto& target : targetNames)
            ours = ours || isTemporaryOf(name, target);
        if (ours && file.getLastModificationTime() < cutoff && file.deleteFile())
            ++removed;
    }
    return removed;
}

juce::File SafeFileWriter::findBackup(const juce::File& file, juce::int64 size)
{
    for (const auto& entry : juce::RangedDirectoryIterator(file.getParentDirectory(), false,
                                                           file.getFileName() + ".bak*", juce::File::findFiles))
        if (entry.getFileSize() == size)
            return entry.getFile();
    return {};
}

juce::File SafeFileWriter::keepBackup(const juce::File& file)
{
    if (!file.existsAsFile())
        return {};
    auto backup = file.getSiblingFile(file.getFileName() + ".bak");
    for (int n = 2; backup.exists(); ++n)
        backup = file.getSiblingFile(file.getFileName() + ".bak" + juce::String(n));

    // A whole copy or nothing: moving a file we cannot read out of the way would leave its
    // place to whatever is written next, and a cut copy would be taken for the whole file.
    juce::FileInputStream in(file);
    if (in.failedToOpen())
        return {};
    const auto expected = in.getTotalLength();
    const bool copied = write(backup, [&in, expected](juce::OutputStream& out) {
        std::vector<char> chunk(64 * 1024);
        juce::int64 total = 0;
        for (;;)
        {
            const auto got = in.read(chunk.data(), (int)chunk.size());
            if (got <= 0)
                break;
            if (!out.write(chunk.data(), (size_t)got))
                return false;
            total += got;
        }
        return in.getStatus().wasOk() && total == expected;
    });
    return copied ? backup : juce::File();
}

} // namespace zarnel
