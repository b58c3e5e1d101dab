#include "model/ProgramSysex.h"

#include <gtest/gtest.h>

#include <random>

using zarnel::Bytes;
using zarnel::ProgramSysex;

TEST(Packing, OneHighByteSetsOneHeadBit)
{
    ProgramSysex::Record rec{};
    rec[20] = 148; // byte 6 of group 2 (bytes 14..20)
    const auto packed = ProgramSysex::pack(rec);

    for (size_t g = 0; g < 37; ++g)
        EXPECT_EQ(packed[g * 8], g == 2 ? 0x40 : 0x00) << "group " << g;
    EXPECT_EQ(packed[2 * 8 + 1 + 6], 20);
}

TEST(Packing, ZeroRecordGivesZeroMessage)
{
    ProgramSysex::Record rec{};
    const auto msg = ProgramSysex::editBufferDump(rec.data(), rec.size());
    ASSERT_EQ(msg.size(), 298u);
    EXPECT_EQ(Bytes(msg.begin(), msg.begin() + 4), (Bytes{0xF0, 0x01, 0x29, 0x03}));
    for (size_t i = 4; i < 297; ++i)
        ASSERT_EQ(msg[i], 0) << i;
    EXPECT_EQ(msg.back(), 0xF7);
}

TEST(Packing, LastGroupHoldsFourBytes)
{
    ProgramSysex::Record rec{};
    for (size_t i = 252; i < 256; ++i)
        rec[i] = 0xFF;
    const auto packed = ProgramSysex::pack(rec);
    EXPECT_EQ(packed[288], 0x0F);
    for (size_t i = 289; i < 293; ++i)
        EXPECT_EQ(packed[i], 0x7F);
}

TEST(Packing, RandomRecordsRoundTripAndStaySevenBit)
{
    std::mt19937 rng(1234);
    std::uniform_int_distribution<int> byte(0, 255);
    for (int round = 0; round < 500; ++round)
    {
        ProgramSysex::Record rec{};
        for (auto& b : rec)
            b = (std::uint8_t)byte(rng);
        const auto packed = ProgramSysex::pack(rec);
        for (auto b : packed)
            ASSERT_LT(b, 0x80);
        ASSERT_EQ(ProgramSysex::unpack(packed.data()), rec);
    }
}

TEST(Packing, ShortInputPacksMissingBytesAsZero)
{
    const std::uint8_t three[] = {200, 1, 2};
    ProgramSysex::Record expected{};
    expected[0] = 200;
    expected[1] = 1;
    expected[2] = 2;
    EXPECT_EQ(ProgramSysex::unpack(ProgramSysex::pack(three, 3).data()), expected);
}

TEST(SysexBuilders, Requests)
{
    EXPECT_EQ(ProgramSysex::programDumpRequest(3, 127), (Bytes{0xF0, 0x01, 0x29, 0x05, 0x03, 0x7F, 0xF7}));
    EXPECT_EQ(ProgramSysex::editBufferDumpRequest(), (Bytes{0xF0, 0x01, 0x29, 0x06, 0xF7}));
    EXPECT_EQ(ProgramSysex::globalDumpRequest(), (Bytes{0xF0, 0x01, 0x29, 0x0E, 0xF7}));
}

TEST(SysexBuilders, OutOfRangeNumbersBuildNothing)
{
    // A bank or program number past seven bits would corrupt the message on the wire.
    const std::pair<int, int> bad[] = {{8, 0}, {-1, 0}, {0, 128}, {0, -1}, {200, 300}};
    ProgramSysex::Record rec{};
    for (const auto& [bank, program] : bad)
    {
        EXPECT_TRUE(ProgramSysex::programDumpRequest(bank, program).empty());
        EXPECT_TRUE(ProgramSysex::programDump(bank, program, rec.data(), rec.size()).empty());
    }
}

TEST(SysexBuilders, ProgramDumpLayout)
{
    ProgramSysex::Record rec{};
    rec[0] = 0x85;
    const auto msg = ProgramSysex::programDump(7, 42, rec.data(), rec.size());
    ASSERT_EQ(msg.size(), 300u);
    EXPECT_EQ(Bytes(msg.begin(), msg.begin() + 6), (Bytes{0xF0, 0x01, 0x29, 0x02, 0x07, 0x2A}));
    EXPECT_EQ(msg[6], 0x01);
    EXPECT_EQ(msg[7], 0x05);
    EXPECT_EQ(msg.back(), 0xF7);
}

namespace
{
Bytes dumpWithFirstByte(std::uint8_t first)
{
    ProgramSysex::Record rec{};
    rec[0] = first;
    return ProgramSysex::programDump(0, first, rec.data(), rec.size());
}

Bytes concat(std::initializer_list<Bytes> parts)
{
    Bytes out;
    for (const auto& p : parts)
        out.insert(out.end(), p.begin(), p.end());
    return out;
}
} // namespace

TEST(SplitProgramDumps, FindsDumpsBetweenStrayBytes)
{
    const auto a = dumpWithFirstByte(1);
    const auto b = dumpWithFirstByte(2);
    const auto buffer = concat({Bytes{0x00, 0xF7, 0xF0, 0x12}, a, Bytes{0x55, 0xF0}, b, Bytes{0xF0, 0x01}});
    const auto dumps = ProgramSysex::splitProgramDumps(buffer);
    ASSERT_EQ(dumps.size(), 2u);
    EXPECT_EQ(dumps[0], a);
    EXPECT_EQ(dumps[1], b);
}

TEST(SplitProgramDumps, SkipsDumpCutShort)
{
    auto cut = dumpWithFirstByte(1);
    cut.resize(250);
    const auto whole = dumpWithFirstByte(2);
    const auto dumps = ProgramSysex::splitProgramDumps(concat({cut, whole}));
    ASSERT_EQ(dumps.size(), 1u);
    EXPECT_EQ(dumps[0], whole);

    EXPECT_TRUE(ProgramSysex::splitProgramDumps(cut).empty());
    EXPECT_TRUE(ProgramSysex::splitProgramDumps(Bytes{}).empty());
}
