#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <functional>

namespace zarnel
{

// One key of the on-screen piano. It keeps what it sent, so its note-off goes to that note and
// channel whatever the octave or channel became meanwhile; it repaints a moment after a change,
// only when it then looks different.
class PianoKey : public juce::Component, private juce::Timer
{
public:
    static constexpr int pressRepaintMs = 20, releaseRepaintMs = 30;

    PianoKey(int index, bool black);

    int getIndex() const noexcept { return index; }
    bool isBlack() const noexcept { return black; }
    bool isPressed() const noexcept { return sentNote >= 0; }
    int getSentNote() const noexcept { return sentNote; }
    int getSentChannel() const noexcept { return sentChannel; }
    int getLastVelocity() const noexcept { return lastVelocity; }

    void markPressed(int channel, int note, int velocity);
    void markReleased();
    // Lit: its note is held elsewhere (the computer keyboard); it looks pressed but sent nothing.
    void setLit(bool shouldBeLit);
    bool isLit() const noexcept { return lit; }
    bool looksPressed() const noexcept { return isPressed() || lit; }

    void paint(juce::Graphics& g) override;

    // What a screen reader hears and does: the note's name, and a press that plays it briefly.
    std::function<juce::String()> accessName;
    std::function<void()> accessPress;
    std::unique_ptr<juce::AccessibilityHandler> createAccessibilityHandler() override;

private:
    void timerCallback() override;

    const int index;
    const bool black;
    int sentChannel = 0, sentNote = -1, lastVelocity = 0;
    bool paintedPressed = false;
    bool lit = false;
    juce::Image up, down;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(PianoKey)
};

} // namespace zarnel
