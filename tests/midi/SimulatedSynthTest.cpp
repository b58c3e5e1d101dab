#include "support/SimulatedSynth.h"

#include <gtest/gtest.h>

#include <functional>
#include <mutex>
#include <thread>
#include <utility>

using zarnel::Bytes;
using zarnel::ProgramSysex;
using zarnel::test::SimulatedSynth;
using zarnel::test::VirtualMidiBackend;

namespace
{
const juce::String deviceName = "Mopho x4";

Bytes bytesOf(const juce::MidiMessage& m)
{
    return Bytes(m.getRawData(), m.getRawData() + m.getRawDataSize());
}

// Joins SysEx pieces the way the plug-in's input does: F0 starts over, anything else extends an
// open message, F7 at the end completes it.
class Recorder : public juce::MidiInputCallback
{
public:
    void handleIncomingMidiMessage(juce::MidiInput*, const juce::MidiMessage& message) override
    {
        const std::lock_guard<std::mutex> lk(lock);
        const auto piece = bytesOf(message);
        pieces.push_back(piece);
        callbackThread = std::this_thread::get_id();
        if (piece[0] == 0xF0)
            open = piece;
        else if (!open.empty())
            open.insert(open.end(), piece.begin(), piece.end());
        else
        {
            messages.push_back(piece);
            return;
        }
        if (open.back() == 0xF7)
        {
            messages.push_back(open);
            open.clear();
        }
    }

    std::vector<Bytes> takeMessages()
    {
        const std::lock_guard<std::mutex> lk(lock);
        pieces.clear();
        return std::exchange(messages, {});
    }

    std::vector<Bytes> piecesSoFar()
    {
        const std::lock_guard<std::mutex> lk(lock);
        return pieces;
    }

    size_t count()
    {
        const std::lock_guard<std::mutex> lk(lock);
        return messages.size();
    }

    std::thread::id thread()
    {
        const std::lock_guard<std::mutex> lk(lock);
        return callbackThread;
    }

private:
    std::mutex lock;
    Bytes open;
    std::vector<Bytes> messages;
    std::vector<Bytes> pieces;
    std::thread::id callbackThread;
};

// A record nobody could mistake for another slot's.
ProgramSysex::Record markedRecord(int seed)
{
    ProgramSysex::Record r{};
    for (size_t i = 0; i < r.size(); ++i)
        r[i] = (std::uint8_t)((i * 7 + (size_t)seed * 31) & 0xFF);
    return r;
}

Bytes cc(int channel, int controller, int value)
{
    return {(std::uint8_t)(0xB0 + channel - 1), (std::uint8_t)controller, (std::uint8_t)value};
}
} // namespace

class SimulatedSynthTest : public ::testing::Test
{
protected:
    void start(SimulatedSynth::Options options = SimulatedSynth::Options{})
    {
        synth = std::make_unique<SimulatedSynth>(backend, deviceName, options);
        input = backend.openInput(backend.getInputNames().indexOf(deviceName), &recorder);
        output = backend.openOutput(backend.getOutputNames().indexOf(deviceName));
        ASSERT_TRUE(input && output);
        input->start();
    }

    void SetUp() override { start(); }

    void restart(SimulatedSynth::Options options)
    {
        output.reset();
        input.reset();
        synth.reset();
        start(options);
    }

    void send(const Bytes& message)
    {
        output->sendMessageNow(SimulatedSynth::rawMessage(message.data(), message.size()));
    }

    void sendAll(const std::vector<Bytes>& messages)
    {
        for (const auto& m : messages)
            send(m);
    }

    // Long SysEx as the plug-in's output sends it: raw pieces of at most 256 bytes.
    void sendInPieces(const Bytes& message, size_t pieceSize = 256)
    {
        for (size_t at = 0; at < message.size(); at += pieceSize)
            send(Bytes(message.begin() + (std::ptrdiff_t)at,
                       message.begin() + (std::ptrdiff_t)std::min(message.size(), at + pieceSize)));
    }

    VirtualMidiBackend backend;
    std::unique_ptr<SimulatedSynth> synth;
    Recorder recorder;
    std::unique_ptr<zarnel::MidiInputDevice> input;
    std::unique_ptr<zarnel::MidiOutputDevice> output;
};

