// The user banks and the settings outlive the plug-in: they reach their files soon after they
// change, and nothing the plug-in did not change is ever lost from them: not to a file it could
// not read, not to a file it did not expect, not to a second instance closing later.
#include "midi/MidiCntrState.h"
#include "platform/SafeFileWriter.h"
#include "platform/SettingsFolder.h"
#include "support/MessagePump.h"
#include "support/SynthRig.h"

#include <gtest/gtest.h>

#include <thread>

#if JUCE_LINUX
 #include <dirent.h>
 #include <fcntl.h>
 #include <sys/resource.h>
 #include <unistd.h>
#endif

using namespace zarnel;
using Condition = BankDataFile::Condition;

namespace
{

Bytes fileBytes(const juce::File& f)
{
    juce::MemoryBlock block;
    f.loadFileAsData(block);
    const auto* d = static_cast<const std::uint8_t*>(block.getData());
    return Bytes(d, d + block.getSize());
}

ProgramSysex::Record named(const juce::String& name)
{
    auto rec = ProgramBankSet().bank(4).getProgramPadded(0);
    DSI_Program::encodeName(name, rec.data() + DSI_Program::nameOffset);
    return rec;
}

// User banks whose every slot carries its own name ("Mine 2:17").
Bytes userBankFile()
{
    ProgramBankSet set;
    for (int n = 0; n < 4; ++n)
        for (int s = 0; s < 128; ++s)
            set.bank(n).setProgramName(s, "Mine " + juce::String(n) + ":" + juce::String(s));
    return set.dataFileContent();
}

// A settings file as a previous run leaves it: nothing in it needs mending at start-up.
juce::String settledSettings(int channel = 1)
{
    juce::StringArray entries{"2.2.0", "-1", "-1", "-1", "100", "0", "", "", "1"};
    while (entries.size() < 50)
        entries.add("0");
    entries.set(SettingsList::latencyInitialisedEntry, "333");
    entries.set(SettingsList::latencyModeEntry, "402");
    entries.set(SettingsList::midiChannelEntry, juce::String(channel));
    return SettingsList::format(entries);
}

juce::String slotName(const Bytes& file, int bank, int slot)
{
    const auto offset = 14 + 32768 * (size_t)bank + 256 * (size_t)slot + 184;
    if (offset + 16 > file.size())
        return {};
    return juce::String((const char*)file.data() + offset, 16).trimEnd();
}

class DataFilesTest : public ::testing::Test
{
protected:
    std::unique_ptr<MidiCntrState> makeState() { return std::make_unique<MidiCntrState>(rig.folder.get(), rig.backend); }

    void writeFile(const juce::File& f, const Bytes& bytes) { ASSERT_TRUE(f.replaceWithData(bytes.data(), bytes.size())); }

    juce::ScopedJuceInitialiser_GUI juce;
    test::SynthRig rig;
    juce::File dataFile = rig.folder.file(SettingsFolder::bankDataFileName);
    juce::File settingsFile = rig.folder.file(SettingsFolder::settingsFileName);
};

} // namespace

TEST_F(DataFilesTest, FilesWeDidNotChangeAreNeverWritten)
{
    const auto ours = userBankFile();
    auto longer = ours;
    longer.resize(ours.size() + 333, 0x5A);
    const Bytes cutInU4(ours.begin(), ours.begin() + 14 + 32768 * 3 + 256 * 100 + 99);
    const Bytes noHeader(131099, 'x');
    const auto goodSettings = settledSettings();

    struct Case
    {
        const char* name;
        Bytes banks;
        juce::String settings;
        Condition condition;
    };
    const Case cases[] = {
        {"whole", ours, goodSettings, Condition::whole},
        {"cut partway through U4", cutInU4, goodSettings, Condition::partial},
        {"without its header", noHeader, goodSettings, Condition::foreign},
        {"longer than expected", longer, goodSettings, Condition::longer},
        {"settings refused", ours, "^|7|^ not a settings file", Condition::whole},
    };
    for (const auto& c : cases)
    {
        writeFile(dataFile, c.banks);
        ASSERT_TRUE(settingsFile.replaceWithText(c.settings));
        const auto settingsBefore = fileBytes(settingsFile);
        {
            auto state = makeState();
            EXPECT_EQ(state->getBankFileCondition(), c.condition) << c.name;
            EXPECT_FALSE(state->hasPendingWrites()) << c.name;
        }
        EXPECT_EQ(fileBytes(dataFile), c.banks) << c.name;
        EXPECT_EQ(fileBytes(settingsFile), settingsBefore) << c.name;
        EXPECT_FALSE(rig.folder.file("data_X4m.mph.bak").exists()) << c.name;
    }
}

