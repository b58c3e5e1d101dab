// Processes, accounts and file systems of a POSIX system.
#ifndef _WIN32

#include "ForkedChild.h"
#include "platform/FolderLock.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>

using zarnel::FolderLock;
using zarnel::test::startChild;
using zarnel::test::TempFolder;
using zarnel::test::waitForChild;

namespace
{

// Adds one to a counter file many times, each read and write under the lock. A marker file,
// made exclusively on entry, catches two processes inside at once even when the sum comes out.
int addUnderLock(const juce::File& folder, int times)
{
    const auto counter = folder.getChildFile("counter");
    const auto marker = folder.getChildFile("inside").getFullPathName();
    for (int i = 0; i < times; ++i)
    {
        const FolderLock lock(folder);
        if (!lock.isLocked())
            return 2;
        const int fd = ::open(marker.toRawUTF8(), O_CREAT | O_EXCL | O_WRONLY, 0644);
        if (fd < 0)
            return 3;
        ::close(fd);
        const int value = counter.loadFileAsString().getIntValue();
        ::usleep(200);
        if (!counter.replaceWithText(juce::String(value + 1)))
            return 4;
        ::unlink(marker.toRawUTF8());
    }
    return 0;
}

void expectTurnsTaken(const juce::File& folder, uid_t account)
{
    constexpr int processes = 3, times = 40;
    pid_t children[processes];
    for (auto& child : children)
        child = startChild([&] { return addUnderLock(folder, times); }, account);
    for (const auto child : children)
        EXPECT_EQ(waitForChild(child), 0) << "2: no lock, 3: two processes held it at once";
    EXPECT_EQ(folder.getChildFile("counter").loadFileAsString().getIntValue(), processes * times);
}

bool runningAsRoot()
{
    return ::geteuid() == 0;
}

} // namespace

TEST(FolderLock, ProcessesTakeTurnsAndLeaveNoLockFile)
{
    TempFolder folder;
    expectTurnsTaken(folder.get(), (uid_t)-1);
    EXPECT_EQ(folder.fileNames(), juce::StringArray("counter"));
}

TEST(FolderLock, AHeldLockIsAFailureForTheOtherProcessUntilReleased)
{
    TempFolder folder;
    int release[2];
    int held[2];
    ASSERT_EQ(::pipe(release), 0);
    ASSERT_EQ(::pipe(held), 0);
    const auto holder = startChild([&] {
        const FolderLock lock(folder.get());
        char byte = lock.isLocked() ? 'y' : 'n';
        if (::write(held[1], &byte, 1) != 1)
            return 2;
        return ::read(release[0], &byte, 1) == 1 ? 0 : 3;
    });
    char byte = 0;
    ASSERT_EQ(::read(held[0], &byte, 1), 1);
    ASSERT_EQ(byte, 'y');

    const auto waiter = startChild([&] {
        const FolderLock lock(folder.get(), 300);
        return !lock.isLocked() && lock.getFailure().contains("busy") ? 0 : 1;
    });
    EXPECT_EQ(waitForChild(waiter), 0) << "a lock another process holds must not be reported as taken";

    ASSERT_EQ(::write(release[1], "x", 1), 1);
    EXPECT_EQ(waitForChild(holder), 0);
    const auto next = startChild([&] { return FolderLock(folder.get(), 300).isLocked() ? 0 : 1; });
    EXPECT_EQ(waitForChild(next), 0);
    EXPECT_TRUE(folder.fileNames().isEmpty());
    for (const int fd : {release[0], release[1], held[0], held[1]})
        ::close(fd);
}

TEST(FolderLock, ALockFileOfAnotherAccountNeverPassesForTheLock)
{
    if (!runningAsRoot())
        GTEST_SKIP() << "needs root to make a lock file that belongs to another account";

    struct Case
    {
        const char* name;
        mode_t mode; // of the lock file root made in the other account's folder
        bool usable;
    };
    const Case cases[] = {
        {"readable: taken in turns", 0644, true},
        {"unreadable: a failure that says why", 0600, false},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        TempFolder temp;
        const auto folder = temp.get().getChildFile("ZarnelSettings");
        ASSERT_TRUE(folder.createDirectory());
        const auto lockFile = folder.getChildFile(FolderLock::lockFileName);
        ASSERT_TRUE(lockFile.create());
        ASSERT_EQ(::chmod(lockFile.getFullPathName().toRawUTF8(), c.mode), 0);
        ASSERT_EQ(::chown(folder.getFullPathName().toRawUTF8(), zarnel::test::otherAccount, zarnel::test::otherAccount), 0);

        if (c.usable)
        {
            expectTurnsTaken(folder, zarnel::test::otherAccount);
            continue;
        }
        const auto child = startChild(
            [&] {
                const FolderLock lock(folder, 300);
                return !lock.isLocked() && lock.getFailure().contains(lockFile.getFullPathName()) ? 0 : 1;
            },
            zarnel::test::otherAccount);
        EXPECT_EQ(waitForChild(child), 0);
        EXPECT_TRUE(lockFile.existsAsFile()) << "a lock file we cannot open may be in use: it stays";
    }
}

#endif
