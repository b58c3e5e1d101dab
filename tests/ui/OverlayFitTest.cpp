#include "PanelTestSupport.h"

#include "ui/main/AppBar.h"
#include "ui/main/HistoryBar.h"
#include "ui/main/MIDI_Setup.h"
#include "ui/main/MIDI_scan.h"
#include "ui/widgets/TipText.h"

#include <gtest/gtest.h>

using namespace zarnel;
using namespace zarnel::test;

namespace
{

const std::pair<int, int> windowSizes[] = {{452, 150}, {1012, 595}, {1191, 700}, {1429, 1046}};

// The area a component covers in the editor, through every scaling on the way.
juce::Rectangle<float> areaIn(juce::Component& editor, juce::Component& c)
{
    return editor.getLocalArea(&c, c.getLocalBounds().toFloat());
}

// Every showing child below parent lies inside area (editor pixels) with a size. A command
// button is one piece: its inner button is cut to it on purpose.
void expectInside(juce::Component& editor, juce::Component& parent, juce::Rectangle<float> area, const juce::String& where)
{
    for (auto* c : parent.getChildren())
    {
        if (!c->isVisible())
            continue;
        const auto covered = areaIn(editor, *c);
        const auto name = where + " > " + c->getTitle() + " " + typeid(*c).name();
        EXPECT_FALSE(c->getLocalBounds().isEmpty()) << name.toStdString();
        EXPECT_GT(covered.getWidth(), 0.5f) << name.toStdString();
        EXPECT_TRUE(area.expanded(0.5f).contains(covered))
            << name.toStdString() << " at " << covered.toString().toStdString() << " outside "
            << area.toString().toStdString();
        if (dynamic_cast<StsBut*>(c) == nullptr)
            expectInside(editor, *c, area, name);
    }
}

class OverlayFitTest : public ::testing::Test
{
protected:
    OverlayFitTest() { EXPECT_TRUE(runUntil([&] { return state.haveGlobalsArrived(); }, 3000)); }

    MIDI_Setup& openSetup()
    {
        if (main.getMidiSetup() == nullptr)
            main.stsbutPressed(AppBar::midiCode);
        EXPECT_NE(main.getMidiSetup(), nullptr);
        return *main.getMidiSetup();
    }

    EditorRig rig;
    MainComp& main = rig.main;
    MidiCntrState& state = rig.processor.getState();
};

} // namespace

