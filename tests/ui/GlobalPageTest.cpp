#include "PanelTestSupport.h"

#include "model/GlobalSettings.h"
#include "ui/main/GlobalPageLayout.h"
#include "ui/main/Global_Container.h"

#include <gtest/gtest.h>

using namespace zarnel;
using namespace zarnel::test;

namespace
{

TEST(GlobalPageLayout, KnobFramesUseRealDivision)
{
    const struct
    {
        int value, maximum, frame;
    } cases[] = {{12, 24, 28}, {0, 24, 0}, {24, 24, 56}, {50, 100, 28}, {100, 100, 56}, {0, 100, 0},
                 {30, 24, 60} /* beyond the maximum: the last frame */, {-5, 24, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(GlobalPageLayout::knobFrame(c.value, c.maximum), c.frame) << c.value << "/" << c.maximum;
}

TEST(GlobalPageLayout, TheChannelMenuListsSeventeenItems)
{
    const auto items = GlobalPageLayout::menuItems(2);
    ASSERT_EQ(items.size(), 17u);
    EXPECT_EQ(items.front(), std::make_pair(1, juce::String("ALL CHANNELS")));
    EXPECT_EQ(items.back(), std::make_pair(17, juce::String("CHANNEL 16")));
}

// The page on the simulated synthesizer, with globals the test chose.
class GlobalPageTest : public ::testing::Test
{
protected:
    GlobalPageTest()
    {
        EXPECT_TRUE(runUntil([&] { return state.haveGlobalsArrived(); }, 3000));
        main.stsbutPressed(AppBar::midiCode);
        main.getMidiSetup()->toggleGlobalPage();
        page = main.getMidiSetup()->getGlobalPage();
        // Both link tests answered, then a dump of our own: a switch at 2, as real units may report.
        synth.waitUntilIdle(3000);
        pumpMessages(20);
        const int values[GlobalSettings::numSettings] = {12, 50, 0, 0, 0, 0, 1, 1, 0, 0, 2, 0, 0, 0, 4, 0, 0, 2, 1};
        Bytes dump{0xF0, 0x01, 0x29, 0x0F};
        for (int v : values)
        {
            dump.push_back((std::uint8_t)(v & 0x0F));
            dump.push_back((std::uint8_t)(v >> 4));
        }
        dump.push_back(0xF7);
        synth.sendRaw(dump);
        EXPECT_TRUE(runUntil([&] { return state.getGlobalValue(10) == 2; }, 3000));
        synth.clearLogs();
    }

    // The complete messages the synthesizer received from the page.
    std::vector<Bytes> receivedAfter(size_t expected)
    {
        if (expected > 0)
            synth.waitUntil([&] { return synth.received().size() >= expected; }, 3000);
        else
            pumpMessages(30);
        synth.waitUntilIdle(1000);
        std::vector<Bytes> out;
        for (const auto& e : synth.received())
            out.push_back(e.bytes);
        synth.clearLogs();
        return out;
    }

    EditorRig rig;
    MainComp& main = rig.main;
    MidiCntrState& state = rig.processor.getState();
    SimulatedSynth& synth = rig.rig.synth;
    Global_Container* page = nullptr;
};

std::vector<Bytes> nrpn(int number, int value)
{
    return {{0xB0, 0x63, (std::uint8_t)(number / 128)},
            {0xB0, 0x62, (std::uint8_t)(number % 128)},
            {0xB0, 0x06, (std::uint8_t)(value / 128)},
            {0xB0, 0x26, (std::uint8_t)(value % 128)}};
}

TEST_F(GlobalPageTest, EachGestureSendsExactlyItsNrpnAndAnEqualValueNothing)
{
    ASSERT_NE(page, nullptr);
    enum Gesture
    {
        click,
        drag,
        wheelUp,
        wheelDown,
        menu
    };
    const struct
    {
        int index;
        Gesture gesture;
        int dx, dy; // a drag's distance, or a menu's item in dx
        std::vector<Bytes> bytes;
        int valueAfter;
    } cases[] = {
        {0, drag, 0, -30, nrpn(384, 14), 14},  // COARSE: 15 pixels a step, up raises
        {1, drag, 7, 0, nrpn(385, 53), 53},    // FINE: 2 pixels a step, truncated
        {0, drag, 0, 0, {}, 14},               // no movement: nothing
        {0, drag, 0, -200, nrpn(384, 24), 24}, // stops at the maximum
        {0, drag, 0, -60, {}, 24},             // further up: nothing more
        {0, wheelUp, 0, 0, {}, 24},            // already at the maximum
        {7, click, 0, 0, nrpn(395, 0), 0},     // MIDI SYSEX ENABLE on -> off
        {15, click, 0, 0, nrpn(393, 1), 1},    // PRESSURE ENA is sent as 393
        {10, click, 0, 0, nrpn(389, 0), 0},    // LOCAL CONTROL reported as 2 -> 0
        {9, menu, 4, 0, nrpn(387, 3), 3},      // POLY CHAIN "OUT 5"
        {17, menu, 3, 0, {}, 2},               // VELOCITY CURVE: the value it has
        {14, wheelUp, 0, 0, nrpn(396, 5), 5},  // PEDAL 4 -> 5
        {14, wheelDown, 0, 0, nrpn(396, 4), 4},
        {18, wheelUp, 0, 0, {}, 1},            // ARP LATCH MODE at its maximum
    };
    for (const auto& c : cases)
    {
        auto& control = *page->getControl(c.index);
        switch (c.gesture)
        {
            case click:
                control.mouseDown(mouseAt(control, 10, 10));
                control.mouseUp(mouseAt(control, 10, 10));
                break;
            case drag:
                control.mouseDown(mouseAt(control, 30, 30));
                control.mouseDrag(mouseAt(control, 30 + c.dx, 30 + c.dy));
                control.mouseUp(mouseAt(control, 30 + c.dx, 30 + c.dy));
                break;
            case wheelUp:
            case wheelDown:
                control.mouseWheelMove(mouseAt(control, 10, 10), wheel(c.gesture == wheelUp ? 1.0f : -1.0f));
                break;
            case menu:
                control.menuChosen(c.dx);
                break;
        }
        EXPECT_EQ(receivedAfter(c.bytes.size()), c.bytes) << "global " << c.index << ", gesture " << c.gesture;
        EXPECT_EQ(state.getGlobalValue(c.index), c.valueAfter) << c.index;
    }
}

TEST_F(GlobalPageTest, TheOnLineNotificationRepaintsThePageWithTheNewValues)
{
    ASSERT_NE(page, nullptr);
    main.setVisible(true);
    auto& recorder = *new RepaintRecorder(main); // the component owns it
    main.setCachedComponentImage(&recorder);
    recorder.take();
    synth.setGlobal(2, 5);
    synth.sendGlobalDump();
    ASSERT_TRUE(runUntil([&] { return state.getGlobalValue(2) == 5; }, 3000));
    pumpMessages(30);
    const auto pageArea = page->getBounds() + main.getMidiSetup()->getPosition();
    EXPECT_TRUE(recorder.take().containsRectangle(pageArea));
}

} // namespace

TEST_F(GlobalPageTest, EverySettingIsNamedWithItsValueTextAndStepsWithArrowKeys)
{
    ASSERT_NE(page, nullptr);
    const auto order = page->createKeyboardFocusTraverser()->getAllComponents(page);
    for (int i = 0; i < GlobalSettings::numSettings; ++i)
    {
        auto& control = *page->getControl(i);
        const auto handler = control.createAccessibilityHandler();
        EXPECT_TRUE(handler->getTitle().isNotEmpty()) << i;
        EXPECT_TRUE(juce::String(GlobalSettings::setting(i).label).contains(handler->getTitle())) << i;
        ASSERT_NE(handler->getValueInterface(), nullptr);
        EXPECT_EQ(handler->getValueInterface()->getCurrentValueAsString(),
                  GlobalSettings::valueText(i, control.getShownValue()))
            << i;
        EXPECT_NE(std::find(order.begin(), order.end(), &control), order.end()) << i << " is reached with Tab";
    }
    // PEDAL 4: up one, then Shift+Down ten (stops at 0).
    auto& pedal = *page->getControl(14);
    EXPECT_TRUE(pedal.keyPressed(juce::KeyPress(juce::KeyPress::upKey)));
    EXPECT_EQ(receivedAfter(4), nrpn(396, 5));
    EXPECT_TRUE(pedal.keyPressed(juce::KeyPress(juce::KeyPress::downKey, juce::ModifierKeys::shiftModifier, 0)));
    EXPECT_EQ(receivedAfter(4), nrpn(396, 0));
    EXPECT_FALSE(pedal.keyPressed(juce::KeyPress('x')));
    // A screen reader sets the value directly.
    pedal.createAccessibilityHandler()->getValueInterface()->setValue(3.0);
    EXPECT_EQ(receivedAfter(4), nrpn(396, 3));
}

namespace
{
// Defaults are never shown as the instrument's: the page says so until a global dump arrives, and
// a later link test (which asks again) does not take back what arrived.
TEST(GlobalPageBeforeAnswer, DefaultsAreMarkedUntilAGlobalDumpArrives)
{
    UiEnvironment ui;
    SynthRig rig;
    rig.synth.setGlobal(SimulatedSynth::globalSysexEnable, 0); // it answers no request
    ZarnelAudioProcessor processor{rig.folder.get(), rig.backend};
    auto& state = processor.getState();
    Global_Container page(state);

    const auto marked = [&page](bool notReceived) {
        page.showWhetherReceived();
        EXPECT_EQ(page.isShowingNotReceived(), notReceived);
        EXPECT_EQ(page.getControl(0)->getAlpha() < 0.75f, notReceived);
        EXPECT_EQ(page.getDescription(), notReceived ? juce::String(Global_Container::notReceivedText) : juce::String());
    };
    marked(true);
    state.requestGlobalDump();
    marked(true);

    rig.synth.sendGlobalDump();
    ASSERT_TRUE(runUntil([&] { return state.getGlobalDumpCount() > 0; }, 3000));
    marked(false);
    state.requestGlobalDump();
    marked(false);
}
} // namespace
