#pragma once

#include "KeyPlayClass.h"
#include "OctaveKeyClass.h"
#include "PianoPad.h"
#include "StripPosition.h"
#include "VelIndClass.h"
#include "WheelCnt.h"

#include <juce_gui_basics/juce_gui_basics.h>

namespace zarnel
{

class MidiCntrState;

// The keyboard strip at the bottom of the editor: velocity, pitch and modulation wheels, octave
// strip, piano and the computer-keyboard note player. Collapsed, only its grip shows; dragged up
// by the grip it snaps to fully shown or stays where it is let go. A change message after every
// drag asks the owner to bring it to the front.
class KeyBrd : public juce::Component,
               public juce::ChangeListener,
               public KeyPlayListener,
               public juce::ChangeBroadcaster
{
public:
    static constexpr int playerMode = NotePlayer::stripMode;

    explicit KeyBrd(MidiCntrState& state);
    ~KeyBrd() override;

    // Scales everything and collapses the strip.
    void rescale(float s);
    float getScale() const noexcept { return scale; }
    bool isCollapsed() const noexcept { return getY() >= StripPosition::top(StripPosition::collapsedTop, scale); }

    VelIndClass& getVelocity() noexcept { return velocity; }
    WheelCnt& getPitchWheel() noexcept { return pitchWheel; }
    WheelCnt& getModWheel() noexcept { return modWheel; }
    OctaveKeyClass& getOctaveStrip() noexcept { return octaveStrip; }
    PianoPad& getPiano() noexcept { return piano; }
    KeyPlayClass& getNotePlayer() noexcept { return player; }

    void paint(juce::Graphics& g) override;
    void mouseMove(const juce::MouseEvent& e) override;
    void mouseDown(const juce::MouseEvent& e) override;
    void mouseDrag(const juce::MouseEvent& e) override;
    void mouseUp(const juce::MouseEvent& e) override;

    void keyPlayDragStarted(int y) override;
    void keyPlayDragged(int y) override;
    void keyPlayDragEnded() override;
    // The octave strip moved: the computer keyboard's notes light at their new places.
    void changeListenerCallback(juce::ChangeBroadcaster* source) override;

private:
    juce::Rectangle<int> scaled(float x, float y, float w, float h) const;

    MidiCntrState& state;
    float scale = 1.0f;
    bool dragging = false;
    int dragStartTop = 0, dragStartY = 0;
    juce::Image grip, well;

    VelIndClass velocity;
    WheelCnt pitchWheel, modWheel;
    OctaveKeyClass octaveStrip;
    PianoPad piano;
    KeyPlayClass player;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(KeyBrd)
};

} // namespace zarnel
