#include "files/FileVerdict.h"
#include "files/FileMan.h"
#include "model/FactoryData.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace zarnel;
using Record = ProgramSysex::Record;

namespace
{

Record factoryRecord(int bank, int program)
{
    Record r{};
    std::memcpy(r.data(), FactoryData::bank(bank) + (size_t)program * r.size(), r.size());
    return r;
}

Bytes join(std::initializer_list<Bytes> parts)
{
    Bytes out;
    for (const auto& p : parts)
        out.insert(out.end(), p.begin(), p.end());
    return out;
}

Bytes text(const char* s)
{
    return Bytes(s, s + std::strlen(s));
}

Bytes programDump(int bank, int program)
{
    const auto r = factoryRecord(bank, program);
    return ProgramSysex::programDump(bank, program, r.data(), r.size());
}

// n program dumps numbered as the instrument numbers its memory: bank i / 128, program i % 128,
// with the records of the factory banks (the fourth is the first again).
Bytes dumps(int n)
{
    Bytes out;
    for (int i = 0; i < n; ++i)
    {
        const auto d = programDump(i / 128, i % 128);
        out.insert(out.end(), d.begin(), d.end());
    }
    return out;
}

// A program dump for another instrument of the same maker.
Bytes foreignDump()
{
    auto d = programDump(0, 1);
    d[2] = 0x25;
    return d;
}

const Bytes globalDump = {0xF0, 0x01, 0x29, 0x0F, 1, 0, 2, 0, 0xF7};

} // namespace

