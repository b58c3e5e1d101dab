#include "midi/MidiCntrState.h"
#include "model/DSI_Program.h"
#include "platform/SettingsFolder.h"
#include "support/SynthRig.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

using namespace zarnel;
using zarnel::test::SimulatedSynth;

namespace
{

using Codes = std::vector<std::uint32_t>;

class ControllerStateTest : public ::testing::Test
{
protected:
    ControllerStateTest() { state.setHostBank(&hostBank); }
    ~ControllerStateTest() override { state.setHostBank(nullptr); }

    Codes notifications()
    {
        return test::drain([this](std::uint32_t& c) { return state.popNotification(c); });
    }

    Codes hardwareChanges()
    {
        return test::drain([this](std::uint32_t& c) { return state.popHardwareChange(c); });
    }

    // What the synthesizer received, as complete messages, once `count` have arrived.
    std::vector<Bytes> receivedBySynth(size_t count)
    {
        EXPECT_TRUE(rig.synth.waitUntil([&] { return rig.synth.received().size() >= count; }, 3000));
        std::vector<Bytes> out;
        for (const auto& e : rig.synth.received())
            out.push_back(e.bytes);
        return out;
    }

    void fromSynth(std::initializer_list<std::uint8_t> bytes)
    {
        rig.synth.sendRaw(Bytes(bytes));
        rig.synth.waitUntilIdle(3000);
    }

    test::SynthRig rig;
    Bank_Program hostBank{"Program Bank"};
    MidiCntrState state{rig.folder.get(), rig.backend};
};

Bytes cc(int controller, int value, int channel = 1)
{
    return {(std::uint8_t)(0xB0 + channel - 1), (std::uint8_t)controller, (std::uint8_t)value};
}

} // namespace

TEST_F(ControllerStateTest, PortsOpenOnTheSavedDevice)
{
    EXPECT_TRUE(state.getPorts().isInputOpen());
    EXPECT_TRUE(state.getPorts().isOutputOpen());
}

TEST_F(ControllerStateTest, KnobMoveOnTheSynthBecomesAHardwareChange)
{
    hostBank.initialise();
    // NRPN 20 (index 25) = 138 arrives as 99=0, 98=20, 6=1, 38=10.
    rig.synth.knobMove(25, 138);
    ASSERT_TRUE(rig.synth.waitUntilIdle(3000));
    EXPECT_EQ(hardwareChanges(), Codes{25 * 4096 + 138});

    // The shared numbers land on the sequencer indices.
    rig.synth.knobMove(105, 3);
    rig.synth.knobMove(106, 1);
    ASSERT_TRUE(rig.synth.waitUntilIdle(3000));
    EXPECT_EQ(hardwareChanges(), (Codes{105 * 4096 + 3, 106 * 4096 + 1}));

    // A data entry alone completes the NRPN selected last.
    fromSynth({0xB0, 38, 11});
    EXPECT_EQ(hardwareChanges(), Codes{106 * 4096 + 11});
}

TEST_F(ControllerStateTest, GlobalNrpnsFromTheSynth)
{
    struct Case
    {
        int nrpn, value, index;
    };
    const Case cases[] = {{386, 5, 2}, {387, 3, 9}, {414, 1, 18}, {392, 1, -1}, {393, 1, -1}, {380, 1, -1}};
    for (const auto& c : cases)
    {
        notifications();
        for (const auto& m : {cc(99, c.nrpn / 128), cc(98, c.nrpn % 128), cc(6, 0), cc(38, c.value)})
            rig.synth.sendRaw(m);
        ASSERT_TRUE(rig.synth.waitUntilIdle(3000));
        if (c.index >= 0)
        {
            EXPECT_EQ(state.getGlobalValue(c.index), c.value) << c.nrpn;
            EXPECT_EQ(notifications(), Codes{Notification::global(c.index)}) << c.nrpn;
        }
        else
        {
            EXPECT_TRUE(notifications().empty()) << c.nrpn;
        }
    }
    EXPECT_EQ(state.getGlobalValue(15), 0) << "PRESSURE ENA is not recognised on arrival";
    EXPECT_TRUE(hardwareChanges().empty());
}

