#include "midi/BankTransfers.h"
#include "midi/MidiCntrState.h"
#include "model/DSI_Program.h"
#include "support/SynthRig.h"

#include <gtest/gtest.h>

using namespace zarnel;
using zarnel::test::SimulatedSynth;

namespace
{

using Codes = std::vector<std::uint32_t>;

// A bank receive from a synthesizer on a DIN wire, in the synthesizer's virtual time: the receive
// reads the same clock, and a lost dump is waited out exactly as long as the receive asks.
class BankReceiverTest : public ::testing::Test
{
protected:
    static SimulatedSynth::Options dinWire()
    {
        SimulatedSynth::Options o;
        o.msPerByte = SimulatedSynth::dinMsPerByte;
        return o;
    }

    BankReceiverTest()
    {
        state.setHostBank(&hostBank);
        receiver().setClock([this] { return rig.synth.virtualTimeMs(); });
        // The synthesizer's user banks differ from our copies.
        for (int b = 0; b < ProgramBankSet::numUserBanks; ++b)
            for (int p = 0; p < ProgramSysex::numPrograms; ++p)
            {
                auto rec = rig.synth.program(b, p);
                DSI_Program::encodeName("Synth " + juce::String(b) + ":" + juce::String(p),
                                        rec.data() + DSI_Program::nameOffset);
                rig.synth.setProgram(b, p, rec);
            }
    }

    ~BankReceiverTest() override { state.setHostBank(nullptr); }

    BankReceiver& receiver() { return state.getBankTransfers().getReceiver(); }

    Codes notifications()
    {
        return test::drain([this](std::uint32_t& c) { return state.popNotification(c); });
    }

    // Nothing can be faster: each request and each dump on the wire, one after the other, and
    // the synthesizer's delay before each answer.
    double wireBoundMs(int programs, double answerDelayMs) const
    {
        return programs * ((7.0 + (double)ProgramSysex::programDumpSize) * SimulatedSynth::dinMsPerByte + answerDelayMs);
    }

    // Runs a receive to its end. A lost dump stops the chain of requests; the receive's timer
    // then fires at the moment it asks for.
    double receive(int bank, int mode)
    {
        const double start = rig.synth.virtualTimeMs();
        int drops = rig.synth.counters().dumpsDropped;
        EXPECT_TRUE(receiver().start(bank, mode));
        while (receiver().isActive())
        {
            const bool moved = rig.synth.waitUntil(
                [&] { return !receiver().isActive() || rig.synth.counters().dumpsDropped > drops; }, 10000);
            if (!moved)
            {
                ADD_FAILURE() << "the receive stalled";
                receiver().cancel();
                break;
            }
            if (!receiver().isActive())
                break;
            ++drops;
            EXPECT_TRUE(rig.synth.waitUntilIdle(3000));
            const double deadline = receiver().getDeadlineMs();
            if (deadline > rig.synth.virtualTimeMs())
                rig.synth.advanceVirtualTime(deadline - rig.synth.virtualTimeMs());
            receiver().tick(deadline);
        }
        return rig.synth.virtualTimeMs() - start;
    }

    void expectBanksReceived(int firstBank, int lastBank)
    {
        for (int b = firstBank; b <= lastBank; ++b)
            for (int p = 0; p < ProgramSysex::numPrograms; ++p)
                ASSERT_EQ(state.getBankProgram(b, p), rig.synth.program(b, p)) << b << ":" << p;
    }

    test::SynthRig rig{dinWire()};
    Bank_Program hostBank{"Program Bank"};
    MidiCntrState state{rig.folder.get(), rig.backend};
};

} // namespace

