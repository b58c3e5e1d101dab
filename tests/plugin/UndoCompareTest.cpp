#include "plugin/HostParameter.h"
#include "plugin/StateBlocks.h"
#include "plugin/ZarnelAudioProcessor.h"
#include "support/SynthRig.h"

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <thread>

using namespace zarnel;

namespace
{

// The last value each host parameter was told, as a host's wrapper hears it.
struct HostValues : juce::AudioProcessorParameter::Listener
{
    explicit HostValues(ZarnelAudioProcessor& p) : processor(p)
    {
        for (int i = 0; i < ZarnelAudioProcessor::numHostParameters; ++i)
            processor.getHostParameter(i)->addListener(this);
    }
    ~HostValues() override
    {
        for (int i = 0; i < ZarnelAudioProcessor::numHostParameters; ++i)
            processor.getHostParameter(i)->removeListener(this);
    }
    void parameterValueChanged(int index, float value) override { last[(size_t)index] = value; }
    void parameterGestureChanged(int, bool) override {}

    ZarnelAudioProcessor& processor;
    std::array<float, ZarnelAudioProcessor::numHostParameters> last{};
};

class UndoCompareTest : public ::testing::Test
{
protected:
    int byte(int index) { return processor.getState().getCurrentByte(index); }
    size_t undoSteps() { return processor.getHistory().getHistory().getNumUndoSteps(); }
    // Messages the synthesizer received since the last call, once it has taken them all.
    std::vector<Bytes> takeReceived()
    {
        EXPECT_TRUE(rig.synth.waitUntilIdle(3000));
        juce::Thread::sleep(20);
        std::vector<Bytes> out;
        for (const auto& e : rig.synth.received())
            out.push_back(e.bytes);
        rig.synth.clearLogs();
        return out;
    }
    static bool isEditBufferDump(const Bytes& m)
    {
        return m.size() == ProgramSysex::editBufferDumpSize && m[3] == ProgramSysex::cmdEditBufferDump;
    }
    // An edit on screen, closed as the gesture timer closes it.
    void edit(int index, int value)
    {
        processor.setParameterFromEditor(index, value, false, true);
        processor.timerCallback();
    }

    juce::ScopedJuceInitialiser_GUI juce;
    test::SynthRig rig;
    ZarnelAudioProcessor processor{rig.folder.get(), rig.backend};
};

Bytes cc(int controller, int value)
{
    return {0xB0, (std::uint8_t)controller, (std::uint8_t)value};
}

} // namespace

TEST_F(UndoCompareTest, ADragIsOneStepAndUndoSendsOneNrpn)
{
    const int before = byte(20);
    for (int v = 1; v <= 30; ++v)
    {
        processor.setParameterFromEditor(20, before - v, false, true);
        processor.recordHistory(); // ticks during the drag close nothing
    }
    processor.timerCallback();
    EXPECT_EQ(undoSteps(), 1u);
    takeReceived();

    HostValues host(processor);
    ASSERT_TRUE(processor.undo());
    EXPECT_EQ(byte(20), before);
    EXPECT_FLOAT_EQ(host.last[20], processor.getParameter(20));
    // One NRPN (its parts that repeat the last one left out), no edit buffer.
    const auto sent = takeReceived();
    ASSERT_FALSE(sent.empty());
    EXPECT_EQ(sent.back(), cc(38, before & 0x7F));
    for (const auto& m : sent)
        EXPECT_EQ(m.size(), 3u);
    EXPECT_EQ(rig.synth.editBuffer()[20], before);
    EXPECT_FALSE(processor.undo());
}

