#include "LCD_Comp.h"

#include "ButtonAccess.h"

#include "ui/look/Pictures.h"
#include "ui/look/ZarnelLookAndFeel.h"

namespace zarnel
{

LCD_Comp::LCD_Comp() : screen(Pictures::get(Picture::lcdScreen)), glass(Pictures::get(Picture::lcdGlass))
{
    setSize(180, 43);
    ButtonAccess::takeFocusFromKeys(*this);
}

juce::String LCD_Comp::placeText(int bankNumber, int programNumber)
{
    const juce::String bankText = bankNumber < 4 ? "U" + juce::String(bankNumber + 1) : "F" + juce::String(bankNumber - 3);
    return bankText + ":" + juce::String(programNumber + 1).paddedLeft('0', 3);
}

void LCD_Comp::showProgram(int bankNumber, int programNumber, int categoryNumber, const juce::String& programName,
                           const juce::String& categoryName)
{
    bank = bankNumber;
    program = programNumber;
    category = categoryNumber;
    name = programName;
    categoryText = categoryName;
    place = placeText(bank, program);
    repaint();
}

void LCD_Comp::showPlace(int bankNumber, int programNumber)
{
    bank = bankNumber;
    program = programNumber;
    place = placeText(bank, program);
    repaint();
}

void LCD_Comp::showCategoryName(int categoryNumber, const juce::String& categoryName)
{
    category = categoryNumber;
    categoryText = categoryName;
    repaint();
}

void LCD_Comp::setScale(float newScale)
{
    scale = newScale;
    repaint();
}

void LCD_Comp::mouseDown(const juce::MouseEvent& e)
{
    if ((float)e.y > 22.0f * scale)
        zone = nameZone;
    else if ((float)e.x > 62.0f * scale)
        zone = categoryZone;
    else
        zone = placeZone;
    sendChangeMessage();
}

void LCD_Comp::paint(juce::Graphics& g)
{
    const float s = scale;
    const int w = (int)(180.0f * s), h = (int)(43.0f * s);
    g.fillAll(juce::Colours::white);
    g.drawImage(screen, 0, 0, w, h, 0, 0, screen.getWidth(), screen.getHeight());

    g.setColour(juce::Colour(0xFF202020));
    g.setFont(ZarnelLookAndFeel::arial(13.0f * s));
    g.drawText(place, juce::Rectangle<float>(10.0f * s, 5.0f * s, 104.0f * s, 14.0f * s), juce::Justification::centredLeft, true);
    g.drawText(categoryText, juce::Rectangle<float>(62.0f * s, 5.0f * s, 108.0f * s, 13.0f * s), juce::Justification::centredLeft, true);

    g.setColour(juce::Colour(0xFF101010));
    g.setFont(ZarnelLookAndFeel::arial(18.0f * s, juce::Font::bold));
    g.drawText(name, juce::Rectangle<float>(10.0f * s, 22.0f * s, 170.0f * s, 12.0f * s), juce::Justification::centredLeft, true);

    g.setOpacity(0.5f);
    g.drawImage(glass, 0, 0, w, h, 0, 0, glass.getWidth(), glass.getHeight());
}

void LCD_Comp::pressZone(int z)
{
    zone = z;
    sendChangeMessage();
}

bool LCD_Comp::keyPressed(const juce::KeyPress& key)
{
    if (key == juce::KeyPress(juce::KeyPress::F10Key, juce::ModifierKeys::shiftModifier, 0))
    {
        pressZone(categoryZone);
        return true;
    }
    return ButtonAccess::pressOnKey(key, [this] { pressZone(keyZone); });
}

juce::String LCD_Comp::spokenText() const
{
    return place + " " + name.trimEnd() + ", " + categoryText;
}

std::unique_ptr<juce::AccessibilityHandler> LCD_Comp::createAccessibilityHandler()
{
    struct Handler : juce::AccessibilityHandler
    {
        explicit Handler(LCD_Comp& d)
            : AccessibilityHandler(d, juce::AccessibilityRole::button,
                                   juce::AccessibilityActions{}
                                       .addAction(juce::AccessibilityActionType::press, [&d] { d.pressZone(d.keyZone); })
                                       .addAction(juce::AccessibilityActionType::showMenu,
                                                  [&d] { d.pressZone(categoryZone); }),
                                   Interfaces{ButtonAccess::readOnlyText([&d] { return d.spokenText(); })})
        {
        }
        juce::String getTitle() const override { return "Program"; }
    };
    return std::make_unique<Handler>(*this);
}

} // namespace zarnel
