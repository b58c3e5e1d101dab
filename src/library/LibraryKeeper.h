#pragma once

#include "LibraryStore.h"

#include <juce_events/juce_events.h>

#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

namespace zarnel
{

// Keeps the fixed library file in step with the store: written soon after every change (at
// once, or at most about once a second when changes come quickly) and at destruction, through
// SafeFileWriter, so a host that crashes loses at most the last second. Each write first reads
// the file: if another instance changed it, what that instance added or removed since we last
// read or wrote is taken over first, so two instances never erase each other's programs.
//
// A large library is read, merged and written by a thread of the keeper's own: at 100,000
// programs that takes a good part of a second, which the screen would otherwise stand still
// for. The thread copies the entries under the store's lock and hands a merged result back to
// the message thread, which takes it only if the store has not changed since the copy (else
// the next write merges again from that copy). One write at a time, in the order of changes.
// A small library is written at once on the message thread, where a failure or another
// instance's programs show together with the change that caused the write.
class LibraryKeeper : private juce::Timer, private juce::AsyncUpdater
{
public:
    static constexpr int writeIntervalMs = 1000;
    // From this many programs on (a megabyte) the writes go to the keeper's thread.
    static constexpr size_t defaultBackgroundFrom = 4096;

    enum class LoadStatus
    {
        missing,  // no file: the store stays as it was
        loaded,   // the file's records (maybe none) are the store now
        refused   // not a library file, too large or unreadable: the store stays as it was
    };

    LibraryKeeper(LibraryStore& store, juce::File file);
    ~LibraryKeeper() override;

    LoadStatus load();
    // The store changed: write now, or within writeIntervalMs of the last write.
    void changed();
    // Waits for a write under way, then writes now if anything is unwritten; false when a
    // write failed.
    bool flush();
    // Anything not on disk yet, a write under way included.
    bool hasPendingWrite() const noexcept { return pending || inFlight; }
    bool isWriting() const noexcept { return inFlight; }
    const juce::File& getFile() const noexcept { return file; }

    void setBackgroundFrom(size_t programs) noexcept { backgroundFrom = programs; }
    void setWriteInterval(int milliseconds) noexcept { intervalMs = milliseconds; }
    // How long the last write took (read, merge and write), wherever it ran.
    double getLastWriteMs() const noexcept { return lastWriteDurationMs; }

    // Called after another instance's changes were taken into the store.
    std::function<void()> onMerged;
    // Called when a write failed (the store keeps everything; the write is tried again).
    std::function<void()> onWriteFailed;
    // Why the last write failed, when known (another instance holding the settings folder
    // too long, a lock file we may not open); empty otherwise.
    const juce::String& getLastFailure() const noexcept { return lastFailure; }

    // What `ours` becomes when the file, last seen as `base`, now holds `disk`. Programs count
    // by their copies: of each, ours loses as many as the other instance removed, and gains
    // those it added beyond the copies ours already has, in the file's order. So a copy left on
    // one side never brings back a deletion made on the other.
    static Bytes mergeWithDisk(const Bytes& base, const Bytes& disk, const Bytes& ours);

private:
    struct Job
    {
        Bytes records;
        std::uint64_t changeCount = 0;
        bool rebase = false; // the last merged result was not taken: merge from its copy
    };
    struct Result
    {
        bool ok = false;
        std::uint64_t changeCount = 0;
        std::optional<Bytes> merged; // set when the file now holds more than the copy written
        juce::String failure;        // why, when it is known (the lock between instances)
        double durationMs = 0.0;
    };

    void timerCallback() override;
    void handleAsyncUpdate() override;
    // Starts a write; false when one run at once failed.
    bool write();
    bool writeHere();
    // Waits for the thread's result (if one is under way) and takes it.
    void collect();
    bool take(Result result);
    void scheduleIfPending();
    void threadLoop();
    void stopThread();

    // The disk side: only the one running a write touches it, the thread or (while the
    // thread has nothing) the message thread; the hand-over goes through `lock`.
    Result runWrite(Job& job);

    LibraryStore& store;
    juce::File file;
    size_t backgroundFrom = defaultBackgroundFrom;
    int intervalMs = writeIntervalMs;

    // Message thread.
    bool pending = false;
    bool inFlight = false;
    bool rebaseNext = false;
    double lastWriteMs = -1.0e9;
    double lastWriteDurationMs = 0.0;
    juce::String lastFailure;

    // Disk side.
    Bytes lastDisk;                 // what the file held when we last read or wrote it
    std::optional<Bytes> ancestor;  // what the store grew from, when not lastDisk
    std::optional<Bytes> mergedFrom; // the copy behind the last merged result
    Bytes spare;                     // memory for the next copy of the store
    Bytes readBuffer;                // memory for the file's records
    bool backupKept = false;

    // Hand-over between the threads.
    std::mutex lock;
    std::condition_variable wake;
    std::optional<Job> job;
    std::optional<Result> result;
    bool quit = false;
    std::thread thread;
};

} // namespace zarnel
