#include "model/BankDataFile.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

using zarnel::Bank_Program;
using zarnel::BankDataFile;
using zarnel::Bytes;
using zarnel::ProgramBankSet;
using Condition = BankDataFile::Condition;

namespace
{

Bytes factoryBank(int n)
{
    Bank_Program b("f");
    b.loadFactoryBank(n);
    return b.getBankData();
}

// Four user banks whose every slot is named after its bank and slot ("U2 17").
ProgramBankSet namedBanks(const juce::String& prefix = "U")
{
    ProgramBankSet set;
    for (int n = 0; n < 4; ++n)
        for (int s = 0; s < 128; ++s)
            set.bank(n).setProgramName(s, prefix + juce::String(n + 1) + " " + juce::String(s));
    return set;
}

Bytes userBanksOf(const ProgramBankSet& set)
{
    const auto content = set.dataFileContent();
    return Bytes(content.begin() + (std::ptrdiff_t)BankDataFile::banksOffset,
                 content.begin() + (std::ptrdiff_t)BankDataFile::banksEnd);
}

Bytes fileBytes(const juce::File& f)
{
    juce::MemoryBlock block;
    f.loadFileAsData(block);
    const auto* d = static_cast<const std::uint8_t*>(block.getData());
    return Bytes(d, d + block.getSize());
}

class BankFileFixture : public ::testing::Test
{
protected:
    void writeFile(const Bytes& bytes) { ASSERT_TRUE(dataFile.replaceWithData(bytes.data(), bytes.size())); }

    zarnel::test::TempFolder folder;
    juce::File dataFile = folder.file("data_X4m.mph");
};

} // namespace

TEST_F(BankFileFixture, WrittenBanksComeBackAfterARestart)
{
    ProgramBankSet set;
    BankDataFile file(dataFile);
    EXPECT_EQ(file.load(set), Condition::missing);
    set.bank(3).setProgramName(5, "Changed");
    ASSERT_TRUE(file.write(userBanksOf(set), BankDataFile::slotsOfBank(3)));

    const auto bytes = fileBytes(dataFile);
    ASSERT_EQ(bytes.size(), 131099u);
    EXPECT_EQ(juce::String((const char*)bytes.data(), 14), "*Mopho  Data >");
    EXPECT_EQ(juce::String((const char*)bytes.data() + 131086, 13), "< Mopho  Data");

    ProgramBankSet next;
    EXPECT_EQ(BankDataFile(dataFile).load(next), Condition::whole);
    EXPECT_EQ(next.bank(3).getProgramName(5), "Changed         ");
    EXPECT_EQ(next.bank(0).getBankData(), factoryBank(0));
}

TEST_F(BankFileFixture, ReadingTakesEveryWholeSlotOfAFileOfOurs)
{
    const auto full = namedBanks().dataFileContent();
    const auto cut = [&](size_t length) { return Bytes(full.begin(), full.begin() + (std::ptrdiff_t)length); };
    auto longer = full;
    longer.resize(full.size() + 500, 0x42);
    Bytes noHeader(full.size(), 'x');
    auto badHeader = full;
    badHeader[1] = 'm';
    auto oversized = full;
    oversized.resize(BankDataFile::maxReadSize + 10, 0);

    struct Case
    {
        const char* name;
        Bytes content;
        Condition condition;
        int slotsFromFile; // counted from U1 slot 0 on
    };
    const Case cases[] = {
        {"whole", full, Condition::whole, 512},
        {"without trailer", cut(131086), Condition::whole, 512},
        {"trailer cut", cut(131090), Condition::whole, 512},
        {"cut inside U4 slot 100", cut(14 + 32768 * 3 + 256 * 100 + 17), Condition::partial, 384 + 100},
        {"cut inside U1", cut(14 + 256 * 3 + 255), Condition::partial, 3},
        {"header only", cut(14), Condition::partial, 0},
        {"longer, from a newer version", longer, Condition::longer, 512},
        {"no header", noHeader, Condition::foreign, 0},
        {"header altered", badHeader, Condition::foreign, 0},
        {"far larger than ours", oversized, Condition::foreign, 0},
        {"empty", {}, Condition::missing, 0},
    };
    for (const auto& c : cases)
    {
        BankDataFile::Content content{BankDataFile::classify(c.content.data(), c.content.size()), c.content};
        EXPECT_EQ(content.condition, c.condition) << c.name;
        ProgramBankSet set;
        EXPECT_EQ(BankDataFile::fillUserBanks(set, content), c.slotsFromFile) << c.name;
        for (int n = 0; n < 4; ++n)
        {
            ASSERT_EQ(set.bank(n).getNumPrograms(), 128) << c.name;
            const auto factory = factoryBank(ProgramBankSet::factorySourceOf(n));
            for (int s = 0; s < 128; ++s)
            {
                const int slot = n * 128 + s;
                if (slot < c.slotsFromFile)
                    ASSERT_EQ(set.bank(n).getProgramName(s).trimEnd(), "U" + juce::String(n + 1) + " " + juce::String(s))
                        << c.name;
                else
                    ASSERT_TRUE(std::equal(factory.begin() + s * 256, factory.begin() + s * 256 + 256,
                                           set.bank(n).getBankData().begin() + s * 256))
                        << c.name << " bank " << n << " slot " << s;
            }
        }
    }
}

