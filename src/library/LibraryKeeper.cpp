#include "LibraryKeeper.h"

#include "LibraryFile.h"

#include "../files/FileMan.h"
#include "../platform/FolderLock.h"
#include "../platform/SafeFileWriter.h"

#include <filesystem>

namespace zarnel
{

LibraryKeeper::LibraryKeeper(LibraryStore& s, juce::File f) : store(s), file(std::move(f))
{
}

LibraryKeeper::~LibraryKeeper()
{
    stopTimer();
    if (pending)
        write();
}

namespace
{
std::int64_t modificationTimeOf(const juce::File& file)
{
    std::error_code error;
    const auto time = std::filesystem::last_write_time(std::filesystem::path(file.getFullPathName().toWideCharPointer()), error);
    return error ? 0 : (std::int64_t)time.time_since_epoch().count();
}
} // namespace

void LibraryKeeper::rememberFileState()
{
    knownSize = file.existsAsFile() ? file.getSize() : -1;
    knownTime = modificationTimeOf(file);
}

bool LibraryKeeper::changedOnDisk() const
{
    if (!file.existsAsFile())
        return false;
    if (file.getSize() != knownSize || modificationTimeOf(file) != knownTime)
        return true;
    // File times tick every few milliseconds (Linux) or seconds (FAT): another instance's write
    // of the same size can carry the same time, so the content decides.
    const auto content = FileMan::readFileBytes(file, FileMan::maxLibraryFileSize);
    if (content.status != FileMan::ReadStatus::ok)
        return true;
    const auto records = LibraryFile::read(content.bytes, LibraryStore::maxEntries);
    return !records || *records != base;
}

LibraryKeeper::LoadStatus LibraryKeeper::load()
{
    const auto content = FileMan::readFileBytes(file, FileMan::maxLibraryFileSize);
    if (content.status == FileMan::ReadStatus::missing)
        return LoadStatus::missing;
    auto records = content.status == FileMan::ReadStatus::ok ? LibraryFile::read(content.bytes, LibraryStore::maxEntries)
                                                              : std::nullopt;
    if (!records)
        return LoadStatus::refused;
    base = *records;
    store.replaceAll(std::move(*records));
    rememberFileState();
    return LoadStatus::loaded;
}

void LibraryKeeper::changed()
{
    pending = true;
    const double since = juce::Time::getMillisecondCounterHiRes() - lastWriteMs;
    if (since >= writeIntervalMs)
        write();
    else if (!isTimerRunning())
        startTimer(juce::jmax(1, writeIntervalMs - (int)since));
}

bool LibraryKeeper::flush()
{
    stopTimer();
    return !pending || write();
}

void LibraryKeeper::timerCallback()
{
    stopTimer();
    if (pending)
        write();
}

bool LibraryKeeper::write()
{
    lastWriteMs = juce::Time::getMillisecondCounterHiRes();
    bool ok = false;
    {
        const FolderLock lock(file.getParentDirectory());
        if (lock.isLocked())
        {
            bool merged = false;
            bool mayReplace = true;
            if (changedOnDisk())
            {
                const auto content = FileMan::readFileBytes(file, FileMan::maxLibraryFileSize);
                const auto disk = content.status == FileMan::ReadStatus::ok
                                      ? LibraryFile::read(content.bytes, LibraryStore::maxEntries)
                                      : std::nullopt;
                if (disk)
                {
                    auto result = mergeWithDisk(base, *disk, store.getData());
                    if (result != store.getData())
                    {
                        store.replaceAll(std::move(result));
                        merged = true;
                    }
                }
                else if (!backupKept)
                {
                    // Not a library of ours (or one we cannot read): kept before it is replaced.
                    backupKept = SafeFileWriter::keepBackup(file) != juce::File();
                }
                // A file we could neither read nor copy is never written over: it may be
                // a whole library we only cannot reach today.
                mayReplace = disk.has_value() || backupKept;
            }
            ok = mayReplace && FileMan::writeFileBytes(file, LibraryFile::make(store.getData()));
            if (ok)
            {
                base = store.getData();
                rememberFileState();
                pending = false;
            }
            if (merged && onMerged)
                onMerged();
        }
    }
    if (!ok)
    {
        pending = true;
        if (onWriteFailed)
            onWriteFailed();
    }
    return ok;
}

Bytes LibraryKeeper::mergeWithDisk(const Bytes& base, const Bytes& disk, const Bytes& ours)
{
    constexpr size_t n = LibraryStore::recordSize;
    RecordSet inBase(base), inDisk(disk), inOurs(ours);
    for (size_t i = 0; i < base.size() / n; ++i)
        inBase.insert(i);
    for (size_t i = 0; i < disk.size() / n; ++i)
        inDisk.insert(i);
    for (size_t i = 0; i < ours.size() / n; ++i)
        inOurs.insert(i);

    Bytes result;
    result.reserve(ours.size() + disk.size());
    for (size_t i = 0; i < ours.size() / n; ++i)
    {
        const auto* r = ours.data() + i * n;
        const bool removedThere = inBase.contains(r) && !inDisk.contains(r);
        if (!removedThere)
            result.insert(result.end(), r, r + n);
    }
    for (size_t i = 0; i < disk.size() / n; ++i)
    {
        const auto* r = disk.data() + i * n;
        if (!inBase.contains(r) && !inOurs.contains(r))
            result.insert(result.end(), r, r + n);
    }
    return result;
}

} // namespace zarnel
