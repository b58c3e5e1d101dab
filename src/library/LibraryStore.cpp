#include "LibraryStore.h"

#include "../model/DSI_Program.h"

#include <algorithm>
#include <cstring>

namespace zarnel
{

LibraryStore::LibraryStore()
{
    view.reserve(64);
}

LibraryStore::Record LibraryStore::getEntry(int index) const
{
    Record r{};
    if (index >= 0 && index < size())
        std::copy_n(entry(index), recordSize, r.begin());
    return r;
}

void LibraryStore::replaceAll(Bytes records)
{
    const size_t whole = std::min(records.size() / recordSize, maxEntries) * recordSize;
    records.resize(whole);
    {
        const std::lock_guard lock(dataLock);
        data.swap(records);
        changed();
    }
    indexValid = false;
    // The old entries are freed outside the lock.
}

std::uint64_t LibraryStore::copyData(Bytes& into) const
{
    const std::lock_guard lock(dataLock);
    into.assign(data.begin(), data.end());
    return changeCount;
}

void LibraryStore::clear()
{
    replaceAll({});
}

void LibraryStore::rebuildIndex() const
{
    storeIndex.clear();
    storeIndex.reserve((size_t)size());
    for (size_t i = 0; i < (size_t)size(); ++i)
        storeIndex.insert(i); // a duplicate already held (from a file) stays unindexed: one is enough
    indexValid = true;
}

bool LibraryStore::contains(const std::uint8_t* record) const
{
    if (!indexValid)
        rebuildIndex();
    return storeIndex.contains(record);
}

bool LibraryStore::addEntry(const Record& record)
{
    if (contains(record.data()) || (size_t)size() >= maxEntries)
        return false;
    {
        const std::lock_guard lock(dataLock);
        data.insert(data.end(), record.begin(), record.end());
        changed();
    }
    storeIndex.insert((size_t)size() - 1);
    return true;
}

void LibraryStore::removeEntry(int i)
{
    if (i < 0 || i >= size())
        return;
    {
        const std::lock_guard lock(dataLock);
        const auto start = data.begin() + (std::ptrdiff_t)((size_t)i * recordSize);
        data.erase(start, start + (std::ptrdiff_t)recordSize);
        changed();
    }
    indexValid = false;
}

void LibraryStore::renameEntry(int i, const juce::String& text, int category)
{
    if (i < 0 || i >= size())
        return;
    auto* record = data.data() + (size_t)i * recordSize;
    {
        const std::lock_guard lock(dataLock);
        if (text.isNotEmpty())
            writeName(record, text);
        // The box shows an out-of-range byte clamped: left as shown, the byte stays as it is.
        if (category >= 0 && category < numCategories && category != categoryOf(record))
            record[categoryOffset] = (std::uint8_t)category;
        changed();
    }
    indexValid = false;
}

void LibraryStore::beginImport()
{
    importBuffer.clear();
    importIndex.clear();
    importRead = 0;
}

int LibraryStore::importRecords(const std::uint8_t* bytes, size_t length, size_t offset, size_t maxRecords)
{
    if (bytes == nullptr || offset >= length)
        return 0;
    const size_t available = std::min((length - offset) / recordSize, maxRecords);
    importRead += (int)available;
    importBuffer.reserve(importBuffer.size() + available * recordSize);
    importIndex.reserve(importIndex.size() + available);
    int added = 0;
    for (size_t k = 0; k < available && importBuffer.size() / recordSize < maxEntries; ++k)
    {
        const auto* record = bytes + offset + k * recordSize;
        if (importIndex.contains(record))
            continue;
        importBuffer.insert(importBuffer.end(), record, record + recordSize);
        importIndex.insert(importBuffer.size() / recordSize - 1);
        ++added;
    }
    return added;
}

int LibraryStore::countNewInImport() const
{
    int fresh = 0;
    for (int k = 0; k < getImportSize(); ++k)
        if (!contains(importBuffer.data() + (size_t)k * recordSize))
            ++fresh;
    return fresh;
}

LibraryStore::ImportResult LibraryStore::mergeImport(bool keepExisting)
{
    ImportResult result;
    result.read = importRead;
    if (importBuffer.empty())
        return result;
    const int incoming = getImportSize();
    {
        const std::lock_guard lock(dataLock);
        if (!keepExisting)
        {
            data.clear();
            indexValid = false;
            result.replaced = true;
        }
        if (!indexValid)
            rebuildIndex();
        data.reserve(data.size() + std::min(importBuffer.size(), maxEntries * recordSize - data.size()));
        for (int k = 0; k < incoming; ++k)
        {
            const auto* record = importBuffer.data() + (size_t)k * recordSize;
            if (storeIndex.contains(record))
                continue;
            if ((size_t)size() >= maxEntries)
            {
                ++result.noRoom;
                continue;
            }
            data.insert(data.end(), record, record + recordSize);
            storeIndex.insert((size_t)size() - 1);
            ++result.added;
        }
        if (result)
            changed();
    }
    // The repeats within the import were there by the time they came.
    result.alreadyThere = result.read - result.added - result.noRoom;
    if (!result)
        return result;
    filter = listAll;
    rebuildView();
    return result;
}

void LibraryStore::setFilter(int category)
{
    filter = category >= 0 && category < numCategories ? category : listAll;
}

void LibraryStore::setSearch(const juce::String& text)
{
    searchText = text;
    const auto trimmed = text.trim().toLowerCase();
    searchLower.clear();
    searchImpossible = false;
    for (auto c : trimmed)
    {
        // Shown names hold only the codes 32..127.
        if (c < 32 || c > 127)
            searchImpossible = true;
        searchLower.push_back((char)c);
    }
}

bool LibraryStore::matchesSearch(const std::uint8_t* record) const noexcept
{
    if (searchImpossible)
        return false;
    const size_t n = searchLower.size();
    if (n == 0)
        return true;
    if (n > (size_t)nameLength)
        return false;
    char name[nameLength];
    for (int i = 0; i < nameLength; ++i)
    {
        const auto b = record[nameOffset + i];
        const char c = b >= 32 && b <= 127 ? (char)b : 'A';
        name[i] = c >= 'A' && c <= 'Z' ? (char)(c - 'A' + 'a') : c;
    }
    for (size_t start = 0; start + n <= (size_t)nameLength; ++start)
        if (std::memcmp(name + start, searchLower.data(), n) == 0)
            return true;
    return false;
}

void LibraryStore::rebuildView()
{
    view.clear();
    counts.fill(0);
    const int n = size();
    view.reserve((size_t)n);
    for (int i = 0; i < n; ++i)
    {
        const auto* record = entry(i);
        const int category = categoryOf(record);
        ++counts[(size_t)category];
        if ((filter == listAll || category == filter) && matchesSearch(record))
            view.push_back(i);
    }
}

int LibraryStore::getCount(int category) const noexcept
{
    return category >= 0 && category < numCategories ? counts[(size_t)category] : 0;
}

int LibraryStore::categoryOf(const std::uint8_t* record) noexcept
{
    return std::min((int)record[categoryOffset], numCategories - 1);
}

juce::String LibraryStore::shownName(const std::uint8_t* record)
{
    char name[nameLength + 1];
    for (int i = 0; i < nameLength; ++i)
    {
        const auto b = record[nameOffset + i];
        name[i] = b >= 32 && b <= 127 ? (char)b : 'A';
    }
    name[nameLength] = 0;
    return juce::String(name);
}

void LibraryStore::writeName(std::uint8_t* record, const juce::String& text)
{
    DSI_Program::encodeName(text, record + nameOffset);
}

void LibraryStore::changed()
{
    ++changeCount;
}

} // namespace zarnel
