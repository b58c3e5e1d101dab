#include "MenuTestSupport.h"
#include "PanelTestSupport.h"

#include "model/ParDes.h"
#include "ui/editor/ControlTable.h"
#include "ui/keyboard/KeyBrd.h"
#include "ui/library/LibClass.h"
#include "ui/sequencer/SeqPanel.h"
#include "ui/widgets/RateSlider.h"
#include "ui/main/AppSetBarBut.h"
#include "ui/widgets/Check_But.h"
#include "ui/widgets/LCD_Comp.h"
#include "ui/widgets/StsLabel.h"
#include "ui/widgets/StsBut.h"
#include "ui/widgets/StBut.h"
#include "ui/widgets/SwitchLED.h"

#include <gtest/gtest.h>

#include <limits>
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

TEST(AccessibilityTest, StepsWheelsAndTheRateAreNamedWithTheirValuesAndStepWithArrowKeys)
{
    test::EditorRig r;
    auto& track = r.main.getSequencerPanel().getTrack(1);
    auto& pitch = r.main.getKeyboard().getPitchWheel();
    auto& mod = r.main.getKeyboard().getModWheel();
    RateSlider rate;
    rate.showMilliseconds(500);
    const int first = SeqSteps::parameterIndex(1, 0), second = SeqSteps::parameterIndex(1, 1);
    r.processor.setParameterFromEditor(first, 40, true, false);
    r.processor.setParameterFromEditor(second, 60, true, false);
    r.settle();
    const auto byte = [&](int index) { return (double)r.processor.getState().getCurrentByte(index); };

    struct Named
    {
        juce::Component& widget;
        std::function<std::unique_ptr<juce::AccessibilityHandler>()> handler;
        juce::String title, text;
    };
    const Named named[] = {
        {track, [&] { return track.createAccessibilityHandler(); }, "Sequencer track 2 step 1", track.getLabel(0)},
        {pitch, [&] { return pitch.createAccessibilityHandler(); }, "Pitch wheel", "0"},
        {mod, [&] { return mod.createAccessibilityHandler(); }, "Modulation wheel", "0"},
        {rate, [&] { return rate.createAccessibilityHandler(); }, "Rate", "500 ms"},
    };
    for (const auto& n : named)
    {
        SCOPED_TRACE(n.title);
        const auto handler = n.handler();
        EXPECT_EQ(handler->getTitle(), n.title);
        ASSERT_NE(handler->getValueInterface(), nullptr);
        EXPECT_EQ(handler->getValueInterface()->getCurrentValueAsString(), n.text);
        EXPECT_TRUE(n.widget.getWantsKeyboardFocus());
        EXPECT_FALSE(n.widget.getMouseClickGrabsKeyboardFocus()) << "a click leaves the note keys playing";
        EXPECT_FALSE(n.widget.keyPressed(juce::KeyPress('a'))) << "other keys are left to the note player";
    }

    const auto shift = juce::ModifierKeys::shiftModifier;
    struct Case
    {
        const char* what;
        juce::Component& widget;
        int key;
        juce::ModifierKeys mods;
        std::function<double()> read;
        double expected;
    };
    const Case cases[] = {
        {"step up", track, juce::KeyPress::upKey, {}, [&] { return byte(first); }, 41},
        {"step up by ten", track, juce::KeyPress::upKey, shift, [&] { return byte(first); }, 51},
        {"the next step", track, juce::KeyPress::rightKey, {}, [&] { return (double)track.getKeyStep(); }, 1},
        {"its value down", track, juce::KeyPress::downKey, {}, [&] { return byte(second); }, 59},
        {"back a step", track, juce::KeyPress::leftKey, {}, [&] { return (double)track.getKeyStep(); }, 0},
        {"none before the first", track, juce::KeyPress::leftKey, {}, [&] { return (double)track.getKeyStep(); }, 0},
        {"wheel up", mod, juce::KeyPress::upKey, {}, [&] { return (double)mod.getValue(); }, 1},
        {"wheel up by a tenth", mod, juce::KeyPress::rightKey, shift, [&] { return (double)mod.getValue(); }, 14},
        {"wheel down", mod, juce::KeyPress::downKey, {}, [&] { return (double)mod.getValue(); }, 13},
        {"pitch wheel down", pitch, juce::KeyPress::downKey, shift, [&] { return (double)pitch.getValue(); }, 51},
        {"rate up", rate, juce::KeyPress::upKey, {}, [&] { return (double)rate.getMilliseconds(); }, 501},
        {"rate down by a tenth", rate, juce::KeyPress::leftKey, shift, [&] { return (double)rate.getMilliseconds(); }, 401},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.what);
        EXPECT_TRUE(c.widget.keyPressed(juce::KeyPress(c.key, c.mods, 0)));
        r.settle();
        EXPECT_EQ(c.read(), c.expected);
    }
    EXPECT_EQ(track.createAccessibilityHandler()->getValueInterface()->getCurrentValue(), 51.0);

    // A screen reader sets a step directly.
    track.createAccessibilityHandler()->getValueInterface()->setValue(70.0);
    r.settle();
    EXPECT_EQ(byte(first), 70);
}

