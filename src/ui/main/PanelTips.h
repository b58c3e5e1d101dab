#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

namespace zarnel
{

// Tooltips of the bar's and the MIDI panels' controls, put where the editor's tooltip window looks:
// on the component under the mouse. A command button is covered by its inner button, so the tip
// goes there.
class PanelTips
{
public:
    // False when the component cannot hold a tip.
    static bool set(juce::Component& control, const juce::String& tip);
    // What the tooltip window shows over the control; empty when none.
    static juce::String get(juce::Component& control);

    PanelTips() = delete;

private:
    static juce::Component& holder(juce::Component& control);
};

} // namespace zarnel