TEST_F(ControllerStateTest, ProgramDumpWithoutReceiveGoesToItsSlotAndBecomesCurrent)
{
    hostBank.initialise();
    rig.synth.sendProgramDumpOf(2, 7);
    ASSERT_TRUE(rig.synth.waitUntilIdle(3000));

    const auto expected = rig.synth.program(2, 7);
    EXPECT_EQ(state.getBankProgram(2, 7), expected);
    EXPECT_EQ(state.getCurrentProgram(), expected);
    EXPECT_EQ(state.currentBank.load(), 2);
    EXPECT_EQ(state.currentProgramNumber.load(), 7);
    EXPECT_EQ(notifications(), (Codes{Notification::bankContentChanged, Notification::programReplaced}));
}

TEST_F(ControllerStateTest, EditBufferDumpReplacesOnlyTheCurrentProgram)
{
    hostBank.initialise();
    const auto before = state.getBankData(0);
    rig.synth.sendEditBufferDump();
    ASSERT_TRUE(rig.synth.waitUntilIdle(3000));
    EXPECT_EQ(state.getCurrentProgram(), rig.synth.editBuffer());
    EXPECT_EQ(state.getBankData(0), before);
    EXPECT_EQ(notifications(), Codes{Notification::programReplaced});
}

TEST_F(ControllerStateTest, DumpsAreRecognisedByModelByteAndLength)
{
    hostBank.initialise();
    const auto initial = state.getCurrentProgram();
    ProgramSysex::Record rec{};
    rec[0] = 99;

    auto otherModel = ProgramSysex::editBufferDump(rec.data(), rec.size());
    otherModel[2] = 0x25;
    rig.synth.sendRaw(otherModel);
    auto shortDump = ProgramSysex::editBufferDump(rec.data(), rec.size());
    shortDump.erase(shortDump.begin() + 10);
    rig.synth.sendRaw(shortDump);
    ASSERT_TRUE(rig.synth.waitUntilIdle(3000));
    EXPECT_EQ(state.getCurrentProgram(), initial);

    auto otherManufacturer = ProgramSysex::editBufferDump(rec.data(), rec.size());
    otherManufacturer[1] = 0x33;
    rig.synth.sendRaw(otherManufacturer);
    ASSERT_TRUE(rig.synth.waitUntilIdle(3000));
    EXPECT_EQ(state.getCurrentProgram(), rec);
}

TEST_F(ControllerStateTest, FragmentedDumpsAreJoined)
{
    hostBank.initialise();
    rig.synth.setFragmentSize(37);
    rig.synth.sendProgramDumpOf(1, 100);
    ASSERT_TRUE(rig.synth.waitUntilIdle(3000));
    EXPECT_EQ(state.getCurrentProgram(), rig.synth.program(1, 100));
}

TEST_F(ControllerStateTest, ProgramChangeAndBankSelectSelectFromOurBanks)
{
    hostBank.initialise();
    fromSynth({0xB0, 32, 2});
    fromSynth({0xC0, 9});
    EXPECT_EQ(state.currentBank.load(), 2);
    EXPECT_EQ(state.currentProgramNumber.load(), 9);
    EXPECT_EQ(state.getCurrentProgram(), state.getBankProgram(2, 9));

    // The model has eight banks: bank 8 changes nothing.
    fromSynth({0xB0, 32, 8});
    EXPECT_EQ(state.currentBank.load(), 2);
}

TEST_F(ControllerStateTest, ParameterNrpnLeavesOutRepeatedParts)
{
    state.sendParameterNrpn(15, 64, 0, 44100.0);
    state.sendParameterNrpn(15, 64, 0, 44100.0);
    state.sendParameterNrpn(15, 65, 0, 44100.0);
    state.sendParameterNrpn(25, 200, 0, 44100.0);
    const auto got = receivedBySynth(9);
    const std::vector<Bytes> expected{cc(99, 0), cc(98, 15), cc(6, 0), cc(38, 64), cc(38, 65),
                                      cc(99, 0), cc(98, 25), cc(6, 1), cc(38, 72)};
    EXPECT_EQ(got, expected);
}

