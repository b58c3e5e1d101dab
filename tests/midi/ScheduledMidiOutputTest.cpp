#include "midi/ScheduledMidiOutput.h"
#include "support/VirtualMidiBackend.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

using zarnel::ScheduledMidiOutput;
using zarnel::test::VirtualMidiBackend;

namespace
{

using Bytes = std::vector<std::uint8_t>;

double now()
{
    return juce::Time::getMillisecondCounterHiRes();
}

// The instrument's end: records each message with its arrival time; can hold the sender inside
// the device call, as a stalled driver would.
class Recorder : public VirtualMidiBackend::FarSide
{
public:
    struct Arrival
    {
        Bytes bytes;
        double timeMs;
    };

    void receivedFromPlugin(const juce::MidiMessage& m) override
    {
        std::unique_lock<std::mutex> lock(mutex);
        ++callsStarted;
        changed.notify_all();
        changed.wait(lock, [this] { return !held; });
        const auto* raw = m.getRawData();
        arrivals.push_back({Bytes(raw, raw + m.getRawDataSize()), now()});
        changed.notify_all();
    }

    bool waitForArrivals(size_t n, int timeoutMs = 5000)
    {
        std::unique_lock<std::mutex> lock(mutex);
        return changed.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                                [&] { return arrivals.size() >= n; });
    }

    bool waitForCallsStarted(size_t n, int timeoutMs = 5000)
    {
        std::unique_lock<std::mutex> lock(mutex);
        return changed.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                                [&] { return callsStarted >= n; });
    }

    void hold(bool h)
    {
        const std::lock_guard<std::mutex> lock(mutex);
        held = h;
        changed.notify_all();
    }

    std::vector<Arrival> get()
    {
        const std::lock_guard<std::mutex> lock(mutex);
        return arrivals;
    }

    std::vector<Bytes> messages()
    {
        std::vector<Bytes> out;
        for (auto& a : get())
            out.push_back(a.bytes);
        return out;
    }

private:
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<Arrival> arrivals;
    size_t callsStarted = 0;
    bool held = false;
};

Bytes cc(int controller, int value)
{
    return {0xB0, (std::uint8_t)controller, (std::uint8_t)value};
}

juce::MidiBuffer bufferOf(const std::vector<std::pair<Bytes, int>>& events)
{
    juce::MidiBuffer buffer;
    for (const auto& [bytes, position] : events)
        buffer.addEvent(bytes.data(), (int)bytes.size(), position);
    return buffer;
}

Bytes sysex(size_t size)
{
    Bytes b(size, 0x11);
    b.front() = 0xF0;
    b.back() = 0xF7;
    return b;
}

class ScheduledOutputFixture : public ::testing::Test
{
protected:
    ScheduledOutputFixture()
    {
        backend.addDevice("Synth", &far);
        output = std::make_unique<ScheduledMidiOutput>(backend.openOutput(0));
    }
    ~ScheduledOutputFixture() override
    {
        far.hold(false);
        output.reset();
    }

    Recorder far;
    VirtualMidiBackend backend;
    std::unique_ptr<ScheduledMidiOutput> output;
};

} // namespace

