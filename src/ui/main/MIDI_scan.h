#pragma once

#include "../widgets/StsBut.h"

#include "../../midi/PortSearch.h"

#include <juce_gui_basics/juce_gui_basics.h>

namespace zarnel
{

class MidiCntrState;

// Shows the automatic port search over the editor: the pair being tried, then what was found or
// why nothing was. It covers the editor and takes its clicks while shown. Its button (CANCEL while
// the search runs, OK afterwards) sends its change message; the main component then ends the
// search if it still runs and removes the panel. It keeps the keyboard while shown: Escape, Return
// and Space answer its button. The box is scaled down when the window is too small for it.
class MIDI_scan : public juce::Component, public juce::ChangeBroadcaster, public stsbutChangeListener
{
public:
    static constexpr int buttonCode = 1311;
    static constexpr int boxWidth = 520;
    static constexpr int minBoxHeight = 170;
    // Room kept around the box (its shadow included), unscaled.
    static constexpr int margin = 18;

    explicit MIDI_scan(MidiCntrState& state);
    ~MIDI_scan() override;

    // Reads the search as it stands now.
    void refresh();

    const PortSearch::Report& getReport() const noexcept { return shown; }
    juce::String getText() const { return shown.title + "\n" + shown.lines.joinIntoString("\n"); }
    StsBut& getButton() noexcept { return button; }
    float getScale() const noexcept { return scale; }

    void paint(juce::Graphics& g) override;
    void resized() override;
    void stsbutChanged(StsBut* source) override;
    bool keyPressed(const juce::KeyPress& key) override;

private:
    // The box in its own unscaled pixels, at (0, 0); boxTransform places it in the panel.
    juce::Rectangle<int> box() const;
    juce::AffineTransform boxTransform() const;

    MidiCntrState& state;
    PortSearch::Report shown;
    PortSearch::Phase phase = PortSearch::Phase::idle;
    bool running = false;
    float progress = 0.0f;
    float scale = 1.0f;
    StsBut button{"CANCEL", buttonCode, StsBut::dialog};

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(MIDI_scan)
};

} // namespace zarnel
