#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

namespace zarnel
{

class MidiCntrState;

// A miniature keyboard of the whole note range with the piano's five octaves lit: a click or drag
// moves them, which sets the on-screen keyboard's octave.
class OctaveKeyClass : public juce::Component, public juce::ChangeBroadcaster
{
public:
    static constexpr int pictureWidth = 269, pictureHeight = 18;
    static constexpr float stripScale = 0.7f; // of the keyboard strip's scale

    explicit OctaveKeyClass(MidiCntrState& state);

    // t: the miniature's own scale.
    void setScale(float t);
    int getFirstNote() const noexcept { return firstNote; }

    void mouseDown(const juce::MouseEvent& e) override;
    void mouseDrag(const juce::MouseEvent& e) override;
    void paint(juce::Graphics& g) override;
    // Left/Down and Right/Up move the five octaves by one.
    bool keyPressed(const juce::KeyPress& key) override;
    std::unique_ptr<juce::AccessibilityHandler> createAccessibilityHandler() override;

private:
    void chooseFirstNote(int first);
    void chooseAt(int x);

    MidiCntrState& state;
    int firstNote;
    float scale = stripScale;
    juce::Image picture;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(OctaveKeyClass)
};

} // namespace zarnel
