#include "midi/SettingsList.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

using zarnel::SettingsList;

namespace
{

juce::String entriesText(int count)
{
    juce::StringArray list;
    for (int i = 0; i < count; ++i)
        list.add("e" + juce::String(i));
    return SettingsList::format(list);
}

class SettingsFixture : public ::testing::Test
{
protected:
    zarnel::test::TempFolder folder;
    juce::File file = folder.file("mphedstx.dat");
};

} // namespace

TEST(SettingsFormat, ParseTable)
{
    struct Case
    {
        const char* text;
        juce::StringArray entries;
    };
    const Case cases[] = {
        {"^|2.2.0|^^|-1|^^||^", {"2.2.0", "-1", ""}},
        {"^|a|^^|b", {"a"}},                // no closing mark ends the list
        {"|^^|a|^^|b|^", {}},               // a closing mark at position 0 stops at once
        {"x^|a|^junk^|b|^", {"a", "b"}},     // bytes between entries are skipped
        {"^|a|", {}},                      // shorter than six characters counts as empty
        {"", {}},
        {"^|only one|^", {"only one"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SettingsList::parse(c.text), c.entries) << c.text;

    EXPECT_EQ(SettingsList::format({"2.2.0", "-1", ""}), "^|2.2.0|^^|-1|^^||^");
}

TEST_F(SettingsFixture, MissingFileIsCreatedWithDefaults)
{
    SettingsList s(file);
    s.loadSettings();
    EXPECT_FALSE(s.isFirstRun());
    EXPECT_TRUE(file.existsAsFile());
    EXPECT_EQ(s.size(), 50);
    EXPECT_EQ(s.getEntry(0), "2.2.0");
    EXPECT_EQ(s.getEntry(8), "1");
    EXPECT_EQ(s.getEntry(6), "");
    EXPECT_EQ(s.getEntry(49), "0");
    EXPECT_EQ(SettingsList::parse(file.loadFileAsString()).size(), 50);
}

TEST_F(SettingsFixture, TooFewEntriesGiveDefaultsAndFirstRun)
{
    // An oversized file counts as unreadable, even when it starts like ours.
    const auto oversized = entriesText(60) + juce::String::repeatedString("x", 70 * 1024);
    for (const juce::String& text : {juce::String("^|7|^"), juce::String("^|7|^^|8|^"),
                                     juce::String("garbage without marks"), juce::String(), oversized})
    {
        file.replaceWithText(text);
        SettingsList s(file);
        s.loadSettings();
        EXPECT_TRUE(s.isFirstRun()) << text.substring(0, 40);
        EXPECT_EQ(s.getEntry(0), "2.2.0") << text.substring(0, 40);
        EXPECT_EQ(s.size(), 50);
    }
}

TEST_F(SettingsFixture, LoadKeepsAtMostFiftyAndPadsShortLists)
{
    file.replaceWithText(entriesText(60));
    SettingsList s(file);
    s.loadSettings();
    EXPECT_FALSE(s.isFirstRun());
    EXPECT_EQ(s.size(), 50);
    EXPECT_EQ(s.getEntry(49), "e49");

    file.replaceWithText(entriesText(3));
    s.loadSettings();
    EXPECT_EQ(s.size(), 50);
    EXPECT_EQ(s.getEntry(2), "e2");
    EXPECT_EQ(s.getEntry(3), "0");
}

TEST_F(SettingsFixture, SaveWithSpareEntriesHolds82AndReloadKeeps50)
{
    SettingsList s(file);
    s.loadSettings();
    s.appendSpareEntries();
    s.setEntry(42, "5");
    ASSERT_TRUE(s.saveSettings());
    EXPECT_EQ(SettingsList::parse(file.loadFileAsString()).size(), 82);

    SettingsList again(file);
    again.loadSettings();
    EXPECT_EQ(again.size(), 50);
    EXPECT_EQ(again.getEntryInt(42), 5);
}

TEST_F(SettingsFixture, SaveAfterTheFileWasRemovedKeepsWhatWeHold)
{
    SettingsList s(file);
    s.loadSettings();
    s.setEntry(44, "1");
    file.deleteFile();
    ASSERT_TRUE(s.saveSettings());

    SettingsList again(file);
    again.loadSettings();
    EXPECT_EQ(again.getEntry(44), "1");
}

TEST_F(SettingsFixture, EntryAccess)
{
    SettingsList s(file);
    s.loadSettings();
    EXPECT_EQ(s.getEntry(500), "");
    EXPECT_EQ(s.getEntryInt(500), 0);
    s.setEntry(42, "abc");
    EXPECT_EQ(s.getEntryInt(42), 0);
    s.setEntry(42, "12xyz");
    EXPECT_EQ(s.getEntryInt(42), 12);
    s.setEntry(60, "far");
    EXPECT_EQ(s.size(), 61);
    EXPECT_EQ(s.getEntry(55), "");
    s.setEntry(1'000'000, "wild");
    EXPECT_EQ(s.size(), 61);
}

TEST_F(SettingsFixture, LatencyEntries)
{
    SettingsList s(file);
    s.loadSettings();
    s.restoreLatency();
    EXPECT_EQ(s.getEntry(10), "333");
    EXPECT_EQ(s.getEntry(17), "402");
    EXPECT_EQ(s.getLatencyMode(), 0);
    EXPECT_EQ(s.getLatencyTable(), (SettingsList::LatencyTable{0, 0, 0, 0, 0, 0, 0}));

    s.setLatency(2, {5, 6, 7, 8, 9, 10, 11});
    EXPECT_EQ(s.getEntry(11), "5");
    EXPECT_EQ(s.getEntry(16), "10");
    EXPECT_EQ(s.getEntry(17), "2");
    EXPECT_EQ(s.getEntry(18), "11");
    EXPECT_EQ(s.getLatencyMode(), 2);

    s.setLatency(1, {3});
    EXPECT_EQ(s.getEntry(12), "0");
    EXPECT_EQ(s.getEntry(18), "0");

    // Initialised entries survive a restore; the mode always starts at 0.
    s.setLatency(3, {1, 2, 3, 4, 5, 6, 7});
    s.restoreLatency();
    EXPECT_EQ(s.getLatencyTable(), (SettingsList::LatencyTable{1, 2, 3, 4, 5, 6, 7}));
    EXPECT_EQ(s.getLatencyMode(), 0);
}
