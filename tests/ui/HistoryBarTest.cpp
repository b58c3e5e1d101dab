#include "PanelTestSupport.h"

#include "model/DSI_Program.h"

#include <gtest/gtest.h>

using namespace zarnel;

namespace
{

class HistoryBarTest : public ::testing::Test
{
protected:
    HistoryBar& bar() { return r.main.getHistoryBar(); }
    int byte(int index) { return r.processor.getState().getCurrentByte(index); }

    // An edit of byte 20 away from what is stored, closed as a step; returns the edited value.
    int editCutoff(int stored)
    {
        r.processor.setParameterFromEditor(20, stored == 40 ? 41 : 40, true, true);
        r.processor.timerCallback();
        r.settle();
        return byte(20);
    }
    size_t undoSteps() { return r.processor.getHistory().getHistory().getNumUndoSteps(); }
    void click(StsBut& button)
    {
        bar().refresh(); // as its timer does
        button.getInnerButton()->triggerClick();
        r.settle();
    }

    test::EditorRig r;
};

} // namespace

TEST_F(HistoryBarTest, AKnobDragWithPausesIsOneStep)
{
    auto* knob = r.panel().getControl(20);
    const int before = byte(20);
    // The editor's mouse listener hears the button go down before the knob does; the modifiers
    // are as the window's peer keeps them.
    juce::ModifierKeys::currentModifiers = test::leftButton();
    bar().mouseDown(test::mouseAt(*knob, 10, 10));
    knob->mouseDown(test::mouseAt(*knob, 10, 10));
    for (int step = 1; step <= 30; ++step)
    {
        knob->mouseDrag(test::mouseAt(*knob, 10, 10 + step));
        r.processor.timerCallback(); // a pause: the host's gesture closes, the step stays open
        r.settle();
    }
    juce::ModifierKeys::currentModifiers = {};
    knob->mouseUp(test::mouseAt(*knob, 10, 40, {}));
    bar().mouseUp(test::mouseAt(*knob, 10, 40, {}));
    r.processor.timerCallback();
    EXPECT_EQ(byte(20), before - 30);
    EXPECT_EQ(undoSteps(), 1u);

    click(bar().getUndoButton());
    EXPECT_EQ(byte(20), before);
    EXPECT_EQ(knob->getShownValue(), before);
}

TEST_F(HistoryBarTest, TwoDragsInARowAreTwoSteps)
{
    for (const int index : {20, 21})
    {
        auto* knob = r.panel().getControl(index);
        juce::ModifierKeys::currentModifiers = test::leftButton();
        bar().mouseDown(test::mouseAt(*knob, 10, 10));
        knob->mouseDown(test::mouseAt(*knob, 10, 10));
        knob->mouseDrag(test::mouseAt(*knob, 10, 5));
        // JUCE hands mouseUp the buttons as they were, the released one still down.
        juce::ModifierKeys::currentModifiers = {};
        knob->mouseUp(test::mouseAt(*knob, 10, 5, test::leftButton()));
        bar().mouseUp(test::mouseAt(*knob, 10, 5, test::leftButton()));
        r.processor.timerCallback();
    }
    EXPECT_EQ(undoSteps(), 2u);
}

TEST_F(HistoryBarTest, ButtonsFollowTheHistoryAndKeysCarryItOut)
{
    EXPECT_FALSE(bar().getUndoButton().isEnabled());
    EXPECT_FALSE(bar().getRedoButton().isEnabled());
    r.processor.setParameterFromEditor(20, 10, true, true);
    r.processor.timerCallback();
    bar().refresh();
    EXPECT_TRUE(bar().getUndoButton().isEnabled());

    struct Case
    {
        juce::KeyPress key;
        bool taken;
        int cutoff;
    };
    const auto command = juce::ModifierKeys::commandModifier;
    const Case cases[] = {
        {juce::KeyPress('z', command, 0), true, r.processor.getHistory().getReference()[20]},
        {juce::KeyPress('y', command, 0), true, 10},
        {juce::KeyPress('z', command, 0), true, r.processor.getHistory().getReference()[20]},
        {juce::KeyPress('z', command | juce::ModifierKeys::shiftModifier, 0), true, 10},
        {juce::KeyPress('z'), false, 10}, // a note key
    };
    for (const auto& c : cases)
    {
        EXPECT_EQ(bar().keyPressed(c.key, &r.main), c.taken) << c.key.getTextDescription();
        EXPECT_EQ(byte(20), c.cutoff) << c.key.getTextDescription();
    }
    EXPECT_FALSE(bar().getRedoButton().isEnabled());
}

