#pragma once

#include "ui/widgets/WheelSteps.h"

#include <juce_gui_basics/juce_gui_basics.h>

namespace zarnel
{

class MidiCntrState;

// The pitch wheel (springing back to the middle when let go) or the modulation wheel. A move made
// here goes to the instrument on the editor's channel, the pitch wheel to the host as well; a move
// reported by the instrument is only shown.
class WheelCnt : public juce::Component, public juce::ChangeBroadcaster
{
public:
    static constexpr int centre = 64;
    static constexpr int numFrames = 35, frameStep = 54, frameWidth = 55, frameHeight = 200;
    static constexpr int width = 31, height = 112;

    WheelCnt(MidiCntrState& state, bool springing);
    ~WheelCnt() override;

    // v is limited to 0..127; an unchanged value does nothing.
    void setValue(float v, bool send);
    float getValue() const noexcept { return value; }
    int getFrame() const noexcept { return frame; }
    bool isSpringing() const noexcept { return springing; }
    void setScale(float s) noexcept { scale = s; }

    void mouseDown(const juce::MouseEvent& e) override;
    void mouseDrag(const juce::MouseEvent& e) override;
    void mouseUp(const juce::MouseEvent& e) override;
    void mouseWheelMove(const juce::MouseEvent& e, const juce::MouseWheelDetails& wheel) override;
    void paint(juce::Graphics& g) override;
    // Up and Down turn the wheel (Shift: a tenth of its travel); the pitch wheel stays where the
    // keys leave it, as after the mouse wheel.
    bool keyPressed(const juce::KeyPress& key) override;
    std::unique_ptr<juce::AccessibilityHandler> createAccessibilityHandler() override;

private:
    void sendValue();

    MidiCntrState& state;
    const bool springing;
    float value;
    int frame;
    float scale = 1.0f;
    juce::Image strip;
    bool held = false;
    bool sentOffCentre = false; // a value shown for the instrument's own wheel is never sent back
    int dragStartY = 0;
    float dragStartValue = 0.0f;
    WheelSteps wheelSteps;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(WheelCnt)
};

} // namespace zarnel
