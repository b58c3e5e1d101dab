// The plug-in's files on Windows, run under wine: where the settings folder is, and the settings,
// port and bank data files written, replaced and read back in folders whose names are not ASCII
// (Windows user names often are not, and the folder sits in the user's profile).

#include "midi/MIDI_PORTS_Control.h"
#include "midi/SettingsList.h"
#include "model/BankDataFile.h"
#include "model/ProgramBankSet.h"
#include "platform/SettingsFolder.h"
#include "support/TempFolder.h"
#include "support/VirtualMidiBackend.h"

#include <gtest/gtest.h>

#include <iostream>

using zarnel::BankDataFile;
using zarnel::MIDI_PORTS_Control;
using zarnel::ProgramBankSet;
using zarnel::SettingsFolder;
using zarnel::SettingsList;
using zarnel::test::VirtualMidiBackend;

namespace
{

TEST(WindowsSettingsFolder, IsZarnelSettingsInTheRoamingApplicationData)
{
    const auto appData = juce::SystemStats::getEnvironmentVariable("APPDATA", {});
    ASSERT_TRUE(appData.isNotEmpty()) << "no APPDATA: not running on Windows?";
    const auto folder = SettingsFolder::defaultLocation();
    std::cout << "settings folder: " << folder.getFullPathName() << std::endl;
    EXPECT_EQ(folder, juce::File(appData).getChildFile("ZarnelSettings"));
    EXPECT_EQ(folder.getFullPathName(), appData + "\\ZarnelSettings");
}

// Folder names from the ASCII-only case to scripts beyond one code page, the way a user profile
// path holds them.
const char* const folderNames[] = {
    "Zarnel settings",
    "Zarnel \xc3\x9cn\xc3\xaf" "c\xc3\xb8" "d\xc3\xa9 \xd0\xa1\xd0\xb8\xd0\xbd\xd1\x82", // Zarnel Ünïcødé Синт
    "J\xc3\xbcrgen/\xe9\x9f\xb3\xe6\xa5\xbd/ZarnelSettings",                              // Jürgen/音楽/ZarnelSettings
};

class NonAsciiFolder : public ::testing::TestWithParam<const char*>
{
protected:
    juce::File folder() const { return temp.get().getChildFile(juce::String::fromUTF8(GetParam())); }

    // Nothing but the named files is left beside them: no temporary file of an interrupted replace.
    void expectOnly(const juce::StringArray& names) const
    {
        juce::StringArray found;
        for (const auto& f : folder().findChildFiles(juce::File::findFiles, false, "*"))
            found.add(f.getFileName());
        found.sort(false);
        auto expected = names;
        expected.sort(false);
        EXPECT_EQ(found.joinIntoString("|"), expected.joinIntoString("|"));
    }

    zarnel::test::TempFolder temp;
};

TEST_P(NonAsciiFolder, SettingsFileIsWrittenReplacedAndReadBack)
{
    const auto file = folder().getChildFile(SettingsFolder::settingsFileName);
    {
        SettingsList settings(file);
        settings.loadSettings(); // no file yet: writes the defaults, creating the folder
        ASSERT_TRUE(file.existsAsFile()) << file.getFullPathName();
        settings.setEntryInt(SettingsList::midiChannelEntry, 7);
        settings.setEntry(SettingsList::scanInputPortEntry, juce::String::fromUTF8("Port \xc3\x9c")); // replaces the file
        EXPECT_TRUE(settings.saveSettings());
    }
    SettingsList again(file);
    again.loadSettings();
    EXPECT_EQ(again.getEntryInt(SettingsList::midiChannelEntry), 7);
    EXPECT_EQ(again.getEntry(SettingsList::scanInputPortEntry), juce::String::fromUTF8("Port \xc3\x9c"));
    expectOnly({SettingsFolder::settingsFileName});
}

TEST_P(NonAsciiFolder, PortFileIsWrittenReplacedAndReadBack)
{
    const auto file = folder().getChildFile(SettingsFolder::portFileName);
    ASSERT_TRUE(folder().createDirectory());
    VirtualMidiBackend backend;
    backend.addDevice("Loopback A", nullptr);
    backend.addDevice(juce::String::fromUTF8("Mopho x4 \xc3\x9c"), nullptr);
    {
        MIDI_PORTS_Control ports(backend, file);
        ports.restorePorts(nullptr); // no file yet: writes one naming no ports
        ASSERT_TRUE(file.existsAsFile()) << file.getFullPathName();
        EXPECT_FALSE(ports.isOutputOpen());
        ports.selectInputPort(2, nullptr);
        ports.selectOutputPort(2);
        EXPECT_TRUE(ports.savePortFile()); // replaces the file
    }
    MIDI_PORTS_Control again(backend, file);
    again.restorePorts(nullptr);
    EXPECT_TRUE(again.isOutputOpen());
    EXPECT_TRUE(again.isInputOpen());
    EXPECT_TRUE(backend.isOutputOpen(juce::String::fromUTF8("Mopho x4 \xc3\x9c")));
    expectOnly({SettingsFolder::portFileName});
}

TEST_P(NonAsciiFolder, BankDataFileIsWrittenReplacedAndReadBack)
{
    const auto file = folder().getChildFile(SettingsFolder::bankDataFileName);
    const auto userBanks = [](const ProgramBankSet& banks) {
        zarnel::Bytes all;
        for (int n = 0; n < ProgramBankSet::numUserBanks; ++n)
            all.insert(all.end(), banks.bank(n).getBankData().begin(), banks.bank(n).getBankData().end());
        return all;
    };
    ProgramBankSet banks;
    BankDataFile data(file);
    EXPECT_EQ(data.load(banks), BankDataFile::Condition::missing); // factory content
    ASSERT_TRUE(data.write(userBanks(banks), BankDataFile::ChangedSlots().set())) << file.getFullPathName();
    banks.bank(0).setProgramName(5, "Replaced name");
    banks.bank(3).setProgramName(127, "Last of U4");
    BankDataFile::ChangedSlots changed;
    changed.set(5).set(3 * 128 + 127);
    ASSERT_TRUE(data.write(userBanks(banks), changed)); // replaces the file
    EXPECT_EQ(file.getSize(), (juce::int64)ProgramBankSet::dataFileSize);

    ProgramBankSet again;
    EXPECT_EQ(BankDataFile(file).load(again), BankDataFile::Condition::whole);
    for (int n = 0; n < ProgramBankSet::numUserBanks; ++n)
        EXPECT_EQ(again.bank(n).getBankData(), banks.bank(n).getBankData()) << "bank " << n;
    EXPECT_EQ(again.bank(0).getProgramName(5).trimEnd(), "Replaced name");
    expectOnly({SettingsFolder::bankDataFileName});
}

INSTANTIATE_TEST_SUITE_P(Windows, NonAsciiFolder, ::testing::ValuesIn(folderNames));

} // namespace

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
