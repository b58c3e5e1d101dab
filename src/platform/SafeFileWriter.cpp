#include "SafeFileWriter.h"

#if !JUCE_WINDOWS
 #include <fcntl.h>
 #include <unistd.h>
#endif

namespace zarnel
{

namespace
{
// After a rename the new directory entry only survives a power loss once the folder is synced.
void syncFolder(const juce::File& folder)
{
#if JUCE_WINDOWS
    juce::ignoreUnused(folder);
#else
    const int fd = ::open(folder.getFullPathName().toRawUTF8(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0)
    {
        ::fsync(fd);
        ::close(fd);
    }
#endif
}
} // namespace

bool SafeFileWriter::write(const juce::File& target, const Writer& writer)
{
    if (target.isDirectory())
        return false;
    const auto folder = target.getParentDirectory();
    if (!folder.createDirectory())
        return false;

    // Hidden sibling, so the replacement stays on one file system.
    juce::TemporaryFile temp(target, juce::TemporaryFile::useHiddenFile);
    {
        juce::FileOutputStream out(temp.getFile());
        if (out.failedToOpen())
            return false;
        if (!writer(out))
            return false;
        out.flush(); // also syncs to disk, so the replacement never exposes unwritten data
        if (out.getStatus().failed())
            return false;
    }

    if (!temp.overwriteTargetFileWithTemporary())
        return false; // the temporary file goes with `temp`; the target is as it was
    syncFolder(folder);
    return true;
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
    // juce::TemporaryFile names them ".<stem>_temp<hex>[<n>]<extension>".
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
    // A copy or nothing: moving a file we cannot read out of the way would leave its place to
    // whatever is written next.
    return file.copyFileTo(backup) ? backup : juce::File();
}

} // namespace zarnel
