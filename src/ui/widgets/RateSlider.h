#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

namespace zarnel
{

// A millisecond value: drag along the track, or hold a step button for one step every 100 ms.
// Every set value sends a change message.
class RateSlider : public juce::Component, public juce::ChangeBroadcaster, public juce::SettableTooltipClient, private juce::Timer
{
public:
    static constexpr int stepIntervalMs = 100;

    RateSlider();
    ~RateSlider() override;

    void setMilliseconds(int milliseconds);
    // Shows a value the owner already holds: no change message, so nothing is written back.
    void showMilliseconds(int milliseconds);
    int getMilliseconds() const noexcept { return (int)value; }

    bool isLeftPressed() const noexcept { return leftPressed; }
    bool isRightPressed() const noexcept { return rightPressed; }
    bool isDragging() const noexcept { return dragging; }

    void paint(juce::Graphics& g) override;
    void mouseDown(const juce::MouseEvent& e) override;
    void mouseDrag(const juce::MouseEvent& e) override;
    void mouseUp(const juce::MouseEvent& e) override;
    // Arrow keys: one step, Shift a tenth of the range.
    bool keyPressed(const juce::KeyPress& key) override;
    std::unique_ptr<juce::AccessibilityHandler> createAccessibilityHandler() override;

private:
    void timerCallback() override;
    void store(int milliseconds);

    bool leftPressed = false, rightPressed = false, dragging = false;
    float value = 0.0f;
    float maximum = 1000.0f;
    float pixelsPerMillisecond = 164.0f / 1000.0f;
    int step = 1;
    juce::Image track, trackPressed;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(RateSlider)
};

} // namespace zarnel
