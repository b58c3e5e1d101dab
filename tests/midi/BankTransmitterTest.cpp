#include "midi/BankTransmitter.h"
#include "midi/MidiCntrState.h"
#include "model/DSI_Program.h"
#include "support/SynthRig.h"

#include <gtest/gtest.h>

using namespace zarnel;
using zarnel::test::SimulatedSynth;

namespace
{

using Codes = std::vector<std::uint32_t>;

// Our banks against a synthesizer on a DIN wire that needs time to store each program, all in
// virtual time: every step runs at the moment the transmitter asks for.
class BankTransmitterTest : public ::testing::Test
{
protected:
    // The instrument's own storing time in this simulation; the transmitter's pause is longer,
    // leaving room for other messages that share the wire.
    static constexpr double instrumentStoreMs = 80.0;

    static SimulatedSynth::Options dinWire()
    {
        SimulatedSynth::Options o;
        o.msPerByte = SimulatedSynth::dinMsPerByte;
        o.programStoreMs = instrumentStoreMs;
        return o;
    }

    BankTransmitterTest()
    {
        state.setHostBank(&hostBank);
        // Our user banks differ from what the synthesizer holds.
        for (int b = 0; b < 4; ++b)
            for (int p = 0; p < 128; ++p)
            {
                auto rec = state.getBankProgram(b, p);
                rec[20] = (std::uint8_t)(b * 50 + p);
                rec[111] = 0xA5; // a byte above 127 travels too
                DSI_Program::encodeName("Sent " + juce::String(b) + ":" + juce::String(p), rec.data() + DSI_Program::nameOffset);
                state.setBankProgram(b, p, rec);
            }
        rig.synth.waitUntilIdle(3000);
        notifications();
        rig.synth.resetCounters();
        now = rig.synth.virtualTimeMs();
    }

    ~BankTransmitterTest() override { state.setHostBank(nullptr); }

    Codes notifications()
    {
        return test::drain([this](std::uint32_t& c) { return state.popNotification(c); });
    }

    void syncSynthClock()
    {
        const double behind = now - rig.synth.virtualTimeMs();
        if (behind > 0.0)
            rig.synth.advanceVirtualTime(behind);
    }

    bool start(int mode, int bank)
    {
        syncSynthClock();
        return transmitter.start(mode, bank);
    }

    // Steps until the transmission ends or `programs` dumps have gone out.
    void run(int programs = 1 << 30)
    {
        while (transmitter.isActive() && rig.synth.counters().programDumpsReceived + rig.synth.counters().dumpsLostWhileStoring < programs)
        {
            now = transmitter.getNextDueMs();
            syncSynthClock();
            transmitter.tick(now);
        }
    }

    static Codes progressFor(int bank, int count = 128)
    {
        Codes c;
        for (int p = 0; p < count; ++p)
            c.push_back(Notification::bankProgram(bank, p));
        return c;
    }

    test::SynthRig rig{dinWire()};
    Bank_Program hostBank{"Program Bank"};
    MidiCntrState state{rig.folder.get(), rig.backend};
    double now = 0.0;
    BankTransmitter transmitter{state, [this] { return now; }};
};

} // namespace

TEST_F(BankTransmitterTest, OneBankAndAllUserBanksArriveWholeAtDinSpeed)
{
    struct Case
    {
        int mode, bank;
        std::vector<int> banks;
    };
    const Case cases[] = {{BankTransmitter::transmitOne, 2, {2}}, {BankTransmitter::transmitAll, 0, {0, 1, 2, 3}}};
    for (const auto& c : cases)
    {
        rig.synth.resetCounters();
        const double started = now;
        ASSERT_TRUE(start(c.mode, c.bank));
        run();

        Codes expected;
        for (int b : c.banks)
        {
            const auto part = progressFor(b);
            expected.insert(expected.end(), part.begin(), part.end());
        }
        expected.push_back(Notification::bankContentChanged);
        expected.push_back(Notification::bankReceiveFinished);
        EXPECT_EQ(notifications(), expected) << c.mode;

        for (int b : c.banks)
            for (int p = 0; p < 128; ++p)
                ASSERT_EQ(rig.synth.program(b, p), state.getBankProgram(b, p)) << b << ":" << p;
        const auto counters = rig.synth.counters();
        EXPECT_EQ(counters.dumpsLostWhileStoring, 0);
        EXPECT_EQ(counters.programDumpsReceived, 128 * (int)c.banks.size());

        const double bound = 128.0 * (double)c.banks.size() * (BankTransmitter::dumpWireMs + BankTransmitter::programStoreMs);
        EXPECT_LE(rig.synth.virtualTimeMs() - started, 1.05 * bound) << c.mode;
        EXPECT_LE(now - started, 1.05 * bound) << c.mode;
        EXPECT_FALSE(transmitter.isActive());
    }
}

