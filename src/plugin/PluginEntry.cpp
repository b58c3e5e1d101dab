#include "ZarnelAudioProcessor.h"

juce::AudioProcessor* JUCE_CALLTYPE createPluginFilter()
{
    return new zarnel::ZarnelAudioProcessor();
}
