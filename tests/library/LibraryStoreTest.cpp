#include "LibraryTestSupport.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace zarnel;
using zarnel::test::libraryRecord;
using zarnel::test::recordsOf;

namespace
{

Bytes headerBytes()
{
    return Bytes(LibraryFile::header, LibraryFile::header + LibraryFile::markerSize);
}

Bytes trailerBytes()
{
    return Bytes(LibraryFile::trailer, LibraryFile::trailer + LibraryFile::markerSize);
}

Bytes cat(std::initializer_list<Bytes> parts)
{
    Bytes out;
    for (const auto& p : parts)
        out.insert(out.end(), p.begin(), p.end());
    return out;
}

struct LoadCase
{
    const char* what;
    Bytes file;
    int expected; // -1: refused
};

} // namespace

TEST(LibraryFile, LoadTable)
{
    const auto a = libraryRecord(1), b = libraryRecord(2), c3 = libraryRecord(3);
    auto odd = libraryRecord(4);
    odd[117] = 200;
    Bytes oneShort = cat({headerBytes(), recordsOf({a})});
    oneShort.pop_back();
    Bytes wrongHeader = cat({headerBytes(), recordsOf({a}), trailerBytes()});
    wrongHeader[0] = 'X';

    const LoadCase cases[] = {
        {"header + one record", cat({headerBytes(), recordsOf({a}), trailerBytes()}), 1},
        {"header + one record, no trailer", cat({headerBytes(), recordsOf({a})}), 1},
        {"one byte short of a record", oneShort, 0},
        {"header only", headerBytes(), 0},
        {"header and trailer", cat({headerBytes(), trailerBytes()}), 0},
        {"3 records and a partial one", cat({headerBytes(), recordsOf({a, b, c3}), Bytes(100, 7)}), 3},
        {"wrong header", wrongHeader, -1},
        {"shorter than the header", Bytes(LibraryFile::header, LibraryFile::header + 12), -1},
        {"empty", {}, -1},
        {"category 200", cat({headerBytes(), recordsOf({odd}), trailerBytes()}), 1},
    };
    for (const auto& row : cases)
    {
        const auto& c = row;
        const auto got = LibraryFile::read(c.file, LibraryStore::maxEntries);
        if (c.expected < 0)
        {
            EXPECT_FALSE(got.has_value()) << c.what;
            continue;
        }
        ASSERT_TRUE(got.has_value()) << c.what;
        EXPECT_EQ((int)(got->size() / 256), c.expected) << c.what;
        // Whatever was read writes back byte for byte.
        EXPECT_EQ(LibraryFile::read(LibraryFile::make(*got), LibraryStore::maxEntries), got) << c.what;
    }
}

TEST(LibraryFile, RoundTripIsByteExactAndACountThatDoesNotFitIsRefused)
{
    auto odd = libraryRecord(9);
    odd[117] = 200;
    odd[190] = 0xE9;
    const auto records = recordsOf({libraryRecord(1), odd});
    const auto file = LibraryFile::make(records);
    EXPECT_EQ(file.size(), 13u + 512u + 13u);
    EXPECT_EQ(LibraryFile::make(*LibraryFile::read(file, 10)), file);
    EXPECT_FALSE(LibraryFile::read(file, 1).has_value());
    EXPECT_EQ(LibraryFile::make({}), cat({headerBytes(), trailerBytes()}));
}

TEST(LibraryStore, CategoryAboveRangeIsCountedAndShownClampedAndKept)
{
    LibraryStore store;
    auto odd = libraryRecord(4);
    odd[117] = 200;
    store.replaceAll(recordsOf({odd}));
    store.rebuildView();
    EXPECT_EQ(store.getCount(25), 1);
    EXPECT_EQ(LibraryStore::categoryOf(store.entry(0)), 25);
    EXPECT_EQ(store.entry(0)[117], 200);
    store.renameEntry(0, "Renamed", 25);
    EXPECT_EQ(store.entry(0)[117], 200) << "the category left as shown is not an edit";
    store.setFilter(25);
    store.rebuildView();
    EXPECT_EQ(store.getView().size(), 1u);
}

