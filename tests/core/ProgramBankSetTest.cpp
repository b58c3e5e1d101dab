#include "model/ParamTables.h"
#include "model/ProgramBankSet.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

using zarnel::Bank_Program;
using zarnel::Bytes;
using zarnel::ProgramBankSet;
using zarnel::ProgramSysex;

namespace
{

Bytes factoryBank(int n)
{
    Bank_Program b("f");
    b.loadFactoryBank(n);
    return b.getBankData();
}

class BankSetFixture : public ::testing::Test
{
protected:
    zarnel::test::TempFolder folder;
    juce::File dataFile = folder.file("data_X4m.mph");
};

} // namespace

TEST_F(BankSetFixture, FirstStartTakesFactoryContent)
{
    ProgramBankSet set;
    set.fill(dataFile);
    const int expected[] = {0, 1, 2, 0, 0, 1, 2, 0};
    for (int n = 0; n < 8; ++n)
        EXPECT_EQ(set.bank(n).getBankData(), factoryBank(expected[n])) << n;
    EXPECT_EQ(set.bank(0).getBankData(), set.bank(3).getBankData());
    EXPECT_EQ(set.bank(4).getBankData(), set.bank(7).getBankData());
    EXPECT_EQ(set.bank(3).getName(), "Program Bank U4");
    EXPECT_EQ(set.bank(4).getName(), "Program Bank F1");
}

TEST_F(BankSetFixture, DataFileRoundTrip)
{
    {
        ProgramBankSet set;
        set.fill(dataFile);
        set.bank(3).setProgramName(5, "Changed");
        ASSERT_TRUE(set.writeDataFile(dataFile));
    }
    EXPECT_EQ(dataFile.getSize(), 131099);

    juce::MemoryBlock content;
    dataFile.loadFileAsData(content);
    EXPECT_EQ(content.toString().substring(0, 14), "*Mopho  Data >");
    EXPECT_EQ(juce::String((const char*)content.getData() + 131086, 13), "< Mopho  Data");

    ProgramBankSet next;
    next.fill(dataFile);
    EXPECT_EQ(next.bank(3).getProgramName(5), "Changed         ");
    EXPECT_EQ(next.bank(0).getBankData(), factoryBank(0));
    EXPECT_EQ(next.bank(7).getBankData(), factoryBank(0));
}

TEST_F(BankSetFixture, ShortFileKeepsWholeBanksAndFactoryForTheRest)
{
    ProgramBankSet set;
    for (int n = 0; n < 4; ++n)
        set.bank(n).setProgramName(0, "Mine " + juce::String(n));
    const auto full = set.dataFileContent();

    struct Case
    {
        size_t length;
        int banksFromFile;
    };
    // Cut inside U3, at the end of U4's data (no trailer), and tiny files.
    const Case cases[] = {{14 + 32768 * 2 + 100, 2}, {131086, 4}, {14 + 32768, 1}, {1001, 0}, {1000, 0}, {0, 0}};
    for (const auto& c : cases)
    {
        ASSERT_TRUE(dataFile.replaceWithData(full.data(), c.length));
        ProgramBankSet loaded;
        loaded.fill(dataFile);
        for (int n = 0; n < 4; ++n)
        {
            ASSERT_EQ(loaded.bank(n).getNumPrograms(), 128);
            if (n < c.banksFromFile)
                EXPECT_EQ(loaded.bank(n).getProgramName(0).trimEnd(), "Mine " + juce::String(n))
                    << "length " << c.length << " bank " << n;
            else
                EXPECT_EQ(loaded.bank(n).getBankData(), factoryBank(ProgramBankSet::factorySourceOf(n)))
                    << "length " << c.length << " bank " << n;
        }
    }
}

TEST_F(BankSetFixture, OversizedFileIsReadOnlyAsFarAsTheFormatGoes)
{
    ProgramBankSet set;
    set.bank(2).setProgramName(0, "Kept");
    auto content = set.dataFileContent();
    content.resize(content.size() + 4 * 1024 * 1024, 0x55);
    ASSERT_TRUE(dataFile.replaceWithData(content.data(), content.size()));

    ProgramBankSet loaded;
    loaded.fill(dataFile);
    EXPECT_EQ(loaded.bank(2).getProgramName(0).trimEnd(), "Kept");
    EXPECT_EQ(loaded.dataFileContent(), set.dataFileContent());
}

TEST_F(BankSetFixture, MissingFolderIsCreatedOnWrite)
{
    ProgramBankSet set;
    const auto nested = folder.get().getChildFile("a/b/data_X4m.mph");
    EXPECT_TRUE(set.writeDataFile(nested));
    EXPECT_EQ(nested.getSize(), 131099);
}

TEST(ProgramBankSet, FactoryProgramsStayInsideParameterRanges)
{
    const auto& t = zarnel::ParamTables::get();
    ProgramBankSet set;
    for (int n = 0; n < 3; ++n)
        for (int s = 0; s < 128; ++s)
        {
            const auto rec = set.bank(n).getProgramPadded(s);
            for (int i = 0; i < 184; ++i)
            {
                if (i >= 111 && i <= 119)
                    continue;
                ASSERT_GE(rec[(size_t)i], t.minimum(i)) << n << ":" << s << " index " << i;
                ASSERT_LE(rec[(size_t)i], t.maximum(i)) << n << ":" << s << " index " << i;
            }
        }
}
