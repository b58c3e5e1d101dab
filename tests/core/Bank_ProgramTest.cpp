#include "model/Bank_Program.h"
#include "model/FactoryData.h"

#include <gtest/gtest.h>

using zarnel::Bank_Program;
using zarnel::Bytes;
using zarnel::ProgramSysex;

namespace
{

ProgramSysex::Record recordTagged(std::uint8_t tag)
{
    ProgramSysex::Record rec{};
    rec[0] = tag;
    rec[255] = (std::uint8_t)(tag ^ 0xFF);
    return rec;
}

// n program dumps whose records are tagged 100 + i; header bytes deliberately odd.
Bytes syxFile(size_t n, size_t trailingBytes = 0)
{
    Bytes out;
    for (size_t i = 0; i < n; ++i)
    {
        const auto rec = recordTagged((std::uint8_t)(100 + i));
        auto dump = ProgramSysex::programDump(7, 127, rec.data(), rec.size());
        out.insert(out.end(), dump.begin(), dump.end());
    }
    out.insert(out.end(), trailingBytes, 0x42);
    return out;
}

class BankFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        bank.loadFactoryBank(1);
        original = bank.getBankData();
    }

    Bank_Program bank{"Program Bank U1"};
    Bytes original;
};

} // namespace

TEST_F(BankFixture, SyxWith127DumpsFillsSlotsAndKeepsTheLast)
{
    bank.loadSyxBank(syxFile(127, 299));
    for (int s = 0; s < 127; ++s)
        ASSERT_EQ(bank.getProgramPadded(s), recordTagged((std::uint8_t)(100 + s))) << s;
    EXPECT_EQ(bank.getProgram(127), Bytes(original.end() - 256, original.end()));
    EXPECT_EQ(bank.getNumPrograms(), 128);
}

TEST_F(BankFixture, SyxWith128DumpsRebuildsTheBank)
{
    bank.loadSyxBank(syxFile(128));
    ASSERT_EQ(bank.getBankData().size(), Bank_Program::fullSize);
    for (int s = 0; s < 128; ++s)
        ASSERT_EQ(bank.getProgramPadded(s), recordTagged((std::uint8_t)(100 + s))) << s;
}

TEST_F(BankFixture, SyxWithMoreThan128DumpsNeverGrowsTheBank)
{
    bank.loadSyxBank(syxFile(130));
    EXPECT_EQ(bank.getBankData().size(), Bank_Program::fullSize);
    EXPECT_EQ(bank.getProgramPadded(127), recordTagged(100 + 127));
}

TEST_F(BankFixture, SyxShorterThanOneDumpChangesNothing)
{
    bank.loadSyxBank(Bytes(299, 0xF0));
    bank.loadSyxBank(Bytes{});
    EXPECT_EQ(bank.getBankData(), original);
}

TEST_F(BankFixture, SlotAccessStaysInsideTheBank)
{
    EXPECT_EQ(bank.getProgram(-3), bank.getProgram(0));
    EXPECT_TRUE(bank.getProgram(128).empty());
    EXPECT_EQ(bank.getProgramPadded(500), ProgramSysex::Record{});

    const auto rec = recordTagged(9);
    bank.setProgram(128, rec);
    bank.setProgram(-1, rec);
    EXPECT_EQ(bank.getBankData(), original);

    Bytes tooLong(300, 0x33);
    bank.setProgram(4, tooLong);
    EXPECT_EQ(bank.getProgram(4), Bytes(256, 0x33));
    EXPECT_EQ(bank.getProgram(5), Bytes(original.begin() + 5 * 256, original.begin() + 6 * 256));
}

TEST_F(BankFixture, NamesKeepTrailingBlanks)
{
    bank.setProgramName(9, "Bass");
    EXPECT_EQ(bank.getProgramName(9), "Bass            ");
    bank.setProgramName(9, "A name far too long to fit");
    EXPECT_EQ(bank.getProgramName(9), "A name far too l");
}

TEST_F(BankFixture, StoreCurrentCopiesIntoSlot)
{
    const auto rec = recordTagged(77);
    bank.setCurrent(rec);
    EXPECT_TRUE(bank.storeCurrent(3));
    EXPECT_EQ(bank.getProgramPadded(3), rec);

    // No slot, nothing stored, and the caller hears of it.
    const auto before = bank.getBankData();
    EXPECT_FALSE(bank.storeCurrent(128));
    EXPECT_FALSE(bank.storeCurrent(-1));
    EXPECT_EQ(bank.getBankData(), before);

    const std::uint8_t shortRecord[] = {5, 6};
    bank.setCurrent(shortRecord, 2);
    auto expected = ProgramSysex::Record{};
    expected[0] = 5;
    expected[1] = 6;
    EXPECT_EQ(bank.getCurrent(), expected);
}

TEST_F(BankFixture, EditBufferDumpOfSlot)
{
    const auto dump = bank.makeEditBufferDump(2);
    ASSERT_EQ(dump.size(), 298u);
    EXPECT_EQ(ProgramSysex::unpack(dump.data() + 4), bank.getProgramPadded(2));
}

TEST(Bank_Program, InitialiseGivesUntitledEverywhere)
{
    Bank_Program bank("Program Bank");
    bank.initialise();
    EXPECT_EQ(bank.getNumPrograms(), 128);
    EXPECT_EQ(bank.getProgramName(0), "Untitled        ");
    EXPECT_EQ(bank.getProgramName(127), "Untitled        ");
    EXPECT_EQ(bank.getCurrentName(), "Untitled        ");
}

TEST(FactoryData, BlockHasMarkersAndNamedCategorisedPrograms)
{
    const auto* block = zarnel::FactoryData::block();
    EXPECT_EQ(std::string((const char*)block, 13), "Mopho  Data >");
    EXPECT_EQ(std::string((const char*)block + 98330 - 13, 13), "< Mopho  Data");

    for (int n = 0; n < 3; ++n)
    {
        Bank_Program bank("f");
        bank.loadFactoryBank(n);
        juce::StringArray names;
        for (int s = 0; s < 128; ++s)
        {
            const auto name = bank.getProgramName(s).trimEnd();
            EXPECT_FALSE(name.isEmpty()) << n << ":" << s;
            names.addIfNotAlreadyThere(name);
            const int category = bank.getProgramCategory(s);
            EXPECT_TRUE(category >= 1 && category <= 25) << n << ":" << s;
        }
        EXPECT_EQ(names.size(), 128) << "names repeat in factory bank " << n;
    }
}
