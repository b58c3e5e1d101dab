#include "MenuTestSupport.h"

#include "files/FileMan.h"
#include "model/DSI_Program.h"
#include "platform/SettingsFolder.h"
#include "UiTestSupport.h"
#include "ui/menus/BankFileMenu.h"
#include "ui/menus/EditMenu.h"
#include "ui/menus/FileCommands.h"
#include "ui/menus/FileMenu.h"
#include "ui/menus/ProgramMenu.h"

#include <gtest/gtest.h>

using namespace zarnel;
using Record = ProgramSysex::Record;

namespace
{

Record named(Record r, const char* name)
{
    DSI_Program::encodeName(name, r.data() + DSI_Program::nameOffset);
    return r;
}

class FileCommandsTest : public ::testing::Test, protected test::CommandRig
{
protected:
    FileCommandsTest()
    {
        state().setCurrentProgram(named(state().getBankProgram(4, 3), "Edited Lead"));
        for (int p = 0; p < 130; ++p)
        {
            auto r = state().getBankProgram(6, p % 128);
            r[20] = (std::uint8_t)p;
            records.push_back(named(r, ("From File " + juce::String(p)).toRawUTF8()));
        }
    }

    juce::File write(const char* name, const Bytes& content)
    {
        const auto f = files.file(name);
        // replaceWithData deletes the file for no bytes: an empty file is made by creating it.
        if (content.empty())
            f.create();
        else
            f.replaceWithData(content.data(), content.size());
        return f;
    }

    Bytes dumps(int count) const
    {
        Bytes out;
        for (int i = 0; i < count; ++i)
        {
            const auto d = ProgramSysex::programDump(1, i % 128, records[(size_t)i].data(), 256);
            out.insert(out.end(), d.begin(), d.end());
        }
        return out;
    }

    Bytes readBack(const juce::File& f) const { return FileMan::readFileBytes(f, 1 << 24).bytes; }

    test::TempFolder files;
    std::vector<Record> records;
};

} // namespace

TEST_F(FileCommandsTest, LoadingAProgramFileChangesTheEditedProgramOnlyForAGoodFile)
{
    const auto edited = state().getCurrentProgram();
    const auto good = FileMan::makeProgramFile(records[7]);
    auto foreign = good;
    foreign[1] = 0x40;
    Bytes oversized = good;
    oversized.resize((size_t)FileMan::maxProgramFileSize + 1, 0x00);

    struct Case
    {
        const char* file;
        Bytes content;
        bool loads;
        const char* message;
    };
    const Case cases[] = {
        {"good.syx", good, true, nullptr},
        {"foreign.syx", foreign, false,
         "foreign.syx is not a Mopho x4 program: it holds a dump for another instrument."},
        {"raw.m_p", Bytes(records[7].begin(), records[7].end()), false,
         "raw.m_p is not a Mopho x4 program: it holds no Mopho x4 data."},
        {"huge.syx", oversized, false, "huge.syx is too large to load."},
        {"empty.m_p", {}, false, "empty.m_p is empty."},
    };
    for (const auto& c : cases)
    {
        state().setCurrentProgram(edited);
        host.messages.clear();
        host.chosen = write(c.file, c.content);
        FileMenu(context).dispatch(FileMenu::loadItem, context);
        EXPECT_EQ(state().getCurrentProgram(), c.loads ? records[7] : edited) << c.file;
        EXPECT_EQ(host.messages, c.message != nullptr ? juce::StringArray(c.message) : juce::StringArray())
            << c.file << ": " << host.messages.joinIntoString("|");
    }
    EXPECT_EQ(host.choosers.front(), std::make_pair((int)FileMan::loadProgram, juce::String()));

    // A cancelled chooser: nothing.
    state().setCurrentProgram(edited);
    host.chosen = juce::File();
    FileMenu(context).dispatch(FileMenu::loadItem, context);
    EXPECT_EQ(state().getCurrentProgram(), edited);
}

