#include "model/DSI_Program.h"
#include "model/DefaultProgram.h"

#include <gtest/gtest.h>

using zarnel::Bytes;
using zarnel::DSI_Program;
using zarnel::ProgramSysex;

TEST(DefaultProgram, CompiledInDumpUnpacksToInitialProgram)
{
    const auto& dump = zarnel::DefaultProgram::editBufferDump();
    ASSERT_EQ(dump.size(), 298u);
    EXPECT_EQ(dump[2], 0x27);

    const auto rec = zarnel::DefaultProgram::record();
    const std::pair<int, int> spots[] = {{0, 24}, {20, 148}, {41, 120}, {101, 120}, {114, 23},
                                         {203, 128}, {232, 128}, {253, 16}, {3, 0}, {255, 0}};
    for (const auto& [i, v] : spots)
        EXPECT_EQ(rec[(size_t)i], v) << i;
    EXPECT_EQ(DSI_Program::decodeName(rec.data(), rec.size()), "Initial Program ");
}

TEST(DSI_Program, NewProgramIsUntitled)
{
    DSI_Program p;
    EXPECT_EQ(p.getName(), "Untitled        ");
    EXPECT_EQ(p.readName(), "Untitled        ");
    EXPECT_EQ(p.getData()[20], 148);
}

TEST(DSI_Program, SetFromBufferAcceptsThreeLengths)
{
    ProgramSysex::Record rec{};
    rec[10] = 99;
    rec[200] = 0xAB;
    DSI_Program::encodeName("Lengthy", rec.data() + DSI_Program::nameOffset);

    auto programDump = ProgramSysex::programDump(5, 17, rec.data(), rec.size());
    programDump[1] = 0x55; // the header is not examined
    programDump[4] = 0x7F;
    const auto editDump = ProgramSysex::editBufferDump(rec.data(), rec.size());
    const Bytes plain(rec.begin(), rec.end());

    for (const Bytes* buffer : std::array<const Bytes*, 3>{&plain, &editDump, &programDump})
    {
        DSI_Program p;
        ASSERT_TRUE(p.setFromBuffer(*buffer)) << buffer->size();
        EXPECT_EQ(p.getData(), rec) << buffer->size();
        EXPECT_EQ(p.getName(), "Lengthy         ");
    }
}

TEST(DSI_Program, SetFromBufferRejectsOtherLengthsUnchanged)
{
    for (size_t len : {0, 1, 255, 257, 297, 299, 301, 600})
    {
        DSI_Program p;
        const auto before = p.getData();
        Bytes buffer(len, 0x11);
        EXPECT_FALSE(p.setFromBuffer(buffer)) << len;
        EXPECT_EQ(p.getData(), before) << len;
        EXPECT_EQ(p.getName(), "Untitled        ");
    }
}

TEST(DSI_Program, UnpackNeedsExactly293Bytes)
{
    DSI_Program p;
    const auto before = p.getData();
    Bytes packed(292, 0);
    p.unpack(packed.data(), packed.size());
    EXPECT_EQ(p.getData(), before);
    packed.resize(293, 0);
    p.unpack(packed.data(), packed.size());
    EXPECT_EQ(p.getData(), ProgramSysex::Record{});
}

TEST(DSI_Program, WriteNameRules)
{
    struct Case
    {
        juce::String in;
        juce::String stored;
    };
    const Case cases[] = {
        {"Bass", "Bass            "},
        {"Twenty characters!!!", "Twenty character"},
        {juce::String::fromUTF8("Caf\xc3\xa9"), "Caf             "},
        {juce::String("A") + juce::String::charToString(7) + "B", "A B             "},
        {"", "                "},
    };
    for (const auto& c : cases)
    {
        DSI_Program p;
        p.writeName(c.in);
        EXPECT_EQ(p.readName(), c.stored) << c.in;
        EXPECT_EQ(p.getName(), c.stored);
    }
}

TEST(DSI_Program, ReadNameSkipsZeroBytes)
{
    ProgramSysex::Record rec{};
    const char* text = "Ab";
    rec[184] = (std::uint8_t)text[0];
    rec[190] = (std::uint8_t)text[1];
    DSI_Program p;
    p.setData(rec.data(), rec.size());
    EXPECT_EQ(p.readName(), "Ab");
}

TEST(DSI_Program, PackEditBufferKeepsDump)
{
    DSI_Program p;
    const auto rec = p.getData();
    const auto& dump = p.packEditBuffer(Bytes(rec.begin(), rec.end()));
    EXPECT_EQ(dump.size(), 298u);
    EXPECT_EQ(p.getDump(), dump);
    DSI_Program back;
    ASSERT_TRUE(back.setFromBuffer(dump));
    EXPECT_EQ(back.getData(), rec);
}

TEST(DSI_Program, ShortDataReadsPadded)
{
    DSI_Program p;
    const std::uint8_t three[] = {1, 2, 3};
    p.setData(three, 3);
    const auto rec = p.getData();
    EXPECT_EQ(rec[2], 3);
    EXPECT_EQ(rec[3], 0);
    EXPECT_EQ(rec[255], 0);
}