TEST(AccessibilityTest, TheLibraryPagesButtonsCategoriesAndFieldsAreNamedAndReachedWithTab)
{
    test::CommandRig rig;
    LibClass page(rig.processor, rig.host, rig.rig.folder.file("x4Lib.m_l"));
    page.setSize(1000, 528);
    page.loadFixedLibrary();
    const auto order = page.createKeyboardFocusTraverser()->getAllComponents(&page);
    const auto reached = [&](juce::Component* c) { return std::find(order.begin(), order.end(), c) != order.end(); };

    std::vector<LibBut*> buttons;
    collect(page, buttons);
    ASSERT_FALSE(buttons.empty());
    for (auto* b : buttons)
    {
        EXPECT_EQ(b->createAccessibilityHandler()->getTitle(), b->getText());
        EXPECT_TRUE(b->getText().isNotEmpty());
        EXPECT_TRUE(reached(b)) << b->getText();
    }
    std::vector<StBut*> categories;
    collect(page.getCategories(), categories);
    ASSERT_FALSE(categories.empty());
    for (auto* c : categories)
    {
        EXPECT_TRUE(c->createAccessibilityHandler()->getTitle().isNotEmpty());
        EXPECT_TRUE(reached(c));
    }
    EXPECT_TRUE(page.getSearchField().getTitle().isNotEmpty());
    EXPECT_TRUE(reached(&page.getSearchField()));

    // Return, Space and a screen reader's press do what a click does.
    struct Clicks : LibButListener
    {
        int count = 0;
        void libButClicked(LibBut*, int) override { ++count; }
    } clicks;
    LibBut button("OK", 1);
    button.addListener(&clicks);
    EXPECT_TRUE(button.keyPressed(juce::KeyPress(juce::KeyPress::returnKey)));
    EXPECT_TRUE(button.keyPressed(juce::KeyPress(juce::KeyPress::spaceKey)));
    EXPECT_FALSE(button.keyPressed(juce::KeyPress('x')));
    EXPECT_TRUE(button.createAccessibilityHandler()->getActions().invoke(juce::AccessibilityActionType::press));
    EXPECT_EQ(clicks.count, 3);
    button.removeListener(&clicks);
}

