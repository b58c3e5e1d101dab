#pragma once

#include "LibraryStore.h"

#include <juce_events/juce_events.h>

#include <functional>

namespace zarnel
{

// Keeps the fixed library file in step with the store: written soon after every change (at
// once, or at most about once a second when changes come quickly) and at destruction, through
// SafeFileWriter, so a host that crashes loses at most the last second. Before each write the
// file is checked for a change by another instance (size and time, the content when both agree);
// if it changed, what the other instance added or removed since we last read or wrote is taken
// over first, so two instances never erase each other's programs. Message thread only.
class LibraryKeeper : private juce::Timer
{
public:
    static constexpr int writeIntervalMs = 1000;

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
    // Writes now if anything is unwritten; false when the write failed.
    bool flush();
    bool hasPendingWrite() const noexcept { return pending; }
    const juce::File& getFile() const noexcept { return file; }

    // Called after another instance's changes were taken into the store.
    std::function<void()> onMerged;
    // Called when a write failed (the store keeps everything; the write is tried again).
    std::function<void()> onWriteFailed;

    // What `ours` becomes when the file, last seen as `base`, now holds `disk`: ours without
    // the records the other instance removed, then the records it added that ours lacks, in
    // the file's order.
    static Bytes mergeWithDisk(const Bytes& base, const Bytes& disk, const Bytes& ours);

private:
    void timerCallback() override;
    bool write();
    void rememberFileState();
    bool changedOnDisk() const;

    LibraryStore& store;
    juce::File file;
    Bytes base; // the records the file held when we last read or wrote it
    // Size and modification time in the file system's own resolution (JUCE's is a second).
    juce::int64 knownSize = -1;
    std::int64_t knownTime = 0;
    bool pending = false;
    bool backupKept = false;
    double lastWriteMs = -1.0e9;
};

} // namespace zarnel