TEST_F(ScheduledOutputFixture, MessagesGoOutWhenDueAndInSubmissionOrderWhenDueTogether)
{
    // Everything is scheduled before the sender starts, latest first, so the arrival order can
    // only come from the due times, however slowly this thread runs.
    const double start = now() + 50.0;
    const double together = start + 200.0;
    ASSERT_TRUE(output->sendBlockOfMessages(bufferOf({{cc(1, 0), 400}}), start, 1000.0));
    for (int i = 0; i < 20; ++i)
        ASSERT_TRUE(output->sendBlockOfMessages(bufferOf({{cc(2, i), 0}}), together, 1000.0));
    // At 44.1 kHz, position 4410 is 100 ms after the start time.
    ASSERT_TRUE(output->sendBlockOfMessages(bufferOf({{cc(3, 1), 4410}, {cc(3, 0), 0}}), start, 44100.0));
    output->startBackgroundThread();

    ASSERT_TRUE(far.waitForArrivals(23));
    std::vector<Bytes> expected{cc(3, 0), cc(3, 1)};
    for (int i = 0; i < 20; ++i)
        expected.push_back(cc(2, i));
    expected.push_back(cc(1, 0));
    EXPECT_EQ(far.messages(), expected);

    const auto arrivals = far.get();
    const std::pair<size_t, double> firstDue[] = {
        {0, start}, {1, start + 100.0}, {2, together}, {22, start + 400.0}};
    for (const auto& [index, due] : firstDue)
    {
        EXPECT_GE(arrivals[index].timeMs, due - 0.5) << "message " << index << " went out early";
        EXPECT_LT(arrivals[index].timeMs, due + 2000.0) << "message " << index << " was held back";
    }
}

TEST_F(ScheduledOutputFixture, ClearingDropsWhatIsScheduledButNotWhatComesAfter)
{
    // Scheduled while the sender thread is stopped, and while it runs.
    output->sendBlockOfMessages(bufferOf({{cc(1, 1), 0}}), now(), 1000.0);
    output->clearAllPendingMessages();
    output->startBackgroundThread();

    const double late = now() + 500.0;
    output->sendBlockOfMessages(bufferOf({{cc(1, 2), 0}}), late, 1000.0);
    output->sendBlockOfMessages(bufferOf({{cc(1, 3), 0}}), now(), 1000.0);
    ASSERT_TRUE(far.waitForArrivals(1));
    output->clearAllPendingMessages();
    output->sendBlockOfMessages(bufferOf({{cc(1, 4), 0}}), now(), 1000.0);
    ASSERT_TRUE(far.waitForArrivals(2));

    juce::Thread::sleep((int)(late - now()) + 200);
    EXPECT_EQ(far.messages(), (std::vector<Bytes>{cc(1, 3), cc(1, 4)}));
    EXPECT_EQ(output->getNumDropped(), 0u) << "cleared messages are not refused ones";
}

TEST_F(ScheduledOutputFixture, FullScheduleRefusesWithoutWaitingForAStalledDevice)
{
    output->startBackgroundThread();
    far.hold(true);
    output->sendBlockOfMessages(bufferOf({{cc(0, 0), 0}}), now(), 1000.0);
    ASSERT_TRUE(far.waitForCallsStarted(1)) << "the sender thread should be stuck in the device";

    const int extra = 10;
    const int total = (int)ScheduledMidiOutput::scheduleCapacity + extra;
    juce::MidiBuffer block;
    for (int i = 0; i < total; ++i)
    {
        const Bytes m{0xB0, (std::uint8_t)(i >> 7), (std::uint8_t)(i & 0x7F)};
        block.addEvent(m.data(), 3, 0);
    }

    const double before = now();
    EXPECT_FALSE(output->sendBlockOfMessages(block, now(), 1000.0));
    EXPECT_FALSE(output->sendBlockOfMessages(bufferOf({{cc(5, 5), 0}}), now(), 1000.0));
    EXPECT_LT(now() - before, 1000.0) << "producers must not wait for the device";
    EXPECT_EQ(output->getNumDropped(), (size_t)extra + 1);

    far.hold(false);
    ASSERT_TRUE(far.waitForArrivals(1 + ScheduledMidiOutput::scheduleCapacity));
    const auto got = far.messages();
    for (size_t i = 1; i < got.size(); ++i)
        ASSERT_EQ(got[i], (Bytes{0xB0, (std::uint8_t)((i - 1) >> 7), (std::uint8_t)((i - 1) & 0x7F)}))
            << "the scheduled part of the block must arrive whole and in order";

    // Room again once the sender has caught up.
    EXPECT_TRUE(output->sendBlockOfMessages(bufferOf({{cc(6, 6), 0}}), now(), 1000.0));
    ASSERT_TRUE(far.waitForArrivals(2 + ScheduledMidiOutput::scheduleCapacity));
    EXPECT_EQ(far.messages().back(), cc(6, 6));
}

