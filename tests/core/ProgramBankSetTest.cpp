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
    const int expected[] = {0, 1, 2, 0, 0, 1, 2, 0};
    for (int n = 0; n < 8; ++n)
        EXPECT_EQ(set.bank(n).getBankData(), factoryBank(expected[n])) << n;
    EXPECT_EQ(set.bank(0).getBankData(), set.bank(3).getBankData());
    EXPECT_EQ(set.bank(4).getBankData(), set.bank(7).getBankData());
    EXPECT_EQ(set.bank(3).getName(), "Program Bank U4");
    EXPECT_EQ(set.bank(4).getName(), "Program Bank F1");
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