TEST_F(DataFilesTest, AChangeKeepsEverythingElseTheFileHeld)
{
    const auto ours = userBankFile();
    auto longer = ours;
    longer.resize(ours.size() + 333, 0x5A);
    const Bytes cutInU4(ours.begin(), ours.begin() + 14 + 32768 * 3 + 256 * 100 + 99);
    const Bytes noHeader(131099, 'x');

    struct Case
    {
        const char* name;
        Bytes banks;
        int wholeSlotsOnDisk; // slots of the file that must come through unchanged
        bool backup;
    };
    const Case cases[] = {
        {"whole", ours, 512, false},
        {"cut partway through U4", cutInU4, 384 + 100, true},
        {"without its header", noHeader, 0, true},
        {"longer than expected", longer, 512, true},
    };
    for (const auto& c : cases)
    {
        for (const auto& f : rig.folder.get().findChildFiles(juce::File::findFiles, false, "*.bak*"))
            f.deleteFile();
        writeFile(dataFile, c.banks);
        {
            auto state = makeState();
            state->setBankProgram(1, 3, named("Edited"));
        }
        const auto after = fileBytes(dataFile);
        ASSERT_GE(after.size(), 131099u) << c.name;
        EXPECT_EQ(slotName(after, 1, 3), "Edited") << c.name;
        for (int slot = 0; slot < c.wholeSlotsOnDisk; ++slot)
            if (slot != 128 + 3)
                ASSERT_EQ(slotName(after, slot / 128, slot % 128),
                          "Mine " + juce::String(slot / 128) + ":" + juce::String(slot % 128))
                    << c.name << " slot " << slot;
        if (c.banks.size() > 131099)
            EXPECT_TRUE(std::equal(c.banks.begin() + 131099, c.banks.end(), after.begin() + 131099)) << c.name;
        const auto backup = rig.folder.file("data_X4m.mph.bak");
        EXPECT_EQ(backup.existsAsFile(), c.backup) << c.name;
        if (c.backup)
            EXPECT_EQ(fileBytes(backup), c.banks) << c.name;
    }
}

TEST_F(DataFilesTest, TwoInstancesKeepEachOthersChanges)
{
    // Both load, each changes something of its own, the one that loaded first closes last.
    auto first = makeState();
    auto second = makeState();
    first->setBankProgram(0, 5, named("From first"));
    first->getSettings().setEntry(SettingsList::midiChannelEntry, "7");
    second->setBankProgram(2, 9, named("From second"));
    second->getSettings().setEntry(SettingsList::midiClockEntry, "1");
    second.reset();
    first.reset();

    auto reloaded = makeState();
    EXPECT_EQ(reloaded->getBankProgramName(0, 5).trimEnd(), "From first");
    EXPECT_EQ(reloaded->getBankProgramName(2, 9).trimEnd(), "From second");
    EXPECT_EQ(reloaded->midiChannel.load(), 7);
    EXPECT_TRUE(reloaded->clockOutEnabled.load());
}

TEST_F(DataFilesTest, AShortBankLoadedInOneInstanceKeepsTheOthersNewerSlots)
{
    // A bank file of ten programs fills U1:1-10; the slots it never reached stay the other
    // instance's, saved meanwhile.
    auto first = makeState();
    auto second = makeState();
    second->setBankProgram(0, 100, named("Newer"));
    second->flushPendingWrites();

    Bytes shortBank;
    for (int i = 0; i < 10; ++i)
    {
        const auto rec = named("Loaded " + juce::String(i));
        shortBank.insert(shortBank.end(), rec.begin(), rec.end());
    }
    first->replaceBankData(0, shortBank);
    first->flushPendingWrites();
    second.reset();
    first.reset();

    auto reloaded = makeState();
    EXPECT_EQ(reloaded->getBankProgramName(0, 3).trimEnd(), "Loaded 3");
    EXPECT_EQ(reloaded->getBankProgramName(0, 100).trimEnd(), "Newer");

    // Factory banks take a load too; nothing of theirs reaches the file.
    reloaded->replaceBankData(ProgramBankSet::numUserBanks, shortBank);
    EXPECT_EQ(reloaded->getBankProgramName(ProgramBankSet::numUserBanks, 3).trimEnd(), "Loaded 3");
    EXPECT_FALSE(reloaded->hasPendingWrites());
}

