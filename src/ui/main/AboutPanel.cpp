#include "AboutPanel.h"

#include "../look/Pictures.h"

#include "../../plugin/ProductInfo.h"

#include <cmath>

namespace zarnel
{

namespace
{
constexpr int margin = 8;
constexpr int secondX = 34, secondY = 300, secondWidth = 389, secondHeight = 162;
constexpr int fullHeight = secondY + secondHeight;
// Below this the two pictures together are too small to read: the first one alone is shown larger.
constexpr float smallestShared = 0.75f;
} // namespace

AboutPanel::AboutPanel(int timeMs)
    : mainPicture(Pictures::get(Picture::aboutMain)), secondPicture(Pictures::get(Picture::aboutSecond))
{
    setTitle("About");
    setDescription(versionText());
    // Holds the keys while it is open: Escape or Return closes it.
    setWantsKeyboardFocus(true);
    setMouseClickGrabsKeyboardFocus(false);
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

void AboutPanel::resized()
{
    const float roomWidth = (float)(getWidth() - 2 * margin);
    const float roomHeight = (float)(getHeight() - 2 * margin);
    const auto fit = [&](int height) {
        return juce::jmax(0.05f, juce::jmin(1.0f, roomWidth / (float)boxWidth, roomHeight / (float)height));
    };
    scale = fit(fullHeight);
    secondShown = scale >= smallestShared;
    if (!secondShown)
        scale = fit(boxHeight);
    const int w = (int)std::floor((float)boxWidth * scale);
    const int h = (int)std::floor((float)(secondShown ? fullHeight : boxHeight) * scale);
    // Where it always stood when there is room, else centred.
    content = {(getWidth() - w) / 2, juce::jmin(boxY, (getHeight() - h) / 2), w, h};
}

void AboutPanel::paint(juce::Graphics& g)
{
    g.fillAll(juce::Colour(0x66050520));
    g.addTransform(juce::AffineTransform::scale(scale).translated((float)content.getX(), (float)content.getY()));
    g.drawImage(mainPicture, juce::Rectangle<float>(0.0f, 0.0f, (float)boxWidth, (float)boxHeight));
    g.setColour(juce::Colours::white);
    g.setFont(juce::Font("Arial", 15.0f, juce::Font::plain));
    g.drawText(versionText(), 36, 110, 200, 30, juce::Justification::centredLeft, false);
    if (secondShown)
        g.drawImage(secondPicture, juce::Rectangle<float>((float)secondX, (float)secondY, (float)secondWidth,
                                                          (float)secondHeight));
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