TEST_F(BankTransmitterTest, DumpsAtWirePaceAloneAreLostWhileTheInstrumentStores)
{
    // What the pause is for: the simulation drops a dump that arrives while it stores. The
    // second dump starts while the first is stored; the third after the storing is done.
    syncSynthClock();
    const auto before = rig.synth.program(0, 1);
    for (int p = 0; p < 3; ++p)
        state.sendProgramDump(0, p, state.getBankProgram(0, p));
    ASSERT_TRUE(rig.synth.waitUntilIdle(3000));
    EXPECT_EQ(rig.synth.counters().dumpsLostWhileStoring, 1);
    EXPECT_EQ(rig.synth.program(0, 1), before);
    EXPECT_EQ(rig.synth.program(0, 2), state.getBankProgram(0, 2));
}

TEST_F(BankTransmitterTest, CancelStopsAfterTheDumpOnItsWay)
{
    const auto before = rig.synth.program(1, 100);
    ASSERT_TRUE(start(BankTransmitter::transmitOne, 1));
    run(64);
    transmitter.cancel();
    now += 5000.0;
    transmitter.tick(now);

    EXPECT_EQ(notifications(), progressFor(1, 64));
    EXPECT_EQ(rig.synth.counters().programDumpsReceived, 64);
    EXPECT_EQ(rig.synth.program(1, 63), state.getBankProgram(1, 63));
    EXPECT_EQ(rig.synth.program(1, 100), before);
    EXPECT_FALSE(transmitter.isActive());

    // A new transmission starts from the beginning.
    ASSERT_TRUE(start(BankTransmitter::transmitOne, 1));
    run();
    EXPECT_EQ(rig.synth.program(1, 100), state.getBankProgram(1, 100));
}

TEST_F(BankTransmitterTest, NothingStartsWithoutAnOutputOrForAFactoryBank)
{
    const std::pair<int, int> refused[] = {{BankTransmitter::transmitOne, 4}, {BankTransmitter::transmitOne, -1}, {5, 0}};
    for (const auto& [mode, bank] : refused)
        EXPECT_FALSE(start(mode, bank)) << mode << " " << bank;
    state.selectOutputPort(0);
    EXPECT_FALSE(start(BankTransmitter::transmitAll, 0));
    EXPECT_TRUE(rig.synth.received().empty());
    EXPECT_TRUE(notifications().empty());
}

TEST_F(BankTransmitterTest, TheOutputClosingMidwayEndsTheTransmission)
{
    int told = 0;
    transmitter.onOutputLost = [&] { ++told; };
    ASSERT_TRUE(start(BankTransmitter::transmitOne, 0));
    run(10);
    state.selectOutputPort(0);
    run();
    EXPECT_EQ(told, 1);
    EXPECT_FALSE(transmitter.isActive());
    auto expected = progressFor(0, 10);
    expected.push_back(Notification::bankReceiveFinished);
    EXPECT_EQ(notifications(), expected);
}

TEST_F(BankTransmitterTest, EditsMadeDuringTheTransmissionAllReachTheSynthesizer)
{
    ASSERT_TRUE(start(BankTransmitter::transmitOne, 3));
    for (int step = 0; step < 20 && transmitter.isActive(); ++step)
    {
        // Host automation lands between two dumps; the next dump waits for what is due.
        state.setParameterFromHost(20 + step % 3, 10 + step);
        now = transmitter.getNextDueMs();
        syncSynthClock();
        transmitter.tick(now);
    }
    // The last value of each: steps 18, 19 and 17.
    ASSERT_TRUE(rig.synth.waitUntil([&] { return rig.synth.editBuffer()[21] == 10 + 19; }, 3000));
    EXPECT_EQ(rig.synth.editBuffer()[20], 10 + 18);
    EXPECT_EQ(rig.synth.editBuffer()[22], 10 + 17);
    run();
    EXPECT_EQ(rig.synth.counters().dumpsLostWhileStoring, 0);
    EXPECT_EQ(rig.synth.program(3, 127), state.getBankProgram(3, 127));
}
