#include "PanelTestSupport.h"

#include "ui/editor/EditorPanel.h"

#include <gtest/gtest.h>

using namespace zarnel;
using test::mouseAt;
using test::rightButton;

namespace
{

class EditorPanelTest : public ::testing::Test, protected test::PanelRig
{
protected:
    EditorPanelTest() { requests(); }

    // The section request codes one action sent: empty when it sent none.
    template <typename Action>
    std::vector<int> codesAfter(Action&& action)
    {
        test::ChangeCounter counter(panel);
        action();
        std::vector<int> codes;
        if (counter.count() > 0)
            codes.push_back(panel.getSectionRequestCode());
        return codes;
    }

    EditorPanel panel{processor};
};

constexpr int knob = StsCont::knob, menu = StsCont::menuBox, right = StsCont::switchRight, below = StsCont::switchBelow;

} // namespace

TEST_F(EditorPanelTest, EveryControlIsBuiltAsTheFrontPanelLaysItOut)
{
    struct Row
    {
        int index;
        const char* caption;
        int section, type, minimum, maximum, kind;
        juce::Rectangle<int> bounds; // at scale 1: the control's top edge is 16 above its layout point
    };
    const Row rows[] = {
        {0, "Osc 1 Freq", 7, knob, 0, 120, 778, {42, 26, 65, 64}},
        {1, "Fine", 7, knob, 0, 100, 888, {107, 26, 65, 64}},
        {2, "Shape/PW", 7, knob, 0, 103, 2, {172, 26, 65, 64}},
        {3, "Glide", 7, knob, 0, 127, 222, {237, 26, 65, 64}},
        {4, "Keyboard", 7, below, 0, 1, 333, {367, 52, 65, 32}},
        {5, "Sub Osc 1", 7, knob, 0, 127, 222, {522, 26, 65, 64}},
        {6, "Osc 2 Freq", 7, knob, 0, 120, 778, {42, 90, 65, 64}},
        {7, "Fine", 7, knob, 0, 100, 888, {107, 90, 65, 64}},
        {8, "Shape/PW", 7, knob, 0, 103, 2, {172, 90, 65, 64}},
        {9, "Glide", 7, knob, 0, 127, 222, {237, 90, 65, 64}},
        {10, "Keyboard", 7, below, 0, 1, 333, {367, 117, 65, 32}},
        {11, "Sub Osc 2", 7, knob, 0, 127, 222, {522, 90, 65, 64}},
        {12, "Sync Osc 2->1", 7, right, 0, 1, 333, {155, 4, 105, 20}},
        {13, "Glide Mode", 7, menu, 0, 3, 11, {420, 34, 100, 32}},
        {14, "Osc Slop", 7, knob, 0, 5, 222, {437, 90, 65, 64}},
        {15, "Pitch Bend Range", 6, menu, 0, 12, 93, {1039, 117, 110, 32}},
        {16, "Mix", 7, knob, 0, 127, 222, {302, 26, 65, 64}},
        {17, "Noise", 7, knob, 0, 127, 222, {302, 90, 65, 64}},
        {18, "FeedBk Vol", 7, knob, 0, 127, 222, {587, 26, 65, 64}},
        {19, "FeedBk Gain", 7, knob, 0, 127, 222, {587, 90, 65, 64}},
        {20, "Frequency", 0, knob, 0, 164, 222, {42, 189, 65, 64}},
        {21, "Resonance", 0, knob, 0, 127, 222, {107, 189, 65, 64}},
        {22, "Key Amt", 0, knob, 0, 127, 222, {307, 189, 55, 64}},
        {23, "Audio Mod", 0, knob, 0, 127, 222, {522, 253, 65, 64}},
        {24, "4 Pole", 0, below, 0, 1, 333, {42, 258, 65, 45}},
        {25, "Amount", 0, knob, 0, 254, 555, {172, 189, 65, 64}},
        {26, "Velocity", 0, knob, 0, 127, 222, {237, 189, 65, 64}},
        {27, "Delay", 0, knob, 0, 127, 222, {107, 253, 65, 64}},
        {28, "Attack", 0, knob, 0, 127, 222, {172, 253, 65, 64}},
        {29, "Decay", 0, knob, 0, 127, 222, {237, 253, 65, 64}},
        {30, "Sustain", 0, knob, 0, 127, 222, {302, 253, 65, 64}},
        {31, "Release", 0, knob, 0, 127, 222, {367, 253, 65, 64}},
        {32, "VCA Level", 1, knob, 0, 127, 222, {42, 352, 65, 64}},
        {33, "Amount", 1, knob, 0, 127, 222, {107, 352, 65, 64}},
        {34, "Velocity", 1, knob, 0, 127, 222, {172, 352, 65, 64}},
        {35, "Delay", 1, knob, 0, 127, 222, {42, 416, 65, 64}},
        {36, "Attack", 1, knob, 0, 127, 222, {107, 416, 65, 64}},
        {37, "Decay", 1, knob, 0, 127, 222, {172, 416, 65, 64}},
        {38, "Sustain", 1, knob, 0, 127, 222, {237, 416, 65, 64}},
        {39, "Release", 1, knob, 0, 127, 222, {302, 416, 65, 64}},
        {40, "Pan Spread", 1, knob, 0, 127, 222, {457, 416, 65, 64}},
        {41, "Volume", 1, knob, 0, 127, 222, {522, 416, 65, 64}},
        {42, "Frequency", 5, knob, 0, 166, 37, {611, 513, 65, 62}},
        {43, "Shape", 5, menu, 0, 4, 38, {616, 575, 120, 32}},
        {44, "Amount", 5, knob, 0, 127, 222, {676, 513, 65, 62}},
        {45, "Destination", 5, menu, 0, 47, 400, {616, 609, 120, 32}},
        {46, "Sync", 5, right, 0, 1, 333, {660, 493, 66, 20}},
        {47, "Frequency", 5, knob, 0, 166, 37, {749, 513, 65, 62}},
        {48, "Shape", 5, menu, 0, 4, 38, {754, 575, 120, 32}},
        {49, "Amount", 5, knob, 0, 127, 222, {814, 513, 65, 62}},
        {50, "Destination", 5, menu, 0, 47, 400, {754, 609, 120, 32}},
        {51, "Sync", 5, right, 0, 1, 333, {798, 493, 65, 20}},
        {52, "Frequency", 5, knob, 0, 166, 37, {887, 513, 65, 62}},
        {53, "Shape", 5, menu, 0, 4, 38, {892, 575, 120, 32}},
        {54, "Amount", 5, knob, 0, 127, 222, {952, 513, 65, 62}},
        {55, "Destination", 5, menu, 0, 47, 400, {892, 609, 120, 32}},
        {56, "Sync", 5, right, 0, 1, 333, {936, 493, 65, 20}},
        {57, "Frequency", 5, knob, 0, 166, 37, {1025, 513, 65, 62}},
        {58, "Shape", 5, menu, 0, 4, 38, {1030, 575, 120, 32}},
        {59, "Amount", 5, knob, 0, 127, 222, {1090, 513, 65, 62}},
        {60, "Destination", 5, menu, 0, 47, 400, {1030, 609, 120, 32}},
        {61, "Sync", 5, right, 0, 1, 333, {1074, 493, 65, 20}},
        {62, "Destination", 2, menu, 0, 47, 400, {44, 528, 115, 32}},
        {63, "Amount", 2, knob, 0, 254, 555, {172, 515, 65, 64}},
        {64, "Velocity", 2, knob, 0, 127, 222, {237, 515, 65, 64}},
        {65, "Delay", 2, knob, 0, 127, 222, {307, 515, 55, 64}},
        {66, "Attack", 2, knob, 0, 127, 222, {107, 579, 65, 64}},
        {67, "Decay", 2, knob, 0, 127, 222, {172, 579, 65, 64}},
        {68, "Sustain", 2, knob, 0, 127, 222, {237, 579, 65, 64}},
        {69, "Release", 2, knob, 0, 127, 222, {302, 579, 65, 64}},
        {70, "Repeat Mode", 2, below, 0, 1, 333, {42, 586, 68, 45}},
        {71, "Mod Source", 3, menu, 0, 20, 65, {620, 188, 115, 32}},
        {72, "Amount", 3, knob, 0, 254, 555, {740, 189, 60, 64}},
        {73, "Mod Dest", 3, menu, 0, 47, 400, {620, 223, 115, 32}},
        {74, "Mod Source", 3, menu, 0, 20, 65, {620, 264, 115, 32}},
        {75, "Amount", 3, knob, 0, 254, 555, {740, 264, 60, 64}},
        {76, "Mod Dest", 3, menu, 0, 47, 400, {620, 298, 115, 32}},
        {77, "Mod Source", 3, menu, 0, 20, 65, {620, 338, 115, 32}},
        {78, "Amount", 3, knob, 0, 254, 555, {740, 338, 60, 64}},
        {79, "Mod Dest", 3, menu, 0, 47, 400, {620, 372, 115, 32}},
        {80, "Mod Source", 3, menu, 0, 20, 65, {620, 412, 115, 32}},
        {81, "Amount", 3, knob, 0, 254, 555, {740, 412, 60, 64}},
        {82, "Mod Dest", 3, menu, 0, 47, 400, {620, 446, 115, 32}},
        {83, "Amount", 4, knob, 0, 254, 555, {950, 173, 60, 62}},
        {84, "Mod Wheel Destination", 4, menu, 0, 47, 400, {830, 196, 115, 32}},
        {85, "Amount", 4, knob, 0, 254, 555, {950, 234, 60, 62}},
        {86, "Pressure Destination", 4, menu, 0, 47, 400, {830, 258, 115, 32}},
        {87, "Amount", 4, knob, 0, 254, 555, {950, 295, 60, 62}},
        {88, "Breath Destination", 4, menu, 0, 47, 400, {830, 319, 115, 32}},
        {89, "Amount", 4, knob, 0, 254, 555, {950, 356, 60, 62}},
        {90, "Velocity Destination", 4, menu, 0, 47, 400, {830, 380, 115, 32}},
        {91, "Amount", 4, knob, 0, 254, 555, {950, 417, 60, 62}},
        {92, "Foot Destination", 4, menu, 0, 47, 400, {830, 441, 115, 32}},
        {93, "Mode", 9, menu, 0, 4, 95, {1039, 420, 110, 32}},
        {94, "Assign", 9, menu, 0, 5, 96, {1039, 377, 110, 32}},
        {95, "On / Off", 9, right, 0, 1, 333, {1039, 344, 110, 20}},
        {96, "", 8, menu, 0, 127, 111, {1102, 198, 45, 32}},
        {97, "Note Vel", 8, knob, 0, 127, 222, {1041, 192, 65, 60}},
        {98, "Play Sw Mode", 8, menu, 0, 1, 113, {1051, 259, 95, 32}},
        {101, "Tempo", 6, knob, 30, 250, 444, {1062, 11, 65, 64}},
        {102, "Clock Divide", 6, menu, 0, 12, 92, {1039, 76, 110, 32}},
        {103, "Arpeggiator", 6, menu, 0, 14, 97, {945, 117, 81, 32}},
        {104, "", 6, right, 0, 1, 333, {912, 116, 28, 16}},
        {105, "Sequencer Trigger", 6, menu, 0, 4, 94, {917, 76, 110, 32}},
        {106, "Sequencer", 6, right, 0, 1, 333, {912, 54, 110, 20}},
        {107, "Sequence 1 Dest", -1, menu, 0, 47, 400, {1174, -2016, 110, 32}},
        {108, "Sequence 2 Dest", -1, menu, 0, 48, 4008, {1174, -2016, 110, 32}},
        {109, "Sequence 3 Dest", -1, menu, 0, 47, 400, {1174, -2016, 110, 32}},
        {110, "Sequence 4 Dest", -1, menu, 0, 48, 4010, {1174, -2016, 110, 32}},
    };

    std::vector<bool> seen(ControlTable::numSlots, false);
    for (const auto& r : rows)
    {
        auto* c = panel.getControl(r.index);
        ASSERT_NE(c, nullptr) << r.index;
        seen[(size_t)r.index] = true;
        EXPECT_EQ(c->getParameterIndex(), r.index);
        EXPECT_EQ(c->getCaption(), juce::String(r.caption)) << r.index;
        EXPECT_EQ(c->getSectionId(), r.section) << r.index;
        EXPECT_EQ(c->getType(), r.type) << r.index;
        EXPECT_EQ(c->getMinimum(), r.minimum) << r.index;
        EXPECT_EQ(c->getMaximum(), r.maximum) << r.index;
        EXPECT_EQ(c->getDisplayKind(), r.kind) << r.index;
        EXPECT_EQ(c->getBounds(), r.bounds) << r.index;
        EXPECT_EQ(c->isVisible(), r.section >= 0) << r.index << ": only the sequencer's destinations are hidden";
    }
    for (int i = 0; i < ControlTable::numSlots; ++i)
        if (!seen[(size_t)i])
        {
            auto* c = panel.getControl(i);
            ASSERT_NE(c, nullptr) << i << ": every index has a slot";
            EXPECT_FALSE(c->isConfigured()) << i;
            EXPECT_EQ(c->getSectionId(), StsCont::noSection) << i;
            EXPECT_FALSE(c->isVisible()) << i;
        }
    EXPECT_EQ(panel.getControl(-1), nullptr);
    EXPECT_EQ(panel.getControl(115), nullptr);

    // Scaled with the panel, products truncated.
    panel.setScale(1429.0f / 1191.0f);
    EXPECT_EQ(panel.getControl(101)->getBounds(), juce::Rectangle<int>(1274, 13, 77, 76));
    EXPECT_EQ(panel.getEnvelope(1).getBounds(), juce::Rectangle<int>(434, 399, 271, 98));
    EXPECT_EQ(panel.getProgramDisplay().getBounds(), juce::Rectangle<int>(835, 107, 215, 51));
    EXPECT_EQ(panel.getSequencerButton().getBounds(), juce::Rectangle<int>(1118, 23, 115, 28));
}