TEST_F(OverlayFitTest, TheMidiPanelsTheGlobalPageAndTheBarFitEveryWindowSize)
{
    // The instrument answers but is set up wrongly: the search ends with its warning lines.
    rig.rig.synth.setGlobal(SimulatedSynth::globalParamSend, 1);
    rig.rig.synth.setGlobal(SimulatedSynth::globalParamReceive, 2);
    main.toggleScan(true);
    ASSERT_TRUE(rig.settleUntil([&] { return !state.getPortSearch().isRunning(); }));
    rig.settle();
    auto* search = main.getScanPanel();
    ASSERT_NE(search, nullptr);
    search->refresh();
    ASSERT_TRUE(search->getText().contains("WARNING!")) << search->getText();

    auto& bar = main.getAppBar();
    for (const auto& [w, h] : windowSizes)
    {
        rig.editor.setSize(w, h);
        const juce::Rectangle<float> window(0.0f, 0.0f, (float)w, (float)h);
        const auto size = juce::String(w) + "x" + juce::String(h);

        expectInside(rig.editor, *search, window, size + " search");
        EXPECT_EQ(areaIn(rig.editor, *search), window);

        auto& setup = openSetup();
        expectInside(rig.editor, setup, window, size + " setup");
        setup.toggleGlobalPage();
        ASSERT_NE(setup.getGlobalPage(), nullptr);
        expectInside(rig.editor, setup, window, size + " setup with globals");
        EXPECT_TRUE(window.contains(areaIn(rig.editor, *setup.getGlobalPage()))) << size;
        setup.toggleGlobalPage();
        // Below the bar, and covering the window to its right and bottom edges.
        const auto covered = areaIn(rig.editor, setup);
        EXPECT_FLOAT_EQ(covered.getY(), 23.0f) << size;
        EXPECT_GE(covered.getRight(), (float)w - 0.01f) << size;
        EXPECT_GE(covered.getBottom(), (float)h - 0.01f) << size;
        main.stsbutPressed(AppBar::midiCode);

        // Every command of the bar, undo, redo and compare among them, on the bar with its caption whole.
        const auto barArea = areaIn(rig.editor, bar);
        EXPECT_EQ(barArea, juce::Rectangle<float>(0.0f, 0.0f, (float)w, 23.0f));
        expectInside(rig.editor, bar, barArea, size + " bar");
        auto& history = main.getHistoryBar();
        std::vector<StsBut*> buttons{&history.getUndoButton(), &history.getRedoButton(), &history.getCompareButton()};
        for (int i = 0; i < AppBar::numButtons; ++i)
            buttons.push_back(&bar.getButton(i));
        for (auto* b : buttons)
        {
            const auto at = areaIn(rig.editor, *b);
            EXPECT_TRUE(barArea.contains(at)) << size << " " << b->getCaption();
            EXPECT_LE(ZarnelLookAndFeel::arial(b->getFontHeight()).getStringWidthFloat(b->getCaption()), at.getWidth() - 2.0f)
                << size << " " << b->getCaption();
            for (auto* other : buttons)
                EXPECT_TRUE(other == b || !at.intersects(areaIn(rig.editor, *other)))
                    << size << " " << b->getCaption() << " on " << other->getCaption();
        }
        auto& status = bar.getStatusLabel();
        EXPECT_LE(status.getFont().getStringWidthFloat(MainComp::onlineText), (float)status.getWidth()) << size;
        EXPECT_FALSE(status.getBounds().intersects(history.getBounds())) << size;
    }
    search->getButton().buttonClicked(search->getButton().getInnerButton());
    pumpMessages(20);
}

TEST_F(OverlayFitTest, EscapeAndReturnAnswerTheMidiSetup)
{
    const struct
    {
        int key;
        bool withGlobals;
        bool panelStays, globalsStay, taken;
    } cases[] = {
        {juce::KeyPress::escapeKey, false, false, false, true},
        {juce::KeyPress::returnKey, false, false, false, true},
        {juce::KeyPress::escapeKey, true, true, false, true}, // the page first, then the panel
        {juce::KeyPress::returnKey, true, false, false, true},
        {'q', false, true, false, false},
        {juce::KeyPress::F5Key, true, true, true, false},
    };
    for (const auto& c : cases)
    {
        auto& setup = openSetup();
        EXPECT_TRUE(setup.getWantsKeyboardFocus());
        EXPECT_TRUE(setup.isKeyboardFocusContainer());
        if (c.withGlobals != setup.isGlobalPageShown())
            setup.toggleGlobalPage();
        EXPECT_EQ(setup.keyPressed(juce::KeyPress(c.key)), c.taken) << c.key;
        pumpMessages(20);
        auto* after = main.getMidiSetup();
        EXPECT_EQ(after != nullptr, c.panelStays) << c.key;
        EXPECT_EQ(main.isMidiSetupShown(), c.panelStays) << c.key;
        if (after != nullptr)
        {
            EXPECT_EQ(after->isGlobalPageShown(), c.globalsStay) << c.key;
            main.stsbutPressed(AppBar::midiCode);
            pumpMessages(20);
        }
    }
}

