#include "UiTestSupport.h"

#include "ui/widgets/LCD_Comp.h"
#include "ui/widgets/ProgBar.h"
#include "ui/widgets/RateSlider.h"
#include "ui/widgets/RenameCnt.h"
#include "ui/widgets/SimpleLabel.h"
#include "ui/widgets/StsLabel.h"

#include <gtest/gtest.h>

using namespace zarnel;
using test::mouseAt;

namespace
{
class LabelsTest : public ::testing::Test
{
protected:
    test::UiEnvironment ui;
};
} // namespace

TEST_F(LabelsTest, StsLabelAnswersPressesStrictlyInside)
{
    StsLabel label;
    label.configure("Input", "Arial", 14.0f, juce::Justification::centredLeft);
    label.setBounds(0, 0, 80, 20);
    EXPECT_EQ(label.getText(), "Input");
    label.setText("Output");
    EXPECT_EQ(label.getText(), "Output");
    EXPECT_EQ(label.getFont().getTypefaceName(), "Arial");

    test::ChangeCounter changes(label);
    struct Case
    {
        int x, y;
        bool sends;
    };
    const Case cases[] = {{0, 10, false}, {1, 10, true}, {79, 19, true}, {80, 10, false}, {40, 0, false}, {40, 20, false}};
    int expected = 0;
    for (const auto& c : cases)
    {
        label.mouseDown(mouseAt(label, c.x, c.y));
        expected += c.sends ? 1 : 0;
        EXPECT_EQ(changes.count(), expected) << c.x << "," << c.y;
    }
}

TEST_F(LabelsTest, SimpleLabelHoldsItsText)
{
    SimpleLabel label(14.0f, juce::Colour(0xFF101010), juce::Font::bold, juce::Justification::centred);
    EXPECT_EQ(label.getWidth(), 100);
    EXPECT_EQ(label.getHeight(), 20);
    EXPECT_TRUE(label.getText().isEmpty());
    label.setText("Bank U1");
    EXPECT_EQ(label.getText(), "Bank U1");
}

TEST_F(LabelsTest, ProgramDisplayWritesThePlace)
{
    struct Case
    {
        int bank, program;
        const char* text;
    };
    const Case cases[] = {{0, 0, "U1:001"}, {5, 99, "F2:100"}, {3, 127, "U4:128"}, {4, 9, "F1:010"}, {7, 41, "F4:042"}};
    for (const auto& c : cases)
        EXPECT_EQ(LCD_Comp::placeText(c.bank, c.program), c.text);

    LCD_Comp lcd;
    EXPECT_EQ(lcd.getBounds().getWidth(), 180);
    EXPECT_EQ(lcd.getBounds().getHeight(), 43);
    lcd.showProgram(2, 15, 17, "Choir Pad", "Vox");
    EXPECT_EQ(lcd.getPlaceText(), "U3:016");
    EXPECT_EQ(lcd.getName(), "Choir Pad");
    EXPECT_EQ(lcd.getCategoryText(), "Vox");

    lcd.showPlace(6, 0);
    EXPECT_EQ(lcd.getPlaceText(), "F3:001");
    EXPECT_EQ(lcd.getCategory(), 17);
    EXPECT_EQ(lcd.getName(), "Choir Pad");

    lcd.showCategoryName(8, "Soft Bass");
    EXPECT_EQ(lcd.getCategory(), 8);
    EXPECT_EQ(lcd.getCategoryText(), "Soft Bass");
    EXPECT_EQ(lcd.getPlaceText(), "F3:001");
}

TEST_F(LabelsTest, ProgramDisplayZones)
{
    struct Case
    {
        float scale;
        int x, y, zone;
    };
    const Case cases[] = {
        {1.0f, 179, 42, LCD_Comp::nameZone},     {1.0f, 2, 23, LCD_Comp::nameZone},
        {1.0f, 10, 22, LCD_Comp::placeZone},     {1.0f, 62, 10, LCD_Comp::placeZone},
        {1.0f, 63, 10, LCD_Comp::categoryZone},  {1.0f, 179, 0, LCD_Comp::categoryZone},
        {1.5f, 90, 30, LCD_Comp::placeZone},     {1.5f, 94, 30, LCD_Comp::categoryZone},
        {1.5f, 10, 34, LCD_Comp::nameZone},
    };
    LCD_Comp lcd;
    test::ChangeCounter changes(lcd);
    int presses = 0;
    for (const auto& c : cases)
    {
        lcd.setScale(c.scale);
        lcd.mouseDown(mouseAt(lcd, c.x, c.y));
        EXPECT_EQ(lcd.getZone(), c.zone) << c.scale << " " << c.x << "," << c.y;
        EXPECT_EQ(changes.count(), ++presses);
    }
}

