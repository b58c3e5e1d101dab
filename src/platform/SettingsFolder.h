#pragma once

#include <juce_core/juce_core.h>

namespace zarnel
{

// Where the plug-in keeps its files. Everything that reads or writes there takes the folder as
// an argument, so tests run against a folder of their own and never touch the user's.
class SettingsFolder
{
public:
    static constexpr const char* folderName = "ZarnelSettings";

    static constexpr const char* settingsFileName = "mphedstx.dat";
    static constexpr const char* bankDataFileName = "data_X4m.mph";
    static constexpr const char* portFileName = "mhxplports.dat";
    static constexpr const char* libraryFileName = "x4Lib.m_l";

    // ZarnelSettings in the user's application-data directory.
    static juce::File defaultLocation();

    SettingsFolder() = delete;
};

} // namespace zarnel