TEST_F(FileCommandsTest, LoadingABankFileFillsTheSlotsItHoldsAndNothingElse)
{
    Bytes foreign = dumps(3);
    for (size_t i = 0; i < foreign.size(); i += 300)
        foreign[i + 2] = 0x25;
    Bytes cut = dumps(128);
    cut.pop_back();

    struct Case
    {
        const char* file;
        Bytes content;
        int loaded; // slots 0 .. loaded - 1 take records 0 .. loaded - 1
    };
    const Case cases[] = {
        {"whole.m_b", dumps(128), 128},
        {"one.syx", dumps(1), 1},
        {"many.syx", dumps(130), 128},
        {"cut.m_b", cut, 127},
        {"foreign.syx", foreign, 0},
        {"empty.m_b", {}, 0},
        {"huge.m_b", Bytes((size_t)FileMan::maxBankFileSize + 1, 0xF0), 0},
    };
    for (const auto& c : cases)
    {
        state().replaceBankData(1, state().getBankData(5));
        test::drain([this](std::uint32_t& code) { return state().popNotification(code); });
        const auto before = state().getBankData(1);

        host.chosen = write(c.file, c.content);
        BankFileMenu().dispatch(BankFileMenu::firstLoadItem + 1, context);

        const auto after = state().getBankData(1);
        ASSERT_EQ(after.size(), before.size()) << c.file;
        for (int p = 0; p < 128; ++p)
        {
            const auto expected = p < c.loaded ? records[(size_t)p] : state().getBankProgram(5, p);
            ASSERT_EQ(state().getBankProgram(1, p), expected) << c.file << " slot " << p;
        }
        const auto codes = test::drain([this](std::uint32_t& code) { return state().popNotification(code); });
        EXPECT_EQ(codes.size(), c.loaded > 0 ? 1u : 0u) << c.file;
    }
    EXPECT_EQ(host.messages,
              juce::StringArray({"many.syx holds 130 programs: only the first 128 were loaded.",
                                 "cut.m_b: skipped a program cut short at the end.",
                                 "foreign.syx is not a Mopho x4 program bank: it holds dumps for other "
                                 "instruments.",
                                 "empty.m_b is empty.", "huge.m_b is too large to load."}))
        << host.messages.joinIntoString("|");
}

TEST_F(FileCommandsTest, AFileChosenDuringABankTransferChangesNothingAndSaysSo)
{
    // The chooser stays open while the user starts a receive or transmit; its answer comes later.
    host.transferRunning = true;
    const auto bankBefore = state().getBankData(1);
    const auto editedBefore = state().getCurrentProgram();

    host.chosen = write("bank.syx", dumps(128));
    BankFileMenu().dispatch(BankFileMenu::firstLoadItem + 1, context);
    host.chosen = write("one.syx", dumps(1));
    ProgramMenu(context, 1, 5).dispatch(ProgramMenu::loadItem, context);
    FileMenu(context).dispatch(FileMenu::loadItem, context);

    EXPECT_TRUE(state().getBankData(1) == bankBefore);
    EXPECT_TRUE(state().getCurrentProgram() == editedBefore);
    EXPECT_EQ(host.messages.size(), 3);
    EXPECT_TRUE(host.messages[0].contains("bank.syx was not loaded"));
}

TEST_F(FileCommandsTest, SavingAddsTheExtensionBeforeAskingAboutAnExistingFile)
{
    const auto edited = state().getCurrentProgram();
    host.chosen = files.file("Mine");
    FileMenu(context).dispatch(FileMenu::saveItem, context);
    EXPECT_EQ(host.choosers.back(),
              std::make_pair((int)FileMan::saveProgram, juce::String("Edited Lead.m_p")));
    EXPECT_EQ(readBack(files.file("Mine.m_p")), FileMan::makeProgramFile(edited));
    EXPECT_TRUE(host.questions.isEmpty());

    // "Mine" again: the file that would be written, Mine.m_p, exists now.
    state().setCurrentProgram(named(edited, "Second"));
    host.answer = false;
    FileMenu(context).dispatch(FileMenu::saveItem, context);
    EXPECT_EQ(host.questions, juce::StringArray("Replace the existing file Mine.m_p?"));
    EXPECT_EQ(readBack(files.file("Mine.m_p")), FileMan::makeProgramFile(edited));

    host.answer = true;
    FileMenu(context).dispatch(FileMenu::saveItem, context);
    EXPECT_EQ(readBack(files.file("Mine.m_p")), FileMan::makeProgramFile(state().getCurrentProgram()));
    EXPECT_TRUE(host.messages.isEmpty());
    EXPECT_EQ(files.fileNames(), juce::StringArray("Mine.m_p"));
}