TEST_F(UndoCompareTest, UndoOfAProgramLoadSendsTheEditBufferAndRedoBringsTheLoadBack)
{
    edit(20, 99);
    const auto edited = processor.getState().getCurrentProgram();
    processor.getState().selectProgram(0, 5, true);
    const auto loaded = processor.getState().getCurrentProgram();
    ASSERT_NE(loaded, edited);
    processor.recordHistory();
    EXPECT_EQ(undoSteps(), 2u);
    takeReceived();

    HostValues host(processor);
    ASSERT_TRUE(processor.undo());
    EXPECT_EQ(processor.getState().getCurrentProgram(), edited);
    const auto sent = takeReceived();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_TRUE(isEditBufferDump(sent[0]));
    EXPECT_EQ(rig.synth.editBuffer(), edited);
    EXPECT_FLOAT_EQ(host.last[20], 99.0f / 164.0f);

    ASSERT_TRUE(processor.redo());
    EXPECT_EQ(processor.getState().getCurrentProgram(), loaded);
    takeReceived();
    EXPECT_EQ(rig.synth.editBuffer(), loaded);
    EXPECT_FLOAT_EQ(host.last[20], processor.getParameter(20));
}

TEST_F(UndoCompareTest, AnEditRightAfterALoadIsAStepOfItsOwn)
{
    processor.getState().selectProgram(0, 7, true);
    const auto loaded = processor.getState().getCurrentProgram();
    edit(20, loaded[20] == 3 ? 4 : 3); // before any look at the program since the load
    EXPECT_EQ(undoSteps(), 2u);
    EXPECT_EQ(processor.getHistory().getReference(), loaded);
    ASSERT_TRUE(processor.undo());
    EXPECT_EQ(processor.getState().getCurrentProgram(), loaded);
}

TEST_F(UndoCompareTest, AnEditWhoseStepIsStillOpenWhenAProgramLoadsIsAStepOfItsOwn)
{
    const auto hostValue = [&](int value) { processor.setParameter(20, (float)value / 164.0f); };
    struct Case
    {
        const char* what;
        std::function<void()> before; // what happened earlier
        std::function<void(int)> edit; // parameter 20 to this value, the step not yet closed
    };
    const Case cases[] = {
        {"a gesture on screen", [] {}, [&](int v) { processor.setParameterFromEditor(20, v, false, true); }},
        {"a drag holding the step", [] {},
         [&](int v) {
             processor.getHistory().holdStep(true);
             processor.setParameterFromEditor(20, v, true, true);
             processor.recordHistory();
         }},
        {"host automation", [] {}, hostValue},
        {"a knob on the instrument", [] {},
         [&](int v) {
             rig.synth.knobMove(20, v);
             ASSERT_TRUE(rig.synth.waitUntilIdle(3000));
             processor.applyHardwareChanges();
         }},
        {"host automation in the quiet time after an undo",
         [&] {
             edit(21, byte(21) == 5 ? 6 : 5);
             ASSERT_TRUE(processor.undo());
         },
         hostValue},
    };
    int program = 5;
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.what);
        c.before();
        const auto original = processor.getState().getCurrentProgram();
        c.edit(original[20] == 40 ? 41 : 40);
        const auto edited = processor.getState().getCurrentProgram();
        ASSERT_NE(edited, original);
        processor.getState().selectProgram(0, program++, true);
        const auto loaded = processor.getState().getCurrentProgram();
        ASSERT_NE(loaded, edited);
        processor.timerCallback(); // the first look since the edit, a drag still holding it
        processor.getHistory().holdStep(false);

        ASSERT_TRUE(processor.undo());
        EXPECT_EQ(processor.getState().getCurrentProgram(), edited);
        ASSERT_TRUE(processor.undo());
        EXPECT_EQ(processor.getState().getCurrentProgram(), original);
        ASSERT_TRUE(processor.redo());
        EXPECT_EQ(processor.getState().getCurrentProgram(), edited);
        ASSERT_TRUE(processor.redo());
        EXPECT_EQ(processor.getState().getCurrentProgram(), loaded);
        takeReceived();
    }
}

