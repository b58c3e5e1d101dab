#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

namespace zarnel
{

class ZarnelAudioProcessor;

// One of the 185 host parameters: byte `index` of the program being edited, normalised by the
// parameter's maximum. The processor holds the value; this only presents it to the host.
class HostParameter : public juce::AudioProcessorParameterWithID
{
public:
    HostParameter(ZarnelAudioProcessor& owner, int recordIndex);

    float getValue() const override;
    void setValue(float newValue) override;
    float getDefaultValue() const override;
    juce::String getName(int maximumStringLength) const override;
    juce::String getLabel() const override { return {}; }
    juce::String getText(float normalisedValue, int maximumStringLength) const override;
    float getValueForText(const juce::String& text) const override;
    int getNumSteps() const override;
    bool isDiscrete() const override { return true; }
    bool isAutomatable() const override { return true; }
    bool isMetaParameter() const override { return false; }

private:
    ZarnelAudioProcessor& processor;
    const int index;
    const int maximum;
    const int kind;
};

} // namespace zarnel
