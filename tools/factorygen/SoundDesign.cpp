#include "SoundDesign.h"

namespace factorygen
{

const Record& defaultRecord()
{
    static const Record record = []
    {
        Record r{};
        static constexpr int kDefaults[][2] = {
            {0, 24},   {1, 49},   {2, 1},    {4, 1},     {6, 24},   {7, 51},   {8, 1},    {10, 1},
            {14, 2},   {15, 4},   {16, 64},  {20, 148},  {24, 1},   {25, 127}, {33, 127}, {38, 64},
            {39, 64},  {41, 120}, {42, 80},  {47, 80},   {52, 80},  {57, 80},  {63, 127}, {72, 127},
            {75, 127}, {78, 127}, {81, 127}, {83, 127},  {85, 127}, {87, 127}, {89, 127}, {91, 127},
            {96, 60},  {97, 100}, {99, 60},  {101, 120}, {102, 2},  {107, 1},  {108, 2},  {109, 9},
            {111, 5},  {112, 11}, {113, 44}, {114, 23},  {200, 16}, {201, 32}, {202, 64}, {203, 128},
            {204, 1},  {208, 2},  {212, 4},  {216, 8},   {220, 16}, {224, 32}, {228, 64}, {232, 128},
            {237, 1},  {241, 2},  {245, 4},  {249, 8},   {253, 16},
        };
        for (const auto& [index, value] : kDefaults)
            r[static_cast<std::size_t>(index)] = value;
        return r;
    }();
    return record;
}

ParamRange paramRange(int i)
{
    auto range = [](int lo, int hi) { return ParamRange{lo, hi, false}; };

    // The four LFOs share one layout, as do the four mod slots.
    if (i >= 42 && i <= 61)
    {
        switch ((i - 42) % 5)
        {
            case 0:
                return range(0, 166);
            case 1:
                return range(0, 4);
            case 2:
                return range(0, 127);
            case 3:
                return range(0, 47);
            default:
                return range(0, 1);
        }
    }
    if (i >= 71 && i <= 82)
    {
        switch ((i - 71) % 3)
        {
            case 0:
                return range(0, 20);
            case 1:
                return range(0, 254);
            default:
                return range(0, 47);
        }
    }
    if (i >= 83 && i <= 92)
        return (i - 83) % 2 == 0 ? range(0, 254) : range(0, 47);
    if (i >= 120 && i <= 135)
        return range(0, 127); // 127 on track 1 is a rest
    if (i >= 136 && i <= 183)
        return range(0, 126);
    if (i >= kNameIndex && i < kNameIndex + kNameLength)
        return range(32, 126);
    if (i == 99 || i == 100 || (i >= 111 && i <= 116) || i == 118 || i == 119 || i >= 200)
        return ParamRange{0, 0, true};

    switch (i)
    {
        case 0:
        case 6:
            return range(0, 120);
        case 1:
        case 7:
            return range(0, 100);
        case 2:
        case 8:
            return range(0, 103);
        case 4:
        case 10:
        case 12:
        case 24:
        case 70:
        case 95:
        case 98:
        case 104:
        case 106:
            return range(0, 1);
        case 13:
            return range(0, 3);
        case 14:
            return range(0, 5);
        case 15:
            return range(0, 12);
        case 20:
            return range(0, 164);
        case 25:
        case 63:
            return range(0, 254);
        case 62:
        case 107:
        case 109:
            return range(0, 47);
        case 93:
            return range(0, 4);
        case 94:
        case 105:
            return range(0, 5);
        case 101:
            return range(30, 250);
        case 102:
            return range(0, 12);
        case 103:
            return range(0, 14);
        case 108:
        case 110:
            return range(0, 48);
        case kCategoryIndex:
            return range(1, 25); // every factory sound gets a real category
        default:
            return range(0, 127);
    }
}

const char* categoryName(int category)
{
    static constexpr const char* kNames[] = {
        "- Not Assigned -", "Keys",       "Organs", "Strings",     "Soft Lead",
        "Bright Lead",      "Res Lead",   "Sync",   "Soft Bass",   "Bright Bass",
        "Res Bass",         "Sub Bass",   "Brass",  "Instruments", "Evolution",
        "Motion",           "Synth",      "Vox",    "Bells",       "Harmonics",
        "Sequence",         "Percussion", "Noise",  "Sound FX",    "Pads",
        "Arpeggiator",
    };
    if (category < 0 || category >= static_cast<int>(std::size(kNames)))
        return "?";
    return kNames[category];
}

} // namespace factorygen
