#include "platform/SafeFileWriter.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

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
