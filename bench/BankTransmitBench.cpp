// A user bank sent to the simulated synthesizer at MIDI DIN speed, stepped in its virtual time as
// the transmitter's timer would step it, and how long each step holds the message thread.

#include "BenchSupport.h"

#include "midi/BankTransmitter.h"
#include "model/Bank_Program.h"
#include "support/SynthRig.h"

#include <algorithm>
#include <chrono>
#include <vector>

using namespace zarnel;
using test::SimulatedSynth;

namespace
{

void BM_BankTransmit(benchmark::State& st)
{
    using Clock = std::chrono::steady_clock;

    SimulatedSynth::Options options;
    options.msPerByte = SimulatedSynth::dinMsPerByte;
    options.programStoreMs = 80.0;
    test::SynthRig rig(options);
    Bank_Program hostBank{"Program Bank"};
    MidiCntrState state(rig.folder.get(), rig.backend);
    state.setHostBank(&hostBank);
    double now = 0.0;
    BankTransmitter transmitter(state, [&now] { return now; });

    std::vector<double> stepMs;
    double virtualMs = 0.0;
    int transfers = 0;
    for (auto _ : st)
    {
        rig.synth.waitUntilIdle(3000);
        now = std::max(now, rig.synth.virtualTimeMs());
        const double virtualStart = now;
        const int before = rig.synth.counters().programDumpsReceived;
        transmitter.start(BankTransmitter::transmitOne, 1);
        while (transmitter.isActive())
        {
            now = transmitter.getNextDueMs();
            if (const double behind = now - rig.synth.virtualTimeMs(); behind > 0.0)
                rig.synth.advanceVirtualTime(behind);
            const auto t = Clock::now();
            transmitter.tick(now);
            stepMs.push_back(std::chrono::duration<double, std::milli>(Clock::now() - t).count());
        }
        rig.synth.waitUntilIdle(3000);
        if (rig.synth.counters().programDumpsReceived - before != ProgramSysex::numPrograms)
        {
            st.SkipWithError("not every program was stored");
            break;
        }
        virtualMs += now - virtualStart;
        ++transfers;

        bench::clearAfterTransfer(st, rig.synth, state);
    }
    state.setHostBank(nullptr);
    if (transfers == 0 || stepMs.empty())
        return;
    std::sort(stepMs.begin(), stepMs.end());
    st.counters["virtual_ms"] = virtualMs / transfers;
    st.counters["bound_ms"] = ProgramSysex::numPrograms * BankTransmitter::stepMs;
    st.counters["ratio"] = virtualMs / transfers / (ProgramSysex::numPrograms * BankTransmitter::stepMs);
    st.counters["step_p50_ms"] = stepMs[stepMs.size() / 2];
    st.counters["step_max_ms"] = stepMs.back();
}

BENCHMARK(BM_BankTransmit)->UseRealTime()->Unit(benchmark::kMillisecond)->Iterations(2);

} // namespace
