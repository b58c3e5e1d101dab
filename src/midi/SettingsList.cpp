#include "SettingsList.h"

#include "../platform/FolderLock.h"
#include "../platform/SafeFileWriter.h"

#include <algorithm>

namespace zarnel
{

namespace
{
const char* const openMark = "^|";
const char* const closeMark = "|^";
constexpr int minimumFileLength = 6;
} // namespace

SettingsList::SettingsList(const juce::File& settingsFile) : file(settingsFile)
{
    resetSettingsLocked();
}

juce::StringArray SettingsList::parse(const juce::String& text)
{
    juce::StringArray found;
    if (text.length() < minimumFileLength)
        return found;

    int p = 0;
    for (;;)
    {
        const int open = text.indexOf(p, openMark);
        const int close = text.indexOf(p, closeMark);
        if (open < 0 || close <= 0)
            break;
        const int start = open + 2;
        found.add(close > start ? text.substring(start, close) : juce::String());
        p = close + 1;
    }
    return found;
}

juce::String SettingsList::format(const juce::StringArray& list)
{
    juce::String text;
    for (const auto& e : list)
        text << openMark << e << closeMark;
    return text;
}

void SettingsList::resetSettings()
{
    const juce::ScopedLock sl(lock);
    resetSettingsLocked();
    markAllChangedLocked();
}

void SettingsList::resetSettingsLocked()
{
    entries.clearQuick();
    entries.addArray({"2.2.0", "-1", "-1", "-1", "100", "0", "", "", "1"});
    while (entries.size() < numStoredEntries)
        entries.add("0");
}

void SettingsList::markAllChangedLocked()
{
    changed.assign((size_t)entries.size(), true);
    ++changeCount;
}

SettingsList::FileText SettingsList::readFile() const
{
    FileText result;
    if (!file.existsAsFile())
        return result;
    // Fifty short entries fit in far less; a larger file is not ours.
    if (file.getSize() > maxFileSize)
    {
        result.condition = LoadCondition::refused;
        return result;
    }
    juce::FileInputStream in(file);
    if (!in.openedOk())
    {
        result.condition = LoadCondition::unreadable;
        return result;
    }
    result.text = in.readEntireStreamAsString();
    if (in.getStatus().failed())
    {
        result.condition = LoadCondition::unreadable;
        return result;
    }
    result.condition = parse(result.text).size() > 2 ? LoadCondition::read : LoadCondition::refused;
    return result;
}

void SettingsList::loadSettings()
{
    const juce::ScopedLock sl(lock);
    firstRun = false;
    changed.clear();

    const auto onDisk = readFile();
    loadCondition = onDisk.condition;
    switch (onDisk.condition)
    {
        case LoadCondition::created:
            resetSettingsLocked();
            if (SafeFileWriter::write(file, format(entries)))
                changed.clear();
            else
                markAllChangedLocked();
            return;
        case LoadCondition::read:
        {
            const auto found = parse(onDisk.text);
            entries.clearQuick();
            for (int i = 0; i < found.size() && i < numStoredEntries; ++i)
                entries.add(found[i]);
            break;
        }
        case LoadCondition::refused:
        case LoadCondition::unreadable:
            resetSettingsLocked();
            firstRun = true;
            break;
    }

    while (entries.size() < numStoredEntries)
        entries.add("0");
}

bool SettingsList::saveSettings()
{
    // The list's own lock is held only to take what to write: the MIDI input thread (a device
    // scan result) never waits for the disk.
    const FolderLock folderLock(file.getParentDirectory());
    if (!folderLock.isLocked())
        return false;

    // Another instance may have written the file since we read it: its entries stay, except
    // those we changed. A file removed while we run is simply written again from what we hold;
    // one we cannot read now is not written over.
    const auto onDisk = readFile();
    if (onDisk.condition == LoadCondition::unreadable)
        return false;
    const auto base = onDisk.condition == LoadCondition::read ? parse(onDisk.text) : juce::StringArray();
    if (onDisk.condition == LoadCondition::refused && !backupKept)
    {
        if (SafeFileWriter::keepBackup(file) == juce::File())
            return false;
        backupKept = true;
    }

    juce::StringArray merged;
    std::uint64_t written;
    {
        const juce::ScopedLock sl(lock);
        written = changeCount;
        for (int i = 0; i < juce::jmax(base.size(), entries.size()); ++i)
        {
            const bool ours = i < entries.size() && (i >= base.size() || (i < (int)changed.size() && changed[(size_t)i]));
            merged.add(ours ? entries[i] : base[i]);
        }
    }
    if (!SafeFileWriter::write(file, format(merged)))
        return false;

    // What changed while we wrote stays marked for the next save.
    const juce::ScopedLock sl(lock);
    if (changeCount == written)
        changed.clear();
    return true;
}

SettingsList::LoadCondition SettingsList::getLoadCondition() const
{
    const juce::ScopedLock sl(lock);
    return loadCondition;
}

bool SettingsList::hasUnsavedChanges() const
{
    const juce::ScopedLock sl(lock);
    return std::find(changed.begin(), changed.end(), true) != changed.end();
}

std::uint64_t SettingsList::getChangeCount() const
{
    const juce::ScopedLock sl(lock);
    return changeCount;
}

void SettingsList::forgetChanges()
{
    const juce::ScopedLock sl(lock);
    changed.clear();
}

void SettingsList::appendSpareEntries()
{
    const juce::ScopedLock sl(lock);
    for (int i = 0; i < numSpareEntries; ++i)
        entries.add("0");
}

void SettingsList::restoreLatency()
{
    const juce::ScopedLock sl(lock);
    if (entries[latencyInitialisedEntry].getIntValue() != 333)
    {
        setEntryLocked(latencyInitialisedEntry, "333");
        for (int i = 0; i < 6; ++i)
            setEntryLocked(firstLatencyEntry + i, "0");
        setEntryLocked(latencyModeEntry, "402");
        setEntryLocked(seventhLatencyEntry, "0");
    }
    for (int i = 0; i < 6; ++i)
        latencyTable[(size_t)i] = entries[firstLatencyEntry + i].getIntValue();
    latencyTable[6] = entries[seventhLatencyEntry].getIntValue();
    latencyMode = 0;
}

void SettingsList::setLatency(int mode, const std::vector<int>& table)
{
    const juce::ScopedLock sl(lock);
    latencyMode = mode;
    for (size_t i = 0; i < latencyTable.size(); ++i)
        latencyTable[i] = i < table.size() ? table[i] : 0;
    setEntryLocked(latencyInitialisedEntry, "333");
    for (int i = 0; i < 6; ++i)
        setEntryLocked(firstLatencyEntry + i, juce::String(latencyTable[(size_t)i]));
    setEntryLocked(latencyModeEntry, juce::String(mode));
    setEntryLocked(seventhLatencyEntry, juce::String(latencyTable[6]));
}

int SettingsList::getLatencyMode() const
{
    const juce::ScopedLock sl(lock);
    return latencyMode;
}

SettingsList::LatencyTable SettingsList::getLatencyTable() const
{
    const juce::ScopedLock sl(lock);
    return latencyTable;
}

juce::String SettingsList::getEntry(int n) const
{
    const juce::ScopedLock sl(lock);
    return entries[n]; // empty beyond the end
}

int SettingsList::getEntryInt(int n) const
{
    return getEntry(n).getIntValue();
}

void SettingsList::setEntry(int n, const juce::String& text)
{
    const juce::ScopedLock sl(lock);
    setEntryLocked(n, text);
}

void SettingsList::setEntryLocked(int n, const juce::String& text)
{
    // The list holds a few dozen entries; a wild number must not make it grow without bound.
    if (n < 0 || n >= maxEntries)
        return;
    while (entries.size() <= n)
        entries.add({});
    if (entries[n] == text)
        return;
    entries.set(n, text);
    if ((int)changed.size() <= n)
        changed.resize((size_t)n + 1, false);
    changed[(size_t)n] = true;
    ++changeCount;
}

int SettingsList::size() const
{
    const juce::ScopedLock sl(lock);
    return entries.size();
}

juce::StringArray SettingsList::getEntries() const
{
    const juce::ScopedLock sl(lock);
    return entries;
}

} // namespace zarnel