TEST_F(ControllerStateTest, AValueChangedOnTheSynthIsSentAgainEvenIfItWasSentLast)
{
    // NRPN 20 (index 25): the editor sends 126, the synthesizer's knob then sets 60, and the
    // editor asks for 126 again: the synthesizer must get it.
    state.sendParameterNrpn(20, 126, 0, 44100.0);
    receivedBySynth(4);
    rig.synth.knobMove(25, 60);
    ASSERT_TRUE(rig.synth.waitUntilIdle(3000));
    ASSERT_EQ(rig.synth.editBuffer()[25], 60);
    state.sendParameterNrpn(20, 126, 0, 44100.0);
    EXPECT_TRUE(rig.synth.waitUntil([&] { return rig.synth.editBuffer()[25] == 126; }, 3000));
}

TEST_F(ControllerStateTest, AValueSentBeforeTheSynthLoadsOtherValuesIsSentAgainAfterIt)
{
    // Other values reach the synthesizer with a program chosen here or on its panel, or with an
    // edit buffer sent.
    enum { programHere, programOnPanel, editBufferSent };
    for (const int way : {programHere, programOnPanel, editBufferSent})
    {
        state.sendParameterNrpn(20, 126, 0, 44100.0);
        ASSERT_TRUE(rig.synth.waitUntil([&] { return rig.synth.editBuffer()[25] == 126; }, 3000));
        auto other = rig.synth.program(0, 5);
        other[25] = 60;
        rig.synth.setProgram(0, 5, other);
        if (way == programHere)
            state.selectProgram(0, 5, true);
        else if (way == programOnPanel)
        {
            state.currentProgramNumber = 0;
            rig.synth.setEditBuffer(other);
            fromSynth({0xC0, 5});
            ASSERT_TRUE(rig.synth.waitUntil([&] { return state.currentProgramNumber.load() == 5; }, 3000));
        }
        else
            state.sendEditBuffer(other);
        ASSERT_TRUE(rig.synth.waitUntil([&] { return rig.synth.editBuffer()[25] == 60; }, 3000)) << way;
        state.sendParameterNrpn(20, 126, 0, 44100.0);
        EXPECT_TRUE(rig.synth.waitUntil([&] { return rig.synth.editBuffer()[25] == 126; }, 3000)) << way;
    }
}

TEST_F(ControllerStateTest, GlobalSendMakesTheNextParameterSelectItsOwnNrpn)
{
    state.sendParameterNrpn(15, 64, 0, 44100.0);
    state.setGlobalValue(9, 3); // POLY CHAIN
    state.sendParameterNrpn(15, 65, 0, 44100.0);
    const auto got = receivedBySynth(12);
    const std::vector<Bytes> expected{cc(99, 0), cc(98, 15), cc(6, 0), cc(38, 64),
                                      cc(99, 3), cc(98, 3),  cc(6, 0), cc(38, 3),
                                      cc(99, 0), cc(98, 15), cc(6, 0), cc(38, 65)};
    EXPECT_EQ(got, expected);
    EXPECT_EQ(rig.synth.global(9), 3);
}

TEST_F(ControllerStateTest, SetGlobalValueClampsAndSkipsUnchanged)
{
    state.setGlobalValue(14, 5); // PEDAL
    state.setGlobalValue(14, 5);
    state.setGlobalValue(15, 1);  // PRESSURE ENA goes out as NRPN 393
    state.setGlobalValue(0, 99);  // COARSE clamps to 24
    state.setGlobalValue(42, 1);  // not a global
    ASSERT_TRUE(rig.synth.waitUntil([&] { return rig.synth.received().size() >= 12; }, 3000));
    rig.synth.waitUntilIdle(500);
    EXPECT_EQ(rig.synth.received().size(), 12u);
    EXPECT_EQ(rig.synth.global(14), 5);
    EXPECT_EQ(rig.synth.global(15), 1);
    EXPECT_EQ(state.getGlobalValue(0), 24);
    EXPECT_EQ(GlobalSettings::valueText(14, 5), "LP F. HALFf");
}

TEST_F(ControllerStateTest, LinkTestGoesOffLineThenOnLine)
{
    rig.synth.setGlobal(2, 5);
    state.requestGlobalDump();
    state.requestGlobalDump();
    ASSERT_TRUE(rig.synth.waitUntil([&] { return state.haveGlobalsArrived(); }, 3000));
    const auto codes = notifications();
    ASSERT_GE(codes.size(), 3u);
    EXPECT_EQ(codes[0], Notification::globalDumpRequested);
    EXPECT_EQ(codes[1], Notification::globalDumpRequested);
    EXPECT_EQ(codes.back(), Notification::globalDumpArrived);
    for (int i = 0; i < SimulatedSynth::numGlobals; ++i)
        EXPECT_EQ(state.getGlobalValue(i), rig.synth.global(i)) << i;
}