TEST(LibraryStore, ImportAppendsOnlyWhatTheLibraryLacksAndCountsTheRest)
{
    const auto a = libraryRecord(1), b = libraryRecord(2), c = libraryRecord(3);
    auto aOtherCategory = a;
    aOtherCategory[117] = 5;
    struct Case
    {
        const char* what;
        Bytes held;
        Bytes imported;
        bool keepExisting;
        Bytes expected;
        int added, alreadyThere;
    } const cases[] = {
        {"append", recordsOf({a}), recordsOf({a, b, a, aOtherCategory, c}), true, recordsOf({a, b, aOtherCategory, c}), 3, 2},
        {"append, all there", recordsOf({a, b}), recordsOf({b, a, b}), true, recordsOf({a, b}), 0, 3},
        {"replace", recordsOf({a}), recordsOf({a, b, a, c}), false, recordsOf({a, b, c}), 3, 1},
        {"into a library holding copies", recordsOf({a, a}), recordsOf({a, b}), true, recordsOf({a, a, b}), 1, 1},
    };
    for (const auto& t : cases)
    {
        LibraryStore store;
        store.replaceAll(t.held);
        store.beginImport();
        store.importRecords(t.imported);
        if (t.keepExisting)
        {
            EXPECT_EQ(store.countNewInImport(), t.added) << t.what;
        }
        const auto result = store.mergeImport(t.keepExisting);
        EXPECT_EQ(store.getData(), t.expected) << t.what;
        EXPECT_EQ(result.read, (int)(t.imported.size() / 256)) << t.what;
        EXPECT_EQ(result.added, t.added) << t.what;
        EXPECT_EQ(result.alreadyThere, t.alreadyThere) << t.what;
        EXPECT_EQ((bool)result, t.added > 0 || !t.keepExisting) << t.what;
    }

    LibraryStore store;
    store.replaceAll(recordsOf({a}));
    store.beginImport();
    EXPECT_FALSE(store.mergeImport(true)) << "an empty import changes nothing";
    EXPECT_EQ(store.size(), 1);
}

TEST(LibraryStore, FourBanksImportedTwiceAddNothingTheSecondTime)
{
    Bytes fourBanks;
    for (int k = 0; k < 512; ++k)
    {
        auto r = libraryRecord(k);
        r[200] = (std::uint8_t)(k & 0x7F); // carried bytes: every program distinct
        r[201] = (std::uint8_t)(k >> 7);
        fourBanks.insert(fourBanks.end(), r.begin(), r.end());
    }
    LibraryStore store;
    for (const int expectedAdded : {512, 0})
    {
        store.beginImport();
        store.importRecords(fourBanks);
        const auto result = store.mergeImport(true);
        EXPECT_EQ(result.read, 512);
        EXPECT_EQ(result.added, expectedAdded);
        EXPECT_EQ(result.alreadyThere, 512 - expectedAdded);
        EXPECT_EQ(store.size(), 512);
    }
}

TEST(LibraryStore, AddRefusesAnIdenticalEntryAndRenameWritesTheNameRule)
{
    LibraryStore store;
    const auto a = libraryRecord(1, "Warm Pad");
    EXPECT_TRUE(store.addEntry(a));
    EXPECT_FALSE(store.addEntry(a));
    store.renameEntry(0, juce::String("Twenty characters xx"), 3);
    EXPECT_EQ(LibraryStore::shownName(store.entry(0)), "Twenty character");
    EXPECT_EQ(store.entry(0)[117], 3);
    // After the rename the old content is gone: it may be added again.
    EXPECT_TRUE(store.addEntry(a));

    struct NameCase
    {
        juce::String text;
        std::uint8_t firstByte;
    } const names[] = {{juce::String::charToString(233), 32}, {juce::String::charToString(127), 127}};
    for (const auto& n : names)
    {
        store.renameEntry(0, n.text, 0);
        EXPECT_EQ(store.entry(0)[184], n.firstByte);
    }
    EXPECT_EQ(LibraryStore::shownName(store.entry(0)).substring(0, 1), juce::String::charToString(127));
}

TEST(LibraryStore, SearchFiltersByNameIgnoringCaseTogetherWithTheCategory)
{
    LibraryStore store;
    store.addEntry(libraryRecord(1, "Warm PAD", 24));
    store.addEntry(libraryRecord(2, "Pad Bass", 8));
    store.addEntry(libraryRecord(3, "Lead", 24));
    auto unprintable = libraryRecord(4, "xx", 24);
    unprintable[184] = 3; // shown as "A"
    store.addEntry(unprintable);

    struct Case
    {
        const char* search;
        int filter;
        std::vector<int> rows;
    } const cases[] = {
        {"pad", LibraryStore::listAll, {0, 1}},
        {"  PAD ", LibraryStore::listAll, {0, 1}},
        {"pad", 24, {0}},
        {"", 24, {0, 2, 3}},
        {"ax", LibraryStore::listAll, {3}},
        {"nothing", LibraryStore::listAll, {}},
        {"seventeen chars xx", LibraryStore::listAll, {}},
    };
    for (const auto& c : cases)
    {
        store.setFilter(c.filter);
        store.setSearch(c.search);
        store.rebuildView();
        EXPECT_EQ(store.getView(), c.rows) << c.search << " in " << c.filter;
        EXPECT_EQ(store.getCount(24), 3) << "counts cover the whole store";
    }
}

TEST(LibraryStore, RemoveKeepsOrderAndDuplicateTestFollowsContent)
{
    LibraryStore store;
    const auto a = libraryRecord(1), b = libraryRecord(2), c = libraryRecord(3);
    store.replaceAll(recordsOf({a, b, c}));
    store.removeEntry(1);
    EXPECT_EQ(store.getData(), recordsOf({a, c}));
    EXPECT_FALSE(store.contains(b));
    EXPECT_TRUE(store.contains(c));
    store.removeEntry(7);
    EXPECT_EQ(store.size(), 2);
}
