#include "VirtualMidiBackend.h"

#include <algorithm>

namespace zarnel::test
{

class VirtualMidiBackend::Input : public MidiInputDevice
{
public:
    Input(VirtualMidiBackend& b, juce::String n, juce::MidiInputCallback* cb)
        : backend(b), name(std::move(n)), callback(cb)
    {
    }
    ~Input() override { backend.inputClosed(this); }

    juce::String getName() const override { return name; }
    void start() override { started.store(true); }
    void stop() override { started.store(false); }

    void deliver(const juce::MidiMessage& m)
    {
        if (started.load() && callback != nullptr)
            callback->handleIncomingMidiMessage(nullptr, m);
    }

    bool isStarted() const { return started.load(); }

    // Deliveries under way; like a real driver, closing the device waits for them.
    std::atomic<int> inFlight{0};

private:
    VirtualMidiBackend& backend;
    juce::String name;
    juce::MidiInputCallback* callback;
    std::atomic<bool> started{false};
};

class VirtualMidiBackend::Output : public MidiOutputDevice
{
public:
    Output(VirtualMidiBackend& b, juce::String n) : backend(b), name(std::move(n)) {}
    ~Output() override { backend.outputClosed(this); }

    juce::String getName() const override { return name; }

    void sendMessageNow(const juce::MidiMessage& m) override
    {
        backend.passStall(name);
        if (auto* far = backend.farSideOf(this))
            far->receivedFromPlugin(m);
    }

private:
    VirtualMidiBackend& backend;
    juce::String name;
};

VirtualMidiBackend::~VirtualMidiBackend()
{
    // Devices still open must not call back into a dead registry.
    jassert(std::none_of(inputs.begin(), inputs.end(), [](const InputSlot& s) { return s.open != nullptr; }));
    jassert(std::none_of(outputs.begin(), outputs.end(), [](const OutputSlot& s) { return s.open != nullptr; }));
}

void VirtualMidiBackend::addDevice(const juce::String& name, FarSide* farSide)
{
    addInputOnly(name);
    addOutputOnly(name, farSide);
}

void VirtualMidiBackend::addInputOnly(const juce::String& name)
{
    const juce::ScopedLock sl(lock);
    inputs.add({name, nullptr, 0});
}

void VirtualMidiBackend::addOutputOnly(const juce::String& name, FarSide* farSide)
{
    const juce::ScopedLock sl(lock);
    outputs.add({name, farSide, nullptr, 0});
}

void VirtualMidiBackend::removeDevice(const juce::String& name)
{
    const juce::ScopedLock sl(lock);
    for (int i = inputs.size(); --i >= 0;)
        if (inputs.getReference(i).name == name && inputs.getReference(i).open == nullptr)
            inputs.remove(i);
    for (int i = outputs.size(); --i >= 0;)
        if (outputs.getReference(i).name == name && outputs.getReference(i).open == nullptr)
            outputs.remove(i);
}

bool VirtualMidiBackend::sendToPlugin(const juce::String& name, const juce::MidiMessage& message)
{
    Input* target = nullptr;
    {
        const juce::ScopedLock sl(lock);
        for (auto& s : inputs)
            if (s.name == name && s.open != nullptr && s.open->isStarted())
                target = s.open;
        if (target != nullptr)
            ++target->inFlight;
    }
    if (target == nullptr)
        return false;
    // Delivered outside the registry lock, as a driver thread would: the receiver may send.
    target->deliver(message);
    --target->inFlight;
    return true;
}

void VirtualMidiBackend::stallOutput(const juce::String& name)
{
    const std::lock_guard<std::mutex> lk(stallLock);
    stalled.addIfNotAlreadyThere(name);
}

void VirtualMidiBackend::resumeOutput(const juce::String& name)
{
    const std::lock_guard<std::mutex> lk(stallLock);
    stalled.removeString(name);
    stallChanged.notify_all();
}

bool VirtualMidiBackend::waitForStalledSend(const juce::String& name, int timeoutMs)
{
    std::unique_lock<std::mutex> lk(stallLock);
    return stallChanged.wait_for(lk, std::chrono::milliseconds(timeoutMs), [&] { return sendsBlocked[name] > 0; });
}

void VirtualMidiBackend::passStall(const juce::String& name)
{
    std::unique_lock<std::mutex> lk(stallLock);
    if (!stalled.contains(name))
        return;
    ++sendsBlocked[name];
    stallChanged.notify_all();
    stallChanged.wait(lk, [&] { return !stalled.contains(name); });
    --sendsBlocked[name];
}

int VirtualMidiBackend::getInputOpenCount(const juce::String& name) const
{
    const juce::ScopedLock sl(lock);
    int n = 0;
    for (const auto& s : inputs)
        if (s.name == name)
            n += s.openCount;
    return n;
}

int VirtualMidiBackend::getOutputOpenCount(const juce::String& name) const
{
    const juce::ScopedLock sl(lock);
    int n = 0;
    for (const auto& s : outputs)
        if (s.name == name)
            n += s.openCount;
    return n;
}

bool VirtualMidiBackend::isInputOpen(const juce::String& name) const
{
    const juce::ScopedLock sl(lock);
    for (const auto& s : inputs)
        if (s.name == name && s.open != nullptr)
            return true;
    return false;
}

bool VirtualMidiBackend::isOutputOpen(const juce::String& name) const
{
    const juce::ScopedLock sl(lock);
    for (const auto& s : outputs)
        if (s.name == name && s.open != nullptr)
            return true;
    return false;
}

juce::StringArray VirtualMidiBackend::getInputNames()
{
    const juce::ScopedLock sl(lock);
    juce::StringArray names;
    for (const auto& s : inputs)
        names.add(s.name);
    return names;
}

juce::StringArray VirtualMidiBackend::getOutputNames()
{
    const juce::ScopedLock sl(lock);
    juce::StringArray names;
    for (const auto& s : outputs)
        names.add(s.name);
    return names;
}

std::unique_ptr<MidiInputDevice> VirtualMidiBackend::openInput(int index, juce::MidiInputCallback* callback)
{
    const juce::ScopedLock sl(lock);
    if (!juce::isPositiveAndBelow(index, inputs.size()))
        return {};
    auto& slot = inputs.getReference(index);
    if (slot.open != nullptr)
        return {}; // one user at a time, like most drivers
    auto input = std::make_unique<Input>(*this, slot.name, callback);
    slot.open = input.get();
    ++slot.openCount;
    return input;
}

std::unique_ptr<MidiOutputDevice> VirtualMidiBackend::openOutput(int index)
{
    const juce::ScopedLock sl(lock);
    if (!juce::isPositiveAndBelow(index, outputs.size()))
        return {};
    auto& slot = outputs.getReference(index);
    if (slot.open != nullptr)
        return {};
    auto output = std::make_unique<Output>(*this, slot.name);
    slot.open = output.get();
    ++slot.openCount;
    return output;
}

void VirtualMidiBackend::inputClosed(Input* input)
{
    {
        const juce::ScopedLock sl(lock);
        for (auto& s : inputs)
            if (s.open == input)
                s.open = nullptr;
    }
    // No new delivery can start now; one under way finishes before the device goes.
    while (input->inFlight.load() != 0)
        juce::Thread::yield();
}

void VirtualMidiBackend::outputClosed(Output* output)
{
    const juce::ScopedLock sl(lock);
    for (auto& s : outputs)
        if (s.open == output)
            s.open = nullptr;
}

VirtualMidiBackend::FarSide* VirtualMidiBackend::farSideOf(const Output* output) const
{
    const juce::ScopedLock sl(lock);
    for (const auto& s : outputs)
        if (s.open == output)
            return s.farSide;
    return nullptr;
}

} // namespace zarnel::test
