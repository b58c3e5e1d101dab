#include "LibraryTestSupport.h"

#include "files/FileMan.h"
#include "library/LibraryKeeper.h"
#include "support/MessagePump.h"
#include "support/TempFolder.h"

#include <juce_events/juce_events.h>

#include <gtest/gtest.h>

#include <filesystem>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace zarnel;
using zarnel::test::libraryRecord;
using zarnel::test::recordsOf;

namespace
{

class LibraryKeeperTest : public ::testing::Test
{
protected:
    juce::ScopedJuceInitialiser_GUI juce;
    test::TempFolder folder;
    juce::File file = folder.file("x4Lib.m_l");

    Bytes onDisk() const
    {
        const auto content = FileMan::readFileBytes(file, FileMan::maxLibraryFileSize);
        return LibraryFile::read(content.bytes, LibraryStore::maxEntries).value_or(Bytes{1});
    }

    // Runs the message loop until everything the keeper was told is on disk (or tried).
    static void pumpUntilWritten(const LibraryKeeper& keeper)
    {
        for (int waited = 0; keeper.hasPendingWrite() && waited < 5000; waited += 5)
            test::pumpMessages(5);
    }

    static Bytes repeated(const Bytes& records, int times)
    {
        Bytes out;
        for (int k = 0; k < times; ++k)
            out.insert(out.end(), records.begin(), records.end());
        return out;
    }
};

} // namespace

TEST_F(LibraryKeeperTest, ClearAllThenReopenIsEmpty)
{
    {
        LibraryStore store;
        LibraryKeeper keeper(store, file);
        store.replaceAll(recordsOf({libraryRecord(1), libraryRecord(2)}));
        keeper.changed();
        store.clear();
        keeper.changed();
    }
    LibraryStore reopened;
    reopened.addEntry(libraryRecord(3));
    LibraryKeeper keeper(reopened, file);
    EXPECT_EQ(keeper.load(), LibraryKeeper::LoadStatus::loaded);
    EXPECT_TRUE(reopened.isEmpty());
}

TEST_F(LibraryKeeperTest, AnAddIsInTheFileWhenTheProcessDiesRightAfterIt)
{
    const auto a = libraryRecord(1);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0)
    {
        LibraryStore store;
        LibraryKeeper keeper(store, file);
        keeper.load();
        store.addEntry(a);
        keeper.changed();
        _exit(0); // no destructor runs
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_EQ(onDisk(), recordsOf({a}));
}

TEST_F(LibraryKeeperTest, ChangesWithinASecondAreWrittenTogetherSoonAfter)
{
    LibraryStore store;
    LibraryKeeper keeper(store, file);
    const auto a = libraryRecord(1), b = libraryRecord(2);
    store.addEntry(a);
    keeper.changed();
    store.addEntry(b);
    keeper.changed();
    EXPECT_EQ(onDisk(), recordsOf({a}));
    EXPECT_TRUE(keeper.hasPendingWrite());
    test::pumpMessages(LibraryKeeper::writeIntervalMs + 300);
    EXPECT_EQ(onDisk(), recordsOf({a, b}));
    EXPECT_FALSE(keeper.hasPendingWrite());
}

TEST_F(LibraryKeeperTest, TwoStoresOnOneFileKeepEachOthersPrograms)
{
    const auto shared = libraryRecord(1), x = libraryRecord(2), y = libraryRecord(3);
    ASSERT_TRUE(FileMan::writeFileBytes(file, LibraryFile::make(recordsOf({shared}))));
    LibraryStore first, second;
    LibraryKeeper firstKeeper(first, file), secondKeeper(second, file);
    firstKeeper.load();
    secondKeeper.load();
    int merges = 0;
    secondKeeper.onMerged = [&] { ++merges; };

    first.addEntry(x);
    ASSERT_TRUE(firstKeeper.flush() && (firstKeeper.changed(), firstKeeper.flush()));
    // The file changes size and time; make sure the time differs even on a coarse clock.
    juce::Thread::sleep(20);
    second.addEntry(y);
    second.removeEntry(0); // the shared one: removed here, so it goes for both
    secondKeeper.changed();
    ASSERT_TRUE(secondKeeper.flush());
    EXPECT_EQ(onDisk(), recordsOf({y, x}));
    EXPECT_EQ(second.getData(), recordsOf({y, x}));
    EXPECT_EQ(merges, 1);

    firstKeeper.changed();
    ASSERT_TRUE(firstKeeper.flush());
    EXPECT_EQ(first.getData(), recordsOf({x, y}));
    EXPECT_EQ(onDisk(), recordsOf({x, y}));
}

