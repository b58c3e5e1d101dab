#include "ui/sequencer/SeqSteps.h"

#include <gtest/gtest.h>

using namespace zarnel;

TEST(SeqSteps, Labels)
{
    const std::tuple<int, bool, const char*> cases[] = {
        {0, true, "C0"},    {1, true, "C+0"},  {2, true, "C#0"},  {24, true, "C1"}, {27, true, "C#+1"},
        {125, true, "D+5"}, {60, false, "60"}, {0, false, "0"},   {126, true, "RST"}, {126, false, "RST"},
        {127, true, "OFF"}, {127, false, "OFF"}, {200, false, "OFF"}, {128, true, "OFF"}, {255, true, "OFF"}};
    for (const auto& [value, notes, text] : cases)
        EXPECT_EQ(SeqSteps::label(value, notes), juce::String(text)) << value << " " << notes;
}

TEST(SeqSteps, TopBoxCyclesThroughTheCodesWithAndWithoutQuantize)
{
    for (const bool quantize : {false, true})
    {
        int shown = 60, saved = 0;
        std::vector<int> sent;
        for (int click = 0; click < 4; ++click)
        {
            shown = SeqSteps::quantized(SeqSteps::topBoxNext(shown, saved), quantize);
            sent.push_back(shown);
        }
        EXPECT_EQ(sent, (std::vector<int>{126, 127, 60, 126})) << "quantize " << quantize;
    }
    // A value quantize would move is given back as it was saved, then evened when sent.
    int saved = 0;
    EXPECT_EQ(SeqSteps::topBoxNext(61, saved), 126);
    EXPECT_EQ(SeqSteps::quantized(SeqSteps::topBoxNext(127, saved), true), 60);
}

TEST(SeqSteps, QuantizeEvensNoteValuesOnly)
{
    const std::tuple<int, int> cases[] = {{61, 60}, {60, 60}, {1, 0}, {-5, 0}, {125, 124}, {126, 126}, {127, 127}, {300, 127}};
    for (const auto& [asked, sent] : cases)
    {
        EXPECT_EQ(SeqSteps::quantized(asked, true), sent) << asked;
        EXPECT_EQ(SeqSteps::quantized(asked, false), juce::jlimit(0, 127, asked)) << asked;
    }
}

TEST(SeqSteps, DragHeightGivesTheValueOnTheLabelBoxCentre)
{
    // vy = 1 (a track of 155 pixels) and vy = 2.
    const std::tuple<float, float, int> cases[] = {
        {23.0f, 1.0f, 125}, {148.0f, 1.0f, 0}, {0.0f, 1.0f, 125}, {200.0f, 1.0f, 0},
        {87.0f, 1.0f, 61},  {87.5f, 1.0f, 60}, {46.0f, 2.0f, 125}, {296.0f, 2.0f, 0}, {170.0f, 2.0f, 63}};
    for (const auto& [y, vy, value] : cases)
        EXPECT_EQ(SeqSteps::dragValueAt(y, vy), value) << y << " " << vy;
}

TEST(SeqSteps, WheelSteps)
{
    struct Case
    {
        int shown;
        bool up, quantize;
        std::optional<int> next;
    };
    const Case cases[] = {
        {60, true, false, 61},   {60, false, false, 59},  {127, true, false, {}}, {0, false, false, {}},
        {125, true, false, 126}, {126, true, false, 127}, {60, true, true, 62},   {61, true, true, 62},
        {61, false, true, 60},   {124, true, true, 126},  {125, true, true, 126}, {126, true, true, 127},
        {127, true, true, {}},   {127, false, true, 126}, {126, false, true, 124}, {0, false, true, {}},
        {1, false, true, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(SeqSteps::wheelStep(c.shown, c.up, c.quantize), c.next)
            << c.shown << (c.up ? " up" : " down") << (c.quantize ? " quantized" : "");
}

TEST(SeqSteps, StepUnderThePointerIsStrictlyInside)
{
    const std::tuple<int, int, std::optional<int>> cases[] = {
        {1, 32, 0}, {31, 32, 0}, {32, 32, {}}, {33, 32, 1}, {0, 32, {}}, {511, 32, 15}, {512, 32, {}}, {600, 32, {}}};
    for (const auto& [x, width, step] : cases)
        EXPECT_EQ(SeqSteps::stepAt(x, width), step) << x;
    EXPECT_EQ(SeqSteps::parameterIndex(3, 15), 183);
    EXPECT_EQ(SeqSteps::parameterIndex(1, 0), 136);
}
