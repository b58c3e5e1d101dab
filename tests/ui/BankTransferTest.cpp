#include "UiTestSupport.h"

#include "midi/BankTransfers.h"
#include "model/DSI_Program.h"
#include "plugin/ZarnelAudioProcessor.h"
#include "plugin/ZarnelAudioProcessorEditor.h"
#include "support/SynthRig.h"
#include "platform/SettingsFolder.h"
#include "ui/main/MainComp.h"

#include <gtest/gtest.h>

#include <optional>

using namespace zarnel;
using zarnel::test::SimulatedSynth;

namespace
{

// Bank transfers against the simulated synthesizer while the editor closes and opens again, and
// while the plug-in itself goes away. The instrument stores at once, so dumps may follow each
// other quickly and a transmission takes a fraction of a second.
class BankTransferTest : public ::testing::Test
{
protected:
    static constexpr double quickStepMs = 2.0;

    BankTransferTest()
    {
        transfers().getTransmitter().setStepMs(quickStepMs);
        // Every program differs between our banks and the synthesizer's.
        auto& state = processor->getState();
        for (int b = 0; b < ProgramBankSet::numUserBanks; ++b)
            for (int p = 0; p < ProgramSysex::numPrograms; ++p)
            {
                const auto slot = juce::String(b) + ":" + juce::String(p);
                auto ours = state.getBankProgram(b, p);
                DSI_Program::encodeName("Ours " + slot, ours.data() + DSI_Program::nameOffset);
                state.setBankProgram(b, p, ours);
                auto theirs = rig.synth.program(b, p);
                DSI_Program::encodeName("Synth " + slot, theirs.data() + DSI_Program::nameOffset);
                rig.synth.setProgram(b, p, theirs);
            }
    }

    ~BankTransferTest() override { editor.reset(); }

    MainComp& main() { return editor->getMainComp(); }
    BankTransfers& transfers() { return processor->getState().getBankTransfers(); }

    void openEditor()
    {
        editor.emplace(*processor);
        main().toggleAbout(false, 0);
    }

    // The synthesizer never answers for this program.
    void stallAt(int bank, int program) { rig.synth.injectFaultFor(bank, program, SimulatedSynth::Fault::drop, 1000); }

    // Until a dump was lost and the synthesizer has nothing more to do.
    bool waitForDrop()
    {
        return rig.synth.waitUntil([&] { return rig.synth.counters().dumpsDropped > 0; }, 10000)
               && rig.synth.waitUntilIdle(3000);
    }

    juce::String messageText() { return main().getMessageBox() != nullptr ? main().getMessageBox()->getText() : ""; }

    test::UiEnvironment ui;
    test::SynthRig rig;
    std::unique_ptr<ZarnelAudioProcessor> processor =
        std::make_unique<ZarnelAudioProcessor>(rig.folder.get(), rig.backend);
    std::optional<ZarnelAudioProcessorEditor> editor;
};

} // namespace

TEST_F(BankTransferTest, TransfersGoOnWhileTheEditorIsClosedAndTheirEndIsToldWhenItOpens)
{
    struct Case
    {
        int mode, bank, firstBank, lastBank;
        const char* told;
    };
    const Case cases[] = {
        {BankTransmitter::transmitOne, 1, 1, 1, "128 programs sent"},
        {BankReceiver::receiveAll, 0, 0, 3, "512 programs received"},
    };
    for (const auto& c : cases)
    {
        const bool receive = BankTransfers::isReceiveMode(c.mode);
        openEditor();
        if (receive)
            rig.synth.injectFaultFor(0, 10, SimulatedSynth::Fault::drop); // lost once: a wait, then on
        main().startBankTransfer(c.mode, c.bank);
        ASSERT_NE(main().getProgressBar(), nullptr);
        if (receive)
            ASSERT_TRUE(waitForDrop());
        else
            ASSERT_TRUE(test::runUntil([&] { return transfers().getProgress().count >= 3; }, 3000));

        editor.reset();
        ASSERT_TRUE(test::runUntil([&] { return !transfers().isActive(); }, 20000)) << c.mode;
        ASSERT_TRUE(rig.synth.waitUntilIdle(3000));
        auto& state = processor->getState();
        for (int b = c.firstBank; b <= c.lastBank; ++b)
            for (int p = 0; p < ProgramSysex::numPrograms; ++p)
                ASSERT_EQ(rig.synth.program(b, p), state.getBankProgram(b, p)) << c.mode << " " << b << ":" << p;

        openEditor();
        EXPECT_EQ(main().getProgressBar(), nullptr);
        EXPECT_TRUE(messageText().contains("while the editor was closed")) << messageText();
        EXPECT_TRUE(messageText().contains(c.told)) << messageText();
        editor.reset();
    }
}