TEST_F(UndoCompareTest, ANewEditClearsTheRedoSteps)
{
    edit(20, 10);
    edit(20, 11);
    ASSERT_TRUE(processor.undo());
    EXPECT_TRUE(processor.getHistory().canRedo());
    edit(21, 5); // at once after the undo: a screen edit is always recorded
    EXPECT_FALSE(processor.getHistory().canRedo());
    EXPECT_FALSE(processor.redo());
    ASSERT_TRUE(processor.undo());
    EXPECT_EQ(byte(21), processor.getHistory().getHistory().getBaseline()[21]);
    EXPECT_EQ(byte(20), 10);
}

TEST_F(UndoCompareTest, AKnobMovedOnTheInstrumentWhileUndoingIsNotRecorded)
{
    struct Case
    {
        int waitAfterUndoMs;
        int edited, knob;
        bool recorded;
    };
    const Case cases[] = {{0, 10, 5, false}, {(int)ProgramEditHistory::quietAfterApplyMs + 100, 12, 9, true}};
    for (const auto& c : cases)
    {
        edit(20, c.edited);
        ASSERT_TRUE(processor.undo());
        const auto steps = undoSteps();
        juce::Thread::sleep(c.waitAfterUndoMs);
        rig.synth.knobMove(30, c.knob);
        ASSERT_TRUE(rig.synth.waitUntilIdle(3000));
        processor.applyHardwareChanges();
        processor.timerCallback();
        EXPECT_EQ(byte(30), c.knob);
        EXPECT_EQ(undoSteps(), c.recorded ? steps + 1 : steps) << c.waitAfterUndoMs;
        EXPECT_EQ(processor.getHistory().canRedo(), !c.recorded) << c.waitAfterUndoMs;
    }
}

TEST_F(UndoCompareTest, HostAutomationIsRecorded)
{
    processor.setParameter(20, 100.0f / 164.0f);
    processor.timerCallback();
    EXPECT_EQ(undoSteps(), 1u);
}

TEST_F(UndoCompareTest, CompareSendsTheStoredProgramThenTheEditsAgain)
{
    const auto stored = processor.getState().getCurrentProgram();
    edit(20, 100);
    edit(3, stored[3] == 7 ? 8 : 7);
    const auto edited = processor.getState().getCurrentProgram();
    takeReceived();
    HostValues host(processor);

    processor.setComparing(true);
    EXPECT_EQ(processor.getState().getCurrentProgram(), stored);
    auto sent = takeReceived();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_TRUE(isEditBufferDump(sent[0]));
    EXPECT_EQ(rig.synth.editBuffer(), stored);
    EXPECT_FLOAT_EQ(host.last[20], processor.getParameter(20));
    EXPECT_FLOAT_EQ(processor.getParameter(20), (float)stored[20] / 164.0f);

    // A session saved meanwhile keeps the edits.
    juce::MemoryBlock block;
    processor.getCurrentProgramStateInformation(block);
    const auto saved = StateBlocks::readProgramBlock(block.getData(), block.getSize());
    ASSERT_TRUE(saved.has_value());
    EXPECT_EQ(*saved, edited);

    // Nothing edits the program while comparing, nor is anything recorded.
    processor.setParameterFromEditor(20, 50, true, true);
    processor.setParameter(21, 1.0f);
    processor.timerCallback();
    EXPECT_EQ(processor.getState().getCurrentProgram(), stored);

    processor.setComparing(false);
    EXPECT_EQ(processor.getState().getCurrentProgram(), edited);
    sent = takeReceived();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_TRUE(isEditBufferDump(sent[0]));
    EXPECT_EQ(rig.synth.editBuffer(), edited);
    EXPECT_FLOAT_EQ(host.last[20], 100.0f / 164.0f);
    EXPECT_EQ(undoSteps(), 2u);
}

