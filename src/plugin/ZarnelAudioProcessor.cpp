#include "ZarnelAudioProcessor.h"

#include "ProductInfo.h"

namespace zarnel
{

ZarnelAudioProcessor::ZarnelAudioProcessor()
    : AudioProcessor(BusesProperties()
                         .withInput("Input", juce::AudioChannelSet::stereo(), true)
                         .withOutput("Output", juce::AudioChannelSet::stereo(), true))
{
}

ZarnelAudioProcessor::~ZarnelAudioProcessor() = default;

const juce::String ZarnelAudioProcessor::getName() const
{
    return ProductInfo::productName;
}

void ZarnelAudioProcessor::prepareToPlay(double, int)
{
}

void ZarnelAudioProcessor::releaseResources()
{
}

bool ZarnelAudioProcessor::isBusesLayoutSupported(const BusesLayout& layouts) const
{
    return layouts.getMainOutputChannelSet() == juce::AudioChannelSet::stereo()
           && layouts.getMainInputChannelSet() == juce::AudioChannelSet::stereo();
}

void ZarnelAudioProcessor::processBlock(juce::AudioBuffer<float>&, juce::MidiBuffer&)
{
    // Audio passes through: input and output share the buffer.
}

bool ZarnelAudioProcessor::hasEditor() const
{
    return false;
}

juce::AudioProcessorEditor* ZarnelAudioProcessor::createEditor()
{
    return nullptr;
}

void ZarnelAudioProcessor::getStateInformation(juce::MemoryBlock&)
{
}

void ZarnelAudioProcessor::setStateInformation(const void*, int)
{
}

} // namespace zarnel
