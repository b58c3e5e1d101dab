#include "ControlTable.h"

namespace zarnel
{

namespace
{

constexpr int M = ControlTable::menu, R = ControlTable::switchRight, K = ControlTable::knob,
              B = ControlTable::switchBelow, none = ControlTable::noSection;

// index, caption, section, type, minimum, maximum, display kind, x, y, width, height
const std::array<ControlTable::Row, 109> table{{
    {0, "Osc 1 Freq", 7, K, 0, 120, 778, 42, 42, 65, 64},
    {1, "Fine", 7, K, 0, 100, 888, 107, 42, 65, 64},
    {2, "Shape/PW", 7, K, 0, 103, 2, 172, 42, 65, 64},
    {3, "Glide", 7, K, 0, 127, 222, 237, 42, 65, 64},
    {4, "Keyboard", 7, B, 0, 1, 333, 367, 68, 65, 32},
    {5, "Sub Osc 1", 7, K, 0, 127, 222, 522, 42, 65, 64},
    {6, "Osc 2 Freq", 7, K, 0, 120, 778, 42, 106, 65, 64},
    {7, "Fine", 7, K, 0, 100, 888, 107, 106, 65, 64},
    {8, "Shape/PW", 7, K, 0, 103, 2, 172, 106, 65, 64},
    {9, "Glide", 7, K, 0, 127, 222, 237, 106, 65, 64},
    {10, "Keyboard", 7, B, 0, 1, 333, 367, 133, 65, 32},
    {11, "Sub Osc 2", 7, K, 0, 127, 222, 522, 106, 65, 64},
    {12, "Sync Osc 2->1", 7, R, 0, 1, 333, 155, 20, 105, 20},
    {13, "Glide Mode", 7, M, 0, 3, 11, 420, 50, 100, 32},
    {14, "Osc Slop", 7, K, 0, 5, 222, 437, 106, 65, 64},
    {15, "Pitch Bend Range", 6, M, 0, 12, 93, 1039, 133, 110, 32},
    {16, "Mix", 7, K, 0, 127, 222, 302, 42, 65, 64},
    {17, "Noise", 7, K, 0, 127, 222, 302, 106, 65, 64},
    {18, "FeedBk Vol", 7, K, 0, 127, 222, 587, 42, 65, 64},
    {19, "FeedBk Gain", 7, K, 0, 127, 222, 587, 106, 65, 64},
    {20, "Frequency", 0, K, 0, 164, 222, 42, 205, 65, 64},
    {21, "Resonance", 0, K, 0, 127, 222, 107, 205, 65, 64},
    {22, "Key Amt", 0, K, 0, 127, 222, 307, 205, 55, 64},
    {23, "Audio Mod", 0, K, 0, 127, 222, 522, 269, 65, 64},
    {24, "4 Pole", 0, B, 0, 1, 333, 42, 274, 65, 45},
    {25, "Amount", 0, K, 0, 254, 555, 172, 205, 65, 64},
    {26, "Velocity", 0, K, 0, 127, 222, 237, 205, 65, 64},
    {27, "Delay", 0, K, 0, 127, 222, 107, 269, 65, 64},
    {28, "Attack", 0, K, 0, 127, 222, 172, 269, 65, 64},
    {29, "Decay", 0, K, 0, 127, 222, 237, 269, 65, 64},
    {30, "Sustain", 0, K, 0, 127, 222, 302, 269, 65, 64},
    {31, "Release", 0, K, 0, 127, 222, 367, 269, 65, 64},
    {32, "VCA Level", 1, K, 0, 127, 222, 42, 368, 65, 64},
    {33, "Amount", 1, K, 0, 127, 222, 107, 368, 65, 64},
    {34, "Velocity", 1, K, 0, 127, 222, 172, 368, 65, 64},
    {35, "Delay", 1, K, 0, 127, 222, 42, 432, 65, 64},
    {36, "Attack", 1, K, 0, 127, 222, 107, 432, 65, 64},
    {37, "Decay", 1, K, 0, 127, 222, 172, 432, 65, 64},
    {38, "Sustain", 1, K, 0, 127, 222, 237, 432, 65, 64},
    {39, "Release", 1, K, 0, 127, 222, 302, 432, 65, 64},
    {40, "Pan Spread", 1, K, 0, 127, 222, 457, 432, 65, 64},
    {41, "Volume", 1, K, 0, 127, 222, 522, 432, 65, 64},
    {42, "Frequency", 5, K, 0, 166, 37, 611, 529, 65, 62},
    {43, "Shape", 5, M, 0, 4, 38, 616, 591, 120, 32},
    {44, "Amount", 5, K, 0, 127, 222, 676, 529, 65, 62},
    {45, "Destination", 5, M, 0, 47, 400, 616, 625, 120, 32},
    {46, "Sync", 5, R, 0, 1, 333, 660, 509, 66, 20},
    {47, "Frequency", 5, K, 0, 166, 37, 749, 529, 65, 62},
    {48, "Shape", 5, M, 0, 4, 38, 754, 591, 120, 32},
    {49, "Amount", 5, K, 0, 127, 222, 814, 529, 65, 62},
    {50, "Destination", 5, M, 0, 47, 400, 754, 625, 120, 32},
    {51, "Sync", 5, R, 0, 1, 333, 798, 509, 65, 20},
    {52, "Frequency", 5, K, 0, 166, 37, 887, 529, 65, 62},
    {53, "Shape", 5, M, 0, 4, 38, 892, 591, 120, 32},
    {54, "Amount", 5, K, 0, 127, 222, 952, 529, 65, 62},
    {55, "Destination", 5, M, 0, 47, 400, 892, 625, 120, 32},
    {56, "Sync", 5, R, 0, 1, 333, 936, 509, 65, 20},
    {57, "Frequency", 5, K, 0, 166, 37, 1025, 529, 65, 62},
    {58, "Shape", 5, M, 0, 4, 38, 1030, 591, 120, 32},
    {59, "Amount", 5, K, 0, 127, 222, 1090, 529, 65, 62},
    {60, "Destination", 5, M, 0, 47, 400, 1030, 625, 120, 32},
    {61, "Sync", 5, R, 0, 1, 333, 1074, 509, 65, 20},
    {62, "Destination", 2, M, 0, 47, 400, 44, 544, 115, 32},
    {63, "Amount", 2, K, 0, 254, 555, 172, 531, 65, 64},
    {64, "Velocity", 2, K, 0, 127, 222, 237, 531, 65, 64},
    {65, "Delay", 2, K, 0, 127, 222, 307, 531, 55, 64},
    {66, "Attack", 2, K, 0, 127, 222, 107, 595, 65, 64},
    {67, "Decay", 2, K, 0, 127, 222, 172, 595, 65, 64},
    {68, "Sustain", 2, K, 0, 127, 222, 237, 595, 65, 64},
    {69, "Release", 2, K, 0, 127, 222, 302, 595, 65, 64},
    {70, "Repeat Mode", 2, B, 0, 1, 333, 42, 602, 68, 45},
    {71, "Mod Source", 3, M, 0, 20, 65, 620, 204, 115, 32},
    {72, "Amount", 3, K, 0, 254, 555, 740, 205, 60, 64},
    {73, "Mod Dest", 3, M, 0, 47, 400, 620, 239, 115, 32},
    {74, "Mod Source", 3, M, 0, 20, 65, 620, 280, 115, 32},
    {75, "Amount", 3, K, 0, 254, 555, 740, 280, 60, 64},
    {76, "Mod Dest", 3, M, 0, 47, 400, 620, 314, 115, 32},
    {77, "Mod Source", 3, M, 0, 20, 65, 620, 354, 115, 32},
    {78, "Amount", 3, K, 0, 254, 555, 740, 354, 60, 64},
    {79, "Mod Dest", 3, M, 0, 47, 400, 620, 388, 115, 32},
    {80, "Mod Source", 3, M, 0, 20, 65, 620, 428, 115, 32},
    {81, "Amount", 3, K, 0, 254, 555, 740, 428, 60, 64},
    {82, "Mod Dest", 3, M, 0, 47, 400, 620, 462, 115, 32},
    {83, "Amount", 4, K, 0, 254, 555, 950, 189, 60, 62},
    {84, "Mod Wheel Destination", 4, M, 0, 47, 400, 830, 212, 115, 32},
    {85, "Amount", 4, K, 0, 254, 555, 950, 250, 60, 62},
    {86, "Pressure Destination", 4, M, 0, 47, 400, 830, 274, 115, 32},
    {87, "Amount", 4, K, 0, 254, 555, 950, 311, 60, 62},
    {88, "Breath Destination", 4, M, 0, 47, 400, 830, 335, 115, 32},
    {89, "Amount", 4, K, 0, 254, 555, 950, 372, 60, 62},
    {90, "Velocity Destination", 4, M, 0, 47, 400, 830, 396, 115, 32},
    {91, "Amount", 4, K, 0, 254, 555, 950, 433, 60, 62},
    {92, "Foot Destination", 4, M, 0, 47, 400, 830, 457, 115, 32},
    {93, "Mode", 9, M, 0, 4, 95, 1039, 436, 110, 32},
    {94, "Assign", 9, M, 0, 5, 96, 1039, 393, 110, 32},
    {95, "On / Off", 9, R, 0, 1, 333, 1039, 360, 110, 20},
    {96, "", 8, M, 0, 127, 111, 1102, 214, 45, 32},
    {97, "Note Vel", 8, K, 0, 127, 222, 1041, 208, 65, 60},
    {98, "Play Sw Mode", 8, M, 0, 1, 113, 1051, 275, 95, 32},
    {101, "Tempo", 6, K, 30, 250, 444, 1062, 27, 65, 64},
    {102, "Clock Divide", 6, M, 0, 12, 92, 1039, 92, 110, 32},
    {103, "Arpeggiator", 6, M, 0, 14, 97, 945, 133, 81, 32},
    {104, "", 6, R, 0, 1, 333, 912, 132, 28, 16},
    {105, "Sequencer Trigger", 6, M, 0, 4, 94, 917, 92, 110, 32},
    {106, "Sequencer", 6, R, 0, 1, 333, 912, 70, 110, 20},
    // Edited on the sequencer page; kept far above the panel, never seen here.
    {107, "Sequence 1 Dest", none, M, 0, 47, 400, 1174, -2000, 110, 32},
    {108, "Sequence 2 Dest", none, M, 0, 48, 4008, 1174, -2000, 110, 32},
    {109, "Sequence 3 Dest", none, M, 0, 47, 400, 1174, -2000, 110, 32},
    {110, "Sequence 4 Dest", none, M, 0, 48, 4010, 1174, -2000, 110, 32},
}};

const std::array<ControlTable::Section, ControlTable::numSections> sectionTable{{
    {"LOW PASS FILTER", {35, 165, 562, 154}},
    {"AMP", {35, 328, 562, 154}},
    {"ENVELOPE 3", {35, 491, 562, 154}},
    {"MODULATORS", {609, 165, 200, 317}},
    {"CONTROLS", {820, 165, 200, 317}},
    {"LFO", {609, 491, 549, 154}},
    {"", {907, 2, 250, 154}},
    {"OSCILLATORS", {35, 2, 630, 154}},
    {" PUSH IT!", {1030, 165, 128, 140}},
    {" ASSIGN", {1030, 318, 128, 164}},
    {"", {672, 79, 228, 77}},
}};

const std::array<std::array<int, ControlTable::numStages>, ControlTable::numEnvelopes> envelopeTable{{
    {28, 29, 30, 31},
    {36, 37, 38, 39},
    {66, 67, 68, 69},
}};

constexpr int envelopeX = 362, envelopeWidth = 226, envelopeHeight = 82;
constexpr std::array<int, ControlTable::numEnvelopes> envelopeY{170, 333, 496};

} // namespace

const std::array<ControlTable::Row, 109>& ControlTable::rows() noexcept
{
    return table;
}

const ControlTable::Row* ControlTable::find(int parameterIndex) noexcept
{
    for (const auto& row : table)
        if (row.index == parameterIndex)
            return &row;
    return nullptr;
}

int ControlTable::sectionOf(int parameterIndex) noexcept
{
    const auto* row = find(parameterIndex);
    return row != nullptr ? row->section : noSection;
}

const std::array<ControlTable::Section, ControlTable::numSections>& ControlTable::sections() noexcept
{
    return sectionTable;
}

int ControlTable::sectionAt(juce::Point<int> point, float scale) noexcept
{
    for (int i = 0; i < numSections; ++i)
    {
        const auto& r = sectionTable[(size_t)i].area;
        const float left = (float)r.getX() * scale, top = (float)r.getY() * scale;
        const float right = (float)r.getRight() * scale, bottom = (float)r.getBottom() * scale;
        const auto x = (float)point.x, y = (float)point.y;
        if (left < x && x < right && top < y && y < bottom)
            return i;
    }
    return noSection;
}

const std::array<int, ControlTable::numStages>& ControlTable::envelopeParameters(int envelope) noexcept
{
    return envelopeTable[(size_t)juce::jlimit(0, numEnvelopes - 1, envelope)];
}

std::optional<ControlTable::StageBinding> ControlTable::stageOf(int parameterIndex) noexcept
{
    for (int e = 0; e < numEnvelopes; ++e)
        for (int s = 0; s < numStages; ++s)
            if (envelopeTable[(size_t)e][(size_t)s] == parameterIndex)
                return StageBinding{e, s};
    return std::nullopt;
}

juce::Rectangle<int> ControlTable::envelopeArea(int envelope) noexcept
{
    return {envelopeX, envelopeY[(size_t)juce::jlimit(0, numEnvelopes - 1, envelope)], envelopeWidth, envelopeHeight};
}

} // namespace zarnel