TEST_F(LabelsTest, RateSliderDragMapsPixelsToMilliseconds)
{
    struct Case
    {
        int x, ms;
    };
    const Case cases[] = {{100, 500}, {10, 0}, {18, 0}, {19, 6}, {182, 1000}, {300, 1000}, {59, 250}};
    RateSlider slider;
    EXPECT_EQ(slider.getWidth(), 200);
    EXPECT_EQ(slider.getHeight(), 18);
    test::ChangeCounter changes(slider);
    slider.mouseDown(mouseAt(slider, 50, 9));
    EXPECT_TRUE(slider.isDragging());
    EXPECT_EQ(slider.getMilliseconds(), 0) << "the press alone sets nothing";
    for (const auto& c : cases)
    {
        slider.mouseDrag(mouseAt(slider, c.x, 9));
        EXPECT_EQ(slider.getMilliseconds(), c.ms) << c.x;
    }
    slider.mouseUp(mouseAt(slider, 59, 9));
    EXPECT_FALSE(slider.isDragging());
    slider.mouseDrag(mouseAt(slider, 100, 9));
    EXPECT_EQ(slider.getMilliseconds(), 250);
    EXPECT_EQ(changes.count(), 1) << "one delivery for several sends before the loop runs";

    slider.setMilliseconds(250);
    EXPECT_EQ(changes.count(), 2) << "an unchanged value still reports";
    slider.setMilliseconds(-4);
    EXPECT_EQ(slider.getMilliseconds(), 0);
    slider.setMilliseconds(1001);
    EXPECT_EQ(slider.getMilliseconds(), 1000);
}

TEST_F(LabelsTest, RateSliderStepButtonsRepeatWhileHeld)
{
    RateSlider slider;
    slider.setMilliseconds(500);

    slider.mouseDown(mouseAt(slider, 17, 9));
    EXPECT_TRUE(slider.isLeftPressed());
    slider.mouseUp(mouseAt(slider, 17, 9));
    test::runUntil([] { return false; }, 150);
    EXPECT_EQ(slider.getMilliseconds(), 500) << "a short press changes nothing";

    slider.mouseDown(mouseAt(slider, 5, 9));
    ASSERT_TRUE(test::runUntil([&] { return slider.getMilliseconds() != 500; }, 3000));
    slider.mouseUp(mouseAt(slider, 5, 9));
    const int afterLeft = slider.getMilliseconds();
    EXPECT_LT(afterLeft, 500);
    test::runUntil([] { return false; }, 250);
    EXPECT_EQ(slider.getMilliseconds(), afterLeft) << "the release stops the steps";

    slider.mouseDown(mouseAt(slider, 183, 9));
    EXPECT_TRUE(slider.isRightPressed());
    ASSERT_TRUE(test::runUntil([&] { return slider.getMilliseconds() > afterLeft; }, 3000));
    slider.mouseUp(mouseAt(slider, 183, 9));
    EXPECT_FALSE(slider.isRightPressed());

    slider.mouseDown(mouseAt(slider, 182, 9));
    EXPECT_TRUE(slider.isDragging()) << "the track ends at 182";
    slider.mouseUp(mouseAt(slider, 182, 9));
}

TEST_F(LabelsTest, ProgressBarCentresItsBoxAndFillsThreePixelsAStep)
{
    ProgBar bar(1191, 700);
    EXPECT_EQ(bar.getBounds(), juce::Rectangle<int>(0, 0, 1191, 700));
    EXPECT_EQ(bar.getBoxPosition(), juce::Point<int>(395, 330));
    ASSERT_NE(bar.getCancelButton(), nullptr);
    EXPECT_EQ(bar.getCancelButton()->getId(), 999);
    EXPECT_EQ(bar.getCancelButton()->getCaption(), "CANCEL");
    EXPECT_EQ(bar.getCancelButton()->getStyle(), StsBut::dialog);
    EXPECT_EQ(bar.getCancelButton()->getBounds(), juce::Rectangle<int>(714, 370, 60, 24));
    EXPECT_EQ(bar.getLabelText(), "-");
    EXPECT_EQ(bar.getFillWidth(), 0);

    struct Case
    {
        int value, width;
    };
    const Case cases[] = {{1, 3}, {64, 192}, {127, 381}, {200, 381}, {-5, 0}};
    for (const auto& c : cases)
    {
        bar.setProgress(c.value, "Program " + juce::String(c.value));
        EXPECT_EQ(bar.getFillWidth(), c.width) << c.value;
        EXPECT_EQ(bar.getLabelText(), "Program " + juce::String(c.value));
        EXPECT_EQ(bar.getText(), bar.getLabelText());
    }
}

TEST_F(LabelsTest, RenameBoxOffersTheNameWithItsButtons)
{
    RenameCnt rename(300, 200, "Warm Pad");
    EXPECT_EQ(rename.getBounds(), juce::Rectangle<int>(300, 200, 180, 43));
    EXPECT_EQ(rename.getText(), "Warm Pad");
    EXPECT_EQ(rename.getOkButton()->getId(), 1111);
    EXPECT_EQ(rename.getOkButton()->getBounds(), juce::Rectangle<int>(130, 26, 50, 18));
    EXPECT_EQ(rename.getCancelButton()->getId(), 1113);
    EXPECT_EQ(rename.getCancelButton()->getBounds(), juce::Rectangle<int>(0, 26, 50, 18));
    rename.getEditor()->setText("Cold Pad");
    EXPECT_EQ(rename.getText(), "Cold Pad");
}
