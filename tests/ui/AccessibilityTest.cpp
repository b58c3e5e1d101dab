#include "PanelTestSupport.h"

#include "model/ParDes.h"
#include "ui/editor/ControlTable.h"
#include "ui/widgets/Check_But.h"
#include "ui/widgets/StsBut.h"
#include "ui/widgets/StBut.h"
#include "ui/widgets/SwitchLED.h"

#include <gtest/gtest.h>

#include <map>

using namespace zarnel;

namespace
{

// The showing components below parent of one kind, in tree order. Headless, JUCE hands out no
// handlers (there is no window), so the test asks each control for the handler JUCE would give
// a screen reader.
template <typename Kind>
void collect(juce::Component& parent, std::vector<Kind*>& out)
{
    for (auto* c : parent.getChildren())
    {
        if (!c->isVisible())
            continue;
        if (auto* k = dynamic_cast<Kind*>(c))
            out.push_back(k);
        collect(*c, out);
    }
}

} // namespace

TEST(AccessibilityTest, EveryProgramParameterIsFoundByItsHostNameWithItsValueText)
{
    test::EditorRig r;
    r.settle();
    std::vector<StsCont*> controls;
    collect(r.editor, controls);
    std::map<int, StsCont*> byParameter;
    for (auto* control : controls)
        byParameter[control->getParameterIndex()] = control;

    const auto order = r.editor.createKeyboardFocusTraverser()->getAllComponents(&r.editor);
    for (const auto& row : ControlTable::rows())
    {
        if (row.section == ControlTable::noSection)
            continue;
        const auto found = byParameter.find(row.index);
        ASSERT_NE(found, byParameter.end()) << row.index;
        const auto handler = found->second->createAccessibilityHandler();
        const auto hostName = ParDes::hostParameterName(row.index);
        EXPECT_EQ(handler->getTitle(), hostName.isNotEmpty() ? hostName : juce::String(row.caption)) << row.index;
        ASSERT_NE(handler->getValueInterface(), nullptr) << row.index;
        const int value = juce::jlimit(row.minimum, row.maximum, r.processor.getState().getCurrentByte(row.index));
        EXPECT_EQ(handler->getValueInterface()->getCurrentValueAsString(),
                  ParDes::formatParameterValue(row.displayKind, value))
            << row.index;
        EXPECT_NE(std::find(order.begin(), order.end(), found->second), order.end()) << row.index << " is reached with Tab";
    }

    // The application bar's commands are named by their captions, which are painted over them.
    std::vector<StsBut*> buttons;
    collect(r.editor, buttons);
    std::vector<juce::String> titles;
    for (auto* b : buttons)
        if (auto* inner = b->getInnerButton())
            titles.push_back(inner->getTitle());
    for (const char* caption : {"MIDI", "BANK", "WRITE", "UNDO", "REDO", "COMPARE"})
        EXPECT_NE(std::find(titles.begin(), titles.end(), caption), titles.end()) << caption;
}

TEST(AccessibilityTest, ArrowKeysStepAFocusedKnobAndShiftTakesBiggerSteps)
{
    test::EditorRig r;
    auto* knob = r.panel().getControl(20); // cutoff, 0..164
    ASSERT_EQ(knob->getType(), StsCont::knob);
    EXPECT_TRUE(knob->getWantsKeyboardFocus());
    EXPECT_FALSE(knob->getMouseClickGrabsKeyboardFocus()) << "a click leaves the note keys playing";
    r.processor.setParameterFromEditor(20, 80, true, false);
    r.settle();

    struct Case
    {
        int key;
        juce::ModifierKeys mods;
        int expected;
    };
    const Case cases[] = {
        {juce::KeyPress::upKey, {}, 81},
        {juce::KeyPress::rightKey, {}, 82},
        {juce::KeyPress::downKey, {}, 81},
        {juce::KeyPress::upKey, juce::ModifierKeys::shiftModifier, 97},
        {juce::KeyPress::leftKey, juce::ModifierKeys::shiftModifier, 81},
    };
    for (const auto& c : cases)
    {
        EXPECT_TRUE(knob->keyPressed(juce::KeyPress(c.key, c.mods, 0)));
        r.settle();
        EXPECT_EQ(r.processor.getState().getCurrentByte(20), c.expected);
        EXPECT_EQ(knob->getShownValue(), c.expected);
        EXPECT_EQ(knob->createAccessibilityHandler()->getValueInterface()->getCurrentValue(), (double)c.expected);
    }
    EXPECT_FALSE(knob->keyPressed(juce::KeyPress('a'))) << "other keys are left to the note player";

    // A screen reader sets the value directly.
    knob->createAccessibilityHandler()->getValueInterface()->setValue(100.0);
    r.settle();
    EXPECT_EQ(r.processor.getState().getCurrentByte(20), 100);
}

TEST(AccessibilityTest, SelfDrawnButtonsPressFromKeysAndScreenReaders)
{
    test::UiEnvironment ui;
    Check_But box;
    box.configure("Sync", 0, 60, 12.0f);
    SwitchLED led("Clock", 12.0f);
    StBut category("Bass", 3);
    test::ChangeCounter boxChanges(box), ledChanges(led), categoryChanges(category);

    EXPECT_TRUE(box.keyPressed(juce::KeyPress(juce::KeyPress::spaceKey)));
    EXPECT_TRUE(box.isTicked());
    EXPECT_TRUE(box.createAccessibilityHandler()->getCurrentState().isChecked());
    EXPECT_EQ(box.createAccessibilityHandler()->getTitle(), "Sync");
    ASSERT_TRUE(led.createAccessibilityHandler()->getActions().invoke(juce::AccessibilityActionType::press));
    EXPECT_TRUE(led.isOn());
    EXPECT_TRUE(category.keyPressed(juce::KeyPress(juce::KeyPress::returnKey)));
    EXPECT_FALSE(category.keyPressed(juce::KeyPress('x')));
    EXPECT_EQ(boxChanges.count(), 1);
    EXPECT_EQ(ledChanges.count(), 1);
    EXPECT_EQ(categoryChanges.count(), 1);
}