TEST_F(BankTransferTest, ReopenedMidwayTheBarIsBackWhereTheTransferStandsAndCancelStopsIt)
{
    for (const int mode : {BankTransmitter::transmitOne, BankReceiver::receiveOne})
    {
        const bool receive = BankTransfers::isReceiveMode(mode);
        openEditor();
        if (receive)
        {
            // Time stands still: the receive waits at the lost dump for as long as the test likes.
            transfers().getReceiver().setClock([] { return 0.0; });
            stallAt(2, 40);
            main().startBankTransfer(mode, 2);
            ASSERT_TRUE(waitForDrop());
        }
        else
        {
            main().startBankTransfer(mode, 2);
            ASSERT_TRUE(test::runUntil([&] { return transfers().getProgress().count >= 20; }, 3000));
        }
        editor.reset();
        test::pumpMessages(20);

        openEditor(); // the transmission moves only in the message loop: it stands still here
        const auto at = transfers().getProgress();
        ASSERT_TRUE(transfers().isActive()) << mode;
        if (receive)
            EXPECT_EQ(at.count, 40);
        auto* bar = main().getProgressBar();
        ASSERT_NE(bar, nullptr) << mode;
        EXPECT_EQ(bar->getValue(), at.program) << mode;
        EXPECT_EQ(bar->getLabelText(), MainComp::progressText(2, at.program)) << mode;

        main().stsbutChanged(bar->getCancelButton());
        ASSERT_TRUE(test::runUntil([&] { return main().getProgressBar() == nullptr; }, 1000)) << mode;
        EXPECT_FALSE(transfers().isActive()) << mode;
        const int dumps = rig.synth.counters().programDumpsReceived;
        test::pumpMessages(50);
        EXPECT_EQ(rig.synth.counters().programDumpsReceived, dumps) << mode;
        EXPECT_EQ(main().getMessageBox(), nullptr) << "a cancel needs no words";
        editor.reset();
        rig.synth.clearFaults();
        transfers().getReceiver().setClock({});
    }
}

TEST_F(BankTransferTest, ClosingThePluginMidwayEndsTransfersCleanly)
{
    // A transmission: what went out went out whole, and nothing more follows.
    openEditor();
    main().startBankTransfer(BankTransmitter::transmitOne, 3);
    editor.reset();
    ASSERT_TRUE(test::runUntil([&] { return transfers().getProgress().count >= 10; }, 3000));
    const int sent = transfers().getProgress().count;
    std::vector<ProgramSysex::Record> ours;
    for (int p = 0; p < ProgramSysex::numPrograms; ++p)
        ours.push_back(processor->getState().getBankProgram(3, p));
    processor.reset();
    ASSERT_TRUE(rig.synth.waitUntilIdle(3000));
    EXPECT_EQ(rig.synth.counters().programDumpsReceived, sent);
    EXPECT_EQ(rig.synth.counters().ignored, 0) << "a dump cut short";
    for (int p = 0; p < ProgramSysex::numPrograms; ++p)
        EXPECT_EQ(rig.synth.program(3, p) == ours[(size_t)p], p < sent) << p;

    // A receive: what arrived is in the bank file the next start reads.
    processor = std::make_unique<ZarnelAudioProcessor>(rig.folder.get(), rig.backend);
    openEditor();
    transfers().getReceiver().setClock([] { return 0.0; });
    stallAt(0, 30);
    main().startBankTransfer(BankReceiver::receiveOne, 0);
    ASSERT_TRUE(waitForDrop());
    const auto before = processor->getState().getBankProgram(0, 30);
    editor.reset();
    processor.reset();

    processor = std::make_unique<ZarnelAudioProcessor>(rig.folder.get(), rig.backend);
    auto& state = processor->getState();
    for (int p = 0; p < 30; ++p)
        EXPECT_EQ(state.getBankProgram(0, p), rig.synth.program(0, p)) << p;
    EXPECT_EQ(state.getBankProgram(0, 30), before);
}

namespace
{
// A data file that is not ours leaves the factory programs standing in for U1-U4: the user is told
// once when the editor opens, and sending them asks first; no answer sends nothing.
TEST(StandInBanks, AreToldAtOpeningAndSendingThemAsksFirst)
{
    test::UiEnvironment ui;
    test::SynthRig rig;
    const auto dataFile = rig.folder.get().getChildFile(SettingsFolder::bankDataFileName);
    ASSERT_TRUE(dataFile.replaceWithText("not a bank file of ours"));
    ZarnelAudioProcessor processor(rig.folder.get(), rig.backend);
    ASSERT_TRUE(processor.getState().areUserBanksStandIns());

    std::optional<ZarnelAudioProcessorEditor> editor;
    editor.emplace(processor);
    auto& main = editor->getMainComp();
    main.toggleAbout(false, 0);
    ASSERT_NE(main.getMessageBox(), nullptr);
    EXPECT_TRUE(main.getMessageBox()->getText().contains(dataFile.getFullPathName()));
    EXPECT_TRUE(main.getMessageBox()->getText().contains("factory programs"));
    main.getMessageBox()->getOkButton().keyPressed(juce::KeyPress(juce::KeyPress::spaceKey));
    test::pumpMessages(20);
    ASSERT_EQ(main.getMessageBox(), nullptr);

    for (bool agree : {false, true})
    {
        main.startBankTransfer(100, 0);
        ASSERT_NE(main.getMessageBox(), nullptr);
        EXPECT_TRUE(main.getMessageBox()->getText().startsWith("The user banks could not be read"));
        EXPECT_FALSE(processor.getState().getBankTransfers().isActive());
        auto& answer = agree ? main.getMessageBox()->getOkButton() : main.getMessageBox()->getCancelButton();
        answer.keyPressed(juce::KeyPress(juce::KeyPress::spaceKey));
        test::pumpMessages(20);
        EXPECT_EQ(processor.getState().getBankTransfers().isActive(), agree);
    }
    main.endBankTransfer();

    // Told once per instance.
    editor.reset();
    editor.emplace(processor);
    editor->getMainComp().toggleAbout(false, 0);
    EXPECT_EQ(editor->getMainComp().getMessageBox(), nullptr);
    editor.reset();
}
} // namespace