TEST(FileVerdict, RefusedFilesSayWhyOnEveryReader)
{
    const Record first = factoryRecord(0, 0);
    const auto dump = programDump(0, 0);
    const Bytes cut(dump.begin(), dump.begin() + 200);
    const auto png = join({{0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A}, dump});
    const auto otherPluginPreset = join({text("CcnK"), Bytes(60, 0), dump});
    const auto emptyLibrary = join({text("Mopho  Libr >"), text("< Mopho  Libr")});
    const auto cutPreset = join({text("MophoPluginSettingsVersion100"), Bytes(100, 1)});
    const auto cutPresetBank = join({text("MophoPluginBankVersion100"), Bytes(1000, 1)});
    const auto editBuffer = ProgramSysex::editBufferDump(first.data(), first.size());

    // Each reader's kind of file as the messages name it.
    const juce::String program = "f.syx is not a Mopho x4 program: ";
    const juce::String bank = "f.syx is not a Mopho x4 program bank: ";
    const juce::String library = "f.syx is not a program library: ";
    const juce::String preset = "f.syx is not a Mopho x4 plug-in preset: ";
    const juce::String presetBank = "f.syx is not a Mopho x4 plug-in preset bank: ";
    const juce::String dumpsHere = "it holds Mopho x4 program dumps";

    struct Case
    {
        const char* what;
        Bytes file;
        // program, bank, library, preset, preset bank; empty where the reader takes the file
        juce::String refusals[5];
    };
    const Case cases[] = {
        {"empty",
         {},
         {"f.syx is empty.", "f.syx is empty.", "f.syx is empty.", "f.syx is empty.", "f.syx is empty."}},
        {"a picture renamed",
         png,
         {program + "it is a picture.", bank + "it is a picture.", library + "it is a picture.",
          preset + "it is a picture.", presetBank + "it is a picture."}},
        {"another instrument's dump",
         foreignDump(),
         {program + "it holds a dump for another instrument.",
          bank + "it holds a dump for another instrument.",
          library + "it holds a dump for another instrument.",
          preset + "it holds a dump for another instrument.",
          presetBank + "it holds a dump for another instrument."}},
        {"a cut dump",
         cut,
         {"f.syx ends in the middle of a program.", "f.syx ends in the middle of a program.",
          library + dumpsHere + " (import it with From Program Bank File).",
          preset + dumpsHere + " (load it as a program).",
          presetBank + dumpsHere + " (load it as a program bank)."}},
        {"another plug-in's preset",
         otherPluginPreset,
         {program + "it is a preset of another plug-in.", bank + "it is a preset of another plug-in.",
          library + "it is a preset of another plug-in.", preset + "it is a preset of another plug-in.",
          presetBank + "it is a preset of another plug-in."}},
        {"text",
         text("just some words\n"),
         {program + "it holds no Mopho x4 data.", bank + "it holds no Mopho x4 data.",
          library + "it holds no Mopho x4 data.", preset + "it holds no Mopho x4 data.",
          presetBank + "it holds no Mopho x4 data."}},
        {"global settings only",
         globalDump,
         {program + "it holds the instrument's global settings, not a program.",
          bank + "it holds the instrument's global settings, not a program.",
          library + "it holds the instrument's global settings, not a program.",
          preset + "it holds the instrument's global settings, not a program.",
          presetBank + "it holds the instrument's global settings, not a program."}},
        {"an empty library",
         emptyLibrary,
         {program + "it is a program library (load it on the library page).",
          bank + "it is a program library (load it on the library page).", "f.syx holds no programs.",
          preset + "it is a program library (load it on the library page).",
          presetBank + "it is a program library (load it on the library page)."}},
        {"a cut preset",
         cutPreset,
         {program + "it is a plug-in preset (load it on the preset bank page).",
          bank + "it is a plug-in preset (load it on the preset bank page).",
          library + "it is a plug-in preset (load it on the preset bank page).",
          "f.syx ends in the middle of a program.",
          presetBank + "it is a plug-in preset (load it on the preset bank page)."}},
        {"a cut preset bank",
         cutPresetBank,
         {program + "it is a plug-in preset bank (load it on the preset bank page).",
          bank + "it is a plug-in preset bank (load it on the preset bank page).",
          library + "it is a plug-in preset bank (load it on the preset bank page).",
          preset + "it is a plug-in preset bank (load it on the preset bank page).",
          "f.syx ends in the middle of a program."}},
        {"a single program",
         editBuffer,
         {"", bank + "it holds a single program (load it as a program).",
          library + dumpsHere + " (import it with From Program Bank File).",
          preset + dumpsHere + " (load it as a program).",
          presetBank + dumpsHere + " (load it as a program bank)."}},
        {"a global dump before a program",
         join({globalDump, dump}),
         {program +
              "it holds the instrument's global settings, not a program. Load it as a program bank to take "
              "the 1 program dump that follows.",
          "", library + dumpsHere + " (import it with From Program Bank File).",
          preset + dumpsHere + " (load it as a program).",
          presetBank + dumpsHere + " (load it as a program bank)."}},
        {"a dump cut by another message",
         join({Bytes(dump.begin(), dump.begin() + 100), dump}),
         {"f.syx holds a damaged program dump. Load it as a program bank to take the 1 program dump that "
          "follows.",
          "", library + dumpsHere + " (import it with From Program Bank File).",
          preset + dumpsHere + " (load it as a program).",
          presetBank + dumpsHere + " (load it as a program bank)."}},
    };
    const int types[] = {FileMan::loadProgram, FileMan::loadBank, FileMan::loadLibrary, FileMan::loadPreset,
                         FileMan::loadPresetBank};
    for (const auto& c : cases)
        for (size_t t = 0; t < std::size(types); ++t)
        {
            const auto v = FileVerdict::of(types[t], "f.syx", c.file);
            EXPECT_EQ(v.getRefusal(), c.refusals[t]) << c.what << ", reader " << t;
            EXPECT_EQ(v.isAccepted(), v.size() > 0) << c.what << ", reader " << t;
        }

    // What the verdicts take, the loaders behind them take too.
    for (const auto& c : cases)
    {
        if (const auto v = FileVerdict::ofProgramFile("f", c.file); v.isAccepted())
        {
            EXPECT_EQ(FileMan::readProgramFile(c.file), v.record(0)) << c.what;
        }
        if (const auto v = FileVerdict::ofBankFile("f", c.file); v.isAccepted())
        {
            EXPECT_EQ(FileMan::bankDataOf(FileMan::readBankFile(c.file)), v.recordData(0, 128)) << c.what;
        }
    }
}

