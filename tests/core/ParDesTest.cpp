#include "model/ParDes.h"

#include <gtest/gtest.h>

using zarnel::ParDes;

namespace
{

struct ValueTextCase
{
    int kind;
    int value;
    const char* text;
};

class ValueText : public ::testing::TestWithParam<ValueTextCase>
{
};

TEST_P(ValueText, FormatsStoredValue)
{
    const auto& c = GetParam();
    EXPECT_EQ(ParDes::formatParameterValue(c.kind, c.value), juce::String(c.text))
        << "kind " << c.kind << " value " << c.value;
}

// Every display kind, at its ends and at the places where its text changes form.
INSTANTIATE_TEST_SUITE_P(
    EveryKind, ValueText,
    ::testing::Values(
        ValueTextCase{2, 0, "OFF"}, ValueTextCase{2, 1, "SAW"}, ValueTextCase{2, 2, "TRI"},
        ValueTextCase{2, 3, "SAW/TRI"}, ValueTextCase{2, 4, "PW 00"}, ValueTextCase{2, 13, "PW 09"},
        ValueTextCase{2, 14, "PW 10"}, ValueTextCase{2, 103, "PW 99"},
        ValueTextCase{11, 0, "Fixed Rate"}, ValueTextCase{11, 3, "Fixed Time Auto"}, ValueTextCase{11, 4, "*/*"},
        ValueTextCase{37, 0, "0"}, ValueTextCase{37, 150, "150"}, ValueTextCase{37, 151, "32 st"},
        ValueTextCase{37, 158, "1.5 st"}, ValueTextCase{37, 166, "1/16 st"}, ValueTextCase{37, 167, "167"},
        ValueTextCase{38, 0, "Triangle"}, ValueTextCase{38, 3, "Pulse (square)"}, ValueTextCase{38, 4, "Random"},
        ValueTextCase{38, 5, "*/*"},
        ValueTextCase{65, 0, "OFF"}, ValueTextCase{65, 4, "Sequence Track 4"}, ValueTextCase{65, 9, "Filter Envelope"},
        ValueTextCase{65, 20, "Noise"}, ValueTextCase{65, 21, "*/*"}, ValueTextCase{65, 22, "*/*"},
        ValueTextCase{92, 0, "Half Note"}, ValueTextCase{92, 7, "16th N 1/2S"}, ValueTextCase{92, 12, "64th N T"},
        ValueTextCase{92, 13, "*/*"},
        ValueTextCase{93, 0, "Range   0"}, ValueTextCase{93, 12, "Range   12"},
        ValueTextCase{94, 0, "Normal"}, ValueTextCase{94, 5, "Audio In"}, ValueTextCase{94, 6, "*/*"},
        ValueTextCase{95, 0, "1 voice"}, ValueTextCase{95, 4, "All detune 3"}, ValueTextCase{95, 5, "*/*"},
        ValueTextCase{96, 0, "Low Note "}, ValueTextCase{96, 1, "Low Note RT"}, ValueTextCase{96, 2, "High Note "},
        ValueTextCase{96, 5, "Last Note Hit RT"}, ValueTextCase{96, 6, "*/*"},
        ValueTextCase{97, 0, "Up"}, ValueTextCase{97, 7, "2 Oct Up/Down"}, ValueTextCase{97, 14, "3 Oct Random"},
        ValueTextCase{97, 15, "*/*"},
        ValueTextCase{111, 0, "C0"}, ValueTextCase{111, 61, "C#5"}, ValueTextCase{111, 127, "G10"},
        ValueTextCase{778, 60, "C5"}, ValueTextCase{778, 120, "C10"}, ValueTextCase{778, 11, "B0"},
        ValueTextCase{113, 0, "NORMAL"}, ValueTextCase{113, 1, "TOGGLE"}, ValueTextCase{113, 2, "*/*"},
        ValueTextCase{333, 0, "OFF"}, ValueTextCase{333, 1, "ON"}, ValueTextCase{333, 77, "ON"},
        ValueTextCase{400, 0, "OFF"}, ValueTextCase{400, 6, "Osc 1 Pulse Width"}, ValueTextCase{400, 27, "Env All Amounts"},
        ValueTextCase{400, 47, "Feedback Gain"}, ValueTextCase{400, 48, ""},
        ValueTextCase{444, 120, "120 bpm"}, ValueTextCase{444, 30, "30 bpm"},
        ValueTextCase{555, 0, "-127"}, ValueTextCase{555, 127, "0"}, ValueTextCase{555, 254, "127"},
        ValueTextCase{888, 0, "-50"}, ValueTextCase{888, 50, "0"}, ValueTextCase{888, 100, "50"},
        ValueTextCase{4008, 48, "Sequencer 1 Slew"}, ValueTextCase{4008, 9, "Low Pass"},
        ValueTextCase{4010, 48, "Sequencer 2 Slew"}, ValueTextCase{4010, 1, "Osc 1 Freq"},
        ValueTextCase{0, 99, "99"}, ValueTextCase{222, 127, "127"}, ValueTextCase{567, 5, "5"}));

TEST(ParDesNames, HostNames)
{
    const std::pair<int, const char*> cases[] = {
        {0, "OSC1 FREQ"},       {5, "Sub OSC 1"},   {24, "Flter Poles"}, {60, "LFO 4 Mod Dst"},
        {98, "PushIt Sw Mode"}, {99, ""},           {100, ""},           {101, "BPM Tempo"},
        {110, "Seq 4 Dest"},    {111, ""},          {117, ""},           {119, ""},
        {120, "Seq 1 Step 1"},  {140, "Seq 2 Step 5"}, {183, "Seq 4 Step 16"}, {184, ""},
        {199, ""},              {-1, ""},           {200, ""}};
    for (const auto& [index, name] : cases)
        EXPECT_EQ(ParDes::hostParameterName(index), juce::String(name)) << "index " << index;
}

TEST(ParDesNames, Categories)
{
    EXPECT_EQ(ParDes::categoryName(0), "- Not Assigned -");
    EXPECT_EQ(ParDes::categoryName(17), "Vox");
    EXPECT_EQ(ParDes::categoryName(25), "Arpeggiator");
    EXPECT_EQ(ParDes::categoryName(26), "");
    EXPECT_EQ(ParDes::categoryName(-1), "");
}

} // namespace