TEST_F(UndoCompareTest, AKnobMovedOnTheInstrumentWhileComparingEndsCompareAndBecomesAnEdit)
{
    struct Case
    {
        int waitAfterCompareMs;
        bool edits; // else the instrument's answer to the stored program, dropped
    };
    const Case cases[] = {{0, false}, {(int)ProgramEditHistory::quietAfterApplyMs + 100, true}};
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.waitAfterCompareMs);
        const auto stored = processor.getState().getCurrentProgram();
        edit(20, stored[20] == 100 ? 101 : 100);
        const auto edited = processor.getState().getCurrentProgram();
        const int knob = edited[30] == 9 ? 10 : 9;
        processor.setComparing(true);
        takeReceived();
        HostValues host(processor);
        const auto steps = undoSteps();

        juce::Thread::sleep(c.waitAfterCompareMs);
        rig.synth.knobMove(30, knob);
        ASSERT_TRUE(rig.synth.waitUntilIdle(3000));
        processor.applyHardwareChanges();
        processor.timerCallback();

        EXPECT_EQ(processor.getHistory().isComparing(), !c.edits);
        if (!c.edits)
        {
            EXPECT_EQ(processor.getState().getCurrentProgram(), stored);
            processor.setComparing(false);
            EXPECT_EQ(processor.getState().getCurrentProgram(), edited);
            takeReceived();
            continue;
        }
        auto expected = edited;
        expected[30] = (std::uint8_t)knob;
        EXPECT_EQ(processor.getState().getCurrentProgram(), expected);
        takeReceived();
        EXPECT_EQ(rig.synth.editBuffer(), expected);
        EXPECT_FLOAT_EQ(host.last[20], processor.getParameter(20));
        EXPECT_FLOAT_EQ(host.last[30], processor.getParameter(30));
        EXPECT_EQ(undoSteps(), steps + 1);
        ASSERT_TRUE(processor.undo());
        EXPECT_EQ(processor.getState().getCurrentProgram(), edited);
    }
}

TEST_F(UndoCompareTest, TheHistoryOutlivesTheEditor)
{
    auto editor = std::unique_ptr<juce::AudioProcessorEditor>(processor.createEditor());
    edit(20, 42);
    editor.reset();
    editor.reset(processor.createEditor());
    EXPECT_TRUE(processor.undo());
    editor.reset();
}

TEST_F(UndoCompareTest, AStateRestoredWhileComparingIsWhatTheNextSaveHolds)
{
    edit(20, byte(20) == 100 ? 101 : 100);
    juce::MemoryBlock session;
    processor.getStateInformation(session);
    auto restored = processor.getState().getCurrentProgram();
    restored[20] = 7;
    restored[200] = 0x7f; // above its parameter's maximum: kept exactly
    StateBlocks::Session trailer;
    trailer.current = restored;
    const auto bankData = StateBlocks::readBankBlock(session.getData(), session.getSize());
    ASSERT_TRUE(bankData.has_value());
    const auto block = StateBlocks::makeBankBlock(*bankData, trailer);

    processor.setComparing(true);
    processor.setStateInformation(block.data(), (int)block.size());
    // Saved before the next timer tick, as a host does right after restoring.
    juce::MemoryBlock saved;
    processor.getStateInformation(saved);
    const auto back = StateBlocks::readSession(saved.getData(), saved.getSize());
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(back->current, restored);
    processor.timerCallback();
    EXPECT_FALSE(processor.getHistory().isComparing());
    EXPECT_EQ(processor.getState().getCurrentProgram(), restored);
}

