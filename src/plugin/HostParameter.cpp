#include "HostParameter.h"

#include "ZarnelAudioProcessor.h"

#include "../model/DefaultProgram.h"
#include "../model/ParDes.h"
#include "../model/ParamTables.h"

#include <cmath>

namespace zarnel
{

HostParameter::HostParameter(ZarnelAudioProcessor& owner, int recordIndex)
    : AudioProcessorParameterWithID(juce::ParameterID{"p" + juce::String(recordIndex), 1},
                                    ParDes::hostParameterName(recordIndex)),
      processor(owner),
      index(recordIndex),
      maximum(ParamTables::get().maximum(recordIndex)),
      kind(ParamTables::get().kind(recordIndex))
{
}

float HostParameter::getValue() const
{
    return processor.getParameter(index);
}

void HostParameter::setValue(float newValue)
{
    processor.setParameter(index, newValue);
}

float HostParameter::getDefaultValue() const
{
    if (maximum <= 0)
        return 0.0f;
    return juce::jlimit(0.0f, 1.0f, (float)DefaultProgram::record()[(size_t)index] / (float)maximum);
}

juce::String HostParameter::getName(int maximumStringLength) const
{
    return name.substring(0, maximumStringLength);
}

juce::String HostParameter::getText(float normalisedValue, int maximumStringLength) const
{
    const int value = ZarnelAudioProcessor::storedValueFor(normalisedValue, maximum);
    return ParDes::formatParameterValue(kind, value).substring(0, maximumStringLength);
}

float HostParameter::getValueForText(const juce::String& text) const
{
    if (maximum <= 0)
        return 0.0f;
    const auto wanted = text.trim();
    for (int v = 0; v <= maximum; ++v)
        if (ParDes::formatParameterValue(kind, v).trim() == wanted)
            return (float)v / (float)maximum;
    return juce::jlimit(0.0f, 1.0f, (float)wanted.getIntValue() / (float)maximum);
}

int HostParameter::getNumSteps() const
{
    return maximum > 0 ? maximum + 1 : 2;
}

} // namespace zarnel
