// Outputs switched, channels changed, dumps sent and searches started on the message thread while
// the host plays and bypasses on the audio thread, the on-screen keyboard plays from a thread of
// its own, and the devices stall now and then (some long enough to be given up), meant to run
// under ThreadSanitizer. In the end every sender and device is freed and nothing sounds.
#include "plugin/ZarnelAudioProcessor.h"
#include "support/MessagePump.h"
#include "support/SynthRig.h"

#include "StressDuration.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <iostream>
#include <random>
#include <thread>

using namespace zarnel;

namespace
{

using Clock = std::chrono::steady_clock;

constexpr const char* otherDevice = "Other x4 MIDI";

void sleepMs(int ms)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

// The host: notes and pedal on three channels, now and then a few blocks bypassed.
void playHost(ZarnelAudioProcessor& processor, const std::atomic<bool>& stop, std::atomic<long>& blocks)
{
    std::mt19937 random(7);
    juce::AudioBuffer<float> audio(2, 256);
    audio.clear();
    juce::MidiBuffer midi;
    midi.ensureSize(4096);
    int bypassLeft = 0;
    while (!stop.load())
    {
        midi.clear();
        for (int i = 0; i < 4; ++i)
        {
            const auto channel = (std::uint8_t)(random() % 3);
            const auto note = (std::uint8_t)(48 + random() % 24);
            const int position = (int)(random() % 256);
            switch (random() % 5)
            {
                case 0:
                case 1:
                {
                    const std::uint8_t on[] = {(std::uint8_t)(0x90 | channel), note, 100};
                    midi.addEvent(on, 3, position);
                    break;
                }
                case 2:
                case 3:
                {
                    const std::uint8_t off[] = {(std::uint8_t)(0x80 | channel), note, 0};
                    midi.addEvent(off, 3, position);
                    break;
                }
                default:
                {
                    const std::uint8_t pedal[] = {(std::uint8_t)(0xB0 | channel), 64, (std::uint8_t)(random() % 2 * 127)};
                    midi.addEvent(pedal, 3, position);
                    break;
                }
            }
        }
        if (bypassLeft == 0 && random() % 64 == 0)
            bypassLeft = 1 + (int)(random() % 8);
        if (bypassLeft > 0)
        {
            --bypassLeft;
            processor.processBlockBypassed(audio, midi);
        }
        else
        {
            processor.processBlock(audio, midi);
        }
        ++blocks;
        sleepMs(1);
    }
}

// The on-screen keyboard, played from a thread of its own.
void playKeyboard(MidiCntrState& state, const std::atomic<bool>& stop)
{
    std::mt19937 random(11);
    while (!stop.load())
    {
        const int channel = state.midiChannel.load();
        const int note = 60 + (int)(random() % 12);
        if (random() % 2 == 0)
            state.sendNote(channel, note, 90);
        else
            state.sendNoteOff(channel, note);
        sleepMs(2);
    }
}

// Drivers that stop taking data for a moment, longer than closing waits, and now and then long
// enough for the output to be given up (the user then leaves the ports alone meanwhile: another
// choice would close the stuck output before it is found).
void stallDevices(test::VirtualMidiBackend& backend, const std::atomic<bool>& stop, std::atomic<long>& stalls,
                  std::atomic<bool>& longStall)
{
    std::mt19937 random(13);
    long count = 0;
    while (!stop.load())
    {
        sleepMs(5 + (int)(random() % 50));
        const juce::String device = random() % 2 == 0 ? test::SynthRig::deviceName : otherDevice;
        int ms = 1 + (int)(random() % 400);
        const bool giveUp = ++count % 20 == 0;
        if (giveUp)
        {
            ms = (int)ScheduledMidiOutput::stallLimitMs + 500;
            longStall = true;
        }
        backend.stallOutput(device);
        for (const auto end = Clock::now() + std::chrono::milliseconds(ms); Clock::now() < end && !stop.load();)
            sleepMs(1);
        backend.resumeOutput(device);
        longStall = false;
        ++stalls;
    }
}

// Stands in for the editor: takes the codes on whatever thread posts them, and counts the
// outputs given up.
struct EditorStandIn : MidiCntrStateListener
{
    void midiCntrStateChanged(MidiCntrState& state) override
    {
        std::uint32_t code;
        while (state.popNotification(code))
            if (code == Notification::outputNotResponding)
                ++outputsGivenUp;
    }
    std::atomic<long> outputsGivenUp{0};
};

} // namespace

