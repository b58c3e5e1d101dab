#pragma once

#include "RecordSet.h"

#include "../model/ProgramSysex.h"

#include <juce_core/juce_core.h>

#include <array>
#include <mutex>
#include <string>

namespace zarnel
{

// The program library in memory, without any screen: the entries (whole 256-byte records, in
// arrival order), the buffer that collects one import, the rows shown for the category filter
// and the name search, and the category counts. The library page, tests, the benchmark and the
// fuzzer use it directly. Message thread only, but for copyData: the entries change only under a
// lock that copyData takes too, so a writer thread can take a copy while the screen goes on.
class LibraryStore
{
public:
    using Record = ProgramSysex::Record;

    static constexpr size_t recordSize = ProgramSysex::recordSize;
    static constexpr int numCategories = 26;
    static constexpr int listAll = 26;
    static constexpr int categoryOffset = 117;
    static constexpr int nameOffset = 184;
    static constexpr int nameLength = 16;
    // What a library file within the file manager's read bound holds, so whatever is kept can
    // be read back.
    static constexpr size_t maxEntries = 500000;

    LibraryStore();

    //==== Entries ====================================================================================
    int size() const noexcept { return (int)(data.size() / recordSize); }
    bool isEmpty() const noexcept { return data.empty(); }
    const std::uint8_t* entry(int index) const noexcept { return data.data() + (size_t)index * recordSize; }
    Record getEntry(int index) const;
    const Bytes& getData() const noexcept { return data; }
    // The store becomes these records (whole ones only, at most maxEntries).
    void replaceAll(Bytes records);
    void clear();

    bool contains(const std::uint8_t* record) const;
    bool contains(const Record& r) const { return contains(r.data()); }
    // Appends unless an identical entry exists; false when it did not.
    bool addEntry(const Record& record);
    void removeEntry(int index);
    // The written-name rule for the text, the category byte set; an empty text keeps the name.
    void renameEntry(int index, const juce::String& text, int category);

    // A copy of the entries for another thread, and the change count they belong to.
    std::uint64_t copyData(Bytes& into) const;

    //==== Importing =================================================================================
    // What one import did: every program read, those appended, and those the library held
    // already (or the import itself held before them).
    struct ImportResult
    {
        int read = 0;
        int added = 0;
        int alreadyThere = 0;
        int noRoom = 0; // beyond maxEntries
        bool replaced = false; // the store was emptied first
        explicit operator bool() const noexcept { return added > 0 || replaced; }
    };

    void beginImport();
    // The whole 256-byte records from offset on, up to maxRecords of them, each into the import
    // buffer unless the buffer holds an identical one. Returns how many went in.
    int importRecords(const std::uint8_t* bytes, size_t size, size_t offset = 0, size_t maxRecords = maxEntries);
    int importRecords(const Bytes& b, size_t offset = 0, size_t maxRecords = maxEntries)
    {
        return importRecords(b.data(), b.size(), offset, maxRecords);
    }
    int getImportSize() const noexcept { return (int)(importBuffer.size() / recordSize); }
    // Every record offered since beginImport, repeats included.
    int getImportReadCount() const noexcept { return importRead; }
    // The programs of the import the store does not hold yet (what appending would add).
    int countNewInImport() const;
    // Nothing when the import is empty; else the store is emptied first unless keepExisting, and
    // the import appended (as far as maxEntries allows) but for the programs the store holds
    // already: a library never gains a second copy by an import. The import buffer is kept.
    // True (as a condition) when the store changed.
    ImportResult mergeImport(bool keepExisting);

    //==== The rows shown ==============================================================================
    // 0..25 one category, listAll every entry.
    void setFilter(int category);
    int getFilter() const noexcept { return filter; }
    bool isFiltered() const noexcept { return filter != listAll; }
    // Entries whose shown name holds the text, ignoring case (an addition to the category filter).
    void setSearch(const juce::String& text);
    const juce::String& getSearch() const noexcept { return searchText; }
    // Recollects the rows and recounts the categories over the whole store.
    void rebuildView();
    const std::vector<int>& getView() const noexcept { return view; }
    int getCount(int category) const noexcept;

    //==== Record helpers ==============================================================================
    // The category byte, with a value above 25 (a foreign or damaged record) shown as 25.
    static int categoryOf(const std::uint8_t* record) noexcept;
    // 16 characters; bytes outside 32..127 shown as "A".
    static juce::String shownName(const std::uint8_t* record);
    static void writeName(std::uint8_t* record, const juce::String& text);

    // Counts every change of the entries, so the file keeper knows what it wrote.
    std::uint64_t getChangeCount() const noexcept { return changeCount; }

private:
    void changed();
    void rebuildIndex() const;
    bool matchesSearch(const std::uint8_t* record) const noexcept;

    Bytes data;
    mutable std::mutex dataLock; // held while data or changeCount change, and by copyData
    Bytes importBuffer;
    int importRead = 0;
    RecordSet importIndex{importBuffer};
    mutable RecordSet storeIndex{data};
    mutable bool indexValid = true;

    int filter = listAll;
    juce::String searchText;
    std::string searchLower; // ASCII, lower case; empty for no search
    bool searchImpossible = false;
    std::vector<int> view;
    std::array<int, 30> counts{};
    std::uint64_t changeCount = 0;
};

} // namespace zarnel
