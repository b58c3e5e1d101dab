#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

namespace zarnel
{
class MainComp;
}

// The library window: the preset bank page and its panels, the library page empty, with entries
// and a category, with a search, its questions and its LOAD menu.
bool writeLibrarySnapshots(zarnel::MainComp& main, const juce::File& outFolder,
                           bool (*writePng)(juce::Component&, const juce::File&));
