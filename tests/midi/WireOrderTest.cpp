// Whatever order the senders run in (host automation with its latency, editor edits at once,
// global settings), and whatever happens between them (another port, another channel, a long
// dump), the synthesizer must end up with the model's values, and never receive a data entry
// without the NRPN selection it belongs to.
#include "midi/MidiCntrState.h"
#include "support/SynthRig.h"

#include <gtest/gtest.h>

using namespace zarnel;
using zarnel::test::SimulatedSynth;

namespace
{

enum class Op
{
    automation, // host automation: the latency offset applies
    editor,     // an edit on screen: at once
    global,     // a global setting
    channel,    // the plug-in moves to the channel the synthesizer listens on
    port,       // the output moves to a second synthesizer
    longDump,   // the edited program sent as an edit-buffer dump (longer than 256 bytes)
    storeDump,  // a program sent into a memory slot: a long dump that leaves the edit buffer alone
};

struct Step
{
    Op op;
    int index = 0;
    int value = 0;
};

struct Row
{
    const char* name;
    int latencyMs;
    std::vector<Step> steps;
    int synthChannel = 1;
};

constexpr const char* secondDevice = "Other x4 MIDI";

class WireOrderTest : public ::testing::TestWithParam<Row>
{
protected:
    WireOrderTest()
    {
        hostBank.initialise();
        state.setHostBank(&hostBank);
    }
    ~WireOrderTest() override { state.setHostBank(nullptr); }

    void run(const Step& s)
    {
        switch (s.op)
        {
            case Op::automation:
                state.setParameterFromHost(s.index, s.value);
                touched.push_back(s.index);
                break;
            case Op::editor:
                state.setCurrentByte(s.index, s.value);
                state.sendParameterNrpn(state.getTables().nrpn(s.index), s.value, 0, 44100.0);
                touched.push_back(s.index);
                break;
            case Op::global:
                state.setGlobalValue(s.index, s.value);
                globals.push_back(s.index);
                break;
            case Op::channel:
                waitForTheWire();
                state.midiChannel = s.value;
                switchedAt = target().received().size();
                break;
            case Op::port:
                waitForTheWire();
                onOther = true;
                state.selectOutputPort(2); // the second device of the list
                switchedAt = 0;
                break;
            case Op::longDump:
                state.sendEditBuffer(state.getCurrentProgram());
                switchedAt = target().received().size();
                break;
            case Op::storeDump:
                state.sendProgramDump(0, 9, state.getBankProgram(5, 9));
                break;
        }
    }

    SimulatedSynth& target() { return onOther ? other : rig.synth; }

    // Everything scheduled has reached the synthesizer: the latency has passed and nothing moves.
    void waitForTheWire()
    {
        juce::Thread::sleep(GetParam().latencyMs + 30);
        target().waitUntilIdle(2000);
    }

    test::SynthRig rig;
    SimulatedSynth other{rig.backend, secondDevice, test::SynthRig::instantWire()};
    Bank_Program hostBank{"Program Bank"};
    MidiCntrState state{rig.folder.get(), rig.backend};
    std::vector<int> touched;
    std::vector<int> globals;
    size_t switchedAt = 0;
    bool onOther = false;
};

std::vector<Row> rows()
{
    // Parameter 20 and 21 are filter cutoff and resonance; global 9 is POLY CHAIN.
    const Step autoA{Op::automation, 20, 40}, autoA2{Op::automation, 20, 41}, editA{Op::editor, 20, 90},
        editB{Op::editor, 21, 12}, editB2{Op::editor, 21, 13}, global{Op::global, 9, 2};
    std::vector<Row> out;
    for (int latency : {0, 20})
    {
        out.push_back({"automation then edit", latency, {editB, autoA, editA}});
        out.push_back({"edit then automation", latency, {editB, editA, autoA}});
        out.push_back({"automation, global, edit", latency, {editB, autoA, global, editA}});
        out.push_back({"automation twice, edit", latency, {editB, autoA, autoA2, editA, editB2}});
        // The synthesizer listens on channel 2; the first edit goes out on 1 and is not heard.
        out.push_back({"channel switch", latency, {editA, {Op::channel, 0, 2}, {Op::editor, 20, 91}}, 2});
        out.push_back({"port switch", latency, {editA, {Op::port}, {Op::editor, 20, 92}}});
        out.push_back({"long dump between", latency, {editB, autoA, {Op::longDump}, editA}});
        // Nothing scheduled is lost to a dump, whatever waits behind the latency.
        out.push_back({"stored program after automation and edits", latency,
                       {editB, autoA, editB2, global, {Op::storeDump}}});
    }
    return out;
}

} // namespace

TEST_P(WireOrderTest, SynthesizerEndsWithTheModelsValues)
{
    const auto& row = GetParam();
    // Latency applies to host automation at the current sample rate (entry 0: 44.1 kHz).
    state.setLatency(0, {row.latencyMs, row.latencyMs, row.latencyMs, row.latencyMs, row.latencyMs, row.latencyMs, 0});
    rig.synth.setReceiveChannel(row.synthChannel);
    other.setReceiveChannel(row.synthChannel);

    for (const auto& step : row.steps)
        run(step);
    waitForTheWire();

    const auto model = state.getCurrentProgram();
    const auto synth = target().editBuffer();
    for (int index : touched)
        EXPECT_EQ(synth[(size_t)index], model[(size_t)index]) << "parameter " << index;
    for (int index : globals)
        EXPECT_EQ(target().global(index), state.getGlobalValue(index)) << "global " << index;

    // Since the last switch, a data entry always follows a selection on the current channel.
    const auto log = target().received();
    const auto status = (std::uint8_t)(0xB0 + state.midiChannel.load() - 1);
    bool msbSelected = false, lsbSelected = false;
    for (size_t i = switchedAt; i < log.size(); ++i)
    {
        const auto& m = log[i].bytes;
        if (m.size() != 3 || m[0] != status)
            continue;
        msbSelected = msbSelected || m[1] == 99;
        lsbSelected = lsbSelected || m[1] == 98;
        if (m[1] == 38)
            EXPECT_TRUE(msbSelected && lsbSelected) << "CC 38 without its NRPN selection at message " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(Senders, WireOrderTest, ::testing::ValuesIn(rows()),
                         [](const auto& info) {
                             auto name = juce::String(info.param.name).replace(" ", "_").replace(",", "")
                                         + "_" + juce::String(info.param.latencyMs) + "ms";
                             return name.toStdString();
                         });