TEST_F(DataFilesTest, InstancesSavingAtTheSameTimeKeepEveryChange)
{
    // Two instances (in a host they may even be two processes) store and save at the same time.
    auto first = makeState();
    auto second = makeState();
    const auto storeAndSave = [](MidiCntrState& state, int bank) {
        for (int slot = 0; slot < 60; ++slot)
        {
            state.setBankProgram(bank, slot, named("Bank " + juce::String(bank) + " " + juce::String(slot)));
            state.getSettings().setEntry(20 + bank * 5 + slot % 5, "v" + juce::String(slot));
            state.flushPendingWrites();
        }
    };
    std::thread other([&] { storeAndSave(*second, 2); });
    storeAndSave(*first, 1);
    other.join();

    const auto file = fileBytes(dataFile);
    for (int bank : {1, 2})
        for (int slot = 0; slot < 60; ++slot)
            ASSERT_EQ(slotName(file, bank, slot), "Bank " + juce::String(bank) + " " + juce::String(slot));
    const auto entries = SettingsList::parse(settingsFile.loadFileAsString());
    for (int bank : {1, 2})
        for (int k = 0; k < 5; ++k)
            EXPECT_EQ(entries[20 + bank * 5 + k], "v" + juce::String(55 + k)) << bank << " " << k;
}

TEST_F(DataFilesTest, ChangedBanksReachTheFileWithoutWaitingForShutDown)
{
    auto state = makeState();
    state->setBankProgram(3, 127, named("Soon saved"));
    // A host that crashes now loses nothing once the timer has run.
    test::pumpMessages((int)MidiCntrState::fileWriteIntervalMs + 300);
    EXPECT_EQ(slotName(fileBytes(dataFile), 3, 127), "Soon saved");
    EXPECT_FALSE(state->hasPendingWrites());

    // A bank received from the synthesizer too.
    state->startBankReceive(1, 0);
    ASSERT_TRUE(rig.synth.waitUntil([&] { return !state->isBankReceiveActive(); }, 10000));
    test::pumpMessages((int)MidiCntrState::fileWriteIntervalMs + 300);
    const auto file = fileBytes(dataFile);
    for (int p = 0; p < 128; ++p)
    {
        const auto rec = rig.synth.program(1, p);
        ASSERT_TRUE(std::equal(rec.begin(), rec.end(), file.begin() + 14 + 32768 + 256 * p)) << p;
    }
}

TEST_F(DataFilesTest, AWholeBankReplacedReachesTheFile)
{
    auto state = makeState();
    Bank_Program f3("f");
    f3.loadFactoryBank(2);
    auto data = f3.getBankData();
    data.resize(10 * 256); // a short bank: the other 118 slots stay as they were
    const auto before = state->getBankData(1);
    state->replaceBankData(1, data);
    state->replaceBankData(6, f3.getBankData()); // a factory bank: not in the file
    state->flushPendingWrites();

    const auto file = fileBytes(dataFile);
    ASSERT_EQ(file.size(), 131099u);
    EXPECT_TRUE(std::equal(data.begin(), data.end(), file.begin() + 14 + 32768));
    EXPECT_TRUE(std::equal(before.begin() + 10 * 256, before.end(), file.begin() + 14 + 32768 + 10 * 256));
    EXPECT_EQ(state->getBankData(6), f3.getBankData());
    EXPECT_EQ(state->getBankData(1).size(), 32768u);
}

TEST_F(DataFilesTest, FactoryBanksStayOutOfTheFile)
{
    auto state = makeState();
    state->flushPendingWrites(); // what start-up filled into the settings
    for (int bank = 4; bank < 8; ++bank)
        state->setBankProgram(bank, 127, named("Factory " + juce::String(bank)));
    rig.synth.sendProgramDumpOf(7, 84);
    ASSERT_TRUE(rig.synth.waitUntilIdle(3000));
    EXPECT_EQ(state->getBankProgram(7, 84), rig.synth.program(7, 84));
    EXPECT_EQ(state->getBankProgramName(5, 127).trimEnd(), "Factory 5");
    EXPECT_FALSE(state->hasPendingWrites());
    state->flushPendingWrites();
    EXPECT_FALSE(dataFile.exists());
}

TEST_F(DataFilesTest, TheScanResultIsSavedFromTheMessageThread)
{
    auto state = makeState();
    const auto before = fileBytes(settingsFile);
    state->scanInput = 1;
    state->scanOutput = 1;
    state->scanActive = true;
    rig.synth.sendGlobalDump();
    ASSERT_TRUE(rig.synth.waitUntil([&] { return state->haveGlobalsArrived(); }, 3000));
    EXPECT_EQ(fileBytes(settingsFile), before) << "no file is written on the MIDI input thread";
    EXPECT_EQ(state->getSettings().getEntry(SettingsList::scanInputPortEntry), "1");

    state->flushPendingWrites();
    EXPECT_EQ(SettingsList::parse(settingsFile.loadFileAsString())[SettingsList::scanInputPortEntry], "1");
}

