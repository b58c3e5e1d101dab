#pragma once

#include <juce_graphics/juce_graphics.h>

#include <optional>

namespace zarnel
{

class SettingsList;

// The editor window's size limits and the size the settings remember from the last editor of any
// instance (the Standalone and a newly loaded plug-in open at it).
class EditorSize
{
public:
    static constexpr int minWidth = 452;
    static constexpr int minHeight = 150;
    static constexpr int maxWidth = 1429;
    static constexpr int maxHeight = 1046;

    static juce::Point<int> limited(int width, int height);

    // The remembered width and height, within the limits; none while either entry is empty or
    // not a positive whole number.
    static std::optional<juce::Point<int>> remembered(const SettingsList& settings);

    EditorSize() = delete;
};

} // namespace zarnel
