#include "JuceMidiBackend.h"

namespace zarnel
{

namespace
{

class JuceInput : public MidiInputDevice
{
public:
    explicit JuceInput(std::unique_ptr<juce::MidiInput> in) : input(std::move(in)) {}
    ~JuceInput() override { input->stop(); }

    juce::String getName() const override { return input->getName(); }
    void start() override { input->start(); }
    void stop() override { input->stop(); }

private:
    std::unique_ptr<juce::MidiInput> input;
};

class JuceOutput : public MidiOutputDevice
{
public:
    explicit JuceOutput(std::unique_ptr<juce::MidiOutput> out) : output(std::move(out)) {}

    juce::String getName() const override { return output->getName(); }
    void sendMessageNow(const juce::MidiMessage& message) override { output->sendMessageNow(message); }

private:
    std::unique_ptr<juce::MidiOutput> output;
};

juce::StringArray namesOf(const juce::Array<juce::MidiDeviceInfo>& devices)
{
    juce::StringArray names;
    for (const auto& d : devices)
        names.add(d.name);
    return names;
}

} // namespace

JuceMidiBackend& JuceMidiBackend::instance()
{
    static JuceMidiBackend backend;
    return backend;
}

juce::StringArray JuceMidiBackend::getInputNames()
{
    return namesOf(juce::MidiInput::getAvailableDevices());
}

juce::StringArray JuceMidiBackend::getOutputNames()
{
    return namesOf(juce::MidiOutput::getAvailableDevices());
}

std::unique_ptr<MidiInputDevice> JuceMidiBackend::openInput(int index, juce::MidiInputCallback* callback)
{
    const auto devices = juce::MidiInput::getAvailableDevices();
    if (callback == nullptr || !juce::isPositiveAndBelow(index, devices.size()))
        return {};
    auto input = juce::MidiInput::openDevice(devices.getReference(index).identifier, callback);
    if (input == nullptr)
        return {};
    return std::make_unique<JuceInput>(std::move(input));
}

std::unique_ptr<MidiOutputDevice> JuceMidiBackend::openOutput(int index)
{
    const auto devices = juce::MidiOutput::getAvailableDevices();
    if (!juce::isPositiveAndBelow(index, devices.size()))
        return {};
    auto output = juce::MidiOutput::openDevice(devices.getReference(index).identifier);
    if (output == nullptr)
        return {};
    return std::make_unique<JuceOutput>(std::move(output));
}

} // namespace zarnel