TEST_F(ControllerStateTest, GlobalDumpSizes)
{
    // No pairs: on-line, nothing changes. 15 pairs set 0..14. 120 pairs keep the first 100.
    state.setGlobalValue(3, 2);
    fromSynth({0xF0, 0x01, 0x29, 0x0F, 0xF7});
    EXPECT_EQ(state.getGlobalValue(3), 2);
    EXPECT_TRUE(state.haveGlobalsArrived());

    auto dump = [](int pairs) {
        Bytes m{0xF0, 0x01, 0x29, 0x0F};
        for (int i = 0; i < pairs; ++i)
        {
            m.push_back((std::uint8_t)((i + 1) & 0x0F));
            m.push_back((std::uint8_t)(((i + 1) >> 4) & 0x07));
        }
        m.push_back(0xF7);
        return m;
    };
    rig.synth.sendRaw(dump(15));
    ASSERT_TRUE(rig.synth.waitUntilIdle(3000));
    EXPECT_EQ(state.getGlobalValue(14), 15);
    EXPECT_EQ(state.getGlobalValue(15), 0);

    rig.synth.sendRaw(dump(120));
    ASSERT_TRUE(rig.synth.waitUntilIdle(3000));
    EXPECT_EQ(state.getGlobalValue(99), 100);
    EXPECT_EQ(state.getGlobalValue(100), 0);
}

TEST_F(ControllerStateTest, ThruToHostPassesNotesAndKeepsNrpnParts)
{
    state.thruToHost = true;
    rig.synth.noteOn(60, 100);
    rig.synth.knobMove(20, 64);
    ASSERT_TRUE(rig.synth.waitUntilIdle(3000));

    juce::MidiBuffer host;
    state.processHostMidi(host, 512, 44100.0);
    std::vector<Bytes> toHost;
    for (const auto m : host)
        toHost.emplace_back(m.data, m.data + m.numBytes);
    EXPECT_EQ(toHost, std::vector<Bytes>{(Bytes{0x90, 60, 100})});
    EXPECT_EQ(hardwareChanges(), Codes{20 * 4096 + 64});
    for (auto code : notifications())
        EXPECT_NE(Notification::typeOf(code), Notification::typeOf(Notification::noteOn(1, 60, 100)));
}

TEST_F(ControllerStateTest, WithoutThruNotesBecomeNotifications)
{
    rig.synth.noteOn(60, 100);
    rig.synth.noteOff(60);
    ASSERT_TRUE(rig.synth.waitUntilIdle(3000));
    EXPECT_EQ(notifications(), (Codes{Notification::noteOn(1, 60, 100), Notification::noteOff(1, 60)}));
    juce::MidiBuffer host;
    state.processHostMidi(host, 512, 44100.0);
    EXPECT_TRUE(host.isEmpty());
}

//==== Bank receive ===================================================================================

namespace
{

class BankReceiveTest : public ControllerStateTest
{
protected:
    // Runs the transfer to its end, driving the time-out by hand.
    Codes receive(int bank, int mode)
    {
        state.startBankReceive(bank, mode);
        double clock = 0.0;
        int requestsSeen = 0;
        for (int step = 0; step < 100 && state.isBankReceiveActive(); ++step)
        {
            // While requests keep coming the chain is alive; when they stop, time runs out.
            const bool progressed = rig.synth.waitUntil(
                [&] { return !state.isBankReceiveActive() || rig.synth.counters().programRequests != requestsSeen; },
                400);
            requestsSeen = rig.synth.counters().programRequests;
            if (progressed)
            {
                step = 0;
                continue;
            }
            clock = std::max(clock, juce::Time::getMillisecondCounterHiRes()) + MidiCntrState::bankReceiveTimeoutMs + 1.0;
            state.checkBankReceiveTimeout(clock);
        }
        return notifications();
    }

    static Codes progressFor(int bank)
    {
        Codes c;
        for (int p = 0; p < 128; ++p)
            c.push_back(Notification::bankProgram(bank, p));
        return c;
    }

};

} // namespace

