// Banks from the simulated synthesizer at MIDI DIN speed, in its virtual time.

#include "BenchSupport.h"

#include "model/Bank_Program.h"
#include "support/SynthRig.h"

#include <algorithm>
#include <chrono>
#include <numeric>
#include <random>
#include <thread>
#include <vector>

using namespace zarnel;
using namespace zarnel::bench;
using test::SimulatedSynth;

namespace
{

constexpr int programs = ProgramSysex::numPrograms;
constexpr double responseDelayMs = 5.0;

// Nothing can be faster: every request and every dump on the wire, one after the other, and
// the synthesizer's delay before each answer.
constexpr double wireBoundMs =
    programs * ((7.0 + (double)ProgramSysex::programDumpSize) * SimulatedSynth::dinMsPerByte + responseDelayMs);

void BM_BankReceive(benchmark::State& st)
{
    using Clock = std::chrono::steady_clock;

    SimulatedSynth::Options options;
    options.msPerByte = SimulatedSynth::dinMsPerByte;
    options.responseDelayMs = responseDelayMs;
    test::SynthRig rig(options);
    Bank_Program hostBank{"Program Bank"};
    MidiCntrState state(rig.folder.get(), rig.backend);
    state.setHostBank(&hostBank);

    double virtualMs = 0.0;
    int requests = 0;
    int transfers = 0;
    for (auto _ : st)
    {
        const double virtualStart = rig.synth.virtualTimeMs();
        const auto countersBefore = rig.synth.counters();
        const auto start = Clock::now();

        state.startBankReceive(1, 0);
        while (state.isBankReceiveActive() && Clock::now() - start < std::chrono::seconds(30))
            std::this_thread::sleep_for(std::chrono::microseconds(200));

        if (state.isBankReceiveActive())
        {
            state.endBankReceive();
            st.SkipWithError("the transfer stalled");
            break;
        }
        const auto countersAfter = rig.synth.counters();
        if (countersAfter.programDumpsSent - countersBefore.programDumpsSent != programs)
        {
            st.SkipWithError("not every program was sent");
            break;
        }
        virtualMs += rig.synth.virtualTimeMs() - virtualStart;
        requests += countersAfter.programRequests - countersBefore.programRequests;
        ++transfers;

        clearAfterTransfer(st, rig.synth, state);
    }
    state.setHostBank(nullptr);

    if (transfers == 0)
        return;
    st.counters["virtual_ms"] = virtualMs / transfers;
    st.counters["bound_ms"] = wireBoundMs;
    st.counters["ratio"] = virtualMs / transfers / wireBoundMs;
    st.counters["requests"] = (double)requests / transfers;
}

BENCHMARK(BM_BankReceive)->UseRealTime()->Unit(benchmark::kMillisecond);

// All user banks with one dump in a hundred lost, the answer delay in ms as the argument. The
// receive reads the synthesizer's virtual clock, and its timer fires at the moment the receive
// asks for, plus the timer's worst lateness.
void BM_BankReceiveLostDumps(benchmark::State& st)
{
    constexpr int allPrograms = ProgramBankSet::numUserBanks * ProgramSysex::numPrograms;
    constexpr int lost = allPrograms / 100;
    constexpr double timerPeriodMs = 20.0; // the controller state's timer
    const double answerDelayMs = (double)st.range(0);
    const double boundMs =
        allPrograms * ((7.0 + (double)ProgramSysex::programDumpSize) * SimulatedSynth::dinMsPerByte + answerDelayMs);

    SimulatedSynth::Options options;
    options.msPerByte = SimulatedSynth::dinMsPerByte;
    options.responseDelayMs = answerDelayMs;
    test::SynthRig rig(options);
    Bank_Program hostBank{"Program Bank"};
    MidiCntrState state(rig.folder.get(), rig.backend);
    state.setHostBank(&hostBank);
    auto& receiver = state.getBankTransfers().getReceiver();
    receiver.setClock([&rig] { return rig.synth.virtualTimeMs(); });

    std::mt19937 random(22);
    double virtualMs = 0.0, timeoutMs = 0.0;
    int repeats = 0, late = 0, transfers = 0;
    for (auto _ : st)
    {
        st.PauseTiming();
        // Distinct slots past the first, whose answer time is not known yet.
        std::vector<int> slots(allPrograms - 1);
        std::iota(slots.begin(), slots.end(), 1);
        std::shuffle(slots.begin(), slots.end(), random);
        for (int i = 0; i < lost; ++i)
            rig.synth.injectFaultFor(slots[(size_t)i] / ProgramSysex::numPrograms,
                                     slots[(size_t)i] % ProgramSysex::numPrograms, SimulatedSynth::Fault::drop);
        const int dropsBefore = rig.synth.counters().dumpsDropped;
        st.ResumeTiming();

        const double virtualStart = rig.synth.virtualTimeMs();
        receiver.start(0, BankReceiver::receiveAll);
        int drops = dropsBefore;
        while (receiver.isActive())
        {
            if (!rig.synth.waitUntil([&] { return !receiver.isActive() || rig.synth.counters().dumpsDropped > drops; },
                                     30000))
                break;
            if (!receiver.isActive())
                break;
            ++drops;
            rig.synth.waitUntilIdle(3000);
            const double due = receiver.getDeadlineMs() + timerPeriodMs;
            if (due > rig.synth.virtualTimeMs())
                rig.synth.advanceVirtualTime(due - rig.synth.virtualTimeMs());
            receiver.tick(due);
        }
        if (receiver.isActive())
        {
            receiver.cancel();
            st.SkipWithError("the transfer stalled");
            break;
        }
        if (receiver.getProgress().count != allPrograms || drops - dropsBefore != lost)
        {
            st.SkipWithError("not every program arrived, or not as many were lost as asked");
            break;
        }
        virtualMs += rig.synth.virtualTimeMs() - virtualStart;
        timeoutMs += receiver.getTimeoutMs();
        repeats += receiver.getNumRepeatedRequests();
        late += receiver.getNumLateAnswers();
        ++transfers;

        clearAfterTransfer(st, rig.synth, state);
    }
    state.setHostBank(nullptr);

    if (transfers == 0)
        return;
    st.counters["virtual_ms"] = virtualMs / transfers;
    st.counters["bound_ms"] = boundMs;
    st.counters["ratio"] = virtualMs / transfers / boundMs;
    st.counters["timeout_ms"] = timeoutMs / transfers;
    st.counters["repeats"] = (double)repeats / transfers;
    st.counters["late"] = (double)late / transfers;
}

BENCHMARK(BM_BankReceiveLostDumps)->Arg(5)->Arg(200)->UseRealTime()->Unit(benchmark::kMillisecond)->Iterations(2);

} // namespace
