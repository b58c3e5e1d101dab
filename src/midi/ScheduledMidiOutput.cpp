#include "ScheduledMidiOutput.h"

#include <juce_events/juce_events.h>

#include <algorithm>
#include <cstring>

namespace zarnel
{

ScheduledMidiOutput::ScheduledMidiOutput(std::unique_ptr<MidiOutputDevice> d)
    : juce::Thread("MIDI output: " + (d != nullptr ? d->getName() : juce::String())), device(std::move(d))
{
    jassert(device != nullptr);
    pendingSlots.resize(scheduleCapacity);
    freeSlots.reserve(scheduleCapacity);
    pendingOrder.reserve(scheduleCapacity);
    for (size_t i = scheduleCapacity; i-- > 0;)
        freeSlots.push_back((std::uint16_t)i);
}

ScheduledMidiOutput::~ScheduledMidiOutput()
{
    stopBackgroundThread();
}

bool ScheduledMidiOutput::sendBlockOfMessages(const juce::MidiBuffer& buffer, double startTimeMs,
                                              double samplesPerSecond)
{
    const double msPerSample = samplesPerSecond > 0.0 ? 1000.0 / samplesPerSecond : 0.0;
    const auto currentGeneration = generation.load(std::memory_order_acquire);
    size_t refused = 0;
    bool full = false;

    for (const auto event : buffer)
    {
        const auto size = (size_t)std::max(event.numBytes, 0);
        if (full || size == 0 || size > maxMessageSize)
        {
            ++refused;
            continue;
        }
        if (!push(event.data, size, startTimeMs + msPerSample * event.samplePosition, currentGeneration))
        {
            full = true;
            ++refused;
        }
    }

    if (refused > 0)
        numDropped.fetch_add(refused, std::memory_order_relaxed);
    return refused == 0;
}

bool ScheduledMidiOutput::scheduleMessage(const void* data, size_t size, double dueMs)
{
    if (data != nullptr && size > 0 && size <= maxMessageSize &&
        push(data, size, dueMs, generation.load(std::memory_order_acquire)))
    {
        wakeIfAllowed(dueMs);
        return true;
    }
    numDropped.fetch_add(1, std::memory_order_relaxed);
    return false;
}

bool ScheduledMidiOutput::push(const void* data, size_t size, double dueMs, std::uint64_t currentGeneration)
{
    Item item{};
    item.dueMs = dueMs;
    item.generation = currentGeneration;
    item.length = (std::uint32_t)size;
    std::memcpy(item.data.data(), data, size);
    return schedule.push(item);
}

void ScheduledMidiOutput::wakeIfAllowed(double dueMs)
{
    // Waking a thread takes a lock, which the audio thread must never do; the message thread may,
    // and it is where edits on screen come from. Later messages are found by the regular pass.
    // The role moves (a Linux VST3 host takes it over from the plug-in's own thread when the
    // editor opens), and an ended thread's id may come back as the audio thread's: so the id is
    // read at every call, without the lock that asking JUCE whether this is the message thread takes.
    if (dueMs > juce::Time::getMillisecondCounterHiRes() + 1.0)
        return;
    const auto* mm = juce::MessageManager::getInstanceWithoutCreating();
    if (mm != nullptr && juce::Thread::getCurrentThreadId() == mm->getCurrentMessageThread())
    {
        numWakes.fetch_add(1, std::memory_order_relaxed);
        notify();
    }
}

void ScheduledMidiOutput::sendMessageNow(const juce::MidiMessage& message)
{
    sendToDevice(message.getRawData(), message.getRawDataSize());
}

void ScheduledMidiOutput::clearAllPendingMessages() noexcept
{
    generation.fetch_add(1, std::memory_order_acq_rel);
}

void ScheduledMidiOutput::waitForDueMessages(int timeoutMs)
{
    if (!isThreadRunning())
        return;
    // Two completed passes: the second one began after this call, so it saw everything.
    const auto target = passes.load(std::memory_order_acquire) + 2;
    const auto end = juce::Time::getMillisecondCounterHiRes() + timeoutMs;
    while (passes.load(std::memory_order_acquire) < target && juce::Time::getMillisecondCounterHiRes() < end)
        juce::Thread::sleep(1);
}

void ScheduledMidiOutput::startBackgroundThread()
{
    startThread(juce::Thread::Priority::high);
}

void ScheduledMidiOutput::stopBackgroundThread()
{
    stopThread(5000);
}

void ScheduledMidiOutput::sendToDevice(const std::uint8_t* data, int length)
{
    if (length <= 0)
        return;
    // Devices are not safe to call from two threads at once (ALSA's encoder keeps state).
    const std::lock_guard<std::mutex> lock(deviceLock);
    device->sendMessageNow(juce::MidiMessage(data, length));
}

void ScheduledMidiOutput::run()
{
    while (!threadShouldExit())
    {
        // The audio thread never signals us (waking a thread can block), so poll; the message
        // thread wakes us early for what is due at once.
        const auto currentGeneration = generation.load(std::memory_order_acquire);
        dropStalePending(currentGeneration);
        takeFromSchedule(currentGeneration);
        sendDueMessages();
        passes.fetch_add(1, std::memory_order_release);
        wait(1);
    }
}

void ScheduledMidiOutput::dropStalePending(std::uint64_t currentGeneration)
{
    const auto stale = [&](std::uint16_t slot)
    {
        if (pendingSlots[slot].generation >= currentGeneration)
            return false;
        freeSlots.push_back(slot);
        return true;
    };
    pendingOrder.erase(std::remove_if(pendingOrder.begin(), pendingOrder.end(), stale), pendingOrder.end());
}

void ScheduledMidiOutput::takeFromSchedule(std::uint64_t currentGeneration)
{
    // With the pending list full, messages wait in the schedule, which then refuses new ones.
    while (!freeSlots.empty())
    {
        const auto slot = freeSlots.back();
        Item& item = pendingSlots[slot];
        if (!schedule.pop(item))
            return;
        // Older: cleared after it was scheduled. Newer: scheduled after a clear this round has
        // not seen yet, so it stays.
        if (item.generation < currentGeneration)
            continue;

        freeSlots.pop_back();
        // Before the first one due no later: among equal times, submission order is kept.
        const auto due = item.dueMs;
        const auto at = std::partition_point(pendingOrder.begin(), pendingOrder.end(),
                                             [&](std::uint16_t s) { return pendingSlots[s].dueMs > due; });
        pendingOrder.insert(at, slot);
    }
}

void ScheduledMidiOutput::sendDueMessages()
{
    while (!pendingOrder.empty() && !threadShouldExit())
    {
        const auto slot = pendingOrder.back();
        const Item& item = pendingSlots[slot];
        if (item.dueMs > juce::Time::getMillisecondCounterHiRes())
            return;

        pendingOrder.pop_back();
        freeSlots.push_back(slot);
        if (item.generation < generation.load(std::memory_order_acquire))
            continue; // cleared meanwhile
        sendToDevice(item.data.data(), (int)item.length);
    }
}

} // namespace zarnel