TEST_F(HistoryBarTest, CompareShowsTheStoredProgramAndBlocksEditing)
{
    const auto stored = r.processor.getState().getCurrentProgram();
    auto* knob = r.panel().getControl(20);
    const int edited = editCutoff(stored[20]);

    click(bar().getCompareButton());
    EXPECT_TRUE(r.processor.getHistory().isComparing());
    EXPECT_TRUE(bar().getCompareButton().getInnerButton()->getToggleState());
    EXPECT_EQ(knob->getShownValue(), stored[20]);
    knob->requestValue(edited + 5);
    r.settle();
    EXPECT_EQ(knob->getShownValue(), stored[20]) << "no editing while comparing";

    click(bar().getCompareButton());
    EXPECT_FALSE(r.processor.getHistory().isComparing());
    EXPECT_EQ(knob->getShownValue(), edited);
    ASSERT_TRUE(r.rig.synth.waitUntilIdle(3000));
    EXPECT_EQ(r.rig.synth.editBuffer()[20], edited);
}

TEST_F(HistoryBarTest, AnArrowKeyAfterCompareStepsFromTheEdits)
{
    const auto stored = r.processor.getState().getCurrentProgram();
    auto* knob = r.panel().getControl(20);
    const int edited = editCutoff(stored[20]);

    click(bar().getCompareButton());
    knob->keyPressed(juce::KeyPress(juce::KeyPress::upKey)); // changes nothing while comparing
    click(bar().getCompareButton());
    ASSERT_EQ(knob->getShownValue(), edited);
    knob->keyPressed(juce::KeyPress(juce::KeyPress::upKey));
    r.settle();
    EXPECT_EQ(byte(20), edited + 1);
    EXPECT_EQ(knob->getShownValue(), edited + 1);
}

TEST_F(HistoryBarTest, TheWriteDialogOpenedWhileComparingOffersTheEdits)
{
    auto program = r.processor.getState().getCurrentProgram();
    r.processor.recordHistory();
    DSI_Program::encodeName("Edited Name", program.data() + DSI_Program::nameOffset);
    // A rename on screen, as the rename box stores it.
    for (int i = DSI_Program::nameOffset; i < DSI_Program::nameOffset + DSI_Program::nameLength; ++i)
        r.processor.getState().setCurrentByte(i, program[(size_t)i]);
    r.processor.timerCallback();
    click(bar().getCompareButton());
    ASSERT_TRUE(r.processor.getHistory().isComparing());

    r.main.toggleWriteDialog(true);
    r.settle();
    EXPECT_FALSE(r.processor.getHistory().isComparing());
    ASSERT_NE(r.main.getWriteDialog(), nullptr);
    EXPECT_EQ(r.main.getWriteDialog()->getName().trimEnd(), "Edited Name");
    r.main.toggleWriteDialog(false);
}

TEST_F(HistoryBarTest, UndoAndRedoKeysWorkWhileNothingHasTheKeyboardFocus)
{
    // Clicks on knobs take no focus: JUCE then hands keys to the editor itself, not to its children.
    const int before = byte(20);
    r.processor.setParameterFromEditor(20, before == 40 ? 41 : 40, true, true);
    r.processor.timerCallback();
    const int edited = byte(20);
    const auto command = juce::ModifierKeys::commandModifier;
    EXPECT_TRUE(r.editor.keyPressed(juce::KeyPress('z', command, 0)));
    EXPECT_EQ(byte(20), before);
    EXPECT_TRUE(r.editor.keyPressed(juce::KeyPress('y', command, 0)));
    EXPECT_EQ(byte(20), edited);
    EXPECT_FALSE(r.editor.keyPressed(juce::KeyPress('z'))) << "left to the host";
}
