#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

namespace zarnel
{

// A tooltip for any component: a widget that is a tooltip client takes it as its own; any other
// keeps it as a property, which TipWindow shows all the same.
class TipText
{
public:
    static void set(juce::Component& component, const juce::String& text);
    static juce::String of(juce::Component& component);

    TipText() = delete;

private:
    static juce::Component& holder(juce::Component& component);

    static const juce::Identifier property;
};

} // namespace zarnel