TEST_F(BankReceiverTest, LostDumpsCostAFewAnswerTimesAndASlowSynthIsNeverHurried)
{
    struct Case
    {
        double answerDelayMs;
        int bank, mode;
        std::vector<std::pair<int, int>> lost; // slots whose first dump is dropped
        double maxRatio;                       // to the wire bound
    };
    // One dump in a hundred lost over all user banks; one in a bank from a synthesizer forty
    // times slower.
    const Case cases[] = {
        {5.0, 0, BankReceiver::receiveAll, {{0, 50}, {1, 20}, {1, 110}, {2, 70}, {3, 40}}, 1.05},
        {200.0, 1, BankReceiver::receiveOne, {{1, 90}}, 1.05},
    };
    for (const auto& c : cases)
    {
        for (int b = 0; b < ProgramBankSet::numUserBanks; ++b)
            state.replaceBankData(b, Bytes(Bank_Program::fullSize, 0));
        rig.synth.setResponseDelayMs(c.answerDelayMs);
        for (const auto& [bank, program] : c.lost)
            rig.synth.injectFaultFor(bank, program, SimulatedSynth::Fault::drop);
        const int lastBank = c.mode == BankReceiver::receiveAll ? ProgramBankSet::numUserBanks - 1 : c.bank;
        const int programs = (lastBank - c.bank + 1) * ProgramSysex::numPrograms;

        const double took = receive(c.bank, c.mode);

        expectBanksReceived(c.bank, lastBank);
        EXPECT_EQ(receiver().getNumRepeatedRequests(), (int)c.lost.size()) << c.answerDelayMs;
        // An answer that came after its wait had run out is one the timer would have asked for
        // again while it was on its way.
        EXPECT_EQ(receiver().getNumLateAnswers(), 0) << c.answerDelayMs;
        EXPECT_LE(took, c.maxRatio * wireBoundMs(programs, c.answerDelayMs)) << c.answerDelayMs;
        EXPECT_EQ(notifications().back(), Notification::bankReceiveFinished);
    }
}

TEST_F(BankReceiverTest, AnInstrumentThatSlowsDownMidwayIsWaitedFor)
{
    // Over USB the wait is short, since the answers are quick; then they slow down from 5 ms to
    // 200 ms at a lost dump, so the repeat's answer is the first slow one.
    rig.synth.setMsPerByte(0.0);
    rig.synth.setResponseDelayMs(5.0);
    rig.synth.injectFaultFor(2, 20, SimulatedSynth::Fault::drop);
    ASSERT_TRUE(receiver().start(2, BankReceiver::receiveOne));
    ASSERT_TRUE(rig.synth.waitUntil([&] { return rig.synth.counters().dumpsDropped == 1; }, 10000));
    ASSERT_TRUE(rig.synth.waitUntilIdle(3000));
    rig.synth.setResponseDelayMs(200.0);
    const double deadline = receiver().getDeadlineMs();
    rig.synth.advanceVirtualTime(deadline - rig.synth.virtualTimeMs());
    receiver().tick(deadline);
    ASSERT_TRUE(rig.synth.waitUntil([&] { return !receiver().isActive(); }, 10000));

    expectBanksReceived(2, 2);
    EXPECT_EQ(receiver().getNumRepeatedRequests(), 1);
    EXPECT_EQ(receiver().getNumLateAnswers(), 0);
}

TEST_F(BankReceiverTest, AnOutputThatClosesEndsTheReceiveAtOnceAndSaysWhere)
{
    auto& transfers = state.getBankTransfers();
    rig.synth.injectFaultFor(0, 10, SimulatedSynth::Fault::drop);
    ASSERT_EQ(transfers.start(BankReceiver::receiveOne, 0), BankTransfers::Start::started);
    ASSERT_TRUE(rig.synth.waitUntil([&] { return rig.synth.counters().dumpsDropped == 1; }, 10000));
    ASSERT_TRUE(rig.synth.waitUntilIdle(3000));
    EXPECT_EQ(transfers.getProgress().count, 10);
    EXPECT_EQ(transfers.start(BankTransmitter::transmitOne, 0), BankTransfers::Start::busy);

    state.selectOutputPort(0);
    transfers.tick(); // no time has passed: only the closed output ends it
    EXPECT_FALSE(transfers.isActive());
    const auto report = transfers.takeReport();
    EXPECT_EQ(report.ending, BankTransfers::Ending::outputLost);
    EXPECT_EQ(report.progress.mode, BankReceiver::receiveOne);
    EXPECT_EQ(report.progress.count, 10);
    EXPECT_EQ(report.progress.program, 9);
    EXPECT_EQ(transfers.takeReport().ending, BankTransfers::Ending::none) << "told once";
    const auto codes = notifications();
    ASSERT_GE(codes.size(), 2u);
    EXPECT_EQ(codes[codes.size() - 2], Notification::bankContentChanged);
    EXPECT_EQ(codes.back(), Notification::bankReceiveFinished);
    for (int p = 0; p < 10; ++p)
        EXPECT_EQ(state.getBankProgram(0, p), rig.synth.program(0, p)) << p;
}