TEST_F(LibraryKeeperTest, AFailedWriteIsReportedAndKeptForLater)
{
    ASSERT_TRUE(file.createDirectory());
    LibraryStore store;
    LibraryKeeper keeper(store, file);
    int failures = 0;
    keeper.onWriteFailed = [&] { ++failures; };
    store.addEntry(libraryRecord(1));
    keeper.changed();
    EXPECT_EQ(failures, 1);
    EXPECT_TRUE(keeper.hasPendingWrite());
    ASSERT_TRUE(file.deleteRecursively());
    EXPECT_TRUE(keeper.flush());
    EXPECT_EQ(onDisk(), recordsOf({libraryRecord(1)}));
}

TEST_F(LibraryKeeperTest, AForeignFileIsNotLoadedAndKeptAsBackupBeforeItIsReplaced)
{
    ASSERT_TRUE(file.replaceWithText("not a library at all, but long enough to look like something"));
    LibraryStore store;
    store.addEntry(libraryRecord(1));
    LibraryKeeper keeper(store, file);
    EXPECT_EQ(keeper.load(), LibraryKeeper::LoadStatus::refused);
    EXPECT_EQ(store.size(), 1);
    keeper.changed();
    EXPECT_EQ(onDisk(), recordsOf({libraryRecord(1)}));
    EXPECT_TRUE(file.getSiblingFile("x4Lib.m_l.bak").existsAsFile());
}

TEST_F(LibraryKeeperTest, AFileWeCanNeitherReadNorCopyIsNeverWrittenOver)
{
    const juce::String unreachable("a library this user may not read today");
    ASSERT_TRUE(file.replaceWithText(unreachable));
    ASSERT_EQ(::chmod(file.getFullPathName().toRawUTF8(), 0), 0);
    ASSERT_EQ(::chmod(folder.get().getFullPathName().toRawUTF8(), 0777), 0);
    // Root reads everything: the keeper runs as an ordinary user in a child process.
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0)
    {
        if (::geteuid() == 0 && ::setuid(65534) != 0)
            _exit(2);
        LibraryStore store;
        LibraryKeeper keeper(store, file);
        if (keeper.load() != LibraryKeeper::LoadStatus::refused)
            _exit(3);
        store.addEntry(libraryRecord(1));
        bool failureShown = false;
        keeper.onWriteFailed = [&] { failureShown = true; };
        keeper.changed();
        _exit(failureShown ? 0 : 4);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "exit " << WEXITSTATUS(status);
    ::chmod(file.getFullPathName().toRawUTF8(), 0644);
    EXPECT_EQ(file.loadFileAsString(), unreachable);
}

TEST_F(LibraryKeeperTest, AnotherInstancesWriteOfTheSameSizeAndTimeIsTakenIn)
{
    const auto s = libraryRecord(1), t = libraryRecord(2), renamedS = libraryRecord(3), renamedT = libraryRecord(4);
    ASSERT_TRUE(FileMan::writeFileBytes(file, LibraryFile::make(recordsOf({s, t}))));
    LibraryStore first, second;
    LibraryKeeper firstKeeper(first, file), secondKeeper(second, file);
    firstKeeper.load();
    secondKeeper.load();
    const std::filesystem::path path(file.getFullPathName().toStdString());

    first.replaceAll(recordsOf({renamedS, t}));
    firstKeeper.changed();
    ASSERT_TRUE(firstKeeper.flush());
    const auto firstWroteAt = std::filesystem::last_write_time(path);
    second.replaceAll(recordsOf({s, renamedT}));
    secondKeeper.changed();
    ASSERT_TRUE(secondKeeper.flush());
    // A clock that ticks every few milliseconds gives both writes the same time.
    std::filesystem::last_write_time(path, firstWroteAt);

    firstKeeper.changed();
    ASSERT_TRUE(firstKeeper.flush());
    EXPECT_EQ(onDisk(), recordsOf({renamedS, renamedT}));
}