TEST_F(EditorPanelTest, RightClicksAskForTheirSection)
{
    struct Case
    {
        int control; // right-click on this control; -1: none
        int envelope; // right-click on this envelope; -1: none
        juce::Point<int> background; // else on the panel's own background, unscaled
        float scale;
        std::vector<int> codes;
    };
    const Case cases[] = {
        {101, -1, {}, 1.0f, {106}},   // "Tempo"
        {21, -1, {}, 1.0f, {100}},    // "Resonance"
        {41, -1, {}, 1.0f, {101}},    {70, -1, {}, 1.0f, {102}},  {80, -1, {}, 1.0f, {103}},
        {92, -1, {}, 1.0f, {104}},    {61, -1, {}, 1.0f, {105}},  {12, -1, {}, 1.0f, {107}},
        {96, -1, {}, 1.0f, {108}},    {95, -1, {}, 0.5f, {109}},
        {107, -1, {}, 1.0f, {}},      // a hidden sequencer destination
        {111, -1, {}, 1.0f, {}},      // a slot without a control
        {-1, 0, {}, 1.0f, {100}},     {-1, 1, {}, 1.0f, {101}},   {-1, 2, {}, 1.5f, {102}},
        {-1, -1, {40, 170}, 1.0f, {100}},   {-1, -1, {1150, 480}, 1.0f, {109}},
        {-1, -1, {1100, 150}, 0.5f, {106}}, {-1, -1, {690, 100}, 1.0f, {}}, // the display area
        {-1, -1, {603, 200}, 1.0f, {}},     // between two sections
        {-1, -1, {35, 200}, 1.0f, {}},      // on a section's edge: the rectangles are open
        {-1, -1, {300, 670}, 1.0f, {}},     // below every section
    };
    for (const auto& c : cases)
    {
        panel.setScale(c.scale);
        const auto codes = codesAfter([&] {
            if (c.control >= 0)
            {
                auto* control = panel.getControl(c.control);
                control->mouseDown(mouseAt(*control, 5, 5, rightButton()));
            }
            else if (c.envelope >= 0)
            {
                auto& env = panel.getEnvelope(c.envelope);
                env.mouseDown(mouseAt(env, 100, 40, rightButton()));
                env.dispatchPendingMessages();
            }
            else
            {
                const auto at = (c.background.toFloat() * c.scale).toInt();
                panel.mouseDown(mouseAt(panel, at.x, at.y, rightButton()));
            }
        });
        EXPECT_EQ(codes, c.codes) << c.control << " " << c.envelope << " " << c.background.toString();
    }
    EXPECT_TRUE(requests().empty()) << "a right-click changes no value";

    // A left click on the background asks for nothing.
    EXPECT_TRUE(codesAfter([&] { panel.mouseDown(mouseAt(panel, 40, 170)); }).empty());
}

