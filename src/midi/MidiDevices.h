#pragma once

#include <juce_audio_basics/juce_audio_basics.h>
#include <juce_audio_devices/juce_audio_devices.h>

#include <memory>

namespace zarnel
{

// The MIDI devices of the system, behind an interface of our own: JUCE's devices for users, an
// in-process virtual registry for tests.

class MidiInputDevice
{
public:
    virtual ~MidiInputDevice() = default;
    virtual juce::String getName() const = 0;
    // Messages reach the callback given at opening, on the device's own thread, from start() on.
    virtual void start() = 0;
    virtual void stop() = 0;
};

class MidiOutputDevice
{
public:
    virtual ~MidiOutputDevice() = default;
    virtual juce::String getName() const = 0;
    // Hands one message to the driver; may block for as long as the driver takes.
    virtual void sendMessageNow(const juce::MidiMessage& message) = 0;
};

class MidiDeviceBackend
{
public:
    virtual ~MidiDeviceBackend() = default;
    virtual juce::StringArray getInputNames() = 0;
    virtual juce::StringArray getOutputNames() = 0;
    // Null when the device does not exist or fails to open.
    virtual std::unique_ptr<MidiInputDevice> openInput(int index, juce::MidiInputCallback* callback) = 0;
    virtual std::unique_ptr<MidiOutputDevice> openOutput(int index) = 0;
};

} // namespace zarnel
