#include "Check_But.h"

#include "ButtonAccess.h"
#include "ui/look/Pictures.h"
#include "ui/look/ZarnelLookAndFeel.h"

namespace zarnel
{

Check_But::Check_But()
    : box(Pictures::get(Picture::checkBox)),
      tickedBox(Pictures::get(Picture::checkBoxTicked)),
      pressedBox(Pictures::get(Picture::checkBoxPressed))
{
    setSize(30, 30);
    ButtonAccess::takeFocusFromKeys(*this);
}

void Check_But::configure(const juce::String& captionText, int y, int width, float height)
{
    caption = captionText;
    fontHeight = height;
    textColour = juce::Colours::white;
    captionInside = false;
    setBounds(20, y, width, 15);
}

void Check_But::setTicked(bool shouldBeTicked)
{
    if (ticked == shouldBeTicked)
        return;
    ticked = shouldBeTicked;
    repaint();
}

void Check_But::setCaptionInside(bool inside)
{
    captionInside = inside;
    repaint();
}

void Check_But::setTextColour(juce::Colour colour)
{
    textColour = colour;
    repaint();
}

void Check_But::drawCaptionOn(juce::Graphics& g) const
{
    if (captionInside)
        return;
    g.setColour(textColour);
    g.setFont(ZarnelLookAndFeel::arial(fontHeight));
    g.drawText(caption, getX() + 30, getY(), 300, 15, juce::Justification::centredLeft, true);
}

void Check_But::paint(juce::Graphics& g)
{
    if (captionInside)
    {
        g.setColour(textColour);
        g.setFont(ZarnelLookAndFeel::arial(fontHeight));
        g.drawText(caption, 30, 0, 300, 15, juce::Justification::centredLeft, true);
    }
    const auto& picture = pressed ? pressedBox : (ticked ? tickedBox : box);
    g.drawImage(picture, 2, 2, boxWidth, boxHeight, 0, 0, boxWidth, boxHeight);
}

void Check_But::mouseDown(const juce::MouseEvent&)
{
    pressed = true;
    ticked = !ticked;
    repaint();
    sendChangeMessage();
}

void Check_But::mouseUp(const juce::MouseEvent&)
{
    pressed = false;
    repaint();
}

bool Check_But::keyPressed(const juce::KeyPress& key)
{
    return ButtonAccess::pressOnKey(key, [this] {
        setTicked(!ticked);
        sendChangeMessage();
    });
}

std::unique_ptr<juce::AccessibilityHandler> Check_But::createAccessibilityHandler()
{
    return ButtonAccess::makeHandler(*this, {juce::AccessibilityRole::toggleButton, [this] { return caption; }, {},
                                             [this] { return ticked; }});
}

} // namespace zarnel