TEST_F(OverlayFitTest, EscapeCancelsTheRunningSearchAndReturnClosesItsReport)
{
    auto& search = state.getPortSearch();
    search.setClock([] { return 0.0; }); // stays on its first pair until told otherwise
    const struct
    {
        int key;
        bool finishFirst;
    } cases[] = {{juce::KeyPress::escapeKey, false}, {juce::KeyPress::returnKey, false},
                 {juce::KeyPress::returnKey, true}, {juce::KeyPress::escapeKey, true}};
    for (const auto& c : cases)
    {
        main.toggleScan(true);
        auto* panel = main.getScanPanel();
        ASSERT_NE(panel, nullptr);
        EXPECT_TRUE(panel->getWantsKeyboardFocus());
        if (c.finishFirst)
        {
            search.cancel();
            panel->refresh();
            EXPECT_EQ(panel->getButton().getCaption(), "OK");
        }
        else
            ASSERT_TRUE(search.isRunning());
        EXPECT_FALSE(panel->keyPressed(juce::KeyPress('x')));
        EXPECT_TRUE(panel->keyPressed(juce::KeyPress(c.key)));
        pumpMessages(20);
        EXPECT_EQ(main.getScanPanel(), nullptr) << c.key;
        EXPECT_FALSE(search.isRunning()) << c.key;
    }
}

TEST_F(OverlayFitTest, PortBoxesAreNamedReachedAndChangedFromTheKeyboard)
{
    auto& setup = openSetup();
    auto& backend = rig.rig.backend;
    const struct
    {
        MIDI_Setup::PortBox box;
        const char* title;
    } boxes[] = {{MIDI_Setup::inputBox, "MIDI In port"}, {MIDI_Setup::outputBox, "MIDI Out port"}};
    for (const auto& b : boxes)
    {
        auto& field = setup.getPortField(b.box);
        const bool input = b.box == MIDI_Setup::inputBox;
        const auto open = [&] {
            return input ? backend.isInputOpen(SynthRig::deviceName) : backend.isOutputOpen(SynthRig::deviceName);
        };
        const auto position = [&] { return input ? setup.getInputPosition() : setup.getOutputPosition(); };
        EXPECT_TRUE(field.getWantsKeyboardFocus());
        const auto order = setup.createKeyboardFocusTraverser()->getAllComponents(&setup);
        EXPECT_NE(std::find(order.begin(), order.end(), &field), order.end()) << b.title << " is reached with Tab";
        auto handler = field.createAccessibilityHandler();
        EXPECT_EQ(handler->getTitle(), b.title);
        EXPECT_EQ(handler->getRole(), juce::AccessibilityRole::comboBox);
        EXPECT_TRUE(handler->getValueInterface()->getCurrentValueAsString().startsWith(SynthRig::deviceName));
        EXPECT_TRUE(TipText::of(field).endsWith("."));

        const struct
        {
            juce::KeyPress key;
            int position;
            bool open;
        } steps[] = {{juce::KeyPress(juce::KeyPress::upKey), 0, false},
                     {juce::KeyPress(juce::KeyPress::upKey), 0, false}, // at the top already
                     {juce::KeyPress(juce::KeyPress::downKey), 1, true},
                     {juce::KeyPress(juce::KeyPress::homeKey), 0, false},
                     {juce::KeyPress(juce::KeyPress::endKey), 1, true}};
        for (const auto& s : steps)
        {
            EXPECT_TRUE(field.keyPressed(s.key));
            EXPECT_EQ(position(), s.position) << b.title;
            EXPECT_EQ(open(), s.open) << b.title;
            EXPECT_EQ(field.getShownName(), s.position == 0 ? juce::String("NONE") : juce::String(SynthRig::deviceName));
        }
        // Return is the panel's OK, not the box's.
        EXPECT_FALSE(field.keyPressed(juce::KeyPress(juce::KeyPress::returnKey)));
    }
}

