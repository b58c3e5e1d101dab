#pragma once

#include <juce_core/juce_core.h>

#include <array>
#include <vector>

namespace zarnel
{

// The plug-in's preferences: numbered text entries stored in one file as ^|entry|^ runs.
// Entry access is guarded, since the MIDI input thread records the device scan result.
//
// Saving writes only the entries this instance changed into the file as it is on disk then, so
// a setting chosen in one instance is not reverted by another that closes later; a file the
// reader refused or could not read is kept as a ".bak" before it is first written over.
class SettingsList
{
public:
    static constexpr int numStoredEntries = 50;
    static constexpr int numSpareEntries = 32;
    static constexpr int numLatencyValues = 7;
    static constexpr int maxEntries = 1000;
    static constexpr juce::int64 maxFileSize = 64 * 1024;

    // Entry numbers with a reader or writer.
    enum Entry
    {
        versionEntry = 0,
        scanInputPortEntry = 1,
        scanOutputPortEntry = 2,
        editorWidthEntry = 6,
        editorHeightEntry = 7,
        forwardHostMidiEntry = 8,
        latencyInitialisedEntry = 10,
        firstLatencyEntry = 11,
        latencyModeEntry = 17,
        seventhLatencyEntry = 18,
        midiChannelEntry = 42,
        midiClockEntry = 44,
        thruToHostEntry = 47
    };

    using LatencyTable = std::array<int, numLatencyValues>;

    enum class LoadCondition
    {
        created,    // there was no file: it was written with the defaults
        read,       // entries taken from the file
        refused,    // the file was not ours or too short: defaults
        unreadable, // the file exists but could not be read: defaults
    };

    explicit SettingsList(const juce::File& settingsFile);

    void loadSettings();
    // Merges the changed entries into the file; false when the file could not be written (the
    // entries stay marked, for the next save).
    bool saveSettings();
    void resetSettings();

    LoadCondition getLoadCondition() const;
    bool hasUnsavedChanges() const;
    // Grows with every change of an entry, so a caller can tell new changes from old ones.
    std::uint64_t getChangeCount() const;
    // What the list holds now counts as saved (after a load that failed: nothing is written
    // until someone really changes an entry).
    void forgetChanges();

    // The constructor of the controller state adds spare entries after loading; they are saved
    // and dropped by the next load.
    void appendSpareEntries();

    void restoreLatency();
    void setLatency(int mode, const std::vector<int>& table);
    int getLatencyMode() const;
    LatencyTable getLatencyTable() const;

    juce::String getEntry(int n) const;
    int getEntryInt(int n) const;
    void setEntry(int n, const juce::String& text);
    void setEntryInt(int n, int value) { setEntry(n, juce::String(value)); }
    int size() const;
    juce::StringArray getEntries() const;

    bool isFirstRun() const noexcept { return firstRun; }
    const juce::File& getFile() const noexcept { return file; }

    // The file format on its own, for tests and tools.
    static juce::StringArray parse(const juce::String& text);
    static juce::String format(const juce::StringArray& entries);

private:
    struct FileText
    {
        LoadCondition condition = LoadCondition::created;
        juce::String text;
    };
    FileText readFile() const;

    void resetSettingsLocked();
    void setEntryLocked(int n, const juce::String& text);
    void markAllChangedLocked();

    juce::File file;
    mutable juce::CriticalSection lock;
    juce::StringArray entries;
    std::vector<bool> changed;
    std::uint64_t changeCount = 0;
    LoadCondition loadCondition = LoadCondition::created;
    bool backupKept = false;
    bool firstRun = false;
    int latencyMode = 0;
    LatencyTable latencyTable{};
};

} // namespace zarnel
