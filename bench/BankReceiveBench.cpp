// A whole bank from the simulated synthesizer at MIDI DIN speed, in its virtual time.

#include "BenchSupport.h"

#include "model/Bank_Program.h"
#include "support/SynthRig.h"

#include <chrono>
#include <thread>

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

} // namespace