TEST_F(FileCommandsTest, AFailedSaveIsShownAndNeverLooksLikeSuccess)
{
    const auto folderInTheWay = files.file("Taken.m_b");
    ASSERT_TRUE(folderInTheWay.createDirectory());
    host.chosen = files.file("Taken");
    host.answer = true;
    BankFileMenu().dispatch(BankFileMenu::firstSaveItem, context);
    EXPECT_EQ(host.messages, juce::StringArray("Could not save Taken.m_b. Nothing was written."));
    EXPECT_TRUE(folderInTheWay.isDirectory());
}

TEST_F(FileCommandsTest, ASlotsMenuSavesAndLoadsThatSlot)
{
    const auto slot = named(state().getBankProgram(2, 64), "Slot Program   ");
    state().setBankProgram(2, 64, slot);

    host.chosen = files.file("slot.syx");
    ProgramMenu(context, 2, 64).dispatch(ProgramMenu::saveItem, context);
    EXPECT_EQ(host.choosers.back().second, "Slot Program.m_p");
    EXPECT_EQ(readBack(host.chosen), FileMan::makeProgramFile(slot));

    host.chosen = write("in.m_p", FileMan::makeProgramFile(records[3]));
    ProgramMenu(context, 2, 65).dispatch(ProgramMenu::loadItem, context);
    EXPECT_EQ(state().getBankProgram(2, 65), records[3]);
    EXPECT_EQ(state().getBankProgram(2, 64), slot);

    // Banks save under their own name, every dump addressed to its slot.
    host.chosen = files.file("Bank U3.m_b");
    BankFileMenu().dispatch(BankFileMenu::firstSaveItem + 2, context);
    EXPECT_EQ(host.choosers.back(), std::make_pair((int)FileMan::saveBank, juce::String("Bank U3.m_b")));
    EXPECT_EQ(readBack(host.chosen), FileMan::makeBankFile(2, state().getBankData(2)));
}

TEST_F(FileCommandsTest, ALoadedBankAndAPasteReachTheBankDataFileWithinASecond)
{
    const auto dataFile = rig.folder.file(SettingsFolder::bankDataFileName);
    const auto slotOnDisk = [&](int bank, int slot)
    {
        const auto bytes = readBack(dataFile);
        Record r{};
        const size_t at = 14 + (size_t)bank * 32768 + (size_t)slot * 256;
        if (bytes.size() >= at + 256)
            std::copy_n(bytes.begin() + (std::ptrdiff_t)at, 256, r.begin());
        return r;
    };

    host.chosen = write("bank.syx", dumps(128));
    BankFileMenu().dispatch(BankFileMenu::firstLoadItem + 3, context);
    clipboard.copy(records[100]);
    ProgramMenu(context, 0, 9).dispatch(ProgramMenu::pasteItem, context);

    const auto start = juce::Time::getMillisecondCounter();
    ASSERT_TRUE(test::runUntil(
        [&] { return slotOnDisk(3, 127) == records[127] && slotOnDisk(0, 9) == records[100]; }, 1500));
    EXPECT_LT(juce::Time::getMillisecondCounter() - start, 1500u);
    for (int p = 0; p < 128; p += 31)
        EXPECT_EQ(slotOnDisk(3, p), records[(size_t)p]) << p;
}

TEST_F(FileCommandsTest, AFileOfSeveralBanksGivesEveryProgramToWhoAsksForThemAll)
{
    Bytes file;
    for (int i = 0; i < 512; ++i)
    {
        const auto d = ProgramSysex::programDump(i / 128, i % 128, records[(size_t)i % 130].data(), 256);
        file.insert(file.end(), d.begin(), d.end());
    }
    host.chosen = write("four banks.syx", file);
    std::vector<FileVerdict::BankGroup> groups;
    size_t programs = 0;
    FileCommands::loadPrograms(host, FileMan::loadBank,
                               [&](const FileVerdict& v)
                               {
                                   programs = v.size();
                                   groups = v.bankGroups();
                               });
    EXPECT_EQ(programs, 512u);
    ASSERT_EQ(groups.size(), 4u);
    EXPECT_EQ(groups[3].bank, 3);
    EXPECT_TRUE(host.messages.isEmpty()) << host.messages.joinIntoString("|");

    // A refused file reaches no one.
    host.chosen = write("picture.syx", {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A});
    bool called = false;
    FileCommands::loadPrograms(host, FileMan::loadBank, [&](const FileVerdict&) { called = true; });
    EXPECT_FALSE(called);
    EXPECT_EQ(host.messages,
              juce::StringArray("picture.syx is not a Mopho x4 program bank: it is a picture."));
}