TEST_F(ScheduledOutputFixture, MessagesLongerThanAPieceAreRefusedAlone)
{
    output->startBackgroundThread();
    juce::MidiBuffer block;
    const auto fits = sysex(ScheduledMidiOutput::maxMessageSize);
    const auto tooLong = sysex(ScheduledMidiOutput::maxMessageSize + 1);
    block.addEvent(cc(1, 1).data(), 3, 0);
    block.addEvent(tooLong.data(), (int)tooLong.size(), 0);
    block.addEvent(fits.data(), (int)fits.size(), 0);

    EXPECT_FALSE(output->sendBlockOfMessages(block, now(), 1000.0));
    EXPECT_FALSE(output->scheduleMessage(tooLong.data(), tooLong.size(), now()));
    EXPECT_EQ(output->getNumDropped(), 2u);

    ASSERT_TRUE(far.waitForArrivals(2));
    EXPECT_EQ(far.messages(), (std::vector<Bytes>{cc(1, 1), fits}));
}

TEST_F(ScheduledOutputFixture, StoppedThreadKeepsScheduleAndDirectSendsForTheRestart)
{
    output->startBackgroundThread();
    EXPECT_TRUE(output->isBackgroundThreadRunning());
    EXPECT_TRUE(output->stopBackgroundThread());
    EXPECT_FALSE(output->isBackgroundThreadRunning());

    // Only the sender thread calls the device, so a direct send waits for it too.
    output->sendBlockOfMessages(bufferOf({{cc(1, 1), 0}}), now(), 1000.0);
    output->sendMessageNow(juce::MidiMessage(0xB0, 2, 2));
    EXPECT_TRUE(far.messages().empty());

    output->startBackgroundThread();
    ASSERT_TRUE(far.waitForArrivals(2));
    EXPECT_EQ(far.messages(), (std::vector<Bytes>{cc(1, 1), cc(2, 2)}));
}

// A device stuck in the driver: long messages pile up behind it in order, in one piece each;
// the sender is found stalled; closing does not wait for it, and once the device comes back the
// notes it was left holding are let go and everything is freed.
TEST_F(ScheduledOutputFixture, AStuckDeviceHoldsUpNobodyAndIsCleanedUpWhenItReturns)
{
    // Senders of earlier tests free their state on their own threads, just after closing.
    const auto settled = [](int alive) {
        const auto end = now() + 5000.0;
        while (ScheduledMidiOutput::getNumAlive() != alive && now() < end)
            juce::Thread::sleep(1);
        return ScheduledMidiOutput::getNumAlive() == alive;
    };
    ASSERT_TRUE(settled(1));
    output->startBackgroundThread();
    const Bytes noteOn{0x90, 60, 100}, pedal{0xB3, 64, 127};
    output->scheduleMessage(noteOn.data(), 3, now());
    output->scheduleMessage(pedal.data(), 3, now());
    ASSERT_TRUE(far.waitForArrivals(2));

    far.hold(true);
    output->scheduleMessage(cc(0, 0).data(), 3, now());
    ASSERT_TRUE(far.waitForCallsStarted(3));

    const auto dump = sysex(600);
    const double before = now();
    output->scheduleMessage(cc(1, 1).data(), 3, now());
    output->sendLongMessage(dump.data(), dump.size());
    output->scheduleMessage(cc(2, 2).data(), 3, now());
    output->scheduleMessage(cc(3, 3).data(), 3, now() + 100000.0); // never due
    std::thread other([&] {
        for (int i = 0; i < 50; ++i)
            output->scheduleMessage(cc(4, i).data(), 3, now());
    });
    other.join();
    EXPECT_LT(now() - before, 500.0) << "senders must not wait for the device";
    EXPECT_FALSE(output->isStalled(now()));
    EXPECT_TRUE(output->isStalled(now() + ScheduledMidiOutput::stallLimitMs));

    output.reset();
    EXPECT_LT(now() - before, 1000.0) << "closing must not wait for the device";

    far.hold(false);
    ASSERT_TRUE(far.waitForArrivals(2 + 1 + 1 + 3 + 1 + 50 + 2));
    // Nothing comes between the pieces; the dump leaves after what was due before it.
    auto got = far.messages();
    EXPECT_EQ(got[2], cc(0, 0));
    EXPECT_EQ(got[3], cc(1, 1));
    Bytes joined;
    for (size_t i = 4; i < 7; ++i)
        joined.insert(joined.end(), got[i].begin(), got[i].end());
    EXPECT_EQ(joined, dump);
    EXPECT_EQ(got[7], cc(2, 2));
    const std::vector<Bytes> released(got.end() - 2, got.end());
    EXPECT_EQ(released, (std::vector<Bytes>{{0x80, 60, 0}, {0xB3, 64, 0}}));
    EXPECT_EQ(std::count(got.begin(), got.end(), cc(3, 3)), 0);

    EXPECT_TRUE(settled(0)) << "the sender and its device are freed once the call returns";
    EXPECT_FALSE(backend.isOutputOpen("Synth"));
}

