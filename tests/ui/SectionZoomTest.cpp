#include "PanelTestSupport.h"

#include "ui/editor/ZoomLayout.h"

#include <gtest/gtest.h>

using namespace zarnel;
using test::mouseAt;
using test::rightButton;

namespace
{

class SectionZoomTest : public ::testing::Test, protected test::EditorRig
{
protected:
    void pump() { zarnel::test::pumpMessages(20); }

    void rightClick(int parameterIndex)
    {
        auto* c = panel().getControl(parameterIndex);
        c->mouseDown(mouseAt(*c, 3, 3, rightButton()));
        pump();
    }

    FlashPanel& zoom() { return main.getSectionZoom(); }
};

} // namespace

TEST_F(SectionZoomTest, RightClickOpensTheSectionEnlargedOverTheEditor)
{
    main.parameterChanged(21, 99);
    main.parameterChanged(30, 64);
    rightClick(21); // "Resonance"
    ASSERT_TRUE(zoom().isVisible());
    EXPECT_EQ(zoom().getBounds(), main.getLocalBounds()) << "the shade covers the whole window";
    EXPECT_EQ(zoom().getCurrentSection(), 0);
    EXPECT_EQ(zoom().getSectionName(0), "LOW PASS FILTER");

    // Centred across, its top at 100, one and a half times the (5 units larger) section.
    const auto& placement = zoom().getPlacement();
    EXPECT_EQ(placement.scale, 1.5f);
    EXPECT_EQ(placement.frame, juce::Rectangle<int>((1191 - 850) / 2, 100, 850, 238));

    std::vector<int> shown = zoom().getShownList();
    std::sort(shown.begin(), shown.end());
    EXPECT_EQ(shown, (std::vector<int>{20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31}));
    for (int i = 0; i < ControlTable::numSlots; ++i)
        EXPECT_EQ(zoom().getControl(i)->isVisible(), ControlTable::sectionOf(i) == 0) << i;

    // "Resonance" has its top-left corner 72 and 24 units into its section, 76 and 26 into the frame.
    auto* resonance = zoom().getControl(21);
    EXPECT_EQ(resonance->getBounds(), juce::Rectangle<int>(placement.offset.x + 114, 100 + 39, 97, 96));
    EXPECT_EQ(resonance->getShownValue(), 99) << "the zoom's control takes its twin's value";
    EXPECT_EQ(zoom().getEnvelope(0).getStageValue(2), 64.0f);
    EXPECT_TRUE(zoom().getEnvelope(0).isVisible());
    EXPECT_FALSE(zoom().getEnvelope(1).isVisible());
    EXPECT_EQ(zoom().getEnvelope(0).getBounds(), juce::Rectangle<int>(placement.offset.x + 495, 106, 339, 123));

    EXPECT_FALSE(panel().isRepaintEnabled());
    EXPECT_TRUE(zoom().isRepaintEnabled());
}

TEST_F(SectionZoomTest, SectionsThatDoNotOpenLeaveTheEditorAlone)
{
    for (int section : {10, 11, 12, -1, 100})
    {
        main.openSectionZoom(section);
        EXPECT_FALSE(zoom().isVisible()) << section;
        EXPECT_TRUE(panel().isRepaintEnabled()) << section << ": the editor must not stay frozen";
    }
    // A right-click on the program display's area is the display's own business.
    panel().mouseDown(mouseAt(panel(), 680, 145, rightButton()));
    pump();
    EXPECT_FALSE(zoom().isVisible());
}

TEST_F(SectionZoomTest, TheClockSectionIsNamedWhenEnlarged)
{
    rightClick(101); // "Tempo"
    ASSERT_TRUE(zoom().isVisible());
    EXPECT_EQ(zoom().getCurrentSection(), 6);
    EXPECT_EQ(zoom().getSectionName(6), "SEQUENCER");
    EXPECT_EQ(ControlTable::sections()[6].name, juce::String());
}

