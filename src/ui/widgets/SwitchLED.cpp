#include "SwitchLED.h"

#include "ButtonAccess.h"
#include "ui/look/Pictures.h"
#include "ui/look/ZarnelLookAndFeel.h"

namespace zarnel
{

SwitchLED::SwitchLED(const juce::String& captionText, float height)
    : caption(captionText), fontHeight(height), lights(Pictures::get(Picture::switchLed))
{
    setBounds(10, 10, 100, 30);
    ButtonAccess::takeFocusFromKeys(*this);
}

void SwitchLED::setOn(bool shouldBeOn)
{
    if (on == shouldBeOn)
        return;
    on = shouldBeOn;
    repaint();
}

void SwitchLED::paint(juce::Graphics& g)
{
    g.drawImage(lights, 0, 5, 14, 9, on ? 15 : 0, 0, 14, 9);
    g.setColour(juce::Colour(textColour));
    g.setFont(ZarnelLookAndFeel::arial(fontHeight));
    g.drawText(caption, 20, 0, 140, 18, juce::Justification::centredLeft, true);
}

void SwitchLED::mouseDown(const juce::MouseEvent&)
{
    on = !on;
    sendChangeMessage();
    repaint();
}

bool SwitchLED::keyPressed(const juce::KeyPress& key)
{
    return ButtonAccess::pressOnKey(key, [this] {
        on = !on;
        sendChangeMessage();
        repaint();
    });
}

std::unique_ptr<juce::AccessibilityHandler> SwitchLED::createAccessibilityHandler()
{
    return ButtonAccess::makeHandler(*this, {juce::AccessibilityRole::toggleButton, [this] { return caption; }, {},
                                             [this] { return on; }});
}

} // namespace zarnel