TEST(AccessibilityTest, TheProgramDisplayMenuButtonAndPressableLabelsAnswerKeysAndScreenReaders)
{
    test::PanelRig r;
    struct Count : juce::ChangeListener
    {
        int count = 0;
        void changeListenerCallback(juce::ChangeBroadcaster*) override { ++count; }
    };
    const auto press = [](auto& c, juce::AccessibilityActionType action) {
        return c.createAccessibilityHandler()->getActions().invoke(action);
    };

    LCD_Comp display;
    Count shown;
    display.addChangeListener(&shown);
    display.showProgram(1, 4, 3, "Warm Pad        ", "Pad");
    const auto handler = display.createAccessibilityHandler();
    EXPECT_EQ(handler->getTitle(), "Program");
    EXPECT_EQ(handler->getValueInterface()->getCurrentValueAsString(), "U2:005 Warm Pad, Pad");
    const struct
    {
        std::function<bool()> act;
        int zone;
    } cases[] = {
        {[&] { return display.keyPressed(juce::KeyPress(juce::KeyPress::returnKey)); }, LCD_Comp::placeZone},
        {[&] { return display.keyPressed(juce::KeyPress(juce::KeyPress::F10Key, juce::ModifierKeys::shiftModifier, 0)); },
         LCD_Comp::categoryZone},
        {[&] { return press(display, juce::AccessibilityActionType::showMenu); }, LCD_Comp::categoryZone},
        {[&] {
             display.setKeyZone(LCD_Comp::nameZone); // the write dialog renames
             return press(display, juce::AccessibilityActionType::press);
         },
         LCD_Comp::nameZone},
    };
    for (const auto& c : cases)
    {
        shown.count = 0;
        EXPECT_TRUE(c.act());
        test::pumpMessages(5);
        EXPECT_EQ(shown.count, 1);
        EXPECT_EQ(display.getZone(), c.zone);
    }
    EXPECT_FALSE(display.keyPressed(juce::KeyPress('q')));

    // A label whose press opens something is a button; the others read out their text.
    StsLabel channel, status;
    Count pressed;
    channel.addChangeListener(&pressed);
    channel.setText("CH 1");
    channel.makePressable("MIDI channel");
    status.setText("Program received");
    EXPECT_EQ(channel.createAccessibilityHandler()->getTitle(), "MIDI channel");
    EXPECT_EQ(channel.createAccessibilityHandler()->getValueInterface()->getCurrentValueAsString(), "CH 1");
    EXPECT_EQ(status.createAccessibilityHandler()->getTitle(), "Program received");
    EXPECT_EQ(status.createAccessibilityHandler()->getRole(), juce::AccessibilityRole::staticText);
    EXPECT_FALSE(status.keyPressed(juce::KeyPress(juce::KeyPress::returnKey)));
    EXPECT_TRUE(channel.getWantsKeyboardFocus());
    EXPECT_FALSE(status.getWantsKeyboardFocus());
    EXPECT_TRUE(channel.keyPressed(juce::KeyPress(juce::KeyPress::spaceKey)));
    test::pumpMessages(5);
    EXPECT_TRUE(press(channel, juce::AccessibilityActionType::press));
    test::pumpMessages(5);
    EXPECT_EQ(pressed.count, 2);

    AppSetBarBut menu(r.processor.getState());
    Count opened;
    menu.addChangeListener(&opened);
    EXPECT_EQ(menu.createAccessibilityHandler()->getTitle(), "Menu");
    EXPECT_TRUE(menu.keyPressed(juce::KeyPress(juce::KeyPress::returnKey)));
    test::pumpMessages(5);
    EXPECT_EQ(opened.count, 1);
    EXPECT_EQ(menu.getCode(), AppSetBarBut::menuCode);

    display.removeChangeListener(&shown);
    channel.removeChangeListener(&pressed);
    menu.removeChangeListener(&opened);
}

TEST(AccessibilityTest, AScreenReaderValueThatIsNoNumberChangesNothingAndAHugeOneStopsAtTheEnd)
{
    test::EditorRig r;
    auto& state = r.processor.getState();
    auto& strip = r.main.getKeyboard();
    auto* knob = r.panel().getControl(20); // cutoff, 0..164
    r.processor.setParameterFromEditor(20, 80, true, false);
    state.keyboardVelocity = 100;
    r.settle();

    using Handler = std::unique_ptr<juce::AccessibilityHandler>;
    const struct
    {
        const char* name;
        std::function<Handler()> handler;
        std::function<double()> value;
    } cases[] = {
        {"knob", [&] { return knob->createAccessibilityHandler(); }, [&] { return (double)state.getCurrentByte(20); }},
        {"pitch wheel", [&] { return strip.getPitchWheel().createAccessibilityHandler(); },
         [&] { return (double)strip.getPitchWheel().getValue(); }},
        {"velocity", [&] { return strip.getVelocity().createAccessibilityHandler(); },
         [&] { return (double)state.keyboardVelocity.load(); }},
        {"octaves", [&] { return strip.getOctaveStrip().createAccessibilityHandler(); },
         [&] { return (double)strip.getOctaveStrip().getFirstNote(); }},
    };
    for (const auto& c : cases)
    {
        const double before = c.value();
        c.handler()->getValueInterface()->setValue(std::numeric_limits<double>::quiet_NaN());
        r.settle();
        EXPECT_EQ(c.value(), before) << c.name;
    }
    EXPECT_EQ(r.rig.synth.pitchWheel(), 8192) << "no bend sent";

    knob->createAccessibilityHandler()->getValueInterface()->setValue(3.0e9);
    r.settle();
    EXPECT_EQ(state.getCurrentByte(20), 164);
}
