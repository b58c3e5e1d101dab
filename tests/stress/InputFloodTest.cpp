// The MIDI input thread flooded while the audio thread and the message thread work, meant to run
// under ThreadSanitizer. Thread A plays the input device's thread, thread B the host's audio
// thread, and the test's own thread is the message thread (it owns the MessageManager).
#include "plugin/ZarnelAudioProcessor.h"
#include "support/SynthRig.h"
#include "support/MessagePump.h"

#include "StressDuration.h"

#include "midi/Notification.h"
#include "model/GlobalSettings.h"
#include "model/ParamTables.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <iostream>
#include <memory>
#include <random>
#include <thread>

using namespace zarnel;

namespace
{

using Clock = std::chrono::steady_clock;

using test::stressDuration;

// An order-sensitive digest: a reordered, doubled or replaced item shows even when counts agree.
struct Digest
{
    std::uint64_t value = 14695981039346656037ull;
    std::uint64_t count = 0;

    void add(std::uint64_t item)
    {
        value = (value ^ item) * 1099511628211ull;
        ++count;
    }
    bool operator==(const Digest&) const = default;
};

void PrintTo(const Digest& d, std::ostream* os)
{
    *os << d.count << " items, digest " << d.value;
}

struct Target
{
    int index;
    int maximum; // values sent stay within it, so the host's echo check finds them unchanged
    int nrpn;
};

std::vector<Target> parameterTargets()
{
    const auto& tables = ParamTables::get();
    std::vector<Target> targets;
    for (int i = 0; i < ZarnelAudioProcessor::numHostParameters; ++i)
    {
        const int nrpn = tables.nrpn(i);
        const int maximum = std::min(tables.maximum(i), 255);
        if (maximum > 0 && nrpn <= 379 && tables.indexForNrpn(nrpn) == i)
            targets.push_back({i, maximum, nrpn});
    }
    return targets;
}

std::vector<Target> globalTargets()
{
    std::vector<Target> targets;
    for (int g = 0; g < GlobalSettings::numSettings; ++g)
    {
        const auto& s = GlobalSettings::setting(g);
        // Stored as signed bytes: values above 127 would read back negative.
        if (s.nrpn > 379 && GlobalSettings::indexForIncomingNrpn(s.nrpn) == g)
            targets.push_back({g, std::min(s.maximum, 127), s.nrpn});
    }
    return targets;
}

// Back-pressure without counting codes: a producer asks for a drain pass and waits until one
// that began after its request has emptied both queues. The message thread runs the passes.
struct DrainHandshake
{
    std::atomic<long> requested{0};
    std::atomic<long> completed{0};

    // `abandon` lets a producer go when the message thread stops making passes.
    void waitForDrain(const std::atomic<bool>& abandon = std::atomic<bool>{false})
    {
        const long ticket = ++requested;
        while (completed.load() < ticket && !abandon.load())
            std::this_thread::sleep_for(std::chrono::microseconds(50));
    }
};

// What the input thread sent, for comparing with what arrived.
struct Sent
{
    std::vector<int> lastParameter = std::vector<int>(ProgramSysex::recordSize, -1);
    std::vector<Digest> parameterDigest = std::vector<Digest>(ProgramSysex::recordSize);
    std::vector<int> lastGlobal = std::vector<int>(GlobalSettings::numSettings, -1);
    std::vector<long> globalCount = std::vector<long>(GlobalSettings::numSettings, 0);
    long editDumps = 0;
    long programDumps = 0;
    std::vector<std::uint16_t> thru; // bytes, each message closed by 0x100 + its length
};

// Messages for the host that waited longer than the window (the audio thread stalled) are
// dropped as stale; nothing else may be lost, and nothing reordered, doubled or invented.
// Returns how many messages of `sent` are missing from `got`, or -1 when `got` is not an in-order
// selection of whole messages from `sent`.
long thruMissing(const std::vector<std::uint16_t>& sent, const std::vector<std::uint16_t>& got)
{
    const auto messages = [](const std::vector<std::uint16_t>& items) {
        std::vector<std::pair<size_t, size_t>> out; // start, end (one past the boundary)
        size_t start = 0;
        for (size_t i = 0; i < items.size(); ++i)
            if (items[i] >= 0x100)
            {
                out.emplace_back(start, i + 1);
                start = i + 1;
            }
        return out;
    };
    const auto s = messages(sent), g = messages(got);
    size_t k = 0;
    for (const auto& [gs, ge] : g)
    {
        while (k < s.size()
               && !std::equal(got.begin() + (std::ptrdiff_t)gs, got.begin() + (std::ptrdiff_t)ge,
                              sent.begin() + (std::ptrdiff_t)s[k].first, sent.begin() + (std::ptrdiff_t)s[k].second))
            ++k;
        if (k == s.size())
            return -1;
        ++k;
    }
    return (long)(s.size() - g.size());
}

// Thread A: parameter and global NRPNs, thru messages, and dumps whole and in pieces.
class InputFlood
{
public:
    InputFlood(MidiCntrState& s, DrainHandshake& h, const std::atomic<long>& thruSeenByHost)
        : state(s), handshake(h), thruSeen(thruSeenByHost)
    {
    }

