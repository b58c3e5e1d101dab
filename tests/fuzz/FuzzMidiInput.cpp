// Arbitrary bytes cut into what an input device delivers (short messages, stray data bytes,
// pieces of system-exclusive messages and whole ones) for the controller state, then one host
// block and the queues drained.
#include "midi/MIDI_PORTS_Control.h"
#include "midi/MidiCntrState.h"
#include "platform/SettingsFolder.h"
#include "support/TempFolder.h"
#include "support/VirtualMidiBackend.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <cstddef>
#include <cstdint>
#include <memory>

using namespace zarnel;

namespace
{

// Built once per process: the state owns threads and files, far too slow to make per input.
struct Harness
{
    static constexpr const char* deviceName = "Fuzz Synth";

    Harness()
    {
        // An output that swallows everything, so requests and forwarded host MIDI have somewhere to go.
        backend.addDevice(deviceName, nullptr);
        const auto ports = MIDI_PORTS_Control::formatPortFile({deviceName, deviceName, "NONE"});
        folder.file(SettingsFolder::portFileName).replaceWithData(ports.getData(), ports.getSize());
        state = std::make_unique<MidiCntrState>(folder.get(), backend);
        hostBank.initialise();
        state->setHostBank(&hostBank);
        host.ensureSize(8192);
    }

    ~Harness()
    {
        state->setHostBank(nullptr);
        state.reset();
    }

    juce::ScopedJuceInitialiser_GUI juce;
    test::TempFolder folder;
    test::VirtualMidiBackend backend;
    Bank_Program hostBank{"Fuzz Bank"};
    std::unique_ptr<MidiCntrState> state;
    juce::MidiBuffer host;
};

class Reader
{
public:
    Reader(const std::uint8_t* d, size_t s) : data(d), size(s) {}
    bool atEnd() const { return pos >= size; }
    std::uint8_t byte() { return pos < size ? data[pos++] : 0; }
    // Up to n bytes; fewer at the end of the input.
    std::pair<const std::uint8_t*, size_t> take(size_t n)
    {
        n = std::min(n, size - pos);
        const auto* start = data + pos;
        pos += n;
        return {start, n};
    }

private:
    const std::uint8_t* data;
    size_t size;
    size_t pos = 0;
};

void deliver(MidiCntrState& state, const std::uint8_t* bytes, size_t size)
{
    if (size > 0)
        state.handleIncomingMidiMessage(nullptr, juce::MidiMessage(bytes, (int)size));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size)
{
    static Harness h;
    auto& state = *h.state;
    Reader in(data, size);

    const auto flags = in.byte();
    state.thruToHost = (flags & 1) != 0;
    if (flags & 2)
        state.startBankReceive((flags >> 3) & 7, (flags & 4) ? 7 : 0);

    h.host.clear();
    std::vector<std::uint8_t> framed;
    while (!in.atEnd())
    {
        const auto control = in.byte();
        switch (control >> 6)
        {
            case 0:
            {
                // Short: to the input, or into the host's block.
                const auto [bytes, n] = in.take(1 + (control & 3u));
                if (!(control & 0x20))
                    deliver(state, bytes, n);
                else if (n > 0) // JUCE reads the first byte even when told there is none
                    h.host.addEvent(bytes, (int)n, (int)(control & 0x1F) * 16);
                break;
            }
            case 1:
            {
                const auto [bytes, n] = in.take(1 + (control & 0x3Fu));
                deliver(state, bytes, n);
                break;
            }
            case 2:
            {
                // Long enough for dumps and their pieces.
                const auto [bytes, n] = in.take(1 + (control & 0x3Fu) * 8 + in.byte());
                deliver(state, bytes, n);
                break;
            }
            default:
            {
                // A well-framed system-exclusive message around whatever follows.
                const auto [bytes, n] = in.take((control & 0x3Fu) * 8 + in.byte());
                framed.assign(1, 0xF0);
                for (size_t i = 0; i < n; ++i)
                    framed.push_back(bytes[i] & 0x7F);
                framed.push_back(0xF7);
                deliver(state, framed.data(), framed.size());
                break;
            }
        }
    }

    for (int round = 0; round < 4; ++round)
    {
        state.processHostMidi(h.host, 512, 44100.0);
        for (const auto m : h.host)
            if (m.numBytes < 1 || m.numBytes > 3 || m.data[0] < 0x80 || m.samplePosition < 0 || m.samplePosition >= 512)
                __builtin_trap();
        h.host.clear();
    }

    std::uint32_t entry;
    while (state.popHardwareChange(entry))
        if (entry / 4096 >= 256 || entry % 4096 >= 256)
            __builtin_trap();
    while (state.popNotification(entry))
    {
    }

    // The next input starts from a quiet parser: no receive, no half message, no NRPN selected.
    state.endBankReceive();
    state.clearToHostQueue();
    const std::uint8_t emptySysex[] = {0xF0, 0xF7};
    deliver(state, emptySysex, sizeof emptySysex);
    state.thruToHost = false;
    const std::uint8_t dataMsb[] = {0xB0, 6, 0};
    deliver(state, dataMsb, sizeof dataMsb);
    state.rxNrpnMsb = 0;
    state.rxNrpnLsb = 0;
    return 0;
}