TEST_F(DataFilesTest, StaleTemporaryFilesOfACrashedSaveAreRemoved)
{
    const auto old = juce::Time::getCurrentTime() - juce::RelativeTime::hours(2);
    const juce::StringArray stale{".data_X4m_temp1a2b3c4d.mph", ".mphedstx_tempdeadbeef.dat",
                                  ".mhxplports_temp00ff2.dat"};
    const juce::StringArray kept{".data_X4m_tempcafe.mph" /* fresh: another instance saving now */,
                                 ".other_temp1234.dat", "notes_temp1234.mph", ".data_X4m_temp.mph"};
    for (const auto& name : stale)
    {
        ASSERT_TRUE(rig.folder.file(name).replaceWithText("x"));
        rig.folder.file(name).setLastModificationTime(old);
    }
    for (const auto& name : kept)
    {
        ASSERT_TRUE(rig.folder.file(name).replaceWithText("x"));
        if (name != ".data_X4m_tempcafe.mph")
            rig.folder.file(name).setLastModificationTime(old);
    }

    auto state = makeState();
    for (const auto& name : stale)
        EXPECT_FALSE(rig.folder.file(name).exists()) << name;
    for (const auto& name : kept)
        EXPECT_TRUE(rig.folder.file(name).exists()) << name;
}

#if JUCE_LINUX

namespace
{

// Until destroyed, no file can be opened: what happens when a host has used up its handles.
class NoFreeFileHandles
{
public:
    NoFreeFileHandles()
    {
        getrlimit(RLIMIT_NOFILE, &saved);
        int highest = 0;
        if (auto* dir = opendir("/proc/self/fd"))
        {
            while (auto* entry = readdir(dir))
                highest = std::max(highest, atoi(entry->d_name));
            closedir(dir);
        }
        rlimit limited = saved;
        limited.rlim_cur = (rlim_t)highest + 1;
        setrlimit(RLIMIT_NOFILE, &limited);
        // The free numbers below the limit are taken too.
        for (int fd; (fd = ::open("/dev/null", O_RDONLY)) >= 0;)
            taken.push_back(fd);
    }
    ~NoFreeFileHandles()
    {
        for (int fd : taken)
            ::close(fd);
        setrlimit(RLIMIT_NOFILE, &saved);
    }

private:
    rlimit saved{};
    std::vector<int> taken;
};

} // namespace

TEST_F(DataFilesTest, FilesThatFailToOpenAreNotReplacedByDefaults)
{
    const auto banks = userBankFile();
    writeFile(dataFile, banks);
    ASSERT_TRUE(settingsFile.replaceWithText(settledSettings(9)));
    const auto settingsBefore = fileBytes(settingsFile);
    const auto portFile = rig.folder.file(SettingsFolder::portFileName);
    const auto portsBefore = fileBytes(portFile);

    std::unique_ptr<MidiCntrState> state;
    {
        const NoFreeFileHandles exhausted;
        state = makeState();
    }
    EXPECT_EQ(state->getBankFileCondition(), Condition::unreadable);
    state.reset();
    EXPECT_EQ(fileBytes(dataFile), banks) << "the user's 512 programs survive a start that could not read them";
    EXPECT_EQ(fileBytes(settingsFile), settingsBefore);
    EXPECT_EQ(fileBytes(portFile), portsBefore);

    // A save while the file cannot be read writes nothing and moves nothing; the next one merges.
    state = makeState();
    state->setBankProgram(1, 7, named("Later"));
    {
        const NoFreeFileHandles exhausted;
        state->flushPendingWrites();
    }
    EXPECT_EQ(fileBytes(dataFile), banks);
    EXPECT_TRUE(state->hasPendingWrites());
    state->flushPendingWrites();
    EXPECT_EQ(slotName(fileBytes(dataFile), 1, 7), "Later");
    EXPECT_EQ(slotName(fileBytes(dataFile), 1, 8), "Mine 1:8");
    state.reset();
    writeFile(dataFile, banks);

    // A change after such a start puts in just that slot.
    {
        const NoFreeFileHandles exhausted;
        state = makeState();
    }
    state->setBankProgram(2, 0, named("After"));
    state.reset();
    const auto after = fileBytes(dataFile);
    EXPECT_EQ(slotName(after, 2, 0), "After");
    EXPECT_EQ(slotName(after, 2, 1), "Mine 2:1");
    EXPECT_EQ(slotName(after, 0, 0), "Mine 0:0");
}

#endif