TEST_F(EditorPanelTest, ValuesReachTheirControlAndTheEnvelopeShowsWhatTheKnobShows)
{
    struct Case
    {
        int index, value;
        int shown;              // on the control
        const char* text;
        int envelope, stage;    // -1: no envelope mirrors it
    };
    const Case cases[] = {
        {30, 90, 90, "90", 0, 2},        // filter sustain: knob and envelope
        {27, 12, 12, "12", -1, -1},      // a delay is on no envelope
        {28, 183, 127, "127", 0, 0},     // a byte above the maximum shows clamped, on both
        {69, 5, 5, "5", 2, 3},
        {71, 22, 20, "Noise", -1, -1}, // the menu offers less than the parameter: its own value's text
        {101, 10, 30, "30 bpm", -1, -1},
    };
    for (const auto& c : cases)
    {
        auto* control = panel.getControl(c.index);
        panel.setControlValue(control, c.value);
        EXPECT_EQ(control->getShownValue(), c.shown) << c.index;
        EXPECT_EQ(control->getValueText(), juce::String::fromUTF8(c.text)) << c.index;
        if (c.envelope >= 0)
        {
            EXPECT_EQ(panel.getEnvelope(c.envelope).getStageValue(c.stage), (float)c.shown) << c.index;
        }
    }
    const auto sustainBefore = panel.getEnvelope(0).getStages();
    panel.setControlValue(panel.getControl(27), 50);
    EXPECT_EQ(panel.getEnvelope(0).getStages(), sustainBefore);

    // Missing controls and empty slots are ignored.
    panel.setControlValue(nullptr, 3);
    panel.setControlValue(panel.getControl(99), 3);
    panel.setControlValue(panel.getControl(114), 3);
    EXPECT_EQ(panel.getControl(99)->getShownValue(), StsCont::noValue);
}

