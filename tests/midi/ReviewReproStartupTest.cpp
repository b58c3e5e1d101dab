// A program dump that arrives while the controller state is still being built (the instrument
// sends from its panel as the project opens) must not reach parts not made yet.
#include "midi/MidiCntrState.h"
#include "model/ProgramSysex.h"
#include "support/SynthRig.h"

#include <gtest/gtest.h>

using namespace zarnel;

namespace
{

// The virtual devices, with an input that delivers a dump the moment it starts.
class DumpOnStartBackend : public MidiDeviceBackend
{
public:
    explicit DumpOnStartBackend(MidiDeviceBackend& b) : inner(b) {}

    juce::StringArray getInputNames() override { return inner.getInputNames(); }
    juce::StringArray getOutputNames() override { return inner.getOutputNames(); }
    std::unique_ptr<MidiOutputDevice> openOutput(int index) override { return inner.openOutput(index); }

    std::unique_ptr<MidiInputDevice> openInput(int index, juce::MidiInputCallback* callback) override
    {
        struct Input : MidiInputDevice
        {
            std::unique_ptr<MidiInputDevice> device;
            juce::MidiInputCallback* callback;
            juce::String getName() const override { return device->getName(); }
            void start() override
            {
                device->start();
                ProgramSysex::Record record{};
                const auto dump = ProgramSysex::programDump(0, 5, record.data(), record.size());
                callback->handleIncomingMidiMessage(nullptr, juce::MidiMessage(dump.data(), (int)dump.size()));
            }
            void stop() override { device->stop(); }
        };
        auto device = inner.openInput(index, callback);
        if (device == nullptr)
            return nullptr;
        auto input = std::make_unique<Input>();
        input->device = std::move(device);
        input->callback = callback;
        return input;
    }

private:
    MidiDeviceBackend& inner;
};

} // namespace

TEST(ReviewReproStartupTest, ProgramDumpArrivingWhileTheStateIsBuiltIsTaken)
{
    juce::ScopedJuceInitialiser_GUI juce;
    test::SynthRig rig;
    DumpOnStartBackend backend(rig.backend);
    MidiCntrState state(rig.folder.get(), backend);
    EXPECT_EQ(state.getPorts().isOutputOpen(), true);
}