TEST_F(BankFileFixture, MergePutsInOnlyTheChangedSlots)
{
    // On disk: another instance's banks ("D..."). Ours: "O...", with two slots changed.
    auto disk = namedBanks("D").dataFileContent();
    const auto ours = userBanksOf(namedBanks("O"));
    BankDataFile::ChangedSlots changed;
    changed.set(5);       // U1 5
    changed.set(3 * 128); // U4 0

    const auto nameAt = [](const Bytes& file, int slot) {
        return juce::String((const char*)file.data() + 14 + 256 * slot + 184, 16).trimEnd();
    };

    {
        const auto merged = BankDataFile::merge({Condition::whole, disk}, ours, changed);
        ASSERT_EQ(merged.size(), 131099u);
        EXPECT_EQ(nameAt(merged, 5), "O1 5");
        EXPECT_EQ(nameAt(merged, 384), "O4 0");
        EXPECT_EQ(nameAt(merged, 6), "D1 6");
        EXPECT_EQ(nameAt(merged, 511), "D4 127");
    }
    {
        // Cut inside U4: its whole slots stay, the missing ones take ours, the trailer is whole.
        const Bytes cut(disk.begin(), disk.begin() + 14 + 256 * 400 + 30);
        const auto merged = BankDataFile::merge({Condition::partial, cut}, ours, changed);
        ASSERT_EQ(merged.size(), 131099u);
        EXPECT_EQ(nameAt(merged, 399), "D4 15");
        EXPECT_EQ(nameAt(merged, 400), "O4 16");
        EXPECT_EQ(nameAt(merged, 384), "O4 0");
        EXPECT_EQ(juce::String((const char*)merged.data() + 131086, 13), "< Mopho  Data");
    }
    {
        // What a newer version keeps after the banks stays where it is.
        auto longer = disk;
        longer.resize(disk.size() + 64, 0x42);
        const auto merged = BankDataFile::merge({Condition::longer, longer}, ours, changed);
        ASSERT_EQ(merged.size(), longer.size());
        EXPECT_TRUE(std::equal(longer.begin() + 131086, longer.end(), merged.begin() + 131086));
        EXPECT_EQ(nameAt(merged, 5), "O1 5");
        EXPECT_EQ(nameAt(merged, 6), "D1 6");
    }
    for (const auto condition : {Condition::foreign, Condition::missing, Condition::unreadable})
    {
        // Nothing of ours on disk: our banks whole.
        const auto merged = BankDataFile::merge({condition, Bytes(500, 'x')}, ours, changed);
        EXPECT_EQ(merged, namedBanks("O").dataFileContent());
    }
}

TEST_F(BankFileFixture, WhatIsNotAWholeFileOfOursIsKeptBeforeTheFirstWrite)
{
    const auto full = namedBanks().dataFileContent();
    auto longer = full;
    longer.resize(full.size() + 100, 7);
    const Bytes partial(full.begin(), full.begin() + 50000);
    const Bytes foreign(3000, 'x');

    struct Case
    {
        const char* name;
        Bytes content;
        bool backup;
    };
    const Case cases[] = {{"whole", full, false}, {"partial", partial, true}, {"longer", longer, true},
                          {"foreign", foreign, true}};
    for (const auto& c : cases)
    {
        for (auto& f : folder.get().findChildFiles(juce::File::findFiles, false, "*"))
            f.deleteFile();
        writeFile(c.content);

        ProgramBankSet set;
        BankDataFile file(dataFile);
        file.load(set);
        set.bank(1).setProgramName(2, "Edited");
        BankDataFile::ChangedSlots changed;
        changed.set(128 + 2);
        ASSERT_TRUE(file.write(userBanksOf(set), changed)) << c.name;
        ASSERT_TRUE(file.write(userBanksOf(set), changed)) << c.name;

        const auto backup = folder.file("data_X4m.mph.bak");
        EXPECT_EQ(backup.existsAsFile(), c.backup) << c.name;
        if (c.backup)
            EXPECT_EQ(fileBytes(backup), c.content) << c.name;
        EXPECT_FALSE(folder.file("data_X4m.mph.bak2").exists()) << c.name << ": one backup per instance";

        // A longer file stays longer (what it holds beyond our banks is kept): later instances
        // find its backup and make no more.
        ProgramBankSet later;
        BankDataFile laterFile(dataFile);
        laterFile.load(later);
        ASSERT_TRUE(laterFile.write(userBanksOf(later), changed)) << c.name;
        EXPECT_FALSE(folder.file("data_X4m.mph.bak2").exists()) << c.name;

        ProgramBankSet reread;
        EXPECT_NE(BankDataFile(dataFile).load(reread), Condition::foreign) << c.name;
        EXPECT_EQ(reread.bank(1).getProgramName(2).trimEnd(), "Edited") << c.name;
    }
}
