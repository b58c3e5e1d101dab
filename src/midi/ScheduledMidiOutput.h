#pragma once

#include "midi/MidiDevices.h"

#include <juce_audio_basics/juce_audio_basics.h>
#include <juce_core/juce_core.h>

#include <atomic>
#include <cstdint>
#include <memory>

namespace zarnel
{

// Timed sending to one output device. JUCE's MidiOutput allocates and locks for every scheduled
// message; here producers (the audio thread among them) only copy into a preallocated lock-free
// schedule, and one sender thread hands each message to the device when it is due.
//
// Only the sender thread ever calls the device, and nobody ever waits for it longer than
// closeWaitMs: a driver may block for as long as it likes (a cable pulled, a device hung). The
// thread and the device live in a state the thread shares, so an output given up while its
// thread is stuck in the driver is freed by that thread if the call ever returns. The sender also
// remembers what it left sounding and silences it when the output closes.
// Times are in juce::Time::getMillisecondCounterHiRes() milliseconds.
class ScheduledMidiOutput
{
public:
    static constexpr size_t maxMessageSize = 256;
    static constexpr size_t scheduleCapacity = 1024;
    // A driver hands a 256-byte piece over in well under 100 ms even at DIN speed; a call still
    // inside it after twenty times that is a device that stopped taking data. Short enough that
    // the user hears of it while still looking at what did not arrive.
    static constexpr double stallLimitMs = 2000.0;
    // Closing waits at most this long for the sender to silence the instrument and finish.
    static constexpr int closeWaitMs = 250;
    // A device call that has lasted this long makes senders stop waiting for hand-overs.
    static constexpr double slowCallMs = 50.0;

    explicit ScheduledMidiOutput(std::unique_ptr<MidiOutputDevice> device);
    // Sends note-offs and pedal releases for what sounds, then lets the sender thread go; waits
    // at most closeWaitMs (not at all for a device known to be stuck).
    ~ScheduledMidiOutput();

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

    // Bytes of any length, in pieces of maxMessageSize with nothing between them, after what is
    // due by now and before what is due later. Waits at most waitMs until the sender has handed
    // them to the device (false if it has not by then; they still go out in their turn).
    // Allocates: not for the audio thread.
    bool sendLongMessage(const std::uint8_t* data, size_t size, int waitMs = 0);
    // One message past the schedule, in the same way, without waiting.
    void sendMessageNow(const juce::MidiMessage& message);

    // Drops everything scheduled and not yet sent, without waiting for the sender thread.
    void clearAllPendingMessages() noexcept;

    // Asks the sender thread to send note-offs and pedal releases for what sounds, once what is
    // due by now has gone out. Any thread; never allocates or blocks.
    void releaseSoundingNotes() noexcept;

    void startBackgroundThread();
    // Waits at most closeWaitMs; false when the sender is still inside the device (it stops once
    // the call returns, unless started again meanwhile). The schedule is kept for a restart.
    bool stopBackgroundThread();
    bool isBackgroundThreadRunning() const;

    // The sender has been inside one device call for stallLimitMs or longer.
    bool isStalled(double nowMs) const noexcept;

    // Messages refused by sendBlockOfMessages since construction.
    size_t getNumDropped() const noexcept;
    // Times a scheduled message woke the sender at once rather than waiting for its next pass.
    size_t getNumWakes() const noexcept;

    juce::String getDeviceName() const { return deviceName; }

    // Outputs whose device or sender thread still exists anywhere, given-up ones included.
    static int getNumAlive() noexcept;

private:
    struct Shared;

    void wakeIfAllowed(double dueMs);

    std::shared_ptr<Shared> shared;
    const juce::String deviceName;

    JUCE_DECLARE_NON_COPYABLE(ScheduledMidiOutput)
};

} // namespace zarnel
