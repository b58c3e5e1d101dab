#pragma once

#include <juce_core/juce_core.h>

#include <functional>

namespace zarnel
{

// The synthesizer's 19 global settings: labels, NRPN numbers, ranges and value texts.
class GlobalSettings
{
public:
    static constexpr int numSettings = 19;
    static constexpr int numStoredValues = 100;

    struct Setting
    {
        const char* label;
        int nrpn;
        int maximum;
    };

    static const Setting& setting(int index);
    static bool isValidIndex(int index) noexcept { return index >= 0 && index < numSettings; }

    // The text the global settings page shows for a value.
    static juce::String valueText(int index, int value);

    // The global index an incoming NRPN number updates, or -1. "PRESSURE ENA" (393) is sent but
    // not recognised on arrival.
    static int indexForIncomingNrpn(int nrpn) noexcept;

    // The settings the editor relies on (parameters sent as NRPN and all received, controllers
    // on) that the synthesizer's values miss, one "LABEL = wanted (now: current)" line each.
    static juce::StringArray missingRequirements(const std::function<int(int index)>& valueOf);

    // Decodes a global parameter dump (F0 01 29 0F, nibble pairs, F7) into at most maxValues
    // values; returns how many the dump carried that were stored.
    static int decodeDump(const std::uint8_t* message, size_t size, std::int8_t* values, int maxValues);

    GlobalSettings() = delete;
};

} // namespace zarnel
