#include "files/FileMan.h"
#include "model/DSI_Program.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <optional>

using namespace zarnel;
using Record = ProgramSysex::Record;

namespace
{

// A record with every byte value somewhere in it, top bits included, and a name.
Record recordNamed(const char* name, int seed)
{
    Record r{};
    for (size_t i = 0; i < r.size(); ++i)
        r[i] = (std::uint8_t)((i * 7 + (size_t)seed * 31) & 0xFF);
    DSI_Program::encodeName(name, r.data() + DSI_Program::nameOffset);
    return r;
}

Bytes join(std::initializer_list<Bytes> parts)
{
    Bytes out;
    for (const auto& p : parts)
        out.insert(out.end(), p.begin(), p.end());
    return out;
}

Bytes programDump(int bank, int program, const Record& r)
{
    return ProgramSysex::programDump(bank, program, r.data(), r.size());
}

Bytes editBufferDump(const Record& r)
{
    return ProgramSysex::editBufferDump(r.data(), r.size());
}

Bytes withByte(Bytes b, size_t at, std::uint8_t value)
{
    b[at] = value;
    return b;
}

const Bytes globalDump = {0xF0, 0x01, 0x29, 0x0F, 1, 0, 2, 0, 0xF7};
const Bytes stray = {0x00, 0x41, 0x7F, 0x90};

} // namespace

TEST(FileTypes, TableGivesPatternsAndTitles)
{
    const std::tuple<int, const char*, const char*> rows[] = {
        {1, "*.m_p;*.syx", "Load Single Mopho Program"},  {3, "*.m_b;*.syx", "Load Mopho Program Bank"},
        {4, "*.m_l", "Load Program Library"},             {10, "*.fxb", "Load FX Preset Bank"},
        {11, "*.fxp", "Load FX Preset"},                  {101, "*.m_p;*.syx", "Save Mopho Program"},
        {103, "*.m_b;*.syx", "Save Mopho Program Bank"},  {104, "*.m_l", "Save Mopho Program Library"},
        {110, "*.fxb", "Save FX Preset Bank"},            {111, "*.fxp", "Save FX Preset"},
        {2, "", ""}};
    for (const auto& [type, patterns, title] : rows)
    {
        EXPECT_EQ(FileMan::patternListOf(type), patterns) << type;
        EXPECT_EQ(FileMan::titleOf(type), title) << type;
    }
}

TEST(FileTypes, SaveNamesGetTheirExtensionWhenTheirOwnIsShort)
{
    const juce::File folder("/tmp/x");
    const std::tuple<int, const char*, const char*> rows[] = {
        {103, "Bank", "Bank.m_b"},       {103, "MyBank.x", "MyBank.x.m_b"}, {103, "MyBank.syx", "MyBank.syx"},
        {103, "MyBank.txt", "MyBank.txt"}, {101, "Lead", "Lead.m_p"},        {111, "Pad.", "Pad..fxp"},
        {110, "All.fxb", "All.fxb"}};
    for (const auto& [type, typed, written] : rows)
        EXPECT_EQ(FileMan::withDefaultExtension(folder.getChildFile(typed), type).getFileName(), written) << typed;
}

TEST(FileTypes, ProposedNamesAreLegalAndNeverEmpty)
{
    const std::tuple<const char*, const char*> rows[] = {{"Bass Lead       ", "Bass Lead.m_p"},
                                                         {"A/B:C*D?        ", "ABCD.m_p"},
                                                         {"                ", "Untitled.m_p"},
                                                         {"..              ", "Untitled.m_p"},
                                                         {"", "Untitled.m_p"}};
    for (const auto& [name, proposed] : rows)
        EXPECT_EQ(FileMan::proposedFileName(name, FileMan::saveProgram), proposed) << name;
}