TEST_F(UndoCompareTest, AProgramLoadedJustBeforeAnUndoOrRedoIsAStepOfItsOwn)
{
    // Each key pressed right after an undo, the load not yet looked at.
    for (const bool backwards : {true, false})
    {
        SCOPED_TRACE(backwards);
        edit(20, 10);
        edit(21, 5);
        ASSERT_TRUE(processor.undo());
        const auto beforeLoad = processor.getState().getCurrentProgram();
        processor.getState().selectProgram(0, backwards ? 5 : 6, true);
        const auto loaded = processor.getState().getCurrentProgram();
        ASSERT_NE(loaded, beforeLoad);

        if (backwards)
            ASSERT_TRUE(processor.undo());
        else
            EXPECT_FALSE(processor.redo()); // the load cleared the redo steps
        EXPECT_EQ(processor.getState().getCurrentProgram(), backwards ? beforeLoad : loaded);
        if (backwards)
        {
            ASSERT_TRUE(processor.redo());
            EXPECT_EQ(processor.getState().getCurrentProgram(), loaded);
        }
        takeReceived();
    }
}

TEST_F(UndoCompareTest, AProgramLoadedWhileComparingIsKeptWhenCompareEndsBeforeTheNextLook)
{
    struct Case
    {
        const char* what;
        std::function<void()> leave;
        bool showsTheLoad; // else the load, the newest step, is undone
    };
    const Case cases[] = {
        {"COMPARE", [&] { processor.setComparing(false); }, true},
        {"undo", [&] { ASSERT_TRUE(processor.undo()); }, false},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.what);
        edit(20, byte(20) == 10 ? 11 : 10);
        const auto edited = processor.getState().getCurrentProgram();
        processor.setComparing(true);
        processor.getState().selectProgram(0, 5, true);
        const auto loaded = processor.getState().getCurrentProgram();
        ASSERT_NE(loaded, edited);

        c.leave();
        EXPECT_FALSE(processor.getHistory().isComparing());
        EXPECT_EQ(processor.getState().getCurrentProgram(), c.showsTheLoad ? loaded : edited);
        if (c.showsTheLoad)
        {
            ASSERT_TRUE(processor.undo());
            EXPECT_EQ(processor.getState().getCurrentProgram(), edited);
        }
        ASSERT_TRUE(processor.redo());
        EXPECT_EQ(processor.getState().getCurrentProgram(), loaded);
        takeReceived();
    }
}

TEST_F(UndoCompareTest, EditsRightAfterAStateRestoredWhileComparingAreTaken)
{
    juce::MemoryBlock session;
    processor.getStateInformation(session);
    const int restored20 = byte(20);
    struct Case
    {
        const char* what;
        int index, value;
        std::function<void()> edit;
    };
    const Case cases[] = {
        {"host automation", 21, processor.getState().getTables().maximum(21), [&] { processor.setParameter(21, 1.0f); }},
        {"the panel", 22, 9, [&] { processor.setParameterFromEditor(22, 9, false, true); }},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.what);
        edit(20, restored20 == 100 ? 101 : 100);
        processor.setComparing(true);
        processor.setStateInformation(session.getData(), (int)session.getSize());
        ASSERT_NE(byte(c.index), c.value);
        c.edit(); // before the next timer tick
        EXPECT_EQ(byte(c.index), c.value);
        processor.timerCallback();
        EXPECT_FALSE(processor.getHistory().isComparing());
        EXPECT_EQ(byte(20), restored20);
        EXPECT_EQ(byte(c.index), c.value);
        takeReceived();
    }
}

TEST_F(UndoCompareTest, ASessionSavedOnAnotherThreadWhileCompareTogglesHoldsTheEdits)
{
    const auto stored = processor.getState().getCurrentProgram();
    edit(20, stored[20] == 100 ? 101 : 100);
    const auto edited = processor.getState().getCurrentProgram();
    std::atomic<bool> stop{false};
    std::atomic<int> wrong{0};
    std::thread host([&] {
        while (!stop)
        {
            juce::MemoryBlock block;
            processor.getStateInformation(block);
            const auto session = StateBlocks::readSession(block.getData(), block.getSize());
            if (!session || session->current != edited)
                ++wrong;
        }
    });
    for (int i = 0; i < 1000 && wrong == 0; ++i)
        processor.setComparing(i % 2 == 0);
    stop = true;
    host.join();
    EXPECT_EQ(wrong.load(), 0);
}
