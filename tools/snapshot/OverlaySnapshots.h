#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <functional>

// Every overlay, one at a time, and the application bar, at the smallest window and at a small
// usual one. The port search finds an instrument whose global settings are wrong, so its report
// carries the warning lines.
bool writeOverlaySnapshots(const juce::File& outFolder,
                           const std::function<bool(juce::Component&, const juce::File&)>& writePng);