TEST_F(SimulatedSynthTest, ProgramDumpRequestAnswersWithThatSlot)
{
    const std::pair<int, int> slots[] = {{0, 0}, {3, 127}, {4, 64}, {7, 5}};
    for (const auto& [bank, prog] : slots)
        synth->setProgram(bank, prog, markedRecord(bank * 128 + prog));

    for (const auto& [bank, prog] : slots)
    {
        send(ProgramSysex::programDumpRequest(bank, prog));
        const auto got = recorder.takeMessages();
        ASSERT_EQ(got.size(), 1u) << bank << "/" << prog;
        const auto& dump = got[0];
        ASSERT_EQ(dump.size(), ProgramSysex::programDumpSize);
        EXPECT_EQ(Bytes(dump.begin(), dump.begin() + 6),
                  (Bytes{0xF0, 0x01, 0x29, 0x02, (std::uint8_t)bank, (std::uint8_t)prog}));
        EXPECT_EQ(dump.back(), 0xF7);
        EXPECT_EQ(ProgramSysex::unpack(dump.data() + 6), markedRecord(bank * 128 + prog))
            << bank << "/" << prog;
    }

    // Banks the instrument does not have get no answer.
    for (const int bank : {8, 0x7F})
        send({0xF0, 0x01, 0x29, 0x05, (std::uint8_t)bank, 0x00, 0xF7});
    EXPECT_TRUE(recorder.takeMessages().empty());
    const auto c = synth->counters();
    EXPECT_EQ(c.programRequests, 6);
    EXPECT_EQ(c.programDumpsSent, 4);
    EXPECT_EQ(c.ignored, 2);
}

TEST_F(SimulatedSynthTest, EditBufferRequestAnswersWithTheEditBuffer)
{
    synth->setEditBuffer(markedRecord(9));
    send(ProgramSysex::editBufferDumpRequest());
    send({0xF0, 0x01, 0x29, 0x06, 0x00, 0xF7}); // wrong length: ignored

    const auto got = recorder.takeMessages();
    ASSERT_EQ(got.size(), 1u);
    ASSERT_EQ(got[0].size(), ProgramSysex::editBufferDumpSize);
    EXPECT_EQ(Bytes(got[0].begin(), got[0].begin() + 4), (Bytes{0xF0, 0x01, 0x29, 0x03}));
    EXPECT_EQ(ProgramSysex::unpack(got[0].data() + 4), markedRecord(9));
}

TEST_F(SimulatedSynthTest, GlobalDumpCarriesValuesAsNibblePairs)
{
    synth->setGlobal(1, 100);
    synth->setGlobal(2, 16);
    send(ProgramSysex::globalDumpRequest());

    // Defaults elsewhere: coarse 12, controllers, SysEx, local control and pressure on.
    const Bytes expected{0xF0, 0x01, 0x29, 0x0F, //
                         0x0C, 0x00, 0x04, 0x06, 0x00, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x01,
                         0x00, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00,
                         0x00, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, //
                         0xF7};
    const auto got = recorder.takeMessages();
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0], expected);

    // With SysEx off the instrument stays silent, which is what a failed link test looks like.
    synth->setGlobal(SimulatedSynth::globalSysexEnable, 0);
    send(ProgramSysex::globalDumpRequest());
    EXPECT_TRUE(recorder.takeMessages().empty());
}

