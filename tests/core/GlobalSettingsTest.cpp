#include "model/GlobalSettings.h"

#include <gtest/gtest.h>

using zarnel::GlobalSettings;

TEST(GlobalSettings, ValueTexts)
{
    struct Case
    {
        int index, value;
        const char* text;
    };
    const Case cases[] = {
        {0, 12, "0"},           {0, 0, "-12"},           {0, 24, "12"},            {1, 50, "0"},
        {1, 0, "-50"},          {2, 0, "ALL CHANNELS"},  {2, 5, "CHANNEL 5"},      {2, 16, "CHANNEL 16"},
        {2, 17, ""},            {3, 1, "INT + SEND"},    {4, 2, "OFF"},            {5, 0, "ALL"},
        {6, 1, "ON"},           {7, 0, "OFF"},           {8, 1, "MIDI THRU"},      {9, 3, "OUT 5"},
        {9, 6, "OUT 16"},       {10, 1, "ON"},           {11, 1, "MONO"},          {12, 2, "JUMP"},
        {13, 3, "ARP LATCH CL"}, {14, 5, "LP F. HALFf"}, {15, 1, "ON"},            {16, 0, "CURVE 1"},
        {17, 3, "CURVE 4"},     {18, 1, "RELATCH"},      {18, 7, "7"},             {14, 9, "9"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(GlobalSettings::valueText(c.index, c.value), juce::String(c.text)) << c.index << "/" << c.value;
}

TEST(GlobalSettings, IncomingNrpnMap)
{
    const std::pair<int, int> cases[] = {{384, 0}, {385, 1}, {386, 2}, {387, 9}, {388, 3}, {389, 10},
                                         {390, 4}, {391, 5}, {394, 6}, {395, 7}, {396, 14}, {397, 13},
                                         {398, 17}, {399, 16}, {400, 11}, {404, 12}, {406, 8}, {414, 18},
                                         {393, -1}, {392, -1}, {380, -1}, {383, -1}, {0, -1}};
    for (const auto& [nrpn, index] : cases)
        EXPECT_EQ(GlobalSettings::indexForIncomingNrpn(nrpn), index) << nrpn;
    EXPECT_EQ(GlobalSettings::setting(15).nrpn, 393);
    EXPECT_STREQ(GlobalSettings::setting(2).label, "MIDI CHANNEL:");
}

TEST(GlobalSettings, DumpDecoding)
{
    std::int8_t values[100]{};
    const std::uint8_t dump[] = {0xF0, 0x01, 0x29, 0x0F, 0x05, 0x01, 0x0F, 0x0F, 0xF7};
    EXPECT_EQ(GlobalSettings::decodeDump(dump, sizeof(dump), values, 100), 2);
    EXPECT_EQ(values[0], 21);
    EXPECT_EQ((std::uint8_t)values[1], 255);

    // A malformed dump of odd length does not read the end marker as a nibble.
    const std::uint8_t odd[] = {0xF0, 0x01, 0x29, 0x0F, 0x05, 0x01, 0x03, 0xF7};
    EXPECT_EQ(GlobalSettings::decodeDump(odd, sizeof(odd), values, 100), 1);
    EXPECT_EQ(GlobalSettings::decodeDump(dump, 4, values, 100), 0);
}