TEST_F(OverlayFitTest, TheBarAndTheMidiPanelsSayWhatEachCommandDoes)
{
    auto& setup = openSetup();
    auto& bar = main.getAppBar();
    auto& history = main.getHistoryBar();
    std::vector<juce::Component*> controls{&bar.getMenuButton(),    &history.getUndoButton(),  &history.getRedoButton(),
                                           &history.getCompareButton(), &setup.getOkButton(), &setup.getGlobalsButton(),
                                           &setup.getSearchButton(), &setup.getPortField(MIDI_Setup::inputBox),
                                           &setup.getPortField(MIDI_Setup::outputBox), &bar.getChannelLabel(),
                                           &bar.getStatusLabel(), &setup.getClockBox(), &setup.getHostToOutBox(),
                                           &setup.getInToHostBox(), &setup.getSync().getSlider()};
    for (int i = 0; i < AppBar::numButtons; ++i)
        controls.push_back(&bar.getButton(i));
    setup.toggleGlobalPage();
    for (int i = 0; i < 19; ++i)
        controls.push_back(setup.getGlobalPage()->getControl(i));
    for (auto* c : controls)
    {
        const auto tip = TipText::of(*c);
        EXPECT_TRUE(tip.contains(": ") && tip.endsWith(".")) << c->getTitle() << ": " << tip;
    }
    main.toggleScan(true);
    ASSERT_NE(main.getScanPanel(), nullptr);
    EXPECT_TRUE(TipText::of(main.getScanPanel()->getButton()).startsWith("CANCEL: "));
    main.toggleScan(false);
    pumpMessages(20);
}

// In a real window: the keys go into the panel when it opens, Tab stays there, a port box
// reached with Tab steps its port, and Escape closes the panel.
TEST_F(OverlayFitTest, InAWindowTheMidiSetupKeepsTheKeysUntilEscape)
{
    if (juce::Desktop::getInstance().getDisplays().displays.isEmpty())
        GTEST_SKIP() << "needs a display (run under xvfb-run)";
    rig.editor.addToDesktop(juce::ComponentPeer::windowHasTitleBar);
    rig.editor.setVisible(true);
    rig.editor.toFront(true);
    auto* peer = rig.editor.getPeer();
    ASSERT_NE(peer, nullptr);
    auto* knob = rig.panel().getControl(20);
    knob->grabKeyboardFocus();
    if (!runUntil([&] { return knob->hasKeyboardFocus(false); }, 2000))
        GTEST_SKIP() << "the window never got the keys";

    auto& setup = openSetup();
    ASSERT_TRUE(runUntil([&] { return setup.hasKeyboardFocus(true); }, 1000)) << "the keys are in the panel";
    auto& output = setup.getPortField(MIDI_Setup::outputBox);
    for (int i = 0; i < 40 && !output.hasKeyboardFocus(false); ++i)
    {
        peer->handleKeyPress(juce::KeyPress(juce::KeyPress::tabKey));
        ASSERT_TRUE(setup.hasKeyboardFocus(true)) << "Tab left the panel for "
                                                  << juce::Component::getCurrentlyFocusedComponent()->getTitle();
    }
    ASSERT_TRUE(output.hasKeyboardFocus(false)) << "Tab reaches the output port";
    peer->handleKeyPress(juce::KeyPress(juce::KeyPress::upKey));
    EXPECT_EQ(setup.getOutputPosition(), 0);
    EXPECT_FALSE(rig.rig.backend.isOutputOpen(SynthRig::deviceName));
    peer->handleKeyPress(juce::KeyPress(juce::KeyPress::downKey));
    EXPECT_EQ(setup.getOutputPosition(), 1);
    EXPECT_TRUE(rig.rig.backend.isOutputOpen(SynthRig::deviceName));
    peer->handleKeyPress(juce::KeyPress(juce::KeyPress::escapeKey));
    EXPECT_EQ(main.getMidiSetup(), nullptr);
    EXPECT_TRUE(runUntil([&] { return knob->hasKeyboardFocus(false); }, 1000)) << "back where the user was";
    rig.editor.removeFromDesktop();
}