TEST(StuckOutputStressTest, OutputsSwitchedWhileNotesAreHeldAndDevicesStall)
{
    juce::ScopedJuceInitialiser_GUI juce;
    test::SynthRig rig;
    test::SimulatedSynth other{rig.backend, otherDevice, test::SynthRig::instantWire()};
    auto processor = std::make_unique<ZarnelAudioProcessor>(rig.folder.get(), rig.backend);
    processor->prepareToPlay(44100.0, 256);
    auto& state = processor->getState();
    EditorStandIn editor;
    state.addListener(&editor);

    std::atomic<bool> stop{false}, longStall{false};
    std::atomic<long> blocks{0}, stalls{0};
    std::thread host([&] { playHost(*processor, stop, blocks); });
    std::thread keyboard([&] { playKeyboard(state, stop); });
    std::thread staller([&] { stallDevices(rig.backend, stop, stalls, longStall); });

    std::mt19937 random(17);
    long actions = 0;
    double longestActionMs = 0.0;
    const auto until = Clock::now() + test::stressDuration();
    while (Clock::now() < until)
    {
        // The state's timer: the port search steps, a stuck output is found.
        test::pumpMessages(0);
        const auto started = Clock::now();
        const auto action = random() % 8;
        switch (longStall.load() && (action <= 3 || action == 7) ? 4 : action)
        {
            case 0:
            case 1:
            case 2:
                state.selectOutputPort(1 + (int)(random() % 2));
                break;
            case 3:
                state.selectOutputPort(0);
                break;
            case 4:
                state.setMidiChannel(1 + (int)(random() % 3));
                break;
            case 5:
            case 6:
                state.sendEditBuffer(state.getCurrentProgram());
                break;
            default:
                if (random() % 8 == 0)
                    state.getPortSearch().start();
                break;
        }
        longestActionMs = std::max(longestActionMs,
                                   std::chrono::duration<double, std::milli>(Clock::now() - started).count());
        ++actions;
        rig.synth.clearLogs();
        other.clearLogs();
        sleepMs(5);
    }

    stop = true;
    host.join();
    keyboard.join();
    staller.join();
    state.removeListener(&editor);
    rig.backend.resumeOutput(test::SynthRig::deviceName);
    rig.backend.resumeOutput(otherDevice);
    processor.reset();

    const auto deadline = Clock::now() + std::chrono::seconds(10);
    while (ScheduledMidiOutput::getNumAlive() != 0 && Clock::now() < deadline)
        sleepMs(1);
    EXPECT_EQ(ScheduledMidiOutput::getNumAlive(), 0) << "senders or devices left behind";
    for (auto* synth : {&rig.synth, &other})
    {
        EXPECT_TRUE(synth->waitUntilIdle(3000));
        EXPECT_EQ(synth->notesSoundingOnAnyChannel(), std::vector<int>{}) << "notes left sounding";
        EXPECT_EQ(synth->channelsWithPedalDown(), std::vector<int>{}) << "pedals left down";
    }
    // Closing waits a little for a device, and a long dump a little for its hand-over; a port
    // switch may do both: never the device's whole stall.
    EXPECT_LT(longestActionMs, 1000.0);

    std::cout << "[ stress   ] " << actions << " message-thread actions, " << blocks.load() << " host blocks, "
              << stalls.load() << " device stalls, " << editor.outputsGivenUp.load() << " outputs given up, longest action "
              << longestActionMs << " ms\n";
}