TEST_F(SimulatedSynthTest, FrontPanelSendsWhatTheInstrumentWould)
{
    struct Case
    {
        const char* what;
        int channel;
        std::function<void(SimulatedSynth&)> act;
        std::vector<Bytes> expected;
    };
    const Case cases[] = {
        {"knob, value above 127",
         1,
         [](SimulatedSynth& s) { s.knobMove(20, 150); },
         {cc(1, 99, 0), cc(1, 98, 15), cc(1, 6, 1), cc(1, 38, 22)}},
        {"knob, index and NRPN differ",
         16,
         [](SimulatedSynth& s) { s.knobMove(5, 64); },
         {cc(16, 99, 0), cc(16, 98, 114), cc(16, 6, 0), cc(16, 38, 64)}},
        {"global pressure",
         1,
         [](SimulatedSynth& s) { s.globalKnobMove(15, 0); },
         {cc(1, 99, 3), cc(1, 98, 9), cc(1, 6, 0), cc(1, 38, 0)}},
        {"notes",
         3,
         [](SimulatedSynth& s)
         {
             s.noteOn(60, 100);
             s.noteOff(60);
         },
         {{0x92, 60, 100}, {0x82, 60, 0}}},
    };
    for (const auto& c : cases)
    {
        synth->setReceiveChannel(c.channel);
        c.act(*synth);
        EXPECT_EQ(recorder.takeMessages(), c.expected) << c.what;
    }
    EXPECT_EQ(synth->editBuffer()[20], 150);
    EXPECT_EQ(synth->editBuffer()[5], 64);
    EXPECT_EQ(synth->global(15), 0);

    synth->setProgram(6, 1, markedRecord(3));
    synth->sendProgramDumpOf(6, 1);
    synth->sendGlobalDump();
    const auto got = recorder.takeMessages();
    ASSERT_EQ(got.size(), 2u);
    EXPECT_EQ(got[0], ProgramSysex::programDump(6, 1, markedRecord(3).data(), 256));
    EXPECT_EQ(got[1].size(), 5u + 2 * SimulatedSynth::numGlobals);
}

TEST_F(SimulatedSynthTest, IncomingNrpnKeepsItsPartsBetweenMessages)
{
    sendAll({cc(1, 99, 0), cc(1, 98, 20), cc(1, 6, 1), cc(1, 38, 10)});
    EXPECT_EQ(synth->editBuffer()[25], 138);

    send(cc(1, 38, 11)); // data entry alone: same NRPN, same MSB
    EXPECT_EQ(synth->editBuffer()[25], 139);

    sendAll({cc(1, 6, 0), cc(1, 38, 5)});
    EXPECT_EQ(synth->editBuffer()[25], 5);

    sendAll({cc(1, 98, 114), cc(1, 38, 77)}); // NRPN 114 is index 5
    EXPECT_EQ(synth->editBuffer()[5], 77);

    // Globals, including pressure (393) which the instrument accepts; 392 is nobody's.
    sendAll({cc(1, 99, 3), cc(1, 98, 9), cc(1, 6, 0), cc(1, 38, 0)});
    EXPECT_EQ(synth->global(15), 0);
    const auto before = synth->globals();
    sendAll({cc(1, 98, 8), cc(1, 38, 1)});
    EXPECT_EQ(synth->globals(), before);

    // NRPN 386 moves the receive channel: channel 1 is then deaf, channel 5 is heard.
    sendAll({cc(1, 98, 2), cc(1, 38, 5)});
    EXPECT_EQ(synth->receiveChannel(), 5);
    sendAll({cc(1, 99, 0), cc(1, 98, 20), cc(1, 6, 0), cc(1, 38, 99)});
    EXPECT_EQ(synth->editBuffer()[25], 5);
    sendAll({cc(5, 99, 0), cc(5, 98, 20), cc(5, 6, 0), cc(5, 38, 99)});
    EXPECT_EQ(synth->editBuffer()[25], 99);
}

TEST_F(SimulatedSynthTest, DumpsFromThePluginWriteSlotAndEditBuffer)
{
    const auto edit = synth->editBuffer();
    sendInPieces(ProgramSysex::programDump(2, 7, markedRecord(1).data(), 256));
    EXPECT_EQ(synth->program(2, 7), markedRecord(1));
    EXPECT_EQ(synth->editBuffer(), edit);

    sendInPieces(ProgramSysex::editBufferDump(markedRecord(2).data(), 256));
    EXPECT_EQ(synth->editBuffer(), markedRecord(2));

    auto dump = ProgramSysex::programDump(1, 1, markedRecord(4).data(), 256);
    const auto slot = synth->program(1, 1);
    auto otherMaker = dump;
    otherMaker[1] = 0x02;
    auto otherModel = dump;
    otherModel[2] = 0x25;
    auto noBank = dump;
    noBank[4] = 8;
    auto oneShort = dump;
    oneShort.erase(oneShort.begin() + 100);
    for (const auto& m : {otherMaker, otherModel, noBank, oneShort})
        sendInPieces(m);
    EXPECT_EQ(synth->program(1, 1), slot);

    const auto c = synth->counters();
    EXPECT_EQ(c.programDumpsReceived, 1);
    EXPECT_EQ(c.editBufferDumpsReceived, 1);
    EXPECT_EQ(c.ignored, 4);
}

