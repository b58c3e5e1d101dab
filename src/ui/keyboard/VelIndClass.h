#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

namespace zarnel
{

class MidiCntrState;

// Shows and sets the on-screen keyboard's velocity as a bar; below 6 the keys take their velocity
// from the height of the click instead.
class VelIndClass : public juce::Component
{
public:
    static constexpr int width = 70, height = 120;
    static constexpr int dragAreaWidth = 40;

    explicit VelIndClass(MidiCntrState& state);

    void setScale(float s);
    // The value shown; follows the controller state's keyboard velocity.
    int getShownValue() const noexcept { return shownValue; }
    void refresh();

    void mouseDown(const juce::MouseEvent& e) override;
    void mouseDrag(const juce::MouseEvent& e) override;
    void mouseUp(const juce::MouseEvent& e) override;
    void paint(juce::Graphics& g) override;
    // Arrows step the velocity by one, with Shift by ten.
    bool keyPressed(const juce::KeyPress& key) override;
    std::unique_ptr<juce::AccessibilityHandler> createAccessibilityHandler() override;

private:
    void setVelocity(int v);
    void setFromPointer(int y);

    MidiCntrState& state;
    int shownValue = -1;
    float scale = 1.0f;
    bool dragging = false;
    juce::Image icon;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(VelIndClass)
};

} // namespace zarnel
