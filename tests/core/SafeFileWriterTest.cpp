#include "platform/SafeFileWriter.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#ifndef _WIN32
 #include <sys/stat.h>
 #include <unistd.h>
#endif

using zarnel::SafeFileWriter;

namespace
{

class SafeWriteFixture : public ::testing::Test
{
protected:
    zarnel::test::TempFolder folder;
    juce::File target = folder.file("data.bin");
};

} // namespace

TEST_F(SafeWriteFixture, InterruptedWriteLeavesPreviousFileWhole)
{
    ASSERT_TRUE(target.replaceWithText("previous content"));

    const bool ok = SafeFileWriter::write(target, [](juce::OutputStream& out) {
        out.writeString("half of the new cont");
        return false; // the write stops here, as on a full disk
    });

    EXPECT_FALSE(ok);
    EXPECT_EQ(target.loadFileAsString(), "previous content");
    EXPECT_EQ(folder.fileNames(), juce::StringArray{"data.bin"}) << "no temporary file may be left behind";
}

TEST_F(SafeWriteFixture, CompleteWriteReplacesContent)
{
    ASSERT_TRUE(target.replaceWithText("previous content"));
    const char bytes[] = {1, 2, 3};
    EXPECT_TRUE(SafeFileWriter::write(target, bytes, sizeof(bytes)));
    EXPECT_EQ(target.getSize(), 3);
    EXPECT_EQ(folder.fileNames(), juce::StringArray{"data.bin"});

    EXPECT_TRUE(SafeFileWriter::write(target, nullptr, 0));
    EXPECT_TRUE(target.existsAsFile());
    EXPECT_EQ(target.getSize(), 0);
}

TEST_F(SafeWriteFixture, TargetThatIsAFolderIsRefused)
{
    ASSERT_TRUE(target.createDirectory());
    EXPECT_FALSE(SafeFileWriter::write(target, juce::String("x")));
    EXPECT_TRUE(target.isDirectory());
}

TEST(SafeWrite, FoldersAndNamesBeyondAscii)
{
    zarnel::test::TempFolder folder;
    const auto inner = folder.get().getChildFile(juce::String::fromUTF8("Zarnel \xc3\x9cn\xc3\xaf" "c\xc3\xb8" "d\xc3\xa9 "
                                                                         "\xd0\xa1\xd0\xb8\xd0\xbd\xd1\x82"));
    const auto target = inner.getChildFile(juce::String::fromUTF8("Gr\xc3\xbc\xc3\x9f" "e.dat"));
    ASSERT_TRUE(SafeFileWriter::write(target, juce::String("first")));
    ASSERT_TRUE(SafeFileWriter::write(target, juce::String("second")));
    EXPECT_EQ(target.loadFileAsString(), "second");
    EXPECT_EQ(inner.getNumberOfChildFiles(juce::File::findFiles), 1);
}

TEST_F(SafeWriteFixture, BackupsNeverReplaceAnEarlierOne)
{
    ASSERT_TRUE(target.replaceWithText("one"));
    EXPECT_EQ(SafeFileWriter::keepBackup(target).getFileName(), "data.bin.bak");
    ASSERT_TRUE(target.replaceWithText("two"));
    EXPECT_EQ(SafeFileWriter::keepBackup(target).getFileName(), "data.bin.bak2");
    EXPECT_EQ(folder.file("data.bin.bak").loadFileAsString(), "one");
    EXPECT_EQ(folder.file("data.bin.bak2").loadFileAsString(), "two");
    EXPECT_EQ(SafeFileWriter::keepBackup(folder.file("missing.bin")), juce::File());
}

TEST(SafeWrite, TemporaryFileNames)
{
    const std::tuple<const char*, const char*, bool> cases[] = {
        {".data_X4m_temp1a2b3c4d.mph", "data_X4m.mph", true},
        {".data_X4m_temp1a2b3c4d2.mph", "data_X4m.mph", true},
        {".data_X4m_temp.mph", "data_X4m.mph", false},
        {"data_X4m_temp1a2b.mph", "data_X4m.mph", false},
        {".data_X4m_temp1a2b.dat", "data_X4m.mph", false},
        {".data_X4m_tempxyz.mph", "data_X4m.mph", false},
        {".x4Lib_temp99.m_l", "x4Lib.m_l", true},
    };
    for (const auto& [name, target, expected] : cases)
        EXPECT_EQ(SafeFileWriter::isTemporaryOf(name, target), expected) << name;
}

#ifndef _WIN32

TEST(SafeWrite, ALinkedFileIsWrittenWhereTheLinkPointsAndTheLinkStays)
{
    struct Case
    {
        const char* name;
        const char* linkText; // "*" for the absolute path of the file
        bool throughSecondLink;
        bool fileExists;
    };
    const Case cases[] = {
        {"absolute link", "*", false, true},
        {"relative link", "elsewhere/x4Lib.m_l", false, true},
        {"link to a link", "*", true, true},
        {"link to a file not made yet", "elsewhere/x4Lib.m_l", false, false},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        zarnel::test::TempFolder folder;
        const auto real = folder.file("elsewhere/x4Lib.m_l");
        ASSERT_TRUE(real.getParentDirectory().createDirectory());
        if (c.fileExists)
        {
            ASSERT_TRUE(real.replaceWithText("old"));
        }
        const auto link = folder.file("x4Lib.m_l");
        const juce::String linkText = juce::String(c.linkText) == "*" ? real.getFullPathName() : juce::String(c.linkText);
        if (c.throughSecondLink)
        {
            ASSERT_EQ(::symlink(linkText.toRawUTF8(), folder.file("inner").getFullPathName().toRawUTF8()), 0);
            ASSERT_EQ(::symlink("inner", link.getFullPathName().toRawUTF8()), 0);
        }
        else
        {
            ASSERT_EQ(::symlink(linkText.toRawUTF8(), link.getFullPathName().toRawUTF8()), 0);
        }

        ASSERT_TRUE(SafeFileWriter::write(link, juce::String("new")));
        EXPECT_TRUE(link.isSymbolicLink());
        EXPECT_EQ(real.loadFileAsString(), "new");
        EXPECT_EQ(real.getParentDirectory().getNumberOfChildFiles(juce::File::findFiles), 1);

        const auto backup = SafeFileWriter::keepBackup(link);
        EXPECT_EQ(backup, folder.file("x4Lib.m_l.bak"));
        EXPECT_FALSE(backup.isSymbolicLink());
        EXPECT_EQ(backup.loadFileAsString(), "new");
    }
}

TEST_F(SafeWriteFixture, ReplacementKeepsTheFilesPermissions)
{
    ASSERT_TRUE(target.replaceWithText("private"));
    ASSERT_EQ(::chmod(target.getFullPathName().toRawUTF8(), 0600), 0);
    ASSERT_TRUE(SafeFileWriter::write(target, juce::String("still private")));
    struct stat info{};
    ASSERT_EQ(::stat(target.getFullPathName().toRawUTF8(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
}

#endif
