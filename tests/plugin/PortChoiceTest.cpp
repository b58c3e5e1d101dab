// A port chosen in the MIDI setup is remembered even when the window or the project closes
// before the setup is confirmed; a choice that cannot be saved is reported.
#include "plugin/ZarnelAudioProcessor.h"
#include "support/SynthRig.h"

#include <gtest/gtest.h>

using namespace zarnel;

TEST(PortChoice, IsKeptWithoutConfirmingTheSetupAndAFailedSaveIsReported)
{
    const juce::ScopedJuceInitialiser_GUI juce;
    test::SynthRig rig;
    test::SimulatedSynth other{rig.backend, "Other x4 MIDI", test::SynthRig::instantWire()};
    {
        ZarnelAudioProcessor processor(rig.folder.get(), rig.backend);
        processor.getState().selectInputPort(2);
        processor.getState().selectOutputPort(2);
    }

    ZarnelAudioProcessor processor(rig.folder.get(), rig.backend);
    auto& state = processor.getState();
    EXPECT_EQ(state.getPorts().portNames[0], "Other x4 MIDI");
    EXPECT_EQ(state.getPorts().portNames[1], "Other x4 MIDI");
    EXPECT_TRUE(rig.backend.isOutputOpen("Other x4 MIDI"));

    // A folder where the file should be: the file cannot be replaced.
    const auto portFile = rig.folder.file("mhxplports.dat");
    ASSERT_TRUE(portFile.deleteFile() && portFile.createDirectory());
    std::uint32_t code = 0;
    while (state.popNotification(code))
    {
    }
    state.selectOutputPort(1);
    std::vector<std::uint32_t> codes;
    while (state.popNotification(code))
        codes.push_back(code);
    EXPECT_EQ(codes, std::vector<std::uint32_t>{Notification::fileWriteFailed + Notification::portFile});
}
