#include "UiTestSupport.h"

#include "model/ParDes.h"
#include "ui/look/Pictures.h"
#include "ui/look/PopupMenuLook.h"
#include "ui/widgets/CategoryMenu.h"

#include <gtest/gtest.h>

using namespace zarnel;

namespace
{
class LookTest : public ::testing::Test
{
protected:
    test::UiEnvironment ui;
};
} // namespace

TEST_F(LookTest, ArialIsTheEmbeddedLiberationSansInBothWeights)
{
    for (const auto* name : {"Arial", "<Sans-Serif>"})
    {
        const juce::Font regular(name, 18.0f, juce::Font::plain);
        const juce::Font bold(name, 18.0f, juce::Font::bold);
        EXPECT_EQ(regular.getTypefacePtr()->getName(), "Liberation Sans") << name;
        EXPECT_EQ(regular.getTypefacePtr()->getStyle(), "Regular") << name;
        EXPECT_EQ(bold.getTypefacePtr()->getName(), "Liberation Sans") << name;
        EXPECT_EQ(bold.getTypefacePtr()->getStyle(), "Bold") << name;
        EXPECT_GT(bold.getStringWidthFloat("Zarnel X4 Editor"), regular.getStringWidthFloat("Zarnel X4 Editor"));
    }
}

TEST_F(LookTest, PicturesHaveTheirSizesAndAreDecodedOnce)
{
    struct Case
    {
        Picture picture;
        int width, height;
        bool alpha;
    };
    const Case cases[] = {
        {Picture::knobStrip, 2939, 48, true},     {Picture::knobBack, 48, 48, true},
        {Picture::menuBox, 200, 18, true},        {Picture::menuArrow, 14, 18, true},
        {Picture::menuOverlay, 113, 17, true},    {Picture::switchStrip, 74, 20, true},
        {Picture::checkBox, 20, 11, true},        {Picture::checkBoxTicked, 20, 11, true},
        {Picture::checkBoxPressed, 20, 11, true}, {Picture::switchLed, 28, 9, true},
        {Picture::categoryButton, 100, 18, true}, {Picture::lcdScreen, 164, 43, false},
        {Picture::lcdGlass, 210, 66, true},       {Picture::rateTrack, 200, 18, true},
        {Picture::rateTrackPressed, 200, 18, true}, {Picture::aboutMain, 460, 260, true},
        {Picture::aboutSecond, 389, 162, true},   {Picture::windowClose, 54, 15, true},
        {Picture::panelSideLeft, 33, 682, true},  {Picture::panelSideRight, 33, 682, true},
        {Picture::panelLogo, 226, 31, true},      {Picture::panelMark, 179, 52, true},
        {Picture::panelTile, 200, 200, false},    {Picture::envelopeGrid, 218, 73, true},
        {Picture::seqTrack, 458, 155, false},     {Picture::seqGlass, 458, 155, true},
        {Picture::keyGrip, 100, 20, false},       {Picture::wheelWell, 81, 206, true},
        {Picture::wheelStrip, 1891, 200, true},   {Picture::octaveMiniature, 269, 18, true},
        {Picture::whiteKey, 25, 152, true},       {Picture::whiteKeyPressed, 25, 152, true},
        {Picture::blackKey, 16, 100, true},       {Picture::blackKeyPressed, 16, 100, true},
        {Picture::velocityIcon, 30, 103, true},
        {Picture::globalSwitch, 71, 22, true},    {Picture::closeMark, 30, 30, true},
        {Picture::listBackground, 246, 360, true}, {Picture::scrollThumb, 25, 43, true},
        {Picture::libButton, 200, 48, true},      {Picture::libButtonEnd, 10, 48, true},
        {Picture::listThumb, 36, 43, true},
    };
    static_assert(std::size(cases) == (size_t)Picture::count);
    for (const auto& c : cases)
    {
        const auto image = Pictures::get(c.picture);
        ASSERT_TRUE(image.isValid()) << Pictures::fileName(c.picture);
        EXPECT_EQ(image.getWidth(), c.width) << Pictures::fileName(c.picture);
        EXPECT_EQ(image.getHeight(), c.height) << Pictures::fileName(c.picture);
        EXPECT_EQ(image.hasAlphaChannel(), c.alpha) << Pictures::fileName(c.picture);
        EXPECT_EQ(Pictures::get(c.picture).getPixelData(), image.getPixelData()) << "shared, not decoded again";
    }

    // The strip's frames step 49 pixels and leave the two columns between them empty.
    const auto strip = Pictures::get(Picture::knobStrip);
    for (int frame = 0; frame < 59; ++frame)
        for (int y = 0; y < 48; ++y)
        {
            ASSERT_EQ(strip.getPixelAt(frame * 49 + 47, y).getAlpha(), 0) << frame;
            ASSERT_EQ(strip.getPixelAt(frame * 49 + 48, y).getAlpha(), 0) << frame;
        }
    // The window handle's close mark is drawn where the handle cuts it out.
    const auto handle = Pictures::get(Picture::windowClose);
    EXPECT_GT(handle.getPixelAt(44, 7).getAlpha(), 0);
    EXPECT_EQ(handle.getPixelAt(53, 7).getAlpha(), 0);
}

TEST_F(LookTest, PopupMenusAreWhiteOnBlack)
{
    PopupMenuLook look;
    EXPECT_EQ(look.findColour(juce::PopupMenu::backgroundColourId), juce::Colour(0xFF000000));
    EXPECT_EQ(look.findColour(juce::PopupMenu::textColourId), juce::Colours::white);
    EXPECT_EQ(look.findColour(juce::PopupMenu::headerTextColourId), juce::Colours::white);
    EXPECT_EQ(look.findColour(juce::PopupMenu::highlightedBackgroundColourId), juce::Colour(0xFF808080));
    EXPECT_EQ(look.findColour(juce::PopupMenu::highlightedTextColourId), juce::Colours::white);
}

TEST_F(LookTest, CategoryMenuOffersTheTwentySixCategoriesByNumber)
{
    const auto menu = CategoryMenu::createMenu();
    int count = 0;
    for (juce::PopupMenu::MenuItemIterator it(menu); it.next(); ++count)
    {
        const auto& item = it.getItem();
        EXPECT_EQ(item.itemID, count + 1);
        EXPECT_EQ(item.text, ParDes::categoryName(count));
        EXPECT_TRUE(item.isEnabled);
        EXPECT_FALSE(item.isTicked);
    }
    EXPECT_EQ(count, 26);

    struct Case
    {
        int result, category;
    };
    const Case cases[] = {{0, -1}, {1, 0}, {18, 17}, {26, 25}, {27, -1}, {-1, -1}};
    for (const auto& c : cases)
        EXPECT_EQ(CategoryMenu::categoryForResult(c.result), c.category) << c.result;
    EXPECT_EQ(ParDes::categoryName(CategoryMenu::categoryForResult(18)), "Vox");
}
