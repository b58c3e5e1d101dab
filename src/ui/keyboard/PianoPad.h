#pragma once

#include "KeyOverlay.h"
#include "PianoKey.h"
#include "PianoLayout.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <array>
#include <bitset>
#include <functional>
#include <memory>

namespace zarnel
{

class MidiCntrState;

// The five-octave piano: 65 keys from 12 x the keyboard octave, played with the mouse through the
// overlay on top of them, on the editor's MIDI channel straight to the instrument.
// From the keyboard it is one stop: Left and Right choose a key (Shift: an octave), Space or
// Return holds it; a screen reader's press on a key plays it for a moment.
class PianoPad : public juce::Component, private juce::Timer
{
public:
    explicit PianoPad(MidiCntrState& state);
    ~PianoPad() override;

    void setScale(float s);
    float getScale() const noexcept { return scale; }

    // Plays key i for a click y pixels below its top, unless it is pressed already or its note
    // is past 127; with a low keyboard velocity the height gives the velocity.
    void pressKey(int key, int y);
    void releaseKey(int key);
    // Every pressed key off (mouse up, the strip closing).
    void releaseAll();
    // Lights the keys of the notes held elsewhere (the computer keyboard), at the keyboard's
    // octave; after the octave changed, relights the same notes.
    void showHeldNotes(const std::function<bool(int note)>& isHeld);
    void refreshHeldNotes();

    PianoKey& getKey(int key) const noexcept { return *keys[(size_t)juce::jlimit(0, PianoLayout::numKeys - 1, key)]; }
    KeyOverlay& getOverlay() noexcept { return overlay; }
    int getFocusKey() const noexcept { return focusKey; }
    // The key's note name at the keyboard's octave ("C3"), empty past note 127.
    juce::String keyName(int key) const;
    // Plays the key and lets it go after accessPressMs.
    void playBriefly(int key);
    static constexpr int accessPressMs = 300;

    bool keyPressed(const juce::KeyPress& key) override;
    bool keyStateChanged(bool isKeyDown) override;
    void focusLost(FocusChangeType) override;
    void focusGained(FocusChangeType) override;
    void paintOverChildren(juce::Graphics& g) override;
    std::unique_ptr<juce::AccessibilityHandler> createAccessibilityHandler() override;
    const PianoLayout::Keys& getLayout() const noexcept { return layout; }

private:
    void timerCallback() override;
    // A strong velocity from the key's lower part, as a click there would give.
    void pressFromKeys(int key);

    MidiCntrState& state;
    int focusKey = 24; // the middle C of the five octaves
    int keyHeld = -1; // by Space or Return
    bool focusShown = false;
    int briefKey = -1; // by a screen reader's press
    std::bitset<128> heldElsewhere;
    float scale = 1.0f;
    PianoLayout::Keys layout;
    std::array<std::unique_ptr<PianoKey>, PianoLayout::numKeys> keys;
    KeyOverlay overlay;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(PianoPad)
};

} // namespace zarnel
