#include "PopupMenuLook.h"

namespace zarnel
{

PopupMenuLook::PopupMenuLook()
{
    setColour(juce::PopupMenu::backgroundColourId, juce::Colour(background));
    setColour(juce::PopupMenu::textColourId, juce::Colour(text));
    setColour(juce::PopupMenu::headerTextColourId, juce::Colour(text));
    setColour(juce::PopupMenu::highlightedBackgroundColourId, juce::Colour(highlightedBackground));
    setColour(juce::PopupMenu::highlightedTextColourId, juce::Colour(text));
}

} // namespace zarnel
