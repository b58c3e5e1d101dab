#include "MIDI_Sync.h"

#include "../look/ZarnelLookAndFeel.h"

namespace zarnel
{

MIDI_Sync::MIDI_Sync()
{
    setTitle("MIDI clock");
    sampleRateLabel.configure({}, "Arial", 12.0f, juce::Justification::centred);
    sampleRateLabel.setBounds(76, 30, 60, 14);
    addAndMakeVisible(sampleRateLabel);

    delayLabel.setText("Delay:", juce::dontSendNotification);
    delayLabel.setFont(ZarnelLookAndFeel::arial(12.0f));
    delayLabel.setJustificationType(juce::Justification::centredLeft);
    delayLabel.setColour(juce::Label::textColourId, juce::Colour(0xfff3f3f3));
    delayLabel.setBorderSize({});
    delayLabel.setInterceptsMouseClicks(false, false);
    delayLabel.setBounds(26, 48, 150, 24);
    addAndMakeVisible(delayLabel);

    slider.setBounds(76, 50, 200, 18);
    slider.addChangeListener(this);
    slider.setTitle("Output delay");
    slider.addMouseListener(this, false);
    addAndMakeVisible(slider);

    setSize(400, 200);
}

MIDI_Sync::~MIDI_Sync()
{
    slider.removeMouseListener(this);
    slider.removeChangeListener(this);
}

juce::String MIDI_Sync::sampleRateText(int index)
{
    static const char* const texts[] = {"44100 Hz", "48000 Hz", "88200 Hz", "96000 Hz", "176400 Hz", "192000 Hz"};
    return index >= 0 && index < 6 ? texts[index] : "";
}

void MIDI_Sync::setLatencyState(int mode, int rateIndex, const std::vector<int>& table)
{
    latencyMode = mode;
    sampleRateIndex = rateIndex;
    latencyTable = table;
    sampleRateLabel.setText(sampleRateText(rateIndex));
    const int shown = rateIndex >= 0 && rateIndex < (int)table.size() ? juce::jmax(0, table[(size_t)rateIndex]) : 0;
    slider.showMilliseconds(juce::jmin(shown, 1000));
}

void MIDI_Sync::takeSliderValue()
{
    if (sampleRateIndex < 0)
        return;
    if ((int)latencyTable.size() <= sampleRateIndex)
        latencyTable.resize((size_t)sampleRateIndex + 1, 0);
    latencyTable[(size_t)sampleRateIndex] = slider.getMilliseconds();
}

void MIDI_Sync::report(bool fromRelease)
{
    released = fromRelease;
    // At once: the owner reads the table now, before another change can replace it.
    sendSynchronousChangeMessage();
}

void MIDI_Sync::changeListenerCallback(juce::ChangeBroadcaster* source)
{
    if (source != &slider)
        return;
    takeSliderValue();
    report(false);
}

void MIDI_Sync::mouseUp(const juce::MouseEvent& e)
{
    if (e.eventComponent != &slider)
        return;
    // A last value may still wait in the slider's change message: taken here, so it is saved.
    takeSliderValue();
    report(true);
}

void MIDI_Sync::paint(juce::Graphics& g)
{
    g.setColour(juce::Colour(0xfff3f3f3));
    g.setFont(ZarnelLookAndFeel::arial(12.0f));
    g.drawSingleLineText("Latency settings:", 20, 14);
    g.drawSingleLineText("S.Rate: ", 30, 41);
}

} // namespace zarnel
