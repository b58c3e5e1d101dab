#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

namespace zarnel
{

// A two-state switch drawn as a small light with its caption; flips on the press.
class SwitchLED : public juce::Component, public juce::ChangeBroadcaster
{
public:
    static constexpr juce::uint32 textColour = 0xFFFEFEFE;

    SwitchLED(const juce::String& caption, float fontHeight);

    void setOn(bool shouldBeOn);
    bool isOn() const noexcept { return on; }
    const juce::String& getCaption() const noexcept { return caption; }

    void paint(juce::Graphics& g) override;
    void mouseDown(const juce::MouseEvent& e) override;
    bool keyPressed(const juce::KeyPress& key) override;
    std::unique_ptr<juce::AccessibilityHandler> createAccessibilityHandler() override;

private:
    juce::String caption;
    float fontHeight;
    bool on = false;
    juce::Image lights;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(SwitchLED)
};

} // namespace zarnel