TEST_F(SimulatedSynthTest, BankSelectAndProgramChangeLoadTheEditBuffer)
{
    synth->setProgram(3, 9, markedRecord(5));
    synth->setProgram(3, 10, markedRecord(6));

    sendAll({cc(1, 32, 3), {0xC0, 9}});
    EXPECT_EQ(synth->currentBank(), 3);
    EXPECT_EQ(synth->currentProgram(), 9);
    EXPECT_EQ(synth->editBuffer(), markedRecord(5));

    sendAll({cc(1, 32, 8), {0xC0, 10}}); // no bank 8: the bank stays
    EXPECT_EQ(synth->currentBank(), 3);
    EXPECT_EQ(synth->editBuffer(), markedRecord(6));
}

TEST_F(SimulatedSynthTest, PiecesFromThePluginRejoinAroundClockBytes)
{
    const auto dump = ProgramSysex::programDump(5, 3, markedRecord(7).data(), 256);
    send(Bytes(dump.begin(), dump.begin() + 256));
    send({0xF8}); // real-time bytes may come between the pieces
    send(Bytes(dump.begin() + 256, dump.end()));

    EXPECT_EQ(synth->program(5, 3), markedRecord(7));
    const auto log = synth->received();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0].bytes, Bytes{0xF8});
    EXPECT_EQ(log[1].bytes, dump);
    EXPECT_EQ(log[1].pieces, 2);
}

TEST_F(SimulatedSynthTest, FragmentedDumpsRejoinExactly)
{
    const auto expected = ProgramSysex::programDump(1, 2, synth->program(1, 2).data(), 256);
    // 297 and 299 leave tails of three and one byte; 64 leaves 44.
    for (const int size : {0, 64, 256, 297, 299, 300})
    {
        synth->setFragmentSize(size);
        send(ProgramSysex::programDumpRequest(1, 2));

        const auto pieces = recorder.piecesSoFar();
        const size_t wanted = size == 0 ? 1 : (expected.size() + (size_t)size - 1) / (size_t)size;
        ASSERT_EQ(pieces.size(), wanted) << size;
        EXPECT_EQ(pieces.front()[0], 0xF0);
        for (size_t i = 1; i < pieces.size(); ++i)
            EXPECT_NE(pieces[i][0], 0xF0) << size << " piece " << i;
        const auto got = recorder.takeMessages();
        ASSERT_EQ(got.size(), 1u) << size;
        EXPECT_EQ(got[0], expected) << size;
    }
}

TEST_F(SimulatedSynthTest, ExchangeTakesWirePlusDelayAtDinSpeed)
{
    synth->setResponseDelayMs(5.0);
    synth->setFragmentSize(64); // pieces change nothing on the wire
    const double ms = SimulatedSynth::dinMsPerByte;

    send(ProgramSysex::programDumpRequest(0, 0));
    const double one = 7 * ms + 5.0 + 300 * ms;
    EXPECT_NEAR(synth->virtualTimeMs(), one, 1e-9);
    EXPECT_NEAR(synth->received().back().timeMs, 7 * ms, 1e-9);
    EXPECT_NEAR(synth->sent().back().timeMs, one, 1e-9);

    send(ProgramSysex::editBufferDumpRequest());
    EXPECT_NEAR(synth->virtualTimeMs(), one + 5 * ms + 5.0 + 298 * ms, 1e-9);

    // Front-panel sends leave at the current virtual time.
    synth->advanceVirtualTime(100.0);
    const double t0 = synth->virtualTimeMs();
    synth->sendProgramDumpOf(0, 1);
    EXPECT_NEAR(synth->virtualTimeMs(), t0 + 300 * ms, 1e-9);
}

