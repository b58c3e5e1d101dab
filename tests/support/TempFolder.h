#pragma once

#include <juce_core/juce_core.h>

namespace zarnel::test
{

// A fresh folder under the system's temporary directory, removed with its content afterwards.
class TempFolder
{
public:
    TempFolder();
    ~TempFolder();

    const juce::File& get() const noexcept { return folder; }
    juce::File file(const juce::String& name) const { return folder.getChildFile(name); }

    // Names of every file in the folder, hidden ones included.
    juce::StringArray fileNames() const;

private:
    juce::File folder;
    JUCE_DECLARE_NON_COPYABLE(TempFolder)
};

} // namespace zarnel::test
