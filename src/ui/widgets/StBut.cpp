#include "StBut.h"

#include "ButtonAccess.h"
#include "ui/look/Pictures.h"
#include "ui/look/ZarnelLookAndFeel.h"

namespace zarnel
{

StBut::StBut(const juce::String& captionText, int buttonId)
    : caption(captionText), id(buttonId), picture(Pictures::get(Picture::categoryButton))
{
    setSize(100, pictureHeight);
    ButtonAccess::takeFocusFromKeys(*this);
}

void StBut::setPicture(const juce::Image& newPicture)
{
    picture = newPicture;
    repaint();
}

void StBut::setTextColours(juce::Colour text, juce::Colour selectedText)
{
    textColour = text;
    selectedTextColour = selectedText;
    repaint();
}

void StBut::setFontHeight(float height)
{
    fontHeight = height;
    repaint();
}

void StBut::setSelected(bool shouldBeSelected)
{
    if (selected == shouldBeSelected)
        return;
    selected = shouldBeSelected;
    repaint();
}

void StBut::setOrigin(int x, int y)
{
    setTopLeftPosition(x, y);
}

void StBut::mouseEnter(const juce::MouseEvent&)
{
    hover = true;
    repaint();
}

void StBut::mouseExit(const juce::MouseEvent&)
{
    hover = false;
    repaint();
}

void StBut::mouseDown(const juce::MouseEvent&)
{
    pressed = true;
}

void StBut::mouseUp(const juce::MouseEvent& e)
{
    if (!pressed)
        return;
    pressed = false;
    if (e.x >= 0 && e.x <= getWidth() && e.y >= 0 && e.y <= getHeight())
    {
        repaint();
        sendChangeMessage();
    }
}

void StBut::paint(juce::Graphics& g)
{
    const int w = getWidth(), h = getHeight();
    const int c = picture.getHeight() / 2;
    const int y0 = (h - pictureHeight) / 2;
    if (picture.isValid())
    {
        if (w < 100)
        {
            g.drawImage(picture, 0, y0, w, h, 0, 0, w, c);
        }
        else
        {
            g.drawImage(picture, 0, y0, w, h, 2, 0, 10, c);
            g.drawImage(picture, 0, y0, 2, h, 0, 0, 2, c);
            g.drawImage(picture, w - 2, y0, 2, h, 98, 0, 2, c);
        }
    }
    if (hover)
        g.fillAll(juce::Colour(0x11000000));
    if (selected)
        g.fillAll(juce::Colour(0x22000000));
    g.setColour(selected ? selectedTextColour : textColour);
    g.setFont(ZarnelLookAndFeel::arial(fontHeight));
    g.drawText(caption, 0, 0, w, h, juce::Justification::centred, false);
}

bool StBut::keyPressed(const juce::KeyPress& key)
{
    return ButtonAccess::pressOnKey(key, [this] {
        repaint();
        sendChangeMessage();
    });
}

std::unique_ptr<juce::AccessibilityHandler> StBut::createAccessibilityHandler()
{
    return ButtonAccess::makeHandler(*this, {juce::AccessibilityRole::toggleButton, [this] { return caption; }, {},
                                             [this] { return selected; }});
}

} // namespace zarnel