TEST_F(BankReceiveTest, OneBankArrivesWhole)
{
    const auto codes = receive(1, 0);
    auto expected = progressFor(1);
    expected.push_back(Notification::bankContentChanged);
    expected.push_back(Notification::bankReceiveFinished);
    EXPECT_EQ(codes, expected);
    for (int p = 0; p < 128; ++p)
        ASSERT_EQ(state.getBankProgram(1, p), rig.synth.program(1, p)) << p;
    EXPECT_FALSE(state.isBankReceiveActive());
}

TEST_F(BankReceiveTest, AllUserBanksFromU1)
{
    // Make the synthesizer's user banks differ from our factory copies.
    for (int b = 0; b < 4; ++b)
        for (int p = 0; p < 128; p += 17)
        {
            auto rec = rig.synth.program(b, p);
            rec[184] = (std::uint8_t)('A' + b);
            rig.synth.setProgram(b, p, rec);
        }

    const auto codes = receive(0, 7);
    Codes expected;
    for (int b = 0; b < 4; ++b)
    {
        const auto part = progressFor(b);
        expected.insert(expected.end(), part.begin(), part.end());
    }
    expected.push_back(Notification::bankContentChanged);
    expected.push_back(Notification::bankReceiveFinished);
    EXPECT_EQ(codes, expected);
    for (int b = 0; b < 4; ++b)
    {
        const auto bank = state.getBankData(b);
        for (int p = 0; p < 128; ++p)
            ASSERT_EQ(state.getBankProgram(b, p), rig.synth.program(b, p)) << b << ":" << p;
        EXPECT_EQ(bank.size(), 32768u);
    }
}

TEST_F(BankReceiveTest, ADroppedDumpIsAskedForAgain)
{
    rig.synth.injectFaultFor(0, 40, SimulatedSynth::Fault::drop, 2);
    const auto codes = receive(0, 0);
    ASSERT_FALSE(codes.empty());
    EXPECT_EQ(codes.back(), Notification::bankReceiveFinished);
    for (int p = 0; p < 128; ++p)
        ASSERT_EQ(state.getBankProgram(0, p), rig.synth.program(0, p)) << p;
}

TEST_F(BankReceiveTest, ASynthThatStopsAnsweringEndsTheTransferCleanly)
{
    const auto before = state.getBankData(0);
    rig.synth.injectFaultFor(0, 5, SimulatedSynth::Fault::drop, 100);
    const auto codes = receive(0, 7);

    ASSERT_GE(codes.size(), 2u);
    EXPECT_EQ(codes[codes.size() - 2], Notification::bankContentChanged);
    EXPECT_EQ(codes.back(), Notification::bankReceiveFinished);
    EXPECT_FALSE(state.isBankReceiveActive());
    for (int p = 0; p < 5; ++p)
        EXPECT_EQ(state.getBankProgram(0, p), rig.synth.program(0, p)) << p;
    const auto after = state.getBankData(0);
    EXPECT_TRUE(std::equal(after.begin() + 5 * 256, after.end(), before.begin() + 5 * 256));
    EXPECT_EQ(rig.synth.counters().programRequests, 5 + 1 + MidiCntrState::bankReceiveMaxRetries);
}

TEST_F(BankReceiveTest, CorruptAndRepeatedDumpsNeverLandHalfStored)
{
    rig.synth.injectFaultFor(0, 3, SimulatedSynth::Fault::truncate, 1);
    rig.synth.injectFaultFor(0, 9, SimulatedSynth::Fault::duplicate, 1);
    const auto codes = receive(0, 0);
    EXPECT_EQ(codes.back(), Notification::bankReceiveFinished);
    EXPECT_EQ(std::count(codes.begin(), codes.end(), Notification::bankProgram(0, 10)), 1);
    for (int p = 0; p < 128; ++p)
        ASSERT_EQ(state.getBankProgram(0, p), rig.synth.program(0, p)) << p;
}