    void run(Clock::time_point until)
    {
        std::mt19937 random(20240611);
        const auto params = parameterTargets();
        const auto globals = globalTargets();
        long step = 0;
        while (Clock::now() < until)
        {
            // Each parameter twice in a row: the second time the synthesizer leaves out 99/98.
            const auto& t = params[(size_t)(step / 2) % params.size()];
            parameter(t, (int)(random() % (unsigned)(t.maximum + 1)));

            if (step % 5 == 0)
                thruMessage(random);
            if (step % 61 == 0)
            {
                const auto& g = globals[(size_t)(step / 61) % globals.size()];
                global(g, (int)(random() % (unsigned)(g.maximum + 1)));
            }
            if (step % 97 == 0)
                dump(random, step % 2 == 0);
            if (++step % 256 == 0)
                pace();
        }

        // After the last dump, one more change of everything: the final values are then known.
        for (const auto& t : params)
            parameter(t, (sent.lastParameter[(size_t)t.index] + 1) % (t.maximum + 1));
        for (const auto& g : globals)
            global(g, (std::max(sent.lastGlobal[(size_t)g.index], 0) + 1) % (g.maximum + 1));
        pace();
    }

    Sent sent;
    std::atomic<long> thruSent{0};

private:
    void send(const std::uint8_t* bytes, size_t size)
    {
        state.handleIncomingMidiMessage(nullptr, juce::MidiMessage(bytes, (int)size));
    }

    void controller(int number, int value)
    {
        const std::uint8_t bytes[] = {0xB0, (std::uint8_t)number, (std::uint8_t)value};
        send(bytes, 3);
    }

    void nrpn(int number, int value)
    {
        if (number != selected)
        {
            controller(99, number / 128);
            controller(98, number % 128);
            selected = number;
            dataMsb = -1;
        }
        if (value / 128 != dataMsb)
        {
            controller(6, value / 128);
            dataMsb = value / 128;
        }
        controller(38, value % 128);
    }

    void parameter(const Target& t, int value)
    {
        nrpn(t.nrpn, value);
        sent.lastParameter[(size_t)t.index] = value;
        sent.parameterDigest[(size_t)t.index].add((std::uint64_t)value);
    }

    void global(const Target& g, int value)
    {
        nrpn(g.nrpn, value);
        sent.lastGlobal[(size_t)g.index] = value;
        ++sent.globalCount[(size_t)g.index];
    }

    void sendThru(const std::uint8_t* bytes, size_t size)
    {
        for (size_t i = 0; i < size; ++i)
            sent.thru.push_back(bytes[i]);
        sent.thru.push_back((std::uint16_t)(0x100 + size)); // message boundary
        ++thruSent;
        send(bytes, size);
    }

    void thruMessage(std::mt19937& random)
    {
        // The audio thread takes at most 1024 a block and drops what is older than its window:
        // once a window has passed, what it has not seen is gone.
        const auto giveUp = Clock::now() + std::chrono::milliseconds((int)MidiCntrState::toHostWindowMs + 100);
        while (thruSent.load() - thruSeen.load() > 256 && Clock::now() < giveUp)
            std::this_thread::sleep_for(std::chrono::microseconds(50));

        const auto r = random();
        const auto a = (std::uint8_t)(r & 0x7F), b = (std::uint8_t)((r >> 7) & 0x7F);
        const auto channel = (std::uint8_t)((r >> 14) & 0x0F);
        // Notes, a volume controller, pitch bends, program changes and clock ticks.
        static constexpr std::uint8_t statuses[] = {0x90, 0x80, 0xB0, 0xE0, 0xC0, 0xF8};
        const auto status = statuses[(r >> 18) % 6];
        std::uint8_t m[3] = {(std::uint8_t)(status < 0xF0 ? status | channel : status), a, b};
        if (status == 0xB0)
            m[1] = 7;
        sendThru(m, status == 0xF8 ? 1 : status == 0xC0 ? 2 : 3);
    }

