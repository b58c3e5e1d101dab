// Processes, accounts and file systems of a POSIX system.
#ifndef _WIN32

#include "ForkedChild.h"
#include "platform/SafeFileWriter.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <sys/mount.h>
#include <sys/resource.h>

using zarnel::SafeFileWriter;
using zarnel::test::startChild;
using zarnel::test::TempFolder;
using zarnel::test::waitForChild;

namespace
{

constexpr size_t page = 4096;

juce::MemoryBlock filled(size_t size, char value)
{
    juce::MemoryBlock block(size);
    block.fillWith((juce::uint8)value);
    return block;
}

juce::MemoryBlock contentOf(const juce::File& file)
{
    juce::MemoryBlock block;
    file.loadFileAsData(block);
    return block;
}

// What is on disk, what replaces it (nothing: a backup of it is made), and how many bytes the
// new file may take before the disk is full.
struct DiskCase
{
    const char* name;
    size_t oldSize;
    size_t newSize;
    size_t room;
    bool fits;
};

const DiskCase diskCases[] = {
    {"settings list, disk full at the first byte", 650, 660, 0, false},
    {"library of 40 programs, cut short in the last buffered bytes", 10'268, 10'524, page, false},
    {"library of 63 programs, cut short", 16'156, 16'412, 3 * page, false},
    {"library of 40 programs, room enough", 10'268, 10'524, 3 * page, true},
    {"bank data file, cut short", 131'099, 131'099, 16 * page, false},
    {"backup of a small foreign file, no room", 3'000, 0, 0, false},
    {"backup of a foreign file of 512 programs, cut short", 152'576, 0, 8 * page, false},
    {"backup of a small foreign file, room enough", 3'000, 0, page, true},
};

// Writes over the file (or backs it up) and says whether that was reported as done.
bool attempt(const DiskCase& c, const juce::File& target)
{
    if (c.newSize == 0)
        return SafeFileWriter::keepBackup(target) != juce::File();
    const auto fresh = filled(c.newSize, 'n');
    return SafeFileWriter::write(target, fresh.getData(), fresh.getSize());
}

void expectOutcome(const DiskCase& c, const juce::File& folder, const juce::File& target, bool reportedDone)
{
    const auto old = filled(c.oldSize, 'o');
    EXPECT_EQ(reportedDone, c.fits);
    juce::StringArray names;
    for (const auto& f : folder.findChildFiles(juce::File::findFiles, false, "*"))
        names.add(f.getFileName());
    names.sort(false);
    if (c.fits && c.newSize > 0)
    {
        EXPECT_EQ(contentOf(target), filled(c.newSize, 'n'));
        EXPECT_EQ(names, juce::StringArray(target.getFileName()));
        return;
    }
    EXPECT_EQ(contentOf(target), old) << "the old file must survive whole";
    if (c.fits)
    {
        EXPECT_EQ(contentOf(target.getSiblingFile(target.getFileName() + ".bak")), old);
        EXPECT_EQ(names, juce::StringArray(target.getFileName(), target.getFileName() + ".bak"));
    }
    else
    {
        EXPECT_EQ(names, juce::StringArray(target.getFileName())) << "no cut backup or temporary file is left";
    }
}

// A file system of the given size, mounted over the folder while this lives.
class SmallDisk
{
public:
    SmallDisk(const juce::File& where, size_t bytes) : folder(where)
    {
        folder.createDirectory();
        const auto options = "size=" + std::to_string(bytes);
        mounted = ::mount("tmpfs", folder.getFullPathName().toRawUTF8(), "tmpfs", 0, options.c_str()) == 0;
    }
    ~SmallDisk()
    {
        if (mounted)
            ::umount2(folder.getFullPathName().toRawUTF8(), MNT_DETACH);
    }
    bool isMounted() const noexcept { return mounted; }

private:
    juce::File folder;
    bool mounted = false;
};

size_t pagesFor(size_t bytes)
{
    return (bytes + page - 1) / page * page;
}

} // namespace

TEST(CheckedWrite, AFullDiskLeavesTheOldFileWholeAndSaysSo)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "mounting a small file system needs root; DiskFullAfterNBytes covers the rest";
    for (const auto& c : diskCases)
    {
        SCOPED_TRACE(c.name);
        TempFolder temp;
        const auto folder = temp.file("disk");
        const SmallDisk disk(folder, pagesFor(c.oldSize) + c.room);
        if (!disk.isMounted())
            GTEST_SKIP() << "this system does not let us mount a tmpfs";
        const auto target = folder.getChildFile("data_X4m.mph");
        const auto old = filled(c.oldSize, 'o');
        ASSERT_TRUE(target.replaceWithData(old.getData(), old.getSize()));
        expectOutcome(c, folder, target, attempt(c, target));
    }
}

TEST(CheckedWrite, DiskFullAfterNBytes)
{
    // The process may not make any file longer than the room: every write past it fails, as on
    // a full disk.
    for (const auto& c : diskCases)
    {
        SCOPED_TRACE(c.name);
        TempFolder temp;
        const auto target = temp.file("x4Lib.m_l");
        const auto old = filled(c.oldSize, 'o');
        ASSERT_TRUE(target.replaceWithData(old.getData(), old.getSize()));
        const auto child = startChild([&] {
            ::signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{(rlim_t)c.room, (rlim_t)c.room};
            if (::setrlimit(RLIMIT_FSIZE, &limit) != 0)
                return 2;
            return attempt(c, target) ? 1 : 0;
        });
        const int result = waitForChild(child);
        ASSERT_TRUE(result == 0 || result == 1) << "exit " << result;
        expectOutcome(c, temp.get(), target, result == 1);
    }
}

TEST(CheckedWrite, KillNineDuringWritesLeavesTheFileOldOrNewAndWhole)
{
    TempFolder temp;
    const auto target = temp.file("x4Lib.m_l");
    const auto a = filled(1 << 20, 'a'), b = filled(700 * 1024, 'b');
    ASSERT_TRUE(SafeFileWriter::write(target, a.getData(), a.getSize()));
    juce::Random random;
    for (int round = 0; round < 25; ++round)
    {
        const auto child = startChild([&] {
            for (int i = 0;; ++i)
            {
                const auto& next = i % 2 == 0 ? b : a;
                if (!SafeFileWriter::write(target, next.getData(), next.getSize()))
                    return 1;
            }
        });
        ::usleep((useconds_t)(2000 + random.nextInt(40000)));
        ::kill(child, SIGKILL);
        EXPECT_EQ(waitForChild(child), -1) << "the writer stopped by itself";
        const auto now = contentOf(target);
        EXPECT_TRUE(now == a || now == b) << "round " << round << ": " << now.getSize() << " bytes";
    }
    // What the killed writers left beside it goes at the next start.
    SafeFileWriter::removeStaleTemporaries(temp.get(), {"x4Lib.m_l"}, juce::RelativeTime());
    EXPECT_EQ(temp.fileNames(), juce::StringArray("x4Lib.m_l"));
}

#endif