TEST(FileVerdict, BankFilesGiveEveryProgramWithItsNumbers)
{
    const auto foreign = foreignDump();
    Bytes mixed;
    for (int i = 0; i < 128; ++i)
    {
        const auto d = programDump(0, i);
        mixed.insert(mixed.end(), d.begin(), d.end());
        if (i % 40 == 0)
            mixed.insert(mixed.end(), foreign.begin(), foreign.end());
    }

    const auto bank = dumps(128);

    struct Case
    {
        const char* what;
        Bytes file;
        size_t programs;
        std::vector<int> groupBanks;
        juce::String note;
    };
    const Case cases[] = {
        {"1 dump", dumps(1), 1, {0}, {}},
        {"128 dumps", dumps(128), 128, {0}, {}},
        {"300 dumps", dumps(300), 300, {0, 1, 2}, {}},
        {"512 dumps", dumps(512), 512, {0, 1, 2, 3}, {}},
        {"128 dumps among other instruments' dumps",
         mixed,
         128,
         {0},
         "f.syx: skipped 4 messages for other instruments."},
        {"a bank with its last dump cut",
         Bytes(bank.begin(), bank.end() - 10),
         127,
         {0},
         "f.syx: skipped a program cut short at the end."},
    };
    for (const auto& c : cases)
    {
        const auto v = FileVerdict::ofBankFile("f.syx", c.file);
        ASSERT_TRUE(v.isAccepted()) << c.what << ": " << v.getRefusal();
        ASSERT_EQ(v.size(), c.programs) << c.what;
        EXPECT_EQ(v.getNote(), c.note) << c.what;
        EXPECT_EQ(v.holdsSeveralBanks(), c.programs > 128) << c.what;
        for (size_t i = 0; i < v.size(); ++i)
        {
            const int b = (int)i / 128, p = (int)i % 128;
            ASSERT_EQ(v.origin(i), (FileVerdict::Origin{b, p})) << c.what << " at " << i;
            ASSERT_EQ(v.record(i), factoryRecord(b, p)) << c.what << " at " << i;
        }
        std::vector<int> banks;
        size_t next = 0;
        for (const auto& g : v.bankGroups())
        {
            EXPECT_EQ(g.first, next) << c.what;
            next += g.count;
            banks.push_back(g.bank);
        }
        EXPECT_EQ(next, v.size()) << c.what;
        EXPECT_EQ(banks, c.groupBanks) << c.what;
        // The loaders that take one bank see the first 128 of the same programs.
        const auto firstBank = FileMan::readBankFile(c.file);
        EXPECT_EQ(FileMan::bankDataOf(firstBank), v.recordData(0, 128)) << c.what;
    }

    EXPECT_EQ(FileVerdict::ofBankFile("f.syx", join({foreign, foreign})).getRefusal(),
              "f.syx is not a Mopho x4 program bank: it holds dumps for other instruments.");
}

TEST(FileVerdict, AFourBankFileOfFactoryProgramsIsReadWholeInOrder)
{
    // As the instrument writes all its factory banks into one file: 512 program dumps, bank by bank.
    Bytes file;
    for (int b = 0; b < 4; ++b)
        for (int p = 0; p < 128; ++p)
        {
            const auto d = ProgramSysex::programDump(b, p, FactoryData::bank(b) + (size_t)p * 256, 256);
            file.insert(file.end(), d.begin(), d.end());
        }
    ASSERT_LE((juce::int64)file.size(), FileMan::maxBankFileSize);

    const auto v = FileVerdict::ofBankFile("Factory.syx", file);
    ASSERT_TRUE(v.isAccepted());
    ASSERT_EQ(v.size(), 512u);
    const auto groups = v.bankGroups();
    ASSERT_EQ(groups.size(), 4u);
    for (int b = 0; b < 4; ++b)
    {
        EXPECT_EQ(groups[(size_t)b].bank, b);
        EXPECT_EQ(groups[(size_t)b].count, 128u);
        const auto data = v.recordData(groups[(size_t)b].first, groups[(size_t)b].count);
        EXPECT_EQ(data, Bytes(FactoryData::bank(b), FactoryData::bank(b) + FactoryData::bankSize))
            << "bank " << b;
    }
}

