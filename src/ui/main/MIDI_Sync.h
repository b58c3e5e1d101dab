#pragma once

#include "../widgets/RateSlider.h"
#include "../widgets/StsLabel.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <vector>

namespace zarnel
{

// The latency part of the MIDI setup panel: the output delay for the host's current sample rate.
// It keeps a copy of the latency table and reports the whole table; the main component hands it
// to the controller state. Showing the table writes nothing back.
class MIDI_Sync : public juce::Component, public juce::ChangeListener, public juce::ChangeBroadcaster
{
public:
    MIDI_Sync();
    ~MIDI_Sync() override;

    void setLatencyState(int latencyMode, int sampleRateIndex, const std::vector<int>& table);

    int getLatencyMode() const noexcept { return latencyMode; }
    const std::vector<int>& getLatencyTable() const noexcept { return latencyTable; }
    // The last report came from letting go of the slider: the moment to save.
    bool wasReleased() const noexcept { return released; }

    RateSlider& getSlider() noexcept { return slider; }
    const StsLabel& getSampleRateLabel() const noexcept { return sampleRateLabel; }
    static juce::String sampleRateText(int index);

    void paint(juce::Graphics& g) override;
    void changeListenerCallback(juce::ChangeBroadcaster* source) override;
    void mouseUp(const juce::MouseEvent& e) override;

private:
    void takeSliderValue();
    void report(bool fromRelease);

    int latencyMode = 0;
    int sampleRateIndex = 0;
    std::vector<int> latencyTable;
    bool released = false;
    StsLabel sampleRateLabel;
    juce::Label delayLabel;
    RateSlider slider;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(MIDI_Sync)
};

} // namespace zarnel
