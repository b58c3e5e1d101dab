// The program list painted and listed again on the message thread while bank receives run on the
// synthesizer's delivery thread (the MIDI input thread), meant to run under ThreadSanitizer: the
// list must read the banks only through the controller state's locked accessors.
#include "plugin/ZarnelAudioProcessor.h"
#include "support/MessagePump.h"
#include "support/SynthRig.h"
#include "ui/widgets/StsGrid.h"

#include "StressDuration.h"

#include "midi/Notification.h"
#include "model/DSI_Program.h"

#include <gtest/gtest.h>

#include <chrono>
#include <iostream>

using namespace zarnel;

namespace
{

test::SimulatedSynth::Options threadedSynth()
{
    auto o = test::SynthRig::instantWire();
    o.deliveryThread = true;
    return o;
}

} // namespace

TEST(ProgramListStressTest, ListPaintedAndRelistedDuringBankReceives)
{
    juce::ScopedJuceInitialiser_GUI juce;
    test::SynthRig rig(threadedSynth());
    ZarnelAudioProcessor processor{rig.folder.get(), rig.backend};
    auto& state = processor.getState();

    // The synthesizer's user banks, each program in a category of its own pattern.
    for (int b = 0; b < 4; ++b)
        for (int p = 0; p < 128; ++p)
        {
            auto record = state.getBankProgram(b, p);
            record[(size_t)DSI_Program::categoryOffset] = (std::uint8_t)((b * 7 + p) % 26);
            DSI_Program::encodeName("Stress " + juce::String(b * 128 + p), record.data() + DSI_Program::nameOffset);
            rig.synth.setProgram(b, p, record);
        }

    StsGrid grid(state);
    grid.setColumns({50, 140, 100, 0});
    grid.setRowHeight(26);
    grid.setScrollBarWidth(32);
    grid.setBounds(0, 0, 350, 416);
    juce::Image image(juce::Image::ARGB, 350, 416, true);

    long receives = 0, paints = 0, relists = 0;
    const auto end = std::chrono::steady_clock::now() + test::stressDuration(5.0);
    while (std::chrono::steady_clock::now() < end)
    {
        if (!state.isBankReceiveActive())
        {
            state.startBankReceive(0, 7);
            ++receives;
        }
        std::uint32_t code;
        while (state.popNotification(code))
            if (Notification::typeOf(code) == Notification::bankContentChanged
                || Notification::typeOf(code) == Notification::bankProgramArrived)
            {
                grid.relist();
                ++relists;
            }
        if (paints % 16 == 0)
            grid.listCategory((int)(paints / 16 % 26));
        else if (paints % 16 == 8)
            grid.listBank((int)(paints / 16 % 4));
        {
            juce::Graphics g(image);
            grid.paintEntireComponent(g, false);
        }
        ++paints;
        test::pumpMessages(1);
    }
    state.endBankReceive();
    rig.synth.waitUntilIdle(3000);

    EXPECT_GT(rig.synth.counters().programDumpsSent, 0);
    EXPECT_GT(relists, 0);
    std::cout << "[ stress   ] " << receives << " bank receives started, " << paints << " paints, " << relists
              << " relists\n";
}
