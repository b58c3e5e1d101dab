#include "PanelTestSupport.h"

#include "ui/widgets/StsCont.h"
#include "ui/widgets/WheelSteps.h"

#include <gtest/gtest.h>

#include <vector>

using namespace zarnel;
using test::mouseAt;

namespace
{
juce::MouseWheelDetails smooth(float deltaY)
{
    auto w = test::wheel(deltaY);
    w.isSmooth = true;
    return w;
}
} // namespace

TEST(WheelSteps, EveryNotchStepsAndSmoothDeltasAddUp)
{
    constexpr float unit = WheelSteps::smoothUnit;
    struct Case
    {
        const char* what;
        std::vector<juce::MouseWheelDetails> moves;
        std::vector<int> steps;
    };
    const Case cases[] = {
        {"notches of any size",
         {test::wheel(0.1f), test::wheel(0.05f), test::wheel(1.0f), test::wheel(-0.2f)},
         {1, 1, 1, -1}},
        {"no movement", {test::wheel(0.0f), smooth(0.0f)}, {0, 0}},
        {"halves of a step",
         {smooth(unit / 2), smooth(unit / 2), smooth(unit / 2), smooth(unit / 2)},
         {0, 1, 0, 1}},
        {"several steps at once, the rest kept", {smooth(unit * 2.5f), smooth(unit * 0.5f)}, {2, 1}},
        {"a turn back starts afresh",
         {smooth(unit * 0.75f), smooth(-unit * 0.5f), smooth(-unit * 0.5f)},
         {0, 0, -1}},
    };
    for (const auto& c : cases)
    {
        WheelSteps wheel;
        std::vector<int> got;
        for (const auto& m : c.moves)
            got.push_back(wheel.take(m));
        EXPECT_EQ(got, c.steps) << c.what;
    }
}

TEST(WheelSteps, NotchesFasterThanTheEchoesAllCount)
{
    // The knob shows a value only when its echo comes back; ten notches arrive before any does.
    test::PanelRig r;
    StsCont knob{r.processor};
    knob.configure(20, "Frequency", 42, 205, 65, 64, 0, 164, StsCont::knob, 222);
    knob.showValue(50);
    for (const auto& [delta, expected] :
         {std::pair{0.1f, 60}, std::pair{50.0f / 256.0f, 70}, std::pair{-0.1f, 60}})
    {
        for (int notch = 0; notch < 10; ++notch)
            knob.mouseWheelMove(mouseAt(knob, 30, 30), test::wheel(delta));
        EXPECT_EQ(r.processor.getState().getCurrentByte(20), expected) << delta;
        EXPECT_EQ(knob.getShownValue(), 50) << "nothing shown before the echo";
    }

    // The echoes arrive in order; the next notch steps on from the last.
    for (int v = 61; v <= 70; ++v)
        knob.showValue(v);
    for (int v = 69; v >= 60; --v)
        knob.showValue(v);
    knob.mouseWheelMove(mouseAt(knob, 30, 30), test::wheel(0.1f));
    EXPECT_EQ(r.processor.getState().getCurrentByte(20), 61);
}
