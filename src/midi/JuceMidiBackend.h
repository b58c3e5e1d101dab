#pragma once

#include "midi/MidiDevices.h"

namespace zarnel
{

// The system's MIDI devices as JUCE reports them. Devices are addressed by their position in
// JUCE's lists at the moment of opening; the backend keeps no state of its own.
class JuceMidiBackend : public MidiDeviceBackend
{
public:
    // The one the product uses; tests use their own backends.
    static JuceMidiBackend& instance();

    juce::StringArray getInputNames() override;
    juce::StringArray getOutputNames() override;
    std::unique_ptr<MidiInputDevice> openInput(int index, juce::MidiInputCallback* callback) override;
    std::unique_ptr<MidiOutputDevice> openOutput(int index) override;
};

} // namespace zarnel