    void dump(std::mt19937& random, bool editBuffer)
    {
        ProgramSysex::Record record;
        for (auto& byte : record)
            byte = (std::uint8_t)random();
        const auto message = editBuffer
                                 ? ProgramSysex::editBufferDump(record.data(), record.size())
                                 : ProgramSysex::programDump((int)(random() % 8), (int)(random() % 128),
                                                             record.data(), record.size());
        (editBuffer ? sent.editDumps : sent.programDumps) += 1;

        // Whole, or in pieces as drivers deliver long messages, with clock ticks in between.
        const size_t piece = random() % 3 == 0 ? message.size() : 16 + random() % 200;
        for (size_t offset = 0; offset < message.size(); offset += piece)
        {
            send(message.data() + offset, std::min(piece, message.size() - offset));
            if (random() % 4 == 0)
            {
                const std::uint8_t clock[] = {0xF8};
                sendThru(clock, 1);
            }
        }
    }

    void pace() { handshake.waitForDrain(); }

    MidiCntrState& state;
    DrainHandshake& handshake;
    const std::atomic<long>& thruSeen;
    int selected = -1;
    int dataMsb = -1;
};

// Thread B: blocks of 512 samples with host MIDI; what comes back is the synthesizer's thru.
class AudioLoop
{
public:
    AudioLoop(ZarnelAudioProcessor& p, DrainHandshake& h, std::atomic<bool>& stopFlag)
        : processor(p), handshake(h), stop(stopFlag)
    {
    }

    // Hosts may automate from the audio thread; 0 leaves the parameters alone.
    int automateEvery = 0;

    void run()
    {
        juce::AudioBuffer<float> audio(2, 512);
        juce::MidiBuffer midi;
        midi.ensureSize(16384);
        long block = 0;
        auto previous = Clock::now();
        while (!stop.load())
        {
            const auto now = Clock::now();
            longestGapMs = std::max(longestGapMs, std::chrono::duration<double, std::milli>(now - previous).count());
            previous = now;
            audio.clear();
            midi.clear();
            hostEvents(midi, block);
            if (automateEvery > 0 && block % automateEvery == 0)
                processor.getParameters()[(int)(block / automateEvery) % ZarnelAudioProcessor::numHostParameters]
                    ->setValue((float)(block % 11) / 10.0f);

            processor.processBlock(audio, midi);

            for (const auto m : midi)
            {
                for (int i = 0; i < m.numBytes; ++i)
                    thru.push_back(m.data[i]);
                thru.push_back((std::uint16_t)(0x100 + m.numBytes));
                ++thruSeen;
            }
            if (++block % 32 == 0)
                handshake.waitForDrain(stop);
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
    }

    std::vector<std::uint16_t> thru;
    std::atomic<long> thruSeen{0};
    double longestGapMs = 0.0; // between the starts of two blocks
    Digest hostCodes; // the codes the host's MIDI must give, in order

private:
    void hostEvents(juce::MidiBuffer& midi, long block)
    {
        const int note = 36 + (int)(block % 48);
        const int velocity = 1 + (int)(block % 127);
        const int value = (int)(block % 128);
        midi.addEvent(juce::MidiMessage::noteOn(1, note, (juce::uint8)velocity), 0);
        midi.addEvent(juce::MidiMessage::controllerEvent(2, 7, value), 100);
        midi.addEvent(juce::MidiMessage::pitchWheel(3, (int)(block % 16384)), 200);
        midi.addEvent(juce::MidiMessage::noteOff(1, note), 300);
        hostCodes.add(Notification::noteOn(1, note, velocity));
        hostCodes.add(Notification::controlChange(2, 7, value));
        hostCodes.add(Notification::pitchBend(3, (int)(block % 16384) >> 7, (int)(block % 128)));
        hostCodes.add(Notification::noteOff(1, note));
    }

    ZarnelAudioProcessor& processor;
    DrainHandshake& handshake;
    std::atomic<bool>& stop;
};

// Stands in for the editor: told on the posting thread, does nothing there.
struct EditorStandIn : MidiCntrStateListener
{
    void midiCntrStateChanged(MidiCntrState&) override { ++calls; }
    std::atomic<long> calls{0};
};

// The codes the message thread takes from the queue, sorted by where they came from.
struct Arrivals
{
    std::vector<Digest> parameters = std::vector<Digest>(ProgramSysex::recordSize);
    std::vector<long> globals = std::vector<long>(GlobalSettings::numSettings, 0);
    long programReplaced = 0;
    long bankContentChanged = 0;
    long hostCalls = 0; // program switches and bank receives of the message thread itself
    Digest hostMidi;
    std::vector<std::uint32_t> unexpected;

