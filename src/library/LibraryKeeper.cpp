#include "LibraryKeeper.h"

#include "LibraryFile.h"

#include "../files/FileMan.h"
#include "../platform/FolderLock.h"
#include "../platform/SafeFileWriter.h"

#include <algorithm>
#include <cstring>

namespace zarnel
{

namespace
{
// The records of a library file, read straight into `into`: through a growing memory block a
// file of 100,000 programs took a quarter of a second. Its memory is used again (the same size
// costs neither allocation nor clearing). False when the file is missing, not ours or unreadable.
bool readRecords(const juce::File& file, Bytes& into, bool& missing)
{
    missing = !file.existsAsFile();
    if (missing)
        return false;
    juce::FileInputStream in(file);
    if (!in.openedOk())
        return false;
    const auto size = in.getTotalLength();
    char header[LibraryFile::markerSize];
    if (size < (juce::int64)LibraryFile::markerSize || size > FileMan::maxLibraryFileSize
        || in.read(header, (int)sizeof header) != (int)sizeof header
        || std::memcmp(header, LibraryFile::header, sizeof header) != 0)
        return false;
    const size_t count = (size_t)(size - (juce::int64)LibraryFile::markerSize) / LibraryFile::recordSize;
    if (count > LibraryStore::maxEntries)
        return false;
    into.resize(count * LibraryFile::recordSize);
    // The bound keeps every length within an int.
    return into.empty() || in.read(into.data(), (int)into.size()) == (int)into.size();
}

// Header, records, trailer, without building the file's image first.
bool writeLibrary(const juce::File& file, const Bytes& records)
{
    return SafeFileWriter::write(file, [&records](juce::OutputStream& out) {
        return out.write(LibraryFile::header, LibraryFile::markerSize)
               && (records.empty() || out.write(records.data(), records.size()))
               && out.write(LibraryFile::trailer, LibraryFile::markerSize);
    });
}
} // namespace

LibraryKeeper::LibraryKeeper(LibraryStore& s, juce::File f) : store(s), file(std::move(f))
{
}

LibraryKeeper::~LibraryKeeper()
{
    stopTimer();
    cancelPendingUpdate();
    // The last write waits for the one under way and is done before the store goes.
    flush();
    stopThread();
}

LibraryKeeper::LoadStatus LibraryKeeper::load()
{
    collect();
    bool missing = false;
    Bytes records;
    if (!readRecords(file, records, missing))
        return missing ? LoadStatus::missing : LoadStatus::refused;
    lastDisk = records;
    ancestor.reset();
    mergedFrom.reset();
    rebaseNext = false;
    store.replaceAll(std::move(records));
    return LoadStatus::loaded;
}

void LibraryKeeper::changed()
{
    pending = true;
    if (inFlight)
        return; // its result schedules the next write
    const double since = juce::Time::getMillisecondCounterHiRes() - lastWriteMs;
    if (since >= intervalMs)
        write();
    else if (!isTimerRunning())
        startTimer(juce::jmax(1, intervalMs - (int)since));
}

bool LibraryKeeper::flush()
{
    stopTimer();
    collect();
    return !pending || writeHere();
}

void LibraryKeeper::timerCallback()
{
    stopTimer();
    if (pending && !inFlight)
        write();
}

void LibraryKeeper::handleAsyncUpdate()
{
    if (!inFlight)
        return;
    std::optional<Result> done;
    {
        const std::lock_guard guard(lock);
        done.swap(result);
    }
    // A failed write waits for the next change or the close, as one done at once does.
    if (done && take(std::move(*done)))
        scheduleIfPending();
}

void LibraryKeeper::scheduleIfPending()
{
    // A change that came during the write: written a second after the write began, as usual.
    if (pending && !inFlight && !isTimerRunning())
    {
        const double since = juce::Time::getMillisecondCounterHiRes() - lastWriteMs;
        startTimer(juce::jmax(1, intervalMs - (int)since));
    }
}

bool LibraryKeeper::write()
{
    if ((size_t)store.size() < backgroundFrom)
        return writeHere();
    lastWriteMs = juce::Time::getMillisecondCounterHiRes();
    pending = false;
    inFlight = true;
    {
        const std::lock_guard guard(lock);
        job = Job{{}, 0, rebaseNext};
        if (!thread.joinable())
            thread = std::thread([this] { threadLoop(); });
    }
    rebaseNext = false;
    wake.notify_all();
    return true;
}

bool LibraryKeeper::writeHere()
{
    lastWriteMs = juce::Time::getMillisecondCounterHiRes();
    pending = false;
    Job here{{}, 0, rebaseNext};
    rebaseNext = false;
    return take(runWrite(here));
}

void LibraryKeeper::collect()
{
    if (!inFlight)
        return;
    std::optional<Result> done;
    {
        std::unique_lock guard(lock);
        wake.wait(guard, [this] { return result.has_value(); });
        done.swap(result);
    }
    take(std::move(*done));
}

bool LibraryKeeper::take(Result r)
{
    inFlight = false;
    lastWriteDurationMs = r.durationMs;
    lastFailure = r.failure;
    if (!r.ok)
    {
        pending = true;
        if (onWriteFailed)
            onWriteFailed();
        return false;
    }
    if (store.getChangeCount() == r.changeCount)
    {
        pending = false; // a change reported during the write was in the copy already
        if (r.merged)
        {
            store.replaceAll(std::move(*r.merged));
            if (onMerged)
                onMerged();
        }
    }
    else if (r.merged)
    {
        // The store moved on from the copy the merge began with: the next write merges the
        // file again, from that copy.
        rebaseNext = true;
        pending = true;
    }
    return true;
}

void LibraryKeeper::threadLoop()
{
    std::unique_lock guard(lock);
    for (;;)
    {
        wake.wait(guard, [this] { return quit || job.has_value(); });
        if (job)
        {
            Job mine = std::move(*job);
            job.reset();
            guard.unlock();
            auto done = runWrite(mine);
            guard.lock();
            result = std::move(done);
            wake.notify_all();
            triggerAsyncUpdate();
            continue;
        }
        if (quit)
            return;
    }
}

void LibraryKeeper::stopThread()
{
    if (!thread.joinable())
        return;
    {
        const std::lock_guard guard(lock);
        quit = true;
    }
    wake.notify_all();
    thread.join();
}

LibraryKeeper::Result LibraryKeeper::runWrite(Job& j)
{
    const double started = juce::Time::getMillisecondCounterHiRes();
    Result r;
    j.records = std::move(spare); // its memory again: no allocation, no page faults
    j.changeCount = store.copyData(j.records);
    r.changeCount = j.changeCount;
    if (j.rebase && mergedFrom)
        ancestor = std::move(mergedFrom);
    mergedFrom.reset();

    const FolderLock folderLock(file.getParentDirectory());
    if (!folderLock.isLocked())
    {
        r.failure = folderLock.getFailure();
    }
    else
    {
        const Bytes& base = ancestor ? *ancestor : lastDisk;
        bool missing = false;
        const bool read = readRecords(file, readBuffer, missing);
        bool mayReplace = true;
        if (!missing)
        {
            if (!read && !backupKept)
            {
                // Not a library of ours (or one we cannot read): kept before it is replaced.
                backupKept = SafeFileWriter::keepBackup(file) != juce::File();
            }
            // A file we could neither read nor copy is never written over: it may be a whole
            // library we only cannot reach today.
            mayReplace = read || backupKept;
        }
        const Bytes& disk = read ? readBuffer : lastDisk;
        std::optional<Bytes> merged;
        if (disk != base)
        {
            auto m = mergeWithDisk(base, disk, j.records);
            if (m != j.records)
                merged = std::move(m);
        }
        r.ok = mayReplace && writeLibrary(file, merged ? *merged : j.records);
        if (r.ok)
        {
            ancestor.reset();
            spare = std::move(lastDisk);
            if (merged)
            {
                lastDisk = *merged;
                r.merged = std::move(merged);
                mergedFrom = std::move(j.records);
            }
            else
            {
                lastDisk = std::move(j.records);
            }
        }
    }
    if (!r.ok && spare.empty())
        spare = std::move(j.records);
    r.durationMs = juce::Time::getMillisecondCounterHiRes() - started;
    return r;
}

namespace
{
// How many copies of a program the merge keeps: each side's change to the count applies, and
// the same change made on both sides (the same copy removed, the same program added) once.
std::uint32_t mergedCount(std::uint32_t base, std::uint32_t disk, std::uint32_t ours)
{
    const auto here = (std::int64_t)ours - base, there = (std::int64_t)disk - base;
    std::int64_t count = base + here + there;
    if (here > 0 && there > 0)
        count = base + std::max(here, there);
    else if (here < 0 && there < 0)
        count = base + std::min(here, there);
    return (std::uint32_t)std::max<std::int64_t>(0, count);
}
} // namespace

Bytes LibraryKeeper::mergeWithDisk(const Bytes& base, const Bytes& disk, const Bytes& ours)
{
    constexpr size_t n = LibraryStore::recordSize;
    const size_t inBaseCount = base.size() / n, inDiskCount = disk.size() / n, inOursCount = ours.size() / n;
    RecordSet inBase(base), inDisk(disk), inOurs(ours), seenOurs(ours), seenDisk(disk);
    inBase.reserve(inBaseCount);
    inDisk.reserve(inDiskCount);
    inOurs.reserve(inOursCount);
    for (size_t i = 0; i < inBaseCount; ++i)
        inBase.addCopy(i);
    for (size_t i = 0; i < inDiskCount; ++i)
        inDisk.addCopy(i);
    for (size_t i = 0; i < inOursCount; ++i)
        inOurs.addCopy(i);

    Bytes result;
    result.reserve(ours.size() + disk.size());
    // Ours keeps its first copies (a later one is the likelier repeat), in our order...
    for (size_t i = 0; i < inOursCount; ++i)
    {
        const auto* r = ours.data() + i * n;
        const auto copy = seenOurs.addCopy(i);
        if (copy <= mergedCount(inBase.countOf(r), inDisk.countOf(r), inOurs.countOf(r)))
            result.insert(result.end(), r, r + n);
    }
    // ...then the copies the file gained that ours lacks, its last ones, in the file's order.
    for (size_t i = 0; i < inDiskCount; ++i)
    {
        const auto* r = disk.data() + i * n;
        const auto copy = seenDisk.addCopy(i);
        const auto o = inOurs.countOf(r), d = inDisk.countOf(r);
        const auto wanted = mergedCount(inBase.countOf(r), d, o);
        if (wanted > o && copy > d - (wanted - o))
            result.insert(result.end(), r, r + n);
    }
    return result;
}

} // namespace zarnel
