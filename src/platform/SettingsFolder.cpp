#include "SettingsFolder.h"

namespace zarnel
{

juce::File SettingsFolder::defaultLocation()
{
    return juce::File::getSpecialLocation(juce::File::userApplicationDataDirectory).getChildFile(folderName);
}

} // namespace zarnel