TEST_F(EditorPanelTest, CoveredPanelsCollectChangesAndRepaintOnce)
{
    panel.setRepaintEnabled(false);
    panel.setControlValue(panel.getControl(36), 77);
    panel.repaintPanel();
    EXPECT_TRUE(panel.getControl(36)->isDirty());
    EXPECT_TRUE(panel.getEnvelope(1).isDirty());
    EXPECT_EQ(panel.getEnvelope(1).getStageValue(0), 77.0f);
    panel.setRepaintEnabled(true);
    EXPECT_FALSE(panel.getControl(36)->isDirty());
    EXPECT_FALSE(panel.getEnvelope(1).isDirty());
}

TEST_F(EditorPanelTest, EnvelopeDragsAskOnlyForStagesThatDiffer)
{
    for (int i : {28, 29, 30, 31})
        panel.setControlValue(panel.getControl(i), 30);
    auto& env = panel.getEnvelope(0);
    const auto corners = EnvelopeShape::corners(env.getStages());
    const auto handle = ((corners[2] + corners[3]) / 2.0f).toInt();

    // Straight sideways on the decay/sustain handle: only the decay.
    env.mouseDown(mouseAt(env, handle.x, handle.y));
    env.mouseDrag(mouseAt(env, handle.x + 15, handle.y));
    env.dispatchPendingMessages();
    EXPECT_EQ(requests(), (std::vector<std::pair<int, int>>{{29, 40}}));

    // A drag step answered at once by a right-click: the step still counts, and the right-click
    // still asks for the section.
    test::ChangeCounter sectionRequests(panel);
    env.mouseDrag(mouseAt(env, handle.x + 15, handle.y - 30));
    env.mouseDown(mouseAt(env, handle.x, handle.y, rightButton()));
    env.dispatchPendingMessages();
    EXPECT_EQ(requests(), (std::vector<std::pair<int, int>>{{29, 40}, {30, 50}}))
        << "the decay is asked again: its knob has not shown 40 yet";
    EXPECT_EQ(sectionRequests.count(), 1);
    EXPECT_EQ(panel.getSectionRequestCode(), 100);
}