TEST(FileVerdict, LibraryAndPresetFilesGiveTheirRecords)
{
    const auto a = factoryRecord(1, 3), b = factoryRecord(2, 9);
    const auto library = join(
        {text("Mopho  Libr >"), Bytes(a.begin(), a.end()), Bytes(b.begin(), b.end()), text("< Mopho  Libr")});
    const auto lib = FileVerdict::ofLibraryFile("l.m_l", library);
    ASSERT_TRUE(lib.isAccepted());
    ASSERT_EQ(lib.size(), 2u);
    EXPECT_EQ(lib.record(0), a);
    EXPECT_EQ(lib.record(1), b);
    EXPECT_TRUE(lib.getNote().isEmpty());

    const Bytes cutLibrary(library.begin(), library.end() - 13 - 56);
    const auto cut = FileVerdict::ofLibraryFile("l.m_l", cutLibrary);
    ASSERT_EQ(cut.size(), 1u);
    EXPECT_EQ(cut.getNote(), "l.m_l ends in the middle of a program: the program before it was read.");

    EXPECT_EQ(FileVerdict::ofLibraryFile("l.m_l", library, 1).getRefusal(),
              "l.m_l holds more programs than the library can take (1).");

    const auto preset = join({text("MophoPluginSettingsVersion100"), Bytes(a.begin(), a.end())});
    const auto p = FileVerdict::ofPresetFile("p.fxp", preset);
    ASSERT_EQ(p.size(), 1u);
    EXPECT_EQ(p.record(0), a);

    Bytes presetBank = text("MophoPluginBankVersion100");
    presetBank.insert(presetBank.end(), FactoryData::bank(2), FactoryData::bank(2) + FactoryData::bankSize);
    const auto pb = FileVerdict::ofPresetBankFile("p.fxb", presetBank);
    ASSERT_EQ(pb.size(), 128u);
    EXPECT_EQ(pb.recordData(), Bytes(FactoryData::bank(2), FactoryData::bank(2) + FactoryData::bankSize));
}

TEST(FileVerdict, DamagedFilesAreJudgedAsTheLoadersReadThem)
{
    // Files cut and spoilt at random: each verdict either takes what the loader behind it takes
    // or gives a reason, never both and never neither.
    const auto base = join({text("x"), globalDump, dumps(3), foreignDump(), dumps(2)});
    juce::Random random(24);
    const int types[] = {FileMan::loadProgram, FileMan::loadBank, FileMan::loadLibrary, FileMan::loadPreset,
                         FileMan::loadPresetBank};
    for (int round = 0; round < 3000; ++round)
    {
        Bytes file(base.begin(), base.begin() + random.nextInt((int)base.size() + 1));
        for (int k = random.nextInt(4); k > 0 && !file.empty(); --k)
            file[(size_t)random.nextInt((int)file.size())] = (std::uint8_t)random.nextInt(256);
        for (const int type : types)
        {
            const auto v = FileVerdict::of(type, "f", file);
            ASSERT_NE(v.isAccepted(), v.getRefusal().isNotEmpty()) << round;
            ASSERT_EQ(v.isAccepted(), v.size() > 0) << round;
            ASSERT_TRUE(v.getRefusal().isEmpty() || v.getRefusal().startsWith("f ")) << v.getRefusal();
        }
        const auto program = FileVerdict::ofProgramFile("f", file);
        if (program.isAccepted())
        {
            ASSERT_EQ(FileMan::readProgramFile(file), program.record(0)) << round;
        }
        const auto bank = FileVerdict::ofBankFile("f", file);
        ASSERT_EQ(FileMan::bankDataOf(FileMan::readBankFile(file)), bank.recordData(0, 128)) << round;
    }
}
