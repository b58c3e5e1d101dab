#pragma once

#include <juce_core/juce_core.h>

namespace zarnel
{

// Texts of the parameter model: value texts by display kind, host names, category names.
// Holds no state; the category menu lives with the user interface.
class ParDes
{
public:
    static constexpr int numCategories = 26;

    static juce::String formatParameterValue(int kind, int value);
    static juce::String hostParameterName(int index);
    static juce::String categoryName(int index);

    // "C0" .. "C10": note name of value mod 12 followed by value div 12.
    static juce::String noteName(int value);
    static juce::String modDestinationName(int value);

    ParDes() = delete;
};

} // namespace zarnel
