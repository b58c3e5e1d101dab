#pragma once

#include "midi/MidiDevices.h"
#include "platform/BoundedQueue.h"

#include <juce_audio_basics/juce_audio_basics.h>
#include <juce_core/juce_core.h>

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

namespace zarnel
{

// Timed sending to one output device. JUCE's MidiOutput allocates and locks for every scheduled
// message; here producers (the audio thread among them) only copy into a preallocated lock-free
// schedule, and one sender thread hands each message to the device when it is due.
// Times are in juce::Time::getMillisecondCounterHiRes() milliseconds.
class ScheduledMidiOutput : private juce::Thread
{
public:
    static constexpr size_t maxMessageSize = 256;
    static constexpr size_t scheduleCapacity = 1024;

    explicit ScheduledMidiOutput(std::unique_ptr<MidiOutputDevice> device);
    ~ScheduledMidiOutput() override;

    // Schedules every event of the buffer at startTimeMs + 1000 * position / samplesPerSecond.
    // Any thread; never allocates or blocks. Returns false when something was not scheduled:
    // a message longer than maxMessageSize is skipped, and once the schedule is full the rest
    // of the block is dropped (a block is often one NRPN, whose later parts must not go out
    // without the earlier ones).
    bool sendBlockOfMessages(const juce::MidiBuffer& buffer, double startTimeMs, double samplesPerSecond);

    // One message of raw bytes, due at dueMs; the same rules, without building a MidiBuffer.
    // Called on the thread that is the message thread now (edits on screen), a message due now
    // wakes the sender at once; from any other thread it waits for the sender's next pass, at
    // most a millisecond.
    bool scheduleMessage(const void* data, size_t size, double dueMs);

    // On the calling thread, past the schedule; waits while the sender thread is at the device.
    void sendMessageNow(const juce::MidiMessage& message);

    // Drops everything scheduled and not yet sent, without waiting for the sender thread.
    void clearAllPendingMessages() noexcept;

    // Waits (at most timeoutMs) until the sender thread has handed over every message that was
    // scheduled before this call and is due by now.
    void waitForDueMessages(int timeoutMs);

    void startBackgroundThread();
    void stopBackgroundThread();
    bool isBackgroundThreadRunning() const { return isThreadRunning(); }

    // Messages refused by sendBlockOfMessages since construction.
    size_t getNumDropped() const noexcept { return numDropped.load(std::memory_order_relaxed); }
    // Times a scheduled message woke the sender at once rather than waiting for its next pass.
    size_t getNumWakes() const noexcept { return numWakes.load(std::memory_order_relaxed); }

    juce::String getDeviceName() const { return device->getName(); }

private:
    struct Item
    {
        double dueMs;
        std::uint64_t generation;
        std::uint32_t length;
        std::array<std::uint8_t, maxMessageSize> data;
    };

    bool push(const void* data, size_t size, double dueMs, std::uint64_t currentGeneration);
    void run() override;
    void takeFromSchedule(std::uint64_t currentGeneration);
    void sendDueMessages();
    void dropStalePending(std::uint64_t currentGeneration);
    void sendToDevice(const std::uint8_t* data, int length);
    void wakeIfAllowed(double dueMs);

    std::unique_ptr<MidiOutputDevice> device;
    std::mutex deviceLock;

    BoundedQueue<Item, scheduleCapacity> schedule;
    std::atomic<std::uint64_t> generation{0};
    std::atomic<size_t> numDropped{0};
    std::atomic<size_t> numWakes{0};

    // Sender thread only. pendingOrder holds slot numbers, latest due first, so the next message
    // is at the back; messages due at the same time stay in their order of submission.
    std::vector<Item> pendingSlots;
    std::vector<std::uint16_t> freeSlots;
    std::vector<std::uint16_t> pendingOrder;

    std::atomic<std::uint64_t> passes{0};

    JUCE_DECLARE_NON_COPYABLE(ScheduledMidiOutput)
};

} // namespace zarnel
