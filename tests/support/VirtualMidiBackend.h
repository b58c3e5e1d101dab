#pragma once

#include "midi/MidiDevices.h"

#include <juce_core/juce_core.h>

#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>

namespace zarnel::test
{

// An in-process stand-in for the system's MIDI devices. Each virtual device shows up as an
// input and an output of the same name; what the plug-in sends to the output reaches the far
// side (a simulated instrument), and the far side can deliver messages to the plug-in's input.
class VirtualMidiBackend : public MidiDeviceBackend
{
public:
    // The instrument's end of a device.
    class FarSide
    {
    public:
        virtual ~FarSide() = default;
        // Called on the thread that hands the message to the output (the sender thread).
        virtual void receivedFromPlugin(const juce::MidiMessage& message) = 0;
    };

    VirtualMidiBackend() = default;
    ~VirtualMidiBackend() override;

    // Adds a device named `name` as the last entry of both lists; farSide may be null (then
    // messages sent to it vanish). The far side must outlive the device.
    void addDevice(const juce::String& name, FarSide* farSide);
    void removeDevice(const juce::String& name);

    // An input-only or output-only device, for tests of lists that differ.
    void addInputOnly(const juce::String& name);
    void addOutputOnly(const juce::String& name, FarSide* farSide);

    // Far side to plug-in: the message reaches the callback of the opened, started input of
    // that name, on the calling thread. Returns false when nobody listens.
    bool sendToPlugin(const juce::String& name, const juce::MidiMessage& message);

    // A driver that stops taking data (a cable pulled, a device hung): from now on every send to
    // the output of that name blocks inside the device until resumeOutput, then goes through.
    void stallOutput(const juce::String& name);
    void resumeOutput(const juce::String& name);
    // Waits until a send to that output is blocked inside the device.
    bool waitForStalledSend(const juce::String& name, int timeoutMs);

    // How often each device was opened, for tests of port selection.
    int getInputOpenCount(const juce::String& name) const;
    int getOutputOpenCount(const juce::String& name) const;
    bool isInputOpen(const juce::String& name) const;
    bool isOutputOpen(const juce::String& name) const;

    juce::StringArray getInputNames() override;
    juce::StringArray getOutputNames() override;
    std::unique_ptr<MidiInputDevice> openInput(int index, juce::MidiInputCallback* callback) override;
    std::unique_ptr<MidiOutputDevice> openOutput(int index) override;

private:
    class Input;
    class Output;
    friend class Input;
    friend class Output;

    struct InputSlot
    {
        juce::String name;
        Input* open = nullptr;
        int openCount = 0;
    };
    struct OutputSlot
    {
        juce::String name;
        FarSide* farSide = nullptr;
        Output* open = nullptr;
        int openCount = 0;
    };

    void inputClosed(Input* input);
    void outputClosed(Output* output);
    FarSide* farSideOf(const Output* output) const;
    void passStall(const juce::String& name);

    mutable juce::CriticalSection lock;
    juce::Array<InputSlot> inputs;
    juce::Array<OutputSlot> outputs;

    std::mutex stallLock;
    std::condition_variable stallChanged;
    juce::StringArray stalled;
    std::map<juce::String, int> sendsBlocked;
};

} // namespace zarnel::test
