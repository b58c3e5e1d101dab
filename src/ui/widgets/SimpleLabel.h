#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

namespace zarnel
{

// A filled one-line label in Arial, cut with an ellipsis when too long.
class SimpleLabel : public juce::Component
{
public:
    SimpleLabel(float fontHeight, juce::Colour background, int fontStyle, int justification);

    void setText(const juce::String& newText);
    const juce::String& getText() const noexcept { return text; }
    void setTextColour(juce::Colour colour);
    void setBackgroundColour(juce::Colour colour);

    void paint(juce::Graphics& g) override;
    std::unique_ptr<juce::AccessibilityHandler> createAccessibilityHandler() override;

private:
    juce::Colour backgroundColour;
    juce::Colour textColour{0xFFFFFFFF};
    float fontHeight;
    int fontStyle;
    int justification;
    juce::String text;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(SimpleLabel)
};

} // namespace zarnel
