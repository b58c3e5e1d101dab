#include "ScheduledMidiOutput.h"

#include "midi/NoteTracker.h"
#include "platform/BoundedQueue.h"

#include <juce_events/juce_events.h>

#include <algorithm>
#include <array>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <mutex>
#include <vector>

namespace zarnel
{

namespace
{
double nowMs()
{
    return juce::Time::getMillisecondCounterHiRes();
}

std::atomic<int> numAlive{0};
} // namespace

// Everything the sender thread touches. The owner and the thread each hold it, so whichever lets
// go last frees it: an owner that gave up on a stuck thread leaves no dangling device behind.
struct ScheduledMidiOutput::Shared
{
    enum Command
    {
        run,
        stop, // for a restart: the schedule is kept
        close // send what is due, silence the instrument, end
    };

    struct Item
    {
        double dueMs;
        std::uint64_t order;
        std::uint64_t generation;
        std::uint32_t length;
        std::array<std::uint8_t, maxMessageSize> data;
    };

    struct LongMessage
    {
        std::vector<std::uint8_t> bytes;
        double dueMs;
        std::uint64_t order;
        std::uint64_t generation;
    };

    explicit Shared(std::unique_ptr<MidiOutputDevice> d) : device(std::move(d))
    {
        ++numAlive;
        pendingSlots.resize(scheduleCapacity);
        freeSlots.reserve(scheduleCapacity);
        pendingOrder.reserve(scheduleCapacity);
        for (size_t i = scheduleCapacity; i-- > 0;)
            freeSlots.push_back((std::uint16_t)i);
    }

    ~Shared()
    {
        device.reset();
        --numAlive;
    }

    bool push(const void* data, size_t size, double dueMs)
    {
        Item item{};
        item.dueMs = dueMs;
        item.order = 1 + order.fetch_add(1, std::memory_order_relaxed);
        item.generation = generation.load(std::memory_order_acquire);
        item.length = (std::uint32_t)size; // 0: let go of what sounds
        if (size > 0)
            std::memcpy(item.data.data(), data, size);
        return schedule.push(item);
    }

    // Under threadLock.
    void launch(const std::shared_ptr<Shared>& self, const juce::String& name)
    {
        if (active)
            return;
        active = true;
        if (!juce::Thread::launch(juce::Thread::Priority::high, [self, name] {
                juce::Thread::setCurrentThreadName("MIDI output: " + name);
                self->threadMain();
            }))
            active = false;
    }

    void threadMain()
    {
        for (;;)
        {
            const auto c = command.load(std::memory_order_acquire);
            if (c == run)
            {
                pass();
                wake.wait(1);
                continue;
            }
            if (c == close)
            {
                pass();
                silence();
            }
            const std::lock_guard<std::mutex> lock(threadLock);
            if (command.load() == run) // started again before this one ended
                continue;
            active = false;
            threadChanged.notify_all();
            return;
        }
    }

    // The audio thread never signals the sender (waking a thread can block), so it polls; the
    // message thread wakes it early for what is due at once.
    void pass()
    {
        const auto currentGeneration = generation.load(std::memory_order_acquire);
        dropStalePending(currentGeneration);
        // Long messages first: whatever was scheduled before one of them is in the schedule by now.
        takeLongMessages(currentGeneration);
        takeFromSchedule(currentGeneration);
        sendDueMessages();
        if (releaseRequested.exchange(false))
            silence();
    }

    void dropStalePending(std::uint64_t currentGeneration)
    {
        const auto stale = [&](std::uint16_t slot) {
            if (pendingSlots[slot].generation >= currentGeneration)
                return false;
            freeSlots.push_back(slot);
            return true;
        };
        pendingOrder.erase(std::remove_if(pendingOrder.begin(), pendingOrder.end(), stale), pendingOrder.end());
        while (!longPending.empty() && longPending.front().generation < currentGeneration)
        {
            markLongDone(longPending.front().order);
            longPending.pop_front();
        }
    }

    void takeLongMessages(std::uint64_t currentGeneration)
    {
        std::deque<LongMessage> taken;
        {
            const std::lock_guard<std::mutex> lock(longLock);
            taken.swap(longQueue);
        }
        for (auto& m : taken)
        {
            if (m.generation >= currentGeneration)
                longPending.push_back(std::move(m));
            else
                markLongDone(m.order);
        }
    }

    void markLongDone(std::uint64_t messageOrder)
    {
        {
            const std::lock_guard<std::mutex> lock(longLock);
            longDone = std::max(longDone, messageOrder);
        }
        longHandedOver.notify_all();
    }

