#pragma once

#include "SimulatedSynth.h"
#include "TempFolder.h"
#include "VirtualMidiBackend.h"

#include "midi/MIDI_PORTS_Control.h"

#include <vector>

namespace zarnel::test
{

// A settings folder whose port file names the simulated synthesizer's device, the virtual
// backend, and the synthesizer on it: what the plug-in finds on a machine with the instrument
// connected.
struct SynthRig
{
    static constexpr const char* deviceName = "Mopho x4 MIDI 1";

    explicit SynthRig(SimulatedSynth::Options options = instantWire());

    static SimulatedSynth::Options instantWire()
    {
        SimulatedSynth::Options o;
        o.msPerByte = 0.0;
        return o;
    }

    TempFolder folder;
    VirtualMidiBackend backend;
    SimulatedSynth synth;
};

// Codes taken from a queue, for comparing sequences.
template <typename PopFn>
std::vector<std::uint32_t> drain(PopFn&& pop)
{
    std::vector<std::uint32_t> codes;
    std::uint32_t code;
    while (pop(code))
        codes.push_back(code);
    return codes;
}

} // namespace zarnel::test
