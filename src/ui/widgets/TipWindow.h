#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

namespace zarnel
{

// The tooltips of one window, including those TipText keeps for widgets that are no tooltip
// clients. A top-level window needs its own: the editor's shows only inside the editor.
class TipWindow : public juce::TooltipWindow
{
public:
    explicit TipWindow(juce::Component* parent, int delayMs = 700) : juce::TooltipWindow(parent, delayMs) {}

    juce::String getTipFor(juce::Component& component) override;
};

} // namespace zarnel
