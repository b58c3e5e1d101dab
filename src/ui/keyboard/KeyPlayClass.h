#pragma once

#include "KeyPlayListener.h"
#include "NotePlayer.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <functional>

namespace zarnel
{

class MidiCntrState;

// The note player on screen: takes the keyboard focus when clicked, plays the computer keyboard
// through NotePlayer on the editor's MIDI channel and shows what it did for a moment. Whatever it
// holds is released when it loses the focus or goes away.
class KeyPlayClass : public juce::Component, private juce::Timer, private NotePlayer::Output
{
public:
    static constexpr int statusMs = 750;

    KeyPlayClass(MidiCntrState& state, int mode);
    ~KeyPlayClass() override;

    void addListener(KeyPlayListener* listener);
    void removeListener(KeyPlayListener* listener);
    void setFontSize(float size);

    // Whether a letter's key is down now; the system's keyboard unless a test says otherwise.
    void setKeyDownQuery(std::function<bool(char letter)> query) { keyDown = std::move(query); }

    NotePlayer& getPlayer() noexcept { return player; }
    // Called whenever the notes the player holds may have changed (the strip lights its piano).
    std::function<void()> onHeldNotesChanged;
    const juce::String& getStatus() const noexcept { return player.getStatus(); }

    bool keyPressed(const juce::KeyPress& key) override;
    bool keyStateChanged(bool isKeyDown) override;
    void focusGained(FocusChangeType cause) override;
    void focusLost(FocusChangeType cause) override;
    void mouseDown(const juce::MouseEvent& e) override;
    void mouseDrag(const juce::MouseEvent& e) override;
    void mouseUp(const juce::MouseEvent& e) override;
    void paint(juce::Graphics& g) override;

private:
    void timerCallback() override;
    void noteOn(int channel, int note, int velocity) override;
    void noteOff(int channel, int note) override;
    void heldNotesChanged();
    void statusChanged();
    int yInParent(const juce::MouseEvent& e) const noexcept { return getY() + e.y; }

    MidiCntrState& state;
    NotePlayer player;
    juce::Array<KeyPlayListener*> listeners;
    std::function<bool(char)> keyDown;
    float fontSize = 10.0f;
    juce::String shownStatus;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(KeyPlayClass)
};

} // namespace zarnel