TEST_F(ControllerStateTest, SentDumpsChangeTheSynthesizersMemory)
{
    ProgramSysex::Record rec = state.getBankProgram(5, 3);
    DSI_Program::encodeName("Sent To Slot", rec.data() + DSI_Program::nameOffset);
    rec[20] = 33;
    state.sendProgramDump(1, 42, rec);
    ASSERT_TRUE(rig.synth.waitUntil([&] { return rig.synth.program(1, 42) == rec; }, 3000));

    ProgramSysex::Record edit = rec;
    edit[20] = 77;
    state.sendEditBuffer(edit);
    ASSERT_TRUE(rig.synth.waitUntil([&] { return rig.synth.editBuffer() == edit; }, 3000));
    EXPECT_EQ(rig.synth.program(1, 42), rec) << "the edit buffer dump leaves the memory slot alone";

    // Both travelled in 256-byte pieces.
    const auto log = rig.synth.received();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0].pieces, 2);
    EXPECT_EQ(log[1].pieces, 2);
}

TEST_F(ControllerStateTest, SelectProgramAnnouncesItWithBankSelectAndProgramChange)
{
    hostBank.initialise();
    state.selectProgram(3, 17, true);
    ASSERT_TRUE(rig.synth.waitUntil([&] { return rig.synth.currentProgram() == 17; }, 3000));
    EXPECT_EQ(rig.synth.currentBank(), 3);
    EXPECT_EQ(state.getCurrentProgram(), state.getBankProgram(3, 17));
    EXPECT_EQ(notifications(), Codes{Notification::programReplaced});
}

TEST_F(ControllerStateTest, MessagesSentJustBeforeALongDumpAreNotLost)
{
    hostBank.initialise();
    const auto rec = state.getBankProgram(4, 0);
    for (int round = 0; round < 20; ++round)
    {
        rig.synth.clearLogs();
        state.selectProgram(2, round, true);
        state.sendProgramDump(0, round, rec);
        ASSERT_TRUE(rig.synth.waitUntil([&] { return rig.synth.received().size() >= 3; }, 3000)) << round;
        const auto log = rig.synth.received();
        EXPECT_EQ(log[0].bytes, cc(32, 2)) << round;
        EXPECT_EQ(log[1].bytes, (Bytes{0xC0, (std::uint8_t)round})) << round;
        EXPECT_EQ(log[2].bytes.size(), 300u) << round;
    }
}

//==== Shut-down ======================================================================================

namespace
{

// An instrument behind a slow driver: each message holds the sender thread for a while, then a
// program request is answered at once, on that same thread.
class SlowAnsweringSynth : public test::VirtualMidiBackend::FarSide
{
public:
    SlowAnsweringSynth(test::VirtualMidiBackend& b, juce::String n) : backend(b), name(std::move(n)) {}

    void receivedFromPlugin(const juce::MidiMessage& m) override
    {
        juce::Thread::sleep(100);
        const auto* d = m.getRawData();
        if (m.getRawDataSize() == 7 && d[0] == 0xF0 && d[3] == ProgramSysex::cmdProgramDumpRequest)
        {
            const auto dump = ProgramSysex::programDump(d[4], d[5], record.data(), record.size());
            backend.sendToPlugin(name, juce::MidiMessage(dump.data(), (int)dump.size()));
        }
    }

private:
    test::VirtualMidiBackend& backend;
    const juce::String name;
    const ProgramSysex::Record record = ProgramBankSet().bank(5).getProgramPadded(0);
};

} // namespace

TEST(ControllerStateShutdown, ADumpArrivingWhileABankReceiveIsDestroyedIsSafe)
{
    // Destruction must end the receive and close the input before the output: the answer that
    // arrives while the output waits for its sender would otherwise ask for the next program
    // through ports that are half gone.
    for (int round = 0; round < 3; ++round)
    {
        test::TempFolder folder;
        test::VirtualMidiBackend backend;
        SlowAnsweringSynth far(backend, "Slow x4");
        backend.addDevice("Slow x4", &far);
        const auto ports = MIDI_PORTS_Control::formatPortFile({"Slow x4", "Slow x4", "NONE"});
        folder.file(SettingsFolder::portFileName).replaceWithData(ports.getData(), ports.getSize());

        auto state = std::make_unique<MidiCntrState>(folder.get(), backend);
        ASSERT_TRUE(state->getPorts().isInputOpen());
        state->startBankReceive(0, 0);
        juce::Thread::sleep(30 + 70 * round);
        state.reset();
    }
}