    void takeFromSchedule(std::uint64_t currentGeneration)
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

    void sendDueMessages()
    {
        while (command.load(std::memory_order_acquire) != stop)
        {
            const Item* next = pendingOrder.empty() ? nullptr : &pendingSlots[pendingOrder.back()];
            if (!longPending.empty())
            {
                const auto& m = longPending.front();
                if (next == nullptr || m.dueMs < next->dueMs || (m.dueMs == next->dueMs && m.order < next->order))
                {
                    const auto message = std::move(longPending.front());
                    longPending.pop_front();
                    if (message.generation >= generation.load(std::memory_order_acquire))
                        for (size_t offset = 0; offset < message.bytes.size(); offset += maxMessageSize)
                            sendToDevice(message.bytes.data() + offset,
                                         (int)std::min(maxMessageSize, message.bytes.size() - offset));
                    markLongDone(message.order);
                    continue;
                }
            }
            if (next == nullptr || next->dueMs > nowMs())
                return;

            const auto slot = pendingOrder.back();
            pendingOrder.pop_back();
            freeSlots.push_back(slot);
            if (next->generation < generation.load(std::memory_order_acquire))
                continue; // cleared meanwhile
            if (next->length == 0)
                silence();
            else
                sendToDevice(next->data.data(), (int)next->length);
        }
    }

    // Note-offs and pedal releases for everything this device was left holding.
    void silence()
    {
        auto held = sounding;
        held.release([this](const std::uint8_t* bytes) { sendToDevice(bytes, 3); });
    }

    void sendToDevice(const std::uint8_t* data, int length)
    {
        if (length <= 0)
            return;
        callStartedMs.store(nowMs());
        device->sendMessageNow(juce::MidiMessage(data, length));
        callStartedMs.store(0.0);
        sounding.observe(data, length);
    }

    std::unique_ptr<MidiOutputDevice> device;

    BoundedQueue<Item, scheduleCapacity> schedule;
    std::atomic<std::uint64_t> generation{0};
    std::atomic<std::uint64_t> order{0};
    std::atomic<size_t> numDropped{0};
    std::atomic<size_t> numWakes{0};
    std::atomic<bool> releaseRequested{false};
    // When the sender entered the device call it is in; 0 outside.
    std::atomic<double> callStartedMs{0.0};
    juce::WaitableEvent wake;

    std::mutex longLock;
    std::condition_variable longHandedOver;
    std::deque<LongMessage> longQueue;
    std::uint64_t longDone = 0; // order of the last long message handed over or dropped

    std::mutex threadLock;
    std::condition_variable threadChanged;
    std::atomic<int> command{stop}; // written under threadLock
    bool active = false;            // a thread runs threadMain; under threadLock

    // Sender thread only. pendingOrder holds slot numbers, latest due first, so the next message
    // is at the back; messages due at the same time stay in their order of submission.
    std::vector<Item> pendingSlots;
    std::vector<std::uint16_t> freeSlots;
    std::vector<std::uint16_t> pendingOrder;
    std::deque<LongMessage> longPending;
    NoteTracker sounding;
};

ScheduledMidiOutput::ScheduledMidiOutput(std::unique_ptr<MidiOutputDevice> d)
    : shared(std::make_shared<Shared>(std::move(d))),
      deviceName(shared->device != nullptr ? shared->device->getName() : juce::String())
{
    jassert(shared->device != nullptr);
}

ScheduledMidiOutput::~ScheduledMidiOutput()
{
    std::unique_lock<std::mutex> lock(shared->threadLock);
    // Even a sender never started or stopped runs once more: what sounds must be let go.
    shared->command.store(Shared::close);
    shared->launch(shared, deviceName);
    shared->wake.signal();
    if (!isStalled(nowMs()))
        shared->threadChanged.wait_for(lock, std::chrono::milliseconds(closeWaitMs),
                                       [this] { return !shared->active; });
    // Closed here, so the device can be opened again at once; a sender still inside it closes
    // it when it comes back.
    if (!shared->active)
        shared->device.reset();
}

bool ScheduledMidiOutput::sendBlockOfMessages(const juce::MidiBuffer& buffer, double startTimeMs,
                                              double samplesPerSecond)
{
    const double msPerSample = samplesPerSecond > 0.0 ? 1000.0 / samplesPerSecond : 0.0;
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
        if (!shared->push(event.data, size, startTimeMs + msPerSample * event.samplePosition))
        {
            full = true;
            ++refused;
        }
    }

