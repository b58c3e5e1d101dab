#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

namespace zarnel
{

// A check box; flips on the press and sends one change message. Its caption is drawn by the box
// itself only when caption-inside is on; otherwise the owner calls drawCaptionOn.
class Check_But : public juce::Component, public juce::ChangeBroadcaster, public juce::SettableTooltipClient
{
public:
    Check_But();

    void configure(const juce::String& caption, int y, int width, float fontHeight);

    void setTicked(bool shouldBeTicked);
    bool isTicked() const noexcept { return ticked; }

    void setCaptionInside(bool inside);
    void setTextColour(juce::Colour colour);
    const juce::String& getCaption() const noexcept { return caption; }
    bool isPressed() const noexcept { return pressed; }

    void drawCaptionOn(juce::Graphics& g) const;

    void paint(juce::Graphics& g) override;
    void mouseDown(const juce::MouseEvent& e) override;
    bool keyPressed(const juce::KeyPress& key) override;
    std::unique_ptr<juce::AccessibilityHandler> createAccessibilityHandler() override;
    void mouseUp(const juce::MouseEvent& e) override;

private:
    bool ticked = false;
    juce::Colour textColour{0xFF000000};
    float fontHeight = 14.0f;
    juce::String caption;
    bool captionInside = false;
    bool pressed = false;
    int boxWidth = 20, boxHeight = 11;
    juce::Image box, tickedBox, pressedBox;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(Check_But)
};

} // namespace zarnel
