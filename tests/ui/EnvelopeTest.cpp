#include "UiTestSupport.h"

#include "ui/editor/Envel.h"

#include <gtest/gtest.h>

using namespace zarnel;
using test::mouseAt;

namespace
{
using Stages = EnvelopeShape::Stages;
constexpr float u = 48.0f / 127.0f;

struct EnvelopeTest : ::testing::Test
{
    test::UiEnvironment ui;
    Envel env;
};
} // namespace

TEST(EnvelopeShapeTest, StagesGiveTheCorners)
{
    struct Case
    {
        Stages stages; // attack, decay, sustain, release
        std::array<float, 5> x, y;
    };
    const Case cases[] = {
        // A rectangle: no slopes, full sustain, the plateau 100 steps long.
        {{0, 0, 127, 0}, {16, 16, 16, 16 + 100 * u, 16 + 100 * u}, {70, 16, 22, 22, 70}},
        {{30, 30, 30, 30}, {16, 16 + 30 * u, 16 + 60 * u, 16 + 160 * u, 16 + 190 * u}, {70, 16, 70 - 30 * u, 70 - 30 * u, 70}},
        {{127, 127, 0, 127}, {16, 16 + 127 * u, 16 + 254 * u, 16 + 354 * u, 16 + 481 * u}, {70, 16, 70, 70, 70}},
    };
    for (const auto& c : cases)
    {
        const auto corners = EnvelopeShape::corners(c.stages);
        for (size_t i = 0; i < 5; ++i)
        {
            EXPECT_NEAR(corners[i].x, c.x[i], 1e-4) << i;
            EXPECT_NEAR(corners[i].y, c.y[i], 1e-4) << i;
        }
    }
    const auto path = EnvelopeShape::path({0, 0, 127, 0}, 1.5f);
    EXPECT_NEAR(path.getBounds().getX(), 24.0f, 1e-4);
    EXPECT_NEAR(path.getBounds().getRight(), (16 + 100 * u) * 1.5f, 1e-3);
    EXPECT_NEAR(path.getBounds().getY(), 24.0f, 1e-4);
}

TEST(EnvelopeShapeTest, PointerTravelToSteps)
{
    // One and a half pixels a step, halves to even.
    const std::pair<int, int> cases[] = {{0, 0}, {1, 1}, {2, 1}, {3, 2}, {4, 3}, {6, 4}, {-1, -1}, {-3, -2}, {-2, -1}, {15, 10}, {9, 6}};
    for (const auto& [pixels, steps] : cases)
        EXPECT_EQ(EnvelopeShape::stepsFor(pixels), steps) << pixels;
}

TEST(EnvelopeShapeTest, HandlesAreHitWithinSevenUnitsScaled)
{
    const Stages stages{30, 30, 60, 30};
    const auto c = EnvelopeShape::corners(stages);
    struct Case
    {
        juce::Point<float> at; // in the display's pixels at the scale
        float scale;
        int handle;
    };
    const float s = 1.5f;
    const Case cases[] = {
        {c[1], 1.0f, EnvelopeShape::attackHandle},
        {c[1] + juce::Point<float>(6.9f, -6.9f), 1.0f, EnvelopeShape::attackHandle},
        {c[1] + juce::Point<float>(7.0f, 0.0f), 1.0f, EnvelopeShape::noHandle},
        {c[4], 1.0f, EnvelopeShape::releaseHandle},
        {c[4] * s + juce::Point<float>(0.0f, -10.4f), s, EnvelopeShape::releaseHandle},
        {c[4] * s + juce::Point<float>(0.0f, 10.4f), s, EnvelopeShape::releaseHandle},
        {c[4] * s + juce::Point<float>(0.0f, -10.5f), s, EnvelopeShape::noHandle},
        {(c[2] + c[3]) / 2.0f, 1.0f, EnvelopeShape::decaySustainHandle},
        {c[2] + juce::Point<float>(-6.5f, 0.0f), 1.0f, EnvelopeShape::decaySustainHandle},
        {c[3] + juce::Point<float>(6.5f, 6.5f), 1.0f, EnvelopeShape::decaySustainHandle},
        {{100.0f, 30.0f}, 1.0f, EnvelopeShape::noHandle},
    };
    for (const auto& k : cases)
        EXPECT_EQ(EnvelopeShape::handleAt(stages, k.at, k.scale), k.handle) << k.at.toString() << " at " << k.scale;
}

