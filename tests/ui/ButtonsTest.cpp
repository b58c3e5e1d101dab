#include "UiTestSupport.h"

#include "ui/main/WinMovCan.h"
#include "ui/widgets/Check_But.h"
#include "ui/widgets/StBut.h"
#include "ui/widgets/StsBut.h"
#include "ui/widgets/SwitchLED.h"

#include <gtest/gtest.h>

#include <vector>

using namespace zarnel;
using test::mouseAt;

namespace
{

struct Log
{
    std::vector<juce::String> lines;
};

struct ChangeRecorder : stsbutChangeListener
{
    ChangeRecorder(Log& l, const char* n) : log(l), name(n) {}
    void stsbutChanged(StsBut* b) override { log.lines.push_back(name + " " + b->getCaption()); }
    Log& log;
    juce::String name;
};

struct IdRecorder : stsbutListener
{
    IdRecorder(Log& l, const char* n) : log(l), name(n) {}
    void stsbutPressed(int id) override { log.lines.push_back(name + " " + juce::String(id)); }
    Log& log;
    juce::String name;
};

class ButtonsTest : public ::testing::Test
{
protected:
    // Two change listeners and two id listeners, each first one also added twice.
    void listenTo(StsBut& b)
    {
        b.addListener(&idA);
        b.addChangeListener(&changeA);
        b.addListener(&idB);
        b.addChangeListener(&changeB);
        b.addListener(&idA);
        b.addChangeListener(&changeA);
    }

    std::vector<juce::String> taken()
    {
        auto out = log.lines;
        log.lines.clear();
        return out;
    }

    test::UiEnvironment ui;
    Log log;
    ChangeRecorder changeA{log, "changeA"}, changeB{log, "changeB"};
    IdRecorder idA{log, "idA"}, idB{log, "idB"};
};

} // namespace

TEST_F(ButtonsTest, PlainButtonTellsChangeListenersThenIdListenersOnThePress)
{
    StsBut button("SEQUENCER", 98, StsBut::plain);
    button.configure(10, 20, 90, 24, true);
    EXPECT_EQ(button.getBounds(), juce::Rectangle<int>(10, 20, 90, 24));
    EXPECT_EQ(button.getFontHeight(), 13.0f);
    listenTo(button);

    button.mouseDown(mouseAt(button, 5, 5));
    EXPECT_TRUE(button.isPressed());
    EXPECT_EQ(taken(), (std::vector<juce::String>{"changeB SEQUENCER", "changeA SEQUENCER", "idB 98", "idA 98"}));

    button.mouseUp(mouseAt(button, 500, 500)); // released outside: already told
    EXPECT_FALSE(button.isPressed());
    EXPECT_TRUE(taken().empty());

    button.removeChangeListener(&changeB);
    button.removeListener(&idA);
    button.mouseDown(mouseAt(button, 5, 5));
    EXPECT_EQ(taken(), (std::vector<juce::String>{"changeA SEQUENCER", "idB 98"}));
}

TEST_F(ButtonsTest, InnerButtonStylesReportTheInnerClick)
{
    struct Case
    {
        int style;
        juce::Rectangle<int> inner;
        int connected;
        float fontHeight;
        bool ownPressReports;
    };
    const Case cases[] = {
        {StsBut::tab, {0, -3, 80, 26}, 0, 12.0f, false},
        {StsBut::tabNoLine, {0, -3, 80, 26}, 0, 12.0f, false},
        {StsBut::dialog, {0, -5, 80, 23}, juce::Button::ConnectedOnLeft | juce::Button::ConnectedOnRight, 13.0f, true},
    };
    for (const auto& c : cases)
    {
        StsBut button("OK", 1211, c.style);
        button.configure(0, 0, 80, 20, true);
        listenTo(button);
        auto* inner = button.getInnerButton();
        ASSERT_NE(inner, nullptr);
        EXPECT_EQ(inner->getBounds(), c.inner) << c.style;
        EXPECT_EQ(inner->getConnectedEdgeFlags(), c.connected) << c.style;
        EXPECT_TRUE(inner->getButtonText().isEmpty());
        EXPECT_EQ(button.getFontHeight(), c.fontHeight);

        inner->triggerClick();
        ASSERT_TRUE(test::runUntil([this] { return log.lines.size() == 4; }, 2000)) << c.style;
        EXPECT_EQ(taken(), (std::vector<juce::String>{"changeB OK", "changeA OK", "idB 1211", "idA 1211"}));

        // The strip under the inner button: style 140 answers a press there, the tabs do not.
        bool ownClicks = false, childClicks = false;
        button.getInterceptsMouseClicks(ownClicks, childClicks);
        EXPECT_EQ(ownClicks, c.ownPressReports) << c.style;
        if (c.ownPressReports)
        {
            button.mouseDown(mouseAt(button, 40, 19));
            EXPECT_EQ(taken().size(), 4u);
        }
    }
}

