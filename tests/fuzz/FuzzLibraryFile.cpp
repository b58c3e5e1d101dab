// Arbitrary bytes as a library file: what the reader takes must write back to the same file, and
// the store built from it must count, filter and search its entries without reading past them.
#include "library/LibraryFile.h"
#include "library/LibraryStore.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size)
{
    using namespace zarnel;

    const auto records = LibraryFile::read(data, size, 4096);
    if (!records)
        return 0;
    if (records->size() % 256 != 0 || records->size() + 13 > size)
        __builtin_trap();
    const auto file = LibraryFile::make(*records);
    if (LibraryFile::read(file, 4096) != records)
        __builtin_trap();

    LibraryStore store;
    store.replaceAll(*records);
    store.beginImport();
    store.importRecords(data, size, LibraryFile::markerSize);
    store.mergeImport(true);
    // The filter and the search come from the file's own bytes.
    store.setFilter(size > 13 ? data[13] % 27 : LibraryStore::listAll);
    store.setSearch(juce::String::fromUTF8((const char*)data, (int)juce::jmin<size_t>(size, 3)));
    store.rebuildView();
    int total = 0;
    for (int c = 0; c < LibraryStore::numCategories; ++c)
        total += store.getCount(c);
    if (total != store.size() || (int)store.getView().size() > store.size())
        __builtin_trap();
    for (const int row : store.getView())
        if (LibraryStore::shownName(store.entry(row)).length() != 16)
            __builtin_trap();
    return 0;
}
