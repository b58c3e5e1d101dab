#include "TempFolder.h"

namespace zarnel::test
{

TempFolder::TempFolder()
    // A unique name: tests run in parallel processes, and picking a free name is not atomic.
    : folder(juce::File::getSpecialLocation(juce::File::tempDirectory)
                 .getChildFile("zarnel-test-" + juce::Uuid().toString()))
{
    folder.createDirectory();
}

TempFolder::~TempFolder()
{
    folder.deleteRecursively();
}

juce::StringArray TempFolder::fileNames() const
{
    juce::StringArray names;
    for (const auto& f : folder.findChildFiles(juce::File::findFiles | juce::File::ignoreHiddenFiles, false))
        names.add(f.getFileName());
    for (const auto& f : folder.findChildFiles(juce::File::findFiles, false, ".*"))
        names.addIfNotAlreadyThere(f.getFileName());
    names.sort(false);
    return names;
}

} // namespace zarnel::test
