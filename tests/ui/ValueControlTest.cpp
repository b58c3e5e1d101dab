#include "UiTestSupport.h"

#include "midi/Notification.h"
#include "model/ParDes.h"
#include "plugin/ZarnelAudioProcessor.h"
#include "support/SynthRig.h"
#include "ui/look/AsyncMenu.h"
#include "ui/widgets/StsCont.h"

#include <gtest/gtest.h>

#include <vector>

using namespace zarnel;
using test::mouseAt;

namespace
{

struct Request
{
    int index, value;
    bool operator==(const Request& o) const { return index == o.index && value == o.value; }
};

// A value control whose menu "picks" a preset answer instead of opening; the answer arrives the
// way the real menu's does, through valueMenuChosen.
class ScriptedMenuControl : public StsCont
{
public:
    using StsCont::StsCont;
    int menuAnswer = 0;
    int menusShown = 0;

protected:
    void openValueMenu(juce::PopupMenu) override
    {
        ++menusShown;
        valueMenuChosen(menuAnswer, getParameterIndex());
    }
};

class ValueControlTest : public ::testing::Test
{
protected:
    ValueControlTest() { requests(); }

    // The parameter changes the processor announced since the last call: what the controls asked for.
    std::vector<Request> requests()
    {
        std::vector<Request> out;
        std::uint32_t code;
        while (processor.getState().popNotification(code))
            if (Notification::typeOf(code) == Notification::parameterChanged)
                out.push_back({(int)((code >> 8) & 0xFFFF), (int)(code & 0xFF)});
        return out;
    }

    // The processor's echo, as the main component delivers it.
    void echo(StsCont& c, int value)
    {
        c.setDisplayedValue(value, ParDes::formatParameterValue(c.getDisplayKind(), value));
    }

    test::UiEnvironment ui;
    test::SynthRig rig;
    ZarnelAudioProcessor processor{rig.folder.get(), rig.backend};
    ScriptedMenuControl control{processor};
};

struct Recorder : StsContListener
{
    Recorder(std::vector<juce::String>& l, const char* n) : log(l), name(n) {}
    void stsContMessage(int message, int index, int section) override
    {
        log.push_back(name + " " + juce::String(message) + " " + juce::String(index) + " " + juce::String(section));
    }
    std::vector<juce::String>& log;
    juce::String name;
};

} // namespace