// The message thread role moves after the ports are open (a Linux VST3 host takes it over from
// the plug-in's own thread when the editor opens): edits from the thread that has it now must
// still wake the sender, not wait for its poll; other threads never wake it (the audio thread
// must not take the lock a wake takes). Counted rather than timed, so a busy machine cannot fail it.
TEST_F(ScheduledOutputFixture, EditsFromTheThreadThatIsTheMessageThreadNowWakeTheSender)
{
    auto* mm = juce::MessageManager::getInstance();
    std::thread([mm] { mm->setCurrentThreadAsMessageThread(); }).join();
    output.reset();
    output = std::make_unique<ScheduledMidiOutput>(backend.openOutput(0));
    output->startBackgroundThread();

    const auto schedule = [&](size_t i, double due) {
        const auto bytes = cc(1, (int)(i % 128));
        ASSERT_TRUE(output->scheduleMessage(bytes.data(), bytes.size(), due));
        ASSERT_TRUE(far.waitForArrivals(i + 1));
    };
    // From this thread while another holds the role: found by the poll, no wake.
    for (size_t i = 0; i < 5; ++i)
        schedule(i, now());
    EXPECT_EQ(output->getNumWakes(), 0u);

    mm->setCurrentThreadAsMessageThread();
    for (size_t i = 5; i < 25; ++i)
        schedule(i, now());
    EXPECT_EQ(output->getNumWakes(), 20u) << "every edit due now from the message thread wakes the sender";
    schedule(25, now() + 50.0); // due later: the poll finds it in time
    EXPECT_EQ(output->getNumWakes(), 20u);
    juce::MessageManager::deleteInstance();
}

// A bank transmit hands over one dump after another from the message thread: once the device sits
// in a call, none of them may wait for it, or the editor freezes until the stall is declared.
TEST_F(ScheduledOutputFixture, DumpsToADeviceSittingInACallDoNotWaitForIt)
{
    output->startBackgroundThread();
    far.hold(true);
    output->scheduleMessage(cc(0, 0).data(), 3, now());
    ASSERT_TRUE(far.waitForCallsStarted(1));
    juce::Thread::sleep((int)ScheduledMidiOutput::slowCallMs + 20);

    const auto dump = sysex(300);
    const double before = now();
    for (int i = 0; i < 8; ++i)
        EXPECT_FALSE(output->sendLongMessage(dump.data(), dump.size(), 250));
    EXPECT_LT(now() - before, 200.0);

    far.hold(false);
    EXPECT_TRUE(far.waitForArrivals(1 + 8 * 2)) << "the dumps still go out in their turn";
}