TEST_F(EnvelopeTest, DragsStepTheGrabbedStagesAndShowTheirValues)
{
    struct Case
    {
        Stages start;
        int handle;
        std::vector<juce::Point<int>> moves; // pointer travel from the press, one drag event each
        Stages end;
        const char* text;
        int messages;
    };
    const Case cases[] = {
        {{30, 30, 30, 30}, EnvelopeShape::attackHandle, {{1, 0}}, {31, 30, 30, 30}, "31", 1},
        {{30, 30, 30, 30}, EnvelopeShape::attackHandle, {{1, 0}, {2, 0}}, {31, 30, 30, 30}, " ", 1},
        {{30, 30, 30, 30}, EnvelopeShape::attackHandle, {{3, 0}}, {32, 30, 30, 30}, "32", 1},
        {{30, 30, 30, 30}, EnvelopeShape::attackHandle, {{0, -30}}, {30, 30, 30, 30}, " ", 0}, // no vertical effect
        {{30, 30, 30, 30}, EnvelopeShape::releaseHandle, {{-60, 0}}, {30, 30, 30, 0}, "0", 1},  // limited at 0
        {{120, 30, 30, 30}, EnvelopeShape::attackHandle, {{30, 0}}, {127, 30, 30, 30}, "127", 1},
        {{30, 30, 30, 30}, EnvelopeShape::decaySustainHandle, {{15, -90}}, {30, 40, 90, 30}, "40 , 90", 1},
        {{30, 30, 30, 30}, EnvelopeShape::decaySustainHandle, {{0, -30}}, {30, 30, 50, 30}, "  , 50", 1}, // the blank, then " , "
        {{30.6f, 30, 30, 30}, EnvelopeShape::decaySustainHandle, {{0, -3}}, {30, 30, 32, 30}, "  , 32", 1}, // cut to whole numbers
    };
    for (const auto& c : cases)
    {
        for (int stage = 0; stage < 4; ++stage)
            env.setStageValue(stage, c.start[(size_t)stage]);
        const auto corners = EnvelopeShape::corners(env.getStages());
        const auto grab = (c.handle == EnvelopeShape::attackHandle    ? corners[1]
                           : c.handle == EnvelopeShape::releaseHandle ? corners[4]
                                                                      : (corners[2] + corners[3]) / 2.0f)
                              .toInt();
        env.mouseDown(mouseAt(env, grab.x, grab.y));
        ASSERT_EQ(env.getGrabbedHandle(), c.handle);
        test::ChangeCounter messages(env);
        for (const auto& m : c.moves)
            env.mouseDrag(mouseAt(env, grab.x + m.x, grab.y + m.y));
        EXPECT_EQ(env.getStages(), c.end) << c.text;
        EXPECT_EQ(env.getValueText(), juce::String(c.text));
        EXPECT_EQ(messages.count() > 0 ? 1 : 0, c.messages) << c.text;
        if (c.messages > 0)
        {
            EXPECT_EQ(env.getMessage(), Envel::dragMessage);
        }
        env.mouseUp(mouseAt(env, grab.x, grab.y));
        EXPECT_FALSE(env.isShowingValue()) << "the text goes at the release";
    }

    // A press beside every handle grabs nothing and shows nothing.
    env.mouseDown(mouseAt(env, 200, 10));
    EXPECT_EQ(env.getGrabbedHandle(), EnvelopeShape::noHandle);
    EXPECT_FALSE(env.isShowingValue());
}

TEST_F(EnvelopeTest, StageValuesStayWithinTheRange)
{
    const std::pair<float, float> cases[] = {{183.0f, 127.0f}, {-5.0f, 0.0f}, {64.0f, 64.0f}, {127.0f, 127.0f}};
    for (const auto& [given, kept] : cases)
        for (int stage = 0; stage < 4; ++stage)
        {
            env.setStageValue(stage, given);
            EXPECT_EQ(env.getStageValue(stage), kept) << given;
        }
    env.setStageValue(4, 10.0f); // no such stage
    EXPECT_EQ(env.getStageValue(4), 0.0f);
}

TEST_F(EnvelopeTest, RightClickSendsItsMessageAndHidesTheValueText)
{
    const auto c = EnvelopeShape::corners(env.getStages());
    env.mouseDown(mouseAt(env, (int)c[1].x, (int)c[1].y));
    env.mouseDrag(mouseAt(env, (int)c[1].x + 3, (int)c[1].y));
    ASSERT_TRUE(env.isShowingValue());
    test::ChangeCounter messages(env);
    env.mouseDown(mouseAt(env, 5, 5, test::rightButton()));
    EXPECT_EQ(messages.count(), 1);
    EXPECT_EQ(env.getMessage(), Envel::rightClickMessage);
    EXPECT_FALSE(env.isShowingValue());
    EXPECT_TRUE(env.takeRightClick());
    EXPECT_FALSE(env.takeRightClick()) << "told once";
}