    if (refused > 0)
        shared->numDropped.fetch_add(refused, std::memory_order_relaxed);
    return refused == 0;
}

bool ScheduledMidiOutput::scheduleMessage(const void* data, size_t size, double dueMs)
{
    if (data != nullptr && size > 0 && size <= maxMessageSize && shared->push(data, size, dueMs))
    {
        wakeIfAllowed(dueMs);
        return true;
    }
    shared->numDropped.fetch_add(1, std::memory_order_relaxed);
    return false;
}

bool ScheduledMidiOutput::sendLongMessage(const std::uint8_t* data, size_t size, int waitMs)
{
    if (data == nullptr || size == 0)
        return true;
    // Orders start at 1, so that longDone = 0 means none handed over yet.
    const auto order = 1 + shared->order.fetch_add(1, std::memory_order_relaxed);
    Shared::LongMessage message{std::vector<std::uint8_t>(data, data + size), nowMs(), order,
                                shared->generation.load(std::memory_order_acquire)};
    // A device already sitting in a call is slow or hung: the caller does not wait on it, or a
    // bank transmit would hold the message thread for each dump until the stall is declared.
    const double started = shared->callStartedMs.load();
    if (started > 0.0 && nowMs() - started > slowCallMs)
        waitMs = 0;
    std::unique_lock<std::mutex> lock(shared->longLock);
    shared->longQueue.push_back(std::move(message));
    shared->wake.signal();
    return shared->longHandedOver.wait_for(lock, std::chrono::milliseconds(std::max(waitMs, 0)),
                                           [&] { return shared->longDone >= order; });
}

void ScheduledMidiOutput::sendMessageNow(const juce::MidiMessage& message)
{
    sendLongMessage(message.getRawData(), (size_t)std::max(message.getRawDataSize(), 0));
}

void ScheduledMidiOutput::wakeIfAllowed(double dueMs)
{
    // Waking a thread takes a lock, which the audio thread must never do; the message thread may,
    // and it is where edits on screen come from. Later messages are found by the regular pass.
    // The role moves (a Linux VST3 host takes it over from the plug-in's own thread when the
    // editor opens), and an ended thread's id may come back as the audio thread's: so the id is
    // read at every call, without the lock that asking JUCE whether this is the message thread takes.
    if (dueMs > nowMs() + 1.0)
        return;
    const auto* mm = juce::MessageManager::getInstanceWithoutCreating();
    if (mm != nullptr && juce::Thread::getCurrentThreadId() == mm->getCurrentMessageThread())
    {
        shared->numWakes.fetch_add(1, std::memory_order_relaxed);
        shared->wake.signal();
    }
}

void ScheduledMidiOutput::clearAllPendingMessages() noexcept
{
    shared->generation.fetch_add(1, std::memory_order_acq_rel);
}

void ScheduledMidiOutput::releaseSoundingNotes() noexcept
{
    // In the schedule, in its place among the messages: what was sent before is let go, what is
    // sent after is not. With the schedule full, at the sender's next pass.
    if (!shared->push(nullptr, 0, nowMs()))
        shared->releaseRequested.store(true);
}

void ScheduledMidiOutput::startBackgroundThread()
{
    const std::lock_guard<std::mutex> lock(shared->threadLock);
    shared->command.store(Shared::run);
    shared->launch(shared, deviceName);
}

bool ScheduledMidiOutput::stopBackgroundThread()
{
    std::unique_lock<std::mutex> lock(shared->threadLock);
    if (shared->command.load() == Shared::run)
        shared->command.store(Shared::stop);
    shared->wake.signal();
    return shared->threadChanged.wait_for(lock, std::chrono::milliseconds(closeWaitMs),
                                          [this] { return !shared->active; });
}

bool ScheduledMidiOutput::isBackgroundThreadRunning() const
{
    const std::lock_guard<std::mutex> lock(shared->threadLock);
    return shared->active && shared->command.load() == Shared::run;
}

bool ScheduledMidiOutput::isStalled(double now) const noexcept
{
    const double started = shared->callStartedMs.load();
    return started > 0.0 && now - started >= stallLimitMs;
}

size_t ScheduledMidiOutput::getNumDropped() const noexcept
{
    return shared->numDropped.load(std::memory_order_relaxed);
}

size_t ScheduledMidiOutput::getNumWakes() const noexcept
{
    return shared->numWakes.load(std::memory_order_relaxed);
}

int ScheduledMidiOutput::getNumAlive() noexcept
{
    return numAlive.load();
}

} // namespace zarnel
