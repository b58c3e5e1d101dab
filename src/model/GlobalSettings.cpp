#include "GlobalSettings.h"

#include <array>

namespace zarnel
{

namespace
{

const std::array<GlobalSettings::Setting, GlobalSettings::numSettings> settings{{
    {"COARSE", 384, 24},
    {"FINE", 385, 100},
    {"MIDI CHANNEL:", 386, 16},
    {"MIDI CLOCK MODE", 388, 3},
    {"MIDI PARAM SEND", 390, 2},
    {"MIDI PARAM RECV", 391, 3},
    {"MIDI CONTROLLER ENA", 394, 1},
    {"MIDI SYSEX ENABLE", 395, 1},
    {"MIDI OUT SELECT", 406, 1},
    {"POLY CHAIN", 387, 6},
    {"LOCAL CONTROL", 389, 1},
    {"AUDIO OUTPUT", 400, 1},
    {"POT MODE", 404, 2},
    {"DUMPER POLARITY", 397, 3},
    {"PEDAL", 396, 5},
    {"PRESSURE ENA", 393, 1},
    {"PRESSURE CURVE", 399, 3},
    {"VELOCITY CURVE", 398, 3},
    {"ARP LATCH MODE", 414, 1},
}};

template <size_t N>
juce::String listed(const std::array<const char*, N>& texts, int value)
{
    if (value >= 0 && value < (int)N)
        return texts[(size_t)value];
    return juce::String(value);
}

const std::array<const char*, 2> offOn{"OFF", "ON"};

} // namespace

const GlobalSettings::Setting& GlobalSettings::setting(int index)
{
    return settings[(size_t)juce::jlimit(0, numSettings - 1, index)];
}

juce::String GlobalSettings::valueText(int index, int value)
{
    switch (index)
    {
        case 0:
            return juce::String(value - 12);
        case 1:
            return juce::String(value - 50);
        case 2:
            if (value == 0)
                return "ALL CHANNELS";
            if (value >= 1 && value <= 16)
                return "CHANNEL " + juce::String(value);
            return value > 16 ? juce::String() : juce::String(value);
        case 3:
            return listed(std::array<const char*, 4>{"INTERNAL", "INT + SEND", "EXTERNAL", "EXT + SEND"}, value);
        case 4:
            return listed(std::array<const char*, 3>{"NRPN", "CC", "OFF"}, value);
        case 5:
            return listed(std::array<const char*, 4>{"ALL", "NRPN", "CC", "OFF"}, value);
        case 6:
        case 7:
        case 10:
        case 15:
            return listed(offOn, value);
        case 8:
            return listed(std::array<const char*, 2>{"MIDI OUT", "MIDI THRU"}, value);
        case 9:
            return listed(std::array<const char*, 7>{"OFF", "OUT 1", "OUT 4", "OUT 5", "OUT 8", "OUT 12", "OUT 16"},
                          value);
        case 11:
            return listed(std::array<const char*, 2>{"STEREO", "MONO"}, value);
        case 12:
            return listed(std::array<const char*, 3>{"RELATIVE", "PASSTHRU", "JUMP"}, value);
        case 13:
            return listed(std::array<const char*, 4>{"SUST OPEN", "SUST CLOSED", "ARP LATCH OP", "ARP LATCH CL"},
                          value);
        case 14:
            return listed(std::array<const char*, 6>{"FOOT CNTRL", "BREATH", "EXPRESSION", "VOLUME", "LP FILTER",
                                                     "LP F. HALFf"},
                          value);
        case 16:
        case 17:
            return listed(std::array<const char*, 4>{"CURVE 1", "CURVE 2", "CURVE 3", "CURVE 4"}, value);
        case 18:
            return listed(std::array<const char*, 2>{"NORMAL", "RELATCH"}, value);
        default:
            return juce::String(value);
    }
}

juce::StringArray GlobalSettings::missingRequirements(const std::function<int(int)>& valueOf)
{
    struct Wanted
    {
        int index, value;
    };
    static constexpr Wanted wanted[] = {{4, 0}, {5, 0}, {6, 1}}; // PARAM SEND NRPN, RECV ALL, CONTROLLERS ON
    juce::StringArray lines;
    for (const auto& w : wanted)
    {
        const int now = valueOf(w.index);
        if (now != w.value)
            lines.add(juce::String(setting(w.index).label) + " = " + valueText(w.index, w.value) + " (now: "
                      + valueText(w.index, now) + ")");
    }
    return lines;
}

int GlobalSettings::indexForIncomingNrpn(int nrpn) noexcept
{
    if (nrpn == 393)
        return -1;
    for (int i = 0; i < numSettings; ++i)
        if (settings[(size_t)i].nrpn == nrpn)
            return i;
    return -1;
}

int GlobalSettings::decodeDump(const std::uint8_t* message, size_t size, std::int8_t* values, int maxValues)
{
    if (message == nullptr || size < 5)
        return 0;
    int stored = 0;
    // Whole nibble pairs only: in a malformed dump of odd length the last "pair" would take the
    // end marker as its high nibble.
    for (size_t i = 0; 5 + 2 * i < size - 1; ++i)
    {
        if ((int)i >= maxValues)
            break; // pairs past the array are not kept
        const int value = message[4 + 2 * i] + 16 * message[5 + 2 * i];
        values[i] = (std::int8_t)(std::uint8_t)(value & 0xFF);
        ++stored;
    }
    return stored;
}

} // namespace zarnel