TEST_F(SimulatedSynthTest, InjectedFaultsHitTheNamedDumps)
{
    using Fault = SimulatedSynth::Fault;
    const auto dumpOf = [&](int bank, int prog)
    { return ProgramSysex::programDump(bank, prog, synth->program(bank, prog).data(), 256); };
    const auto ask = [&](int bank, int prog)
    {
        send(ProgramSysex::programDumpRequest(bank, prog));
        return recorder.takeMessages();
    };

    synth->injectFault(Fault::drop);
    EXPECT_TRUE(ask(1, 1).empty());
    EXPECT_EQ(ask(1, 1), std::vector<Bytes>{dumpOf(1, 1)}); // only the next one

    synth->injectFaultFor(1, 5, Fault::drop);
    EXPECT_EQ(ask(1, 4), std::vector<Bytes>{dumpOf(1, 4)});
    EXPECT_TRUE(ask(1, 5).empty());
    EXPECT_EQ(ask(1, 5), std::vector<Bytes>{dumpOf(1, 5)});

    synth->injectFault(Fault::duplicate);
    EXPECT_EQ(ask(2, 0), (std::vector<Bytes>{dumpOf(2, 0), dumpOf(2, 0)}));

    synth->injectFault(Fault::flipByte);
    const auto flipped = ask(2, 1);
    ASSERT_EQ(flipped.size(), 1u);
    ASSERT_EQ(flipped[0].size(), 300u);
    EXPECT_EQ(flipped[0].back(), 0xF7);
    EXPECT_NE(ProgramSysex::unpack(flipped[0].data() + 6), synth->program(2, 1));

    // Cut short: the open message is replaced by the next F0.
    synth->injectFault(Fault::truncate);
    EXPECT_TRUE(ask(2, 2).empty());
    EXPECT_EQ(synth->sent().back().bytes.size(), 150u);
    EXPECT_EQ(ask(2, 2), std::vector<Bytes>{dumpOf(2, 2)});

    const auto c = synth->counters();
    EXPECT_EQ(c.dumpsDropped, 2);
    EXPECT_EQ(c.programRequests, 9);
    EXPECT_EQ(c.programDumpsSent, 8);
}

TEST_F(SimulatedSynthTest, DeliveryThreadAnswersFromItsOwnThread)
{
    SimulatedSynth::Options options;
    options.deliveryThread = true;
    options.fragmentSize = 100;
    restart(options);

    send(ProgramSysex::globalDumpRequest());
    send(ProgramSysex::programDumpRequest(0, 3));
    ASSERT_TRUE(synth->waitUntil([&] { return recorder.count() == 2; }, 5000));
    EXPECT_TRUE(synth->waitUntilIdle(5000));
    EXPECT_NE(recorder.thread(), std::this_thread::get_id());
    const auto got = recorder.takeMessages();
    EXPECT_EQ(got[0][3], 0x0F);
    EXPECT_EQ(got[1], ProgramSysex::programDump(0, 3, synth->program(0, 3).data(), 256));
}

TEST_F(SimulatedSynthTest, KnowsWhichNotesAreSoundingAndWhereItsWheelsAre)
{
    EXPECT_TRUE(synth->soundingNotes().empty());
    EXPECT_EQ(synth->pitchWheel(), 8192);
    sendAll({{0x90, 60, 100}, {0x90, 64, 90}, {0x90, 67, 1}, {0x80, 60, 0}, {0x90, 67, 0}});
    EXPECT_EQ(synth->soundingNotes(), (std::vector<int>{64}));
    send({0x91, 50, 100}); // not its channel
    EXPECT_EQ(synth->soundingNotes(), (std::vector<int>{64}));
    sendAll({{0xE0, 0x00, 0x50}, cc(1, 1, 77)});
    EXPECT_EQ(synth->pitchWheel(), 0x50 * 128);
    EXPECT_EQ(synth->modWheel(), 77);
    send(cc(1, 123, 0));
    EXPECT_TRUE(synth->soundingNotes().empty());
}