TEST(LibraryMerge, ProgramsCountByTheirCopies)
{
    const auto a = libraryRecord(1), b = libraryRecord(2), x = libraryRecord(3);
    struct Case
    {
        const char* what;
        Bytes base, disk, ours, expected;
    } const cases[] = {
        {"the other removed a copy", recordsOf({a, a}), recordsOf({a}), recordsOf({a, a}), recordsOf({a})},
        {"we removed a copy", recordsOf({a, a}), recordsOf({a, a}), recordsOf({a}), recordsOf({a})},
        {"both removed the copy", recordsOf({a, a}), recordsOf({a}), recordsOf({a}), recordsOf({a})},
        {"the other added a copy", recordsOf({a}), recordsOf({a, a}), recordsOf({a}), recordsOf({a, a})},
        {"the other removed, we added a copy", recordsOf({a}), Bytes(), recordsOf({a, a}), recordsOf({a})},
        {"both added the same", Bytes(), recordsOf({x}), recordsOf({x}), recordsOf({x})},
        {"copies removed here, one added there", recordsOf({a, b, a, b}), recordsOf({a, b, a, b, x}),
         recordsOf({a, b}), recordsOf({a, b, x})},
        {"copies removed there, one added here", recordsOf({a, b, a, b}), recordsOf({a, b}),
         recordsOf({a, b, a, b, x}), recordsOf({a, b, x})},
    };
    for (const auto& c : cases)
        EXPECT_EQ(LibraryKeeper::mergeWithDisk(c.base, c.disk, c.ours), c.expected) << c.what;
}

TEST_F(LibraryKeeperTest, CopiesDeletedInOneInstanceStayDeletedWhenAnotherAdds)
{
    Bytes bank;
    for (int k = 0; k < 128; ++k)
    {
        auto r = libraryRecord(k);
        r[200] = (std::uint8_t)k; // every program distinct
        bank.insert(bank.end(), r.begin(), r.end());
    }
    // Imported twice with Append: the second import adds nothing.
    LibraryStore first, second;
    LibraryKeeper firstKeeper(first, file), secondKeeper(second, file);
    for (int k = 0; k < 2; ++k)
    {
        first.beginImport();
        first.importRecords(bank);
        first.mergeImport(true);
    }
    EXPECT_EQ(first.size(), 128);

    // A file that holds the bank twice (from before imports checked): one instance deletes the
    // copies while the other adds a program.
    ASSERT_TRUE(FileMan::writeFileBytes(file, LibraryFile::make(repeated(bank, 2))));
    ASSERT_EQ(firstKeeper.load(), LibraryKeeper::LoadStatus::loaded);
    ASSERT_EQ(secondKeeper.load(), LibraryKeeper::LoadStatus::loaded);
    while (first.size() > 128)
        first.removeEntry(128);
    firstKeeper.changed();
    ASSERT_TRUE(firstKeeper.flush());
    const auto added = libraryRecord(999);
    ASSERT_TRUE(second.addEntry(added));
    secondKeeper.changed();
    ASSERT_TRUE(secondKeeper.flush());

    Bytes expected = bank;
    expected.insert(expected.end(), added.begin(), added.end());
    EXPECT_EQ(onDisk().size() / 256, 129u);
    EXPECT_EQ(onDisk(), expected);
    EXPECT_EQ(second.getData(), expected);
    firstKeeper.changed();
    ASSERT_TRUE(firstKeeper.flush());
    EXPECT_EQ(first.getData(), expected);
}