TEST_F(ButtonsTest, CheckBoxFlipsOnEveryPress)
{
    Check_But box;
    EXPECT_EQ(box.getBounds().getWidth(), 30);
    EXPECT_EQ(box.getBounds().getHeight(), 30);
    box.configure("Send clock", 40, 200, 13.0f);
    EXPECT_EQ(box.getBounds(), juce::Rectangle<int>(20, 40, 200, 15));

    test::ChangeCounter changes(box);
    box.mouseDown(mouseAt(box, 5, 5));
    EXPECT_TRUE(box.isTicked());
    EXPECT_TRUE(box.isPressed());
    EXPECT_EQ(changes.count(), 1);
    box.mouseUp(mouseAt(box, 400, 400)); // released outside: stays flipped
    EXPECT_TRUE(box.isTicked());
    EXPECT_FALSE(box.isPressed());

    box.mouseDown(mouseAt(box, 5, 5));
    box.mouseUp(mouseAt(box, 5, 5));
    EXPECT_FALSE(box.isTicked());
    EXPECT_EQ(changes.count(), 2);

    box.setTicked(true);
    EXPECT_TRUE(box.isTicked());
    EXPECT_EQ(changes.count(), 2) << "setting it in code is no click";
}

TEST_F(ButtonsTest, SwitchLightFlipsOnThePress)
{
    SwitchLED light("MIDI Thru", 13.0f);
    EXPECT_EQ(light.getBounds(), juce::Rectangle<int>(10, 10, 100, 30));
    test::ChangeCounter changes(light);

    light.mouseDown(mouseAt(light, 3, 3));
    EXPECT_TRUE(light.isOn());
    EXPECT_EQ(changes.count(), 1);
    light.mouseDown(mouseAt(light, 3, 3));
    EXPECT_FALSE(light.isOn());
    EXPECT_EQ(changes.count(), 2);

    light.setOn(true);
    EXPECT_TRUE(light.isOn());
    EXPECT_EQ(changes.count(), 2);
}

TEST_F(ButtonsTest, CategoryButtonReportsOnlyAClickReleasedInside)
{
    StBut button("Pads", 24);
    EXPECT_EQ(button.getWidth(), 100);
    EXPECT_EQ(button.getHeight(), 18);
    button.setOrigin(30, 40);
    EXPECT_EQ(button.getBounds(), juce::Rectangle<int>(30, 40, 100, 18));
    test::ChangeCounter changes(button);

    struct Case
    {
        int upX, upY;
        bool reported;
    };
    const Case cases[] = {{50, 9, true}, {100, 18, true}, {0, 0, true}, {101, 9, false}, {50, -1, false}};
    int expected = 0;
    for (const auto& c : cases)
    {
        button.mouseDown(mouseAt(button, 50, 9));
        button.mouseUp(mouseAt(button, c.upX, c.upY));
        expected += c.reported ? 1 : 0;
        EXPECT_EQ(changes.count(), expected) << c.upX << "," << c.upY;
    }
    button.mouseUp(mouseAt(button, 50, 9));
    EXPECT_EQ(changes.count(), expected) << "a release without a press";

    button.mouseEnter(mouseAt(button, 5, 5));
    EXPECT_TRUE(button.isHovered());
    button.mouseExit(mouseAt(button, 500, 5));
    EXPECT_FALSE(button.isHovered());
    button.setSelected(true);
    EXPECT_TRUE(button.isSelected());
    EXPECT_EQ(button.getId(), 24);
}

TEST_F(ButtonsTest, AChangeListenerMayDeleteTheButton)
{
    test::Doomed<StsBut> doomed;
    auto& button = doomed.make("OK", 1211, StsBut::plain);
    button.configure(0, 0, 60, 24, true);
    struct Closer : stsbutChangeListener
    {
        test::Doomed<StsBut>& d;
        explicit Closer(test::Doomed<StsBut>& x) : d(x) {}
        void stsbutChanged(StsBut*) override { d.destroy(); }
    } closer(doomed);
    button.addListener(&idA);
    button.addChangeListener(&changeA);
    button.addChangeListener(&closer); // told first

    button.mouseDown(mouseAt(button, 5, 5));
    EXPECT_EQ(doomed.object, nullptr);
    EXPECT_TRUE(taken().empty()) << "nobody is told anything once the button is gone";
}

TEST(WindowHandle, AListenerMayDeleteTheHandle)
{
    test::UiEnvironment ui;
    test::Doomed<WinMovCan> doomed;
    auto& handle = doomed.make();
    struct Listener : winToolListener
    {
        test::Doomed<WinMovCan>* doom = nullptr;
        std::vector<int> codes;
        void winToolChanged(WinMovCan*, int code) override
        {
            codes.push_back(code);
            if (doom != nullptr)
                doom->destroy();
        }
    } later, first;
    first.doom = &doomed;
    handle.addListener(&later);
    handle.addListener(&first);

    handle.mouseDown(mouseAt(handle, 3, 3));
    handle.mouseUp(mouseAt(handle, 3, 3));
    EXPECT_EQ(first.codes, std::vector<int>{WinMovCan::closeCode});
    EXPECT_TRUE(later.codes.empty());
    EXPECT_EQ(doomed.object, nullptr);
}
