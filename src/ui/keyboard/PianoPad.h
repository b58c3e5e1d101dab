#pragma once

#include "KeyOverlay.h"
#include "PianoKey.h"
#include "PianoLayout.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <array>
#include <memory>

namespace zarnel
{

class MidiCntrState;

// The five-octave piano: 65 keys from 12 x the keyboard octave, played with the mouse through the
// overlay on top of them, on the editor's MIDI channel straight to the instrument.
class PianoPad : public juce::Component
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

    PianoKey& getKey(int key) const noexcept { return *keys[(size_t)juce::jlimit(0, PianoLayout::numKeys - 1, key)]; }
    KeyOverlay& getOverlay() noexcept { return overlay; }
    const PianoLayout::Keys& getLayout() const noexcept { return layout; }

private:
    MidiCntrState& state;
    float scale = 1.0f;
    PianoLayout::Keys layout;
    std::array<std::unique_ptr<PianoKey>, PianoLayout::numKeys> keys;
    KeyOverlay overlay;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(PianoPad)
};

} // namespace zarnel