TEST(KnobFrame, FollowsTheRingLayout)
{
    struct Case
    {
        int minimum, maximum, value, frame;
    };
    const Case cases[] = {
        {0, 127, 0, 0}, {0, 127, 64, 28}, {0, 127, 127, 56}, {30, 250, 30, 0}, {30, 250, 250, 56},
        {0, 1, 1, 56},  {0, 5, 0, 0},     {0, 5, 3, 34},      {7, 7, 7, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(StsCont::knobFrameFor(c.value, c.minimum, c.maximum), c.frame)
            << c.minimum << ".." << c.maximum << " at " << c.value;
}

TEST_F(ValueControlTest, ConfigureAndLayoutPlaceTheControlAboveItsLayoutPoint)
{
    EXPECT_EQ(control.getShownValue(), -1);
    control.configure(20, "Frequency", 42, 205, 65, 64, 0, 164, StsCont::knob, 222);
    EXPECT_EQ(control.getBounds(), juce::Rectangle<int>(42, 189, 65, 64));
    EXPECT_EQ(control.getShownValue(), 0);
    EXPECT_EQ(control.getKnobFrame(), 0);

    control.setScale(1.5f);
    EXPECT_EQ(control.getBounds(), juce::Rectangle<int>(63, 283, 97, 96));
    control.setOrigin(10, 30);
    EXPECT_EQ(control.getBounds(), juce::Rectangle<int>(15, 21, 97, 96));
}

TEST_F(ValueControlTest, ShowsOnlyWhatComesBackAndClampsIt)
{
    control.configure(21, "Resonance", 107, 205, 65, 64, 0, 127, StsCont::knob, 222);

    control.requestValue(90);
    EXPECT_EQ(requests(), (std::vector<Request>{{21, 90}}));
    EXPECT_EQ(control.getRequestedValue(), 90);
    EXPECT_EQ(control.getShownValue(), 0) << "a request alone changes nothing on screen";
    EXPECT_EQ(processor.getState().getCurrentByte(21), 90);

    echo(control, 90);
    EXPECT_EQ(control.getShownValue(), 90);
    EXPECT_EQ(control.getValueText(), "90");
    control.requestValue(90);
    EXPECT_TRUE(requests().empty()) << "asking for the shown value sends nothing";

    control.setDisplayedValue(200, "127");
    EXPECT_EQ(control.getShownValue(), 127);
    EXPECT_EQ(control.getKnobFrame(), 56);
    control.setDisplayedValue(200, "changed");
    EXPECT_EQ(control.getValueText(), "127") << "the same value again keeps its text";

    control.requestValue(500);
    EXPECT_TRUE(requests().empty()) << "clamped to 127, which is shown";
    control.requestValue(-3);
    EXPECT_EQ(requests(), (std::vector<Request>{{21, 0}}));
}

TEST_F(ValueControlTest, CoveredControlsRepaintOnceWhenUncovered)
{
    control.configure(3, "Glide", 237, 42, 65, 64, 0, 127, StsCont::knob, 222);
    control.setRepaintEnabled(false);
    echo(control, 40);
    EXPECT_TRUE(control.isDirty());
    EXPECT_EQ(control.getShownValue(), 40);
    control.setRepaintEnabled(true);
    EXPECT_FALSE(control.isDirty());
}

TEST_F(ValueControlTest, KnobDragCountsPixelsFromThePress)
{
    struct Case
    {
        int maximum, start, dx, dy;
        int expected; // -1: nothing requested
    };
    const Case cases[] = {
        {5, 2, 14, 0, -1},      // short ranges need 15 pixels a step
        {5, 2, 15, 0, 3},       //
        {5, 2, 0, 30, 4},       // up raises
        {5, 2, -29, 0, 1},      // each division truncates towards zero
        {127, 60, 10, 10, 80},  // right 10 and up 10
        {127, 60, -7, 3, 56},   // left 7 and up 3
        {127, 120, 10, 10, 127}, // stops at the maximum
        {127, 5, -10, -10, 0},  // and at the minimum
        {127, 60, 0, 0, -1},
    };
    for (const auto& c : cases)
    {
        // Parameters whose own range is the control's: 14 is 0..5, 3 is 0..127.
        const int index = c.maximum == 5 ? 14 : 3;
        control.configure(index, "Knob", 0, 16, 65, 64, 0, c.maximum, StsCont::knob, 222);
        echo(control, c.start);
        requests();
        control.mouseDown(mouseAt(control, 30, 30));
        control.mouseDrag(mouseAt(control, 30 + c.dx, 30 - c.dy));
        const auto sent = requests();
        if (c.expected < 0)
            EXPECT_TRUE(sent.empty()) << c.maximum << " " << c.dx << "," << c.dy;
        else
            EXPECT_EQ(sent, (std::vector<Request>{{index, c.expected}})) << c.maximum << " " << c.dx << "," << c.dy;
        control.mouseUp(mouseAt(control, 30 + c.dx, 30 - c.dy));
        control.mouseDrag(mouseAt(control, 90, 0));
        EXPECT_TRUE(requests().empty()) << "no drag after the release";
    }
}

TEST_F(ValueControlTest, WheelStepsAnyTypeWithinItsRange)
{
    struct Case
    {
        int type, maximum, shown;
        float delta;
        int expected;
    };
    const Case cases[] = {
        {StsCont::knob, 127, 64, 1.0f, 65},        {StsCont::knob, 127, 64, -0.1f, 63},
        {StsCont::knob, 127, 64, 0.0f, -1},        {StsCont::knob, 127, 127, 1.0f, -1},
        {StsCont::switchRight, 1, 1, 1.0f, -1},    {StsCont::switchRight, 1, 1, -1.0f, 0},
        {StsCont::menuBox, 3, 0, 1.0f, 1},         {StsCont::menuBox, 3, 0, -1.0f, -1},
    };
    for (const auto& c : cases)
    {
        // Glide (0..127), Keyboard (0..1), Glide Mode (0..3).
        const int index = c.type == StsCont::knob ? 3 : c.type == StsCont::switchRight ? 4 : 13;
        control.configure(index, "Any", 0, 16, 100, 32, 0, c.maximum, c.type, 11);
        echo(control, c.shown);
        requests();
        control.mouseWheelMove(mouseAt(control, 5, 5), test::wheel(c.delta));
        const auto sent = requests();
        if (c.expected < 0)
            EXPECT_TRUE(sent.empty()) << c.type << " " << c.delta;
        else
            EXPECT_EQ(sent, (std::vector<Request>{{index, c.expected}})) << c.type << " " << c.delta;
    }
}

TEST_F(ValueControlTest, SwitchesToggleOnlyOnTheSwitch)
{
    struct Case
    {
        int type, width;
        float scale;
        int x, shown;
        int expected;
    };
    const Case cases[] = {
        {StsCont::switchRight, 105, 1.0f, 24, 0, 1}, {StsCont::switchRight, 105, 1.0f, 25, 0, -1},
        {StsCont::switchRight, 105, 1.0f, 3, 1, 0},  {StsCont::switchRight, 105, 1.5f, 37, 0, 1},
        {StsCont::switchBelow, 65, 1.0f, 22, 0, -1}, {StsCont::switchBelow, 65, 1.0f, 23, 0, 1},
        {StsCont::switchBelow, 65, 1.0f, 41, 1, 0},  {StsCont::switchBelow, 65, 1.0f, 42, 0, -1},
        {StsCont::switchBelow, 65, 1.5f, 34, 0, 1},  {StsCont::switchBelow, 65, 1.5f, 63, 0, -1},
    };
    for (const auto& c : cases)
    {
        control.configure(4, "Keyboard", 0, 16, c.width, 32, 0, 1, c.type, 333);
        control.setScale(c.scale);
        echo(control, c.shown);
        requests();
        control.mouseDown(mouseAt(control, c.x, 5));
        const auto sent = requests();
        if (c.expected < 0)
            EXPECT_TRUE(sent.empty()) << c.type << " at " << c.x;
        else
            EXPECT_EQ(sent, (std::vector<Request>{{4, c.expected}})) << c.type << " at " << c.x;
        control.mouseUp(mouseAt(control, c.x, 5));
    }
}

TEST_F(ValueControlTest, RightClickOnlyTellsTheListenersLastAddedFirst)
{
    std::vector<juce::String> log;
    Recorder first(log, "first"), second(log, "second");
    control.configure(20, "Frequency", 42, 205, 65, 64, 0, 164, StsCont::knob, 222);
    control.setSectionId(7);
    control.addListener(&first);
    control.addListener(&second);
    control.addListener(&first);
    echo(control, 50);

    control.mouseDown(mouseAt(control, 30, 30, test::rightButton()));
    control.mouseDrag(mouseAt(control, 80, 0, test::rightButton()));
    control.mouseUp(mouseAt(control, 80, 0, test::rightButton()));
    EXPECT_EQ(log, (std::vector<juce::String>{"second 100 20 7", "first 100 20 7"}));
    EXPECT_TRUE(requests().empty());
    EXPECT_EQ(control.getShownValue(), 50);
}

TEST_F(ValueControlTest, MenuListsTheOfferedValuesByValue)
{
    struct Case
    {
        int kind, maximum;
        std::vector<std::pair<int, juce::String>> first; // leading items
        int count;
        int lastId;
    };
    const Case cases[] = {
        {113, 2, {{1, "NORMAL"}, {2, "TOGGLE"}}, 2, 2},
        {65, 22, {{1, "OFF"}, {2, "Sequence Track 1"}}, 21, 21},
        {11, 3, {{1, "Fixed Rate"}, {2, "Fixed Rate Auto"}}, 4, 4},
        {4008, 48, {{1, "OFF"}}, 49, 49},
    };
    for (const auto& c : cases)
    {
        control.configure(13, "Menu", 0, 16, 100, 32, 0, c.maximum, StsCont::menuBox, c.kind);
        const auto menu = control.createValueMenu();
        std::vector<std::pair<int, juce::String>> items;
        for (juce::PopupMenu::MenuItemIterator it(menu); it.next();)
        {
            const auto& item = it.getItem();
            EXPECT_TRUE(item.isEnabled);
            EXPECT_FALSE(item.isTicked);
            items.emplace_back(item.itemID, item.text);
        }
        ASSERT_EQ((int)items.size(), c.count) << c.kind;
        EXPECT_EQ(items.back().first, c.lastId) << c.kind;
        for (size_t i = 0; i < c.first.size(); ++i)
            EXPECT_EQ(items[i], c.first[i]) << c.kind;
    }
}

TEST_F(ValueControlTest, MenuPickSendsTheValueAndClosesTheHostGesture)
{
    control.configure(71, "Mod Source", 620, 204, 115, 32, 0, 22, StsCont::menuBox, 65);
    echo(control, 3);
    requests();

    struct Case
    {
        int downY, upY, answer;
        int expected; // -1: nothing
        int menus;
    };
    const Case cases[] = {
        {5, 10, 20, 19, 1},  // item id 20 is value 19
        {5, 10, 4, 3, 1},    // the shown value again is still sent
        {5, 10, 0, -1, 1},   // dismissed
        {5, 18, 20, -1, 0},  // released below the box
        {18, 5, 20, -1, 0},  // pressed below the box
    };
    for (const auto& c : cases)
    {
        control.menuAnswer = c.answer;
        control.menusShown = 0;
        control.mouseDown(mouseAt(control, 50, c.downY));
        control.mouseUp(mouseAt(control, 50, c.upY));
        EXPECT_EQ(control.menusShown, c.menus) << c.downY << " " << c.upY;
        const auto sent = requests();
        if (c.expected < 0)
        {
            EXPECT_TRUE(sent.empty());
            continue;
        }
        EXPECT_EQ(sent, (std::vector<Request>{{71, c.expected}}));
        EXPECT_FALSE(processor.isGestureOpen(71)) << "a menu pick tells the host at once";
    }
    EXPECT_EQ(control.getShownValue(), 3);

    control.requestValue(7);
    EXPECT_TRUE(processor.isGestureOpen(71)) << "a drag or wheel step leaves the gesture to the timer";
}

TEST_F(ValueControlTest, AClampedValueShowsItsOwnText)
{
    struct Case
    {
        int index, minimum, maximum, kind, arriving;
        int shown;
    };
    const Case cases[] = {
        {43, 0, 4, 38, 5, 4},      // an LFO shape from the instrument beyond what the menu offers
        {71, 0, 20, 65, 22, 20},   // the mod source menus stop at 20
        {5, 0, 127, 222, 183, 127},
        {101, 30, 250, 444, 12, 30},
    };
    for (const auto& c : cases)
    {
        control.configure(c.index, "Any", 0, 16, 100, 32, c.minimum, c.maximum, StsCont::menuBox, c.kind);
        control.setDisplayedValue(c.arriving, ParDes::formatParameterValue(c.kind, c.arriving));
        EXPECT_EQ(control.getShownValue(), c.shown) << c.index;
        EXPECT_EQ(control.getValueText(), ParDes::formatParameterValue(c.kind, c.shown)) << c.index;
    }
}

TEST_F(ValueControlTest, NoValueLetsTheSameValueInAgain)
{
    control.configure(3, "Glide", 237, 42, 65, 64, 0, 127, StsCont::knob, 222);
    control.showValue(40);
    control.setRepaintEnabled(false);
    control.showValue(40);
    EXPECT_FALSE(control.isDirty()) << "the same value again is nothing new";
    control.clearShownValue();
    EXPECT_EQ(control.getShownValue(), StsCont::noValue);
    control.showValue(40);
    EXPECT_TRUE(control.isDirty()) << "after no value it is drawn again";
    EXPECT_EQ(control.getValueText(), "40");
}

TEST_F(ValueControlTest, AControlDeletedByARightClickListenerStopsTheWalk)
{
    test::Doomed<StsCont> doomed;
    auto& doomedControl = doomed.make(processor);
    doomedControl.configure(21, "Resonance", 107, 205, 65, 64, 0, 127, StsCont::knob, 222);
    doomedControl.setSectionId(0);
    std::vector<juce::String> log;
    Recorder later(log, "later");
    struct Closer : StsContListener
    {
        test::Doomed<StsCont>& d;
        std::vector<juce::String>& log;
        Closer(test::Doomed<StsCont>& x, std::vector<juce::String>& l) : d(x), log(l) {}
        void stsContMessage(int message, int index, int section) override
        {
            log.push_back("closer " + juce::String(message) + " " + juce::String(index) + " " + juce::String(section));
            d.destroy();
        }
    } closer(doomed, log);
    doomedControl.addListener(&later);
    doomedControl.addListener(&closer);

    doomedControl.mouseDown(mouseAt(doomedControl, 5, 5, test::rightButton()));
    EXPECT_EQ(log, (std::vector<juce::String>{"closer 100 21 0"}));
}

TEST_F(ValueControlTest, AMenuAnswerCountsOnlyForTheParameterItWasOpenedFor)
{
    control.configure(71, "Mod Source", 620, 204, 115, 32, 0, 20, StsCont::menuBox, 65);
    requests();
    struct Case
    {
        int itemId, openedFor;
        int expected; // -1: nothing
    };
    const Case cases[] = {{6, 71, 5}, {0, 71, -1}, {22, 71, -1} /* beyond the menu */, {6, 13, -1} /* another parameter */};
    for (const auto& c : cases)
    {
        control.valueMenuChosen(c.itemId, c.openedFor);
        const auto sent = requests();
        if (c.expected < 0)
            EXPECT_TRUE(sent.empty()) << c.itemId << " " << c.openedFor;
        else
            EXPECT_EQ(sent, (std::vector<Request>{{71, c.expected}}));
    }

    // The continuation a real menu gets does nothing once its control is gone.
    int calls = 0;
    std::function<void(int)> continuation;
    {
        StsCont gone(processor);
        continuation = AsyncMenu::guarded(gone, [&calls](StsCont&, int) { ++calls; });
        continuation(3);
    }
    continuation(3);
    EXPECT_EQ(calls, 1);
}
