#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

namespace zarnel
{

// A text label that may fill and frame its background; a press inside it sends a change message.
class StsLabel : public juce::Component, public juce::ChangeBroadcaster, public juce::SettableTooltipClient
{
public:
    enum Background
    {
        none = 0,
        filled = 1,
        filledAndFramed = 2
    };

    StsLabel() = default;

    void configure(const juce::String& text, const juce::String& fontName, float fontHeight, int justification);
    void setText(const juce::String& newText);
    const juce::String& getText() const noexcept { return text; }

    void setBackgroundMode(int mode);
    void setFillColour(juce::Colour colour);
    void setFrameColour(juce::Colour colour);
    void setTextColour(juce::Colour colour);
    void setFontStyle(int styleFlags);
    void setFontHeight(float height);
    void setJustification(int flags);

    int getBackgroundMode() const noexcept { return backgroundMode; }
    juce::Font getFont() const;

    void paint(juce::Graphics& g) override;
    void mouseDown(const juce::MouseEvent& e) override;

    // A label whose press opens something is a button to the keyboard and to screen readers,
    // with this name and its text as value; the others read out their text.
    void makePressable(const juce::String& title);
    bool keyPressed(const juce::KeyPress& key) override;
    std::unique_ptr<juce::AccessibilityHandler> createAccessibilityHandler() override;

private:
    juce::String pressTitle;
    int backgroundMode = none;
    float fontHeight = 12.0f;
    juce::Colour textColour{0xFFFFFFFF};
    juce::String fontName{"Arial"};
    juce::String text;
    int justification = juce::Justification::centredLeft;
    int fontStyle = juce::Font::plain;
    juce::Colour fillColour{0xFF000000}, frameColour{0xFFFFFFFF};

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(StsLabel)
};

} // namespace zarnel