TEST_F(LibraryKeeperTest, ALargeLibraryIsWrittenByTheKeepersThreadInOrder)
{
    const auto a = libraryRecord(1), b = libraryRecord(2), c = libraryRecord(3);
    LibraryStore store;
    {
        LibraryKeeper keeper(store, file);
        keeper.setBackgroundFrom(0);
        store.addEntry(a);
        keeper.changed();
        EXPECT_TRUE(keeper.isWriting()) << "the change returned before its write";
        store.addEntry(b);
        keeper.changed();
        pumpUntilWritten(keeper);
        EXPECT_EQ(onDisk(), recordsOf({a, b}));
        EXPECT_FALSE(keeper.hasPendingWrite());

        // The last changes, just before closing, one of them under way: the close waits for both.
        keeper.setWriteInterval(0);
        store.removeEntry(0);
        keeper.changed();
        store.addEntry(c);
        keeper.changed();
    }
    EXPECT_EQ(onDisk(), recordsOf({b, c}));
}

TEST_F(LibraryKeeperTest, AnotherInstancesProgramsComeBackFromTheThreadAndAreNotLostToALaterChange)
{
    const auto s = libraryRecord(1), x = libraryRecord(2), y = libraryRecord(3), z = libraryRecord(4);
    ASSERT_TRUE(FileMan::writeFileBytes(file, LibraryFile::make(recordsOf({s}))));
    LibraryStore ours, theirs;
    LibraryKeeper keeper(ours, file), theirKeeper(theirs, file);
    keeper.setBackgroundFrom(0);
    keeper.load();
    theirKeeper.load();
    int merges = 0;
    keeper.onMerged = [&] { ++merges; };

    // They add X; we add Y; the merged result reaches us after we also added Z.
    theirs.addEntry(x);
    theirKeeper.changed();
    ASSERT_TRUE(theirKeeper.flush());
    ours.addEntry(y);
    keeper.changed();
    juce::Thread::sleep(300); // the write is done; its result waits for the message loop
    ours.addEntry(z);
    keeper.changed();
    pumpUntilWritten(keeper);
    EXPECT_EQ(onDisk(), recordsOf({s, y, z, x}));
    EXPECT_EQ(ours.getData(), recordsOf({s, y, z, x}));
    EXPECT_EQ(merges, 1);

    // The same with the store unchanged meanwhile: the result is taken at once.
    theirKeeper.changed();
    ASSERT_TRUE(theirKeeper.flush());
    theirs.removeEntry(0);
    theirKeeper.changed();
    ASSERT_TRUE(theirKeeper.flush());
    ours.renameEntry(1, "Renamed", 2);
    const auto renamedY = ours.getEntry(1);
    keeper.changed();
    pumpUntilWritten(keeper);
    EXPECT_EQ(ours.getData(), recordsOf({renamedY, z, x}));
    EXPECT_EQ(onDisk(), recordsOf({renamedY, z, x}));
    EXPECT_EQ(merges, 2);
}

TEST_F(LibraryKeeperTest, AFailedWriteOnTheThreadIsReported)
{
    ASSERT_TRUE(file.createDirectory());
    LibraryStore store;
    LibraryKeeper keeper(store, file);
    keeper.setBackgroundFrom(0);
    int failures = 0;
    keeper.onWriteFailed = [&] { ++failures; };
    store.addEntry(libraryRecord(1));
    keeper.changed();
    for (int waited = 0; failures == 0 && waited < 5000; waited += 5)
        test::pumpMessages(5);
    EXPECT_EQ(failures, 1);
    EXPECT_TRUE(keeper.hasPendingWrite());
    ASSERT_TRUE(file.deleteRecursively());
    EXPECT_TRUE(keeper.flush());
    EXPECT_EQ(onDisk(), recordsOf({libraryRecord(1)}));
}
