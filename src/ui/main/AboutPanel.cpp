#include "AboutPanel.h"

#include "../look/Pictures.h"

#include "../../plugin/ProductInfo.h"

namespace zarnel
{

AboutPanel::AboutPanel(int timeMs)
    : mainPicture(Pictures::get(Picture::aboutMain)), secondPicture(Pictures::get(Picture::aboutSecond))
{
    if (timeMs > 0)
    {
        autoClose = true;
        startTimer(timeMs);
    }
}

AboutPanel::~AboutPanel()
{
    stopTimer();
}

juce::String AboutPanel::versionText()
{
    return juce::String("Version: ") + ProductInfo::versionText + " JAN 14, 2021";
}

void AboutPanel::stopAutoClose()
{
    stopTimer();
    autoClose = false;
}

void AboutPanel::paint(juce::Graphics& g)
{
    g.fillAll(juce::Colour(0x66050520));
    g.drawImage(mainPicture, juce::Rectangle<float>((float)boxX, (float)boxY, (float)boxWidth, (float)boxHeight));
    g.setColour(juce::Colours::white);
    g.setFont(juce::Font("Arial", 15.0f, juce::Font::plain));
    g.drawText(versionText(), boxX + 36, boxY + 110, 200, 30, juce::Justification::centredLeft, false);
    g.drawImage(secondPicture, juce::Rectangle<float>((float)boxX + 34, (float)boxY + 300, 389.0f, 162.0f));
}

void AboutPanel::mouseDown(const juce::MouseEvent&)
{
    sendChangeMessage();
}

void AboutPanel::timerCallback()
{
    stopAutoClose();
    sendChangeMessage();
}

} // namespace zarnel