    void take(std::uint32_t code)
    {
        const auto type = Notification::typeOf(code);
        if (code < Notification::parameterChanged)
            hostMidi.add(code); // channel codes: only the host's MIDI posts them here
        else if (type == Notification::parameterChanged)
            parameters[(code >> 8) & 0xFF].add(code & 0xFF);
        else if (type == Notification::globalChanged && (code & 0xFFFFFF) < globals.size())
            ++globals[code & 0xFFFFFF];
        else if (type == Notification::programReplaced)
            ++programReplaced;
        else if (type == Notification::bankContentChanged)
            ++bankContentChanged;
        else if (type == Notification::hostProgramChanged || type == Notification::bankProgramArrived
                 || type == Notification::bankReceiveFinished)
            ++hostCalls;
        else if (unexpected.size() < 20)
            unexpected.push_back(code);
    }
};

class InputFloodTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        // Thread A is the only input: nothing the synthesizer answers may reach the state.
        state().selectInputPort(0);
        state().thruToHost = true;
        state().addListener(&editor);
        processor.prepareToPlay(44100.0, 512);
    }

    void TearDown() override { state().removeListener(&editor); }

    MidiCntrState& state() { return processor.getState(); }

    // One pass of the message thread: what the change message and the editor's timer would do.
    void messageThreadPass(Arrivals& arrivals)
    {
        const long ticket = handshake.requested.load();
        processor.applyHardwareChanges();
        std::uint32_t code;
        while (state().popNotification(code))
            arrivals.take(code);
        handshake.completed.store(ticket);
        // Change messages, the processor's gesture timer and the state's timer.
        zarnel::test::pumpMessages(0);
    }

    // Runs the flood; `extra` is the message thread's own work between passes.
    void flood(Arrivals& arrivals, int automateEvery, const std::function<void(long)>& extra)
    {
        std::atomic<bool> stopAudio{false};
        AudioLoop audioLoop(processor, handshake, stopAudio);
        audioLoop.automateEvery = automateEvery;
        InputFlood input(state(), handshake, audioLoop.thruSeen);

        const auto until = Clock::now() + stressDuration();
        std::atomic<bool> inputDone{false};
        std::thread audioThread([&] { audioLoop.run(); });
        std::thread inputThread([&] {
            input.run(until);
            inputDone = true;
        });

        long pass = 0;
        while (!inputDone.load())
        {
            messageThreadPass(arrivals);
            if (extra)
                extra(pass);
            ++pass;
        }
        inputThread.join();

        // Until everything arrived, or nothing more can (stale messages were dropped).
        const auto deadline = Clock::now() + std::chrono::seconds(60);
        auto lastProgress = Clock::now();
        for (long seen = -1; audioLoop.thruSeen.load() < input.thruSent.load() && Clock::now() < deadline
                             && Clock::now() - lastProgress < std::chrono::seconds(2);)
        {
            if (audioLoop.thruSeen.load() != seen)
            {
                seen = audioLoop.thruSeen.load();
                lastProgress = Clock::now();
            }
            messageThreadPass(arrivals);
        }
        stopAudio = true;
        audioThread.join();
        messageThreadPass(arrivals);

        sent = input.sent;
        audioThru = audioLoop.thru;
        audioThruCount = audioLoop.thruSeen.load();
        longestBlockGapMs = audioLoop.longestGapMs;
        hostCodes = audioLoop.hostCodes;
        passes = pass;
    }

    juce::ScopedJuceInitialiser_GUI juce;
    test::SynthRig rig;
    ZarnelAudioProcessor processor{rig.folder.get(), rig.backend};
    EditorStandIn editor;
    DrainHandshake handshake;

    // Results of flood().
    Sent sent;
    std::vector<std::uint16_t> audioThru;
    long audioThruCount = 0;
    double longestBlockGapMs = 0.0;

    // Exactly what was sent, unless the audio thread once stalled past the window.
    void expectThruDelivered()
    {
        const long missing = thruMissing(sent.thru, audioThru);
        EXPECT_GE(missing, 0) << "thru messages reordered, doubled or altered";
        if (longestBlockGapMs < MidiCntrState::toHostWindowMs - 100.0)
            EXPECT_EQ(missing, 0) << "thru messages lost";
        std::cout << "[ stress   ] thru: " << missing << " stale messages dropped, longest gap between blocks "
                  << longestBlockGapMs << " ms\n";
    }
    Digest hostCodes;
    long passes = 0;
};

} // namespace