TEST_F(SectionZoomTest, ClicksInsideDoNothingAndOutsideClose)
{
    rightClick(36);
    ASSERT_TRUE(zoom().isVisible());
    const auto frame = zoom().getPlacement().frame;

    zoom().mouseDown(mouseAt(zoom(), frame.getX() + 5, frame.getY() + 5));
    zoom().mouseDown(mouseAt(zoom(), frame.getX() + 5, frame.getY() + 5, rightButton()));
    auto* inside = zoom().getControl(36);
    inside->mouseDown(mouseAt(*inside, 3, 3, rightButton())); // a right-click on a zoomed control
    zoom().getEnvelope(1).mouseDown(mouseAt(zoom().getEnvelope(1), 3, 3, rightButton()));
    pump();
    EXPECT_TRUE(zoom().isVisible());
    EXPECT_EQ(zoom().getCurrentSection(), 1);

    zoom().mouseDown(mouseAt(zoom(), 5, main.getHeight() - 5)); // on the shade, even over the app bar's row
    pump();
    EXPECT_FALSE(zoom().isVisible());
    EXPECT_FALSE(zoom().isRepaintEnabled());
    EXPECT_TRUE(panel().isRepaintEnabled());
}

TEST_F(SectionZoomTest, ParameterChangesReachTheZoomOnlyForItsSection)
{
    rightClick(36); // section 1
    main.parameterChanged(37, 88);
    main.parameterChanged(21, 77);
    EXPECT_EQ(zoom().getControl(37)->getShownValue(), 88);
    EXPECT_EQ(zoom().getEnvelope(1).getStageValue(1), 88.0f);
    EXPECT_EQ(zoom().getControl(21)->getShownValue(), 0) << "another section's control is not touched";
    EXPECT_EQ(panel().getControl(21)->getShownValue(), 77);
    EXPECT_TRUE(panel().getControl(21)->isDirty()) << "the covered panel repaints later";

    // A program load refreshes the shown controls too.
    auto program = processor.getState().getCurrentProgram();
    program[39] = 5;
    processor.getState().setCurrentProgram(program);
    main.refreshAllControls();
    EXPECT_EQ(zoom().getControl(39)->getShownValue(), 5);
}

TEST_F(SectionZoomTest, TheZoomHasAPlaceAtEverySize)
{
    const std::pair<int, int> sizes[] = {{1191, 700}, {452, 150}, {1429, 1046}, {1012, 595}, {600, 400}};
    for (const auto& [w, h] : sizes)
        for (int section = 0; section < 10; ++section)
        {
            const auto p = ZoomLayout::place(section, w, h);
            EXPECT_TRUE(juce::Rectangle<int>(0, 0, w, h).contains(p.frame)) << w << "x" << h << " " << section;
            EXPECT_LE(p.scale, 1.5f);
            if (w >= 1191 && h >= 700)
            {
                EXPECT_EQ(p.scale, 1.5f) << section;
                EXPECT_EQ(p.offset.y, 100) << section;
            }
            if (p.scale < 1.5f) // as large as fits
            {
                EXPECT_TRUE(p.frame.getWidth() >= w - 2 * ZoomLayout::margin - 2
                            || p.frame.getHeight() >= h - 2 * ZoomLayout::margin - 2)
                    << w << "x" << h << " " << section;
            }
        }

    // In the editor: opened at the smallest size, then the window grows.
    editor.setSize(452, 150);
    rightClick(0);
    ASSERT_TRUE(zoom().isVisible());
    EXPECT_EQ(zoom().getBounds(), juce::Rectangle<int>(0, 0, 452, 150));
    EXPECT_TRUE(zoom().getLocalBounds().contains(zoom().getPlacement().frame));
    for (int index : zoom().getShownList())
        EXPECT_TRUE(zoom().getPlacement().frame.contains(zoom().getControl(index)->getBounds().getTopLeft())) << index;
    editor.setSize(1429, 1046);
    EXPECT_EQ(zoom().getBounds(), juce::Rectangle<int>(0, 0, 1429, 1046));
    EXPECT_EQ(zoom().getPlacement().scale, 1.5f);
}