TEST(ProgramFile, ReaderTakesOnlyThisInstrumentsFirstMessage)
{
    const auto rec = recordNamed("Fixture Lead", 1);
    const auto other = recordNamed("Second", 2);
    const auto dump = editBufferDump(rec);
    Bytes cutOne(dump.begin(), dump.end() - 1);
    Bytes oneInside = dump;
    oneInside.insert(oneInside.begin() + 100, 0x11);
    const Bytes bare(rec.begin(), rec.end());
    Bytes bareFramed = bare;
    bareFramed.front() = 0xF0;
    bareFramed.back() = 0xF7;

    struct Case
    {
        const char* what;
        Bytes file;
        std::optional<Record> loads;
    };
    const Case cases[] = {
        {"edit buffer dump", dump, rec},
        {"program dump of any slot", programDump(6, 99, rec), rec},
        {"stray bytes around it", join({stray, dump, stray, editBufferDump(other)}), rec},
        {"one byte appended after it", join({dump, {0x00}}), rec},
        {"cut by one byte", cutOne, std::nullopt},
        {"one byte too many inside", oneInside, std::nullopt},
        {"another manufacturer", withByte(dump, 1, 0x02), std::nullopt},
        {"another model", withByte(dump, 2, 0x25), std::nullopt},
        {"a program dump's command at edit buffer length", withByte(dump, 3, 0x02), std::nullopt},
        {"a status byte among the data", withByte(dump, 150, 0x90), std::nullopt},
        {"a global dump before the program", join({globalDump, dump}), std::nullopt},
        {"a bare 256-byte record", bare, std::nullopt},
        {"a framed 256-byte record", bareFramed, std::nullopt},
        {"no end", join({{0xF0, 0x01, 0x29, 0x03}, Bytes(20, 0x10)}), std::nullopt},
        {"nine bytes", Bytes{0xF0, 0x01, 0x29, 0x03, 0, 0, 0, 0, 0xF7}, std::nullopt},
        {"empty", {}, std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FileMan::readProgramFile(c.file), c.loads) << c.what;
}

TEST(BankFile, ReaderKeepsTheFirst128DumpsOfThisInstrument)
{
    std::vector<Record> recs;
    for (int i = 0; i < 130; ++i)
        recs.push_back(recordNamed(("Bank " + juce::String(i)).toRawUTF8(), i));
    const auto dumps = [&](int from, int count) {
        Bytes out;
        for (int i = from; i < from + count; ++i)
        {
            const auto d = programDump(2, i % 128, recs[(size_t)i]);
            out.insert(out.end(), d.begin(), d.end());
        }
        return out;
    };
    const auto slice = [&](int from, int count) {
        return std::vector<Record>(recs.begin() + from, recs.begin() + from + count);
    };
    const auto full = dumps(0, 128);
    Bytes lastCut(full.begin(), full.end() - 1);
    Bytes foreign = dumps(0, 2);
    foreign[1] = 0x02;
    foreign[301] = 0x02;

    struct Case
    {
        const char* what;
        Bytes file;
        std::vector<Record> loads;
    };
    const Case cases[] = {
        {"a whole bank", full, slice(0, 128)},
        {"one dump", dumps(5, 1), slice(5, 1)},
        {"three dumps between stray bytes", join({stray, dumps(0, 1), stray, dumps(1, 1), stray, dumps(2, 1)}), slice(0, 3)},
        {"130 dumps", dumps(0, 130), slice(0, 128)},
        {"the last dump cut by one byte", lastCut, slice(0, 127)},
        {"one byte too many at the end", join({full, {0x55}}), slice(0, 128)},
        {"another device's dumps", foreign, {}},
        {"a global dump first", join({globalDump, dumps(0, 2)}), slice(0, 2)},
        {"edit buffer dumps only", join({editBufferDump(recs[0]), editBufferDump(recs[1])}), {}},
        {"empty", {}, {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FileMan::readBankFile(c.file), c.loads) << c.what;
}

TEST(FileRoundTrip, WrittenFilesReadBackAndWriteTheSameBytes)
{
    test::TempFolder folder;
    const auto rec = recordNamed("Round Trip", 9);
    Bytes bankData;
    for (int p = 0; p < 128; ++p)
    {
        const auto r = recordNamed(("P" + juce::String(p)).toRawUTF8(), p + 40);
        bankData.insert(bankData.end(), r.begin(), r.end());
    }

    for (const char* name : {"one.m_p", "one.syx"})
    {
        const auto file = folder.file(name);
        const auto written = FileMan::makeProgramFile(rec);
        ASSERT_TRUE(FileMan::writeFileBytes(file, written));
        const auto read = FileMan::readFileBytes(file, FileMan::maxProgramFileSize);
        ASSERT_EQ(read.status, FileMan::ReadStatus::ok);
        EXPECT_EQ(read.bytes.size(), FileMan::programFileSize);
        const auto back = FileMan::readProgramFile(read.bytes);
        ASSERT_TRUE(back.has_value()) << name;
        EXPECT_EQ(*back, rec);
        EXPECT_EQ(FileMan::makeProgramFile(*back), read.bytes) << name;
    }
    for (const char* name : {"bank.m_b", "bank.syx"})
    {
        const auto file = folder.file(name);
        ASSERT_TRUE(FileMan::writeFileBytes(file, FileMan::makeBankFile(3, bankData)));
        const auto read = FileMan::readFileBytes(file, FileMan::maxBankFileSize);
        ASSERT_EQ(read.status, FileMan::ReadStatus::ok);
        EXPECT_EQ(read.bytes.size(), FileMan::bankFileSize);
        const auto back = FileMan::readBankFile(read.bytes);
        EXPECT_EQ(FileMan::bankDataOf(back), bankData) << name;
        EXPECT_EQ(FileMan::makeBankFile(3, FileMan::bankDataOf(back)), read.bytes) << name;
        // Each dump is addressed to its own slot.
        EXPECT_EQ(read.bytes[300 * 77 + 4], 3);
        EXPECT_EQ(read.bytes[300 * 77 + 5], 77);
    }
}

TEST(FileReading, FilesAboveTheBoundAreRefusedUnread)
{
    test::TempFolder folder;
    const auto file = folder.file("big.syx");
    const Bytes content((size_t)FileMan::maxProgramFileSize + 1, 0xF0);
    ASSERT_TRUE(file.replaceWithData(content.data(), content.size()));

    const std::tuple<juce::int64, FileMan::ReadStatus, size_t> rows[] = {
        {FileMan::maxProgramFileSize, FileMan::ReadStatus::tooLarge, 0},
        {FileMan::maxProgramFileSize + 1, FileMan::ReadStatus::ok, content.size()}};
    for (const auto& [bound, status, size] : rows)
    {
        const auto result = FileMan::readFileBytes(file, bound);
        EXPECT_EQ(result.status, status) << bound;
        EXPECT_EQ(result.bytes.size(), size) << bound;
    }
    EXPECT_EQ(FileMan::readFileBytes(folder.file("none.syx"), 100).status, FileMan::ReadStatus::missing);
    EXPECT_EQ(FileMan::maxSizeOf(FileMan::saveBank), FileMan::maxBankFileSize);
}

TEST(FileWriting, AFailedWriteSaysSoAndLeavesTheFile)
{
    test::TempFolder folder;
    const auto target = folder.file("taken.m_p");
    ASSERT_TRUE(target.createDirectory()); // a folder where the file should go
    EXPECT_FALSE(FileMan::writeFileBytes(target, Bytes{1, 2, 3}));
    EXPECT_TRUE(target.isDirectory());
}