TEST_F(InputFloodTest, NothingIsLostBetweenTheThreeThreads)
{
    Arrivals arrivals;
    flood(arrivals, 0, {});
    const auto& in = sent;

    EXPECT_EQ(state().getNumNotificationsDropped(), 0u);
    std::uint32_t entry;
    EXPECT_FALSE(state().popHardwareChange(entry));

    long parameterChanges = 0, missing = 0, extra = 0;
    std::vector<int> differing;
    for (const auto& t : parameterTargets())
    {
        const auto i = (size_t)t.index;
        const auto sentCount = (long)in.parameterDigest[i].count, arrived = (long)arrivals.parameters[i].count;
        parameterChanges += sentCount;
        missing += std::max(0L, sentCount - arrived);
        extra += std::max(0L, arrived - sentCount);
        if (!(arrivals.parameters[i] == in.parameterDigest[i]))
            differing.push_back(t.index);
        EXPECT_EQ(state().getCurrentByte(t.index), in.lastParameter[i]) << "parameter " << t.index;
    }
    EXPECT_EQ(missing, 0) << "parameter changes lost";
    // An extra code is a change the processor took for a host edit and sent back to the synthesizer.
    EXPECT_EQ(extra, 0) << "parameter changes reported twice";
    EXPECT_EQ(rig.synth.counters().nrpnsApplied, 0) << "parameter changes echoed to the synthesizer";
    EXPECT_EQ(differing, std::vector<int>{}) << "parameters whose changes arrived out of order or altered";

    for (const auto& g : globalTargets())
    {
        EXPECT_EQ(arrivals.globals[(size_t)g.index], in.globalCount[(size_t)g.index]) << "global " << g.index;
        EXPECT_EQ(state().getGlobalValue(g.index), in.lastGlobal[(size_t)g.index]) << "global " << g.index;
    }
    EXPECT_EQ(arrivals.programReplaced, in.editDumps + in.programDumps);
    EXPECT_EQ(arrivals.bankContentChanged, in.programDumps);
    EXPECT_EQ(arrivals.hostMidi, hostCodes);
    expectThruDelivered();
    EXPECT_EQ(arrivals.hostCalls, 0);
    EXPECT_EQ(arrivals.unexpected, std::vector<std::uint32_t>{});

    std::cout << "[ stress   ] " << parameterChanges << " parameter changes, " << in.editDumps + in.programDumps
              << " dumps, " << audioThruCount << " thru messages, " << hostCodes.count << " host MIDI codes, "
              << passes << " message-thread passes\n";
}

TEST_F(InputFloodTest, HostCallsDuringTheFlood)
{
    // The message thread also restores states, switches programs and receives banks, and the
    // audio thread automates parameters, while the input flood goes on.
    Arrivals arrivals;
    juce::MemoryBlock block;
    flood(arrivals, 3, [&](long pass) {
        if (pass % 20 != 0)
            return;
        switch ((pass / 20) % 7)
        {
            case 0:
                processor.getStateInformation(block);
                processor.setStateInformation(block.getData(), (int)block.getSize());
                break;
            case 1:
                processor.setCurrentProgram((int)(pass % 128));
                break;
            case 2:
                processor.getCurrentProgramStateInformation(block);
                processor.setCurrentProgramStateInformation(block.getData(), (int)block.getSize());
                break;
            case 3:
                processor.changeProgramName((int)(pass % 128), "Stress " + juce::String(pass));
                break;
            case 4:
                state().startBankReceive((int)(pass % 8), (int)(pass % 2) * 7);
                break;
            case 5:
                for (int i = 0; i < ZarnelAudioProcessor::numHostParameters; i += 7)
                    (void)processor.getParameterText(i);
                processor.timerCallback();
                break;
            default:
                state().endBankReceive();
                break;
        }
    });
    state().endBankReceive();

    EXPECT_EQ(state().getNumNotificationsDropped(), 0u);
    expectThruDelivered();
    EXPECT_EQ(arrivals.unexpected, std::vector<std::uint32_t>{});

    // Afterwards the state still reads back what it wrote.
    juce::MemoryBlock first, second;
    processor.getStateInformation(first);
    processor.setStateInformation(first.getData(), (int)first.getSize());
    processor.getStateInformation(second);
    EXPECT_EQ(first, second);
}
