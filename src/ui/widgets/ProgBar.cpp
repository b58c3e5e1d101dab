#include "ProgBar.h"

#include "ui/look/ZarnelLookAndFeel.h"

namespace zarnel
{

ProgBar::ProgBar(int ownerWidth, int ownerHeight)
{
    trackButton = std::make_unique<juce::TextButton>();
    trackButton->setColour(juce::TextButton::buttonColourId, juce::Colour(0xFF767681));
    trackButton->setColour(juce::TextButton::buttonOnColourId, juce::Colour(0xFF9B9BA6));
    // Only a picture of progress: clicks on it go nowhere.
    trackButton->setInterceptsMouseClicks(false, false);
    trackButton->setWantsKeyboardFocus(false);
    addAndMakeVisible(*trackButton);

    fill = std::make_unique<juce::TextButton>();
    fill->setConnectedEdges(juce::Button::ConnectedOnRight);
    fill->setColour(juce::TextButton::buttonColourId, juce::Colour(0xFF37A6C8));
    fill->setColour(juce::TextButton::buttonOnColourId, juce::Colour(0xFF113F48));
    fill->setSize(0, 24);
    fill->setInterceptsMouseClicks(false, false);
    fill->setWantsKeyboardFocus(false);
    addAndMakeVisible(*fill);

    label = std::make_unique<juce::Label>(juce::String(), "-");
    label->setFont(ZarnelLookAndFeel::arial(18.0f, juce::Font::bold));
    label->setJustificationType(juce::Justification::centred);
    label->setColour(juce::Label::textColourId, juce::Colour(0xFFFCF5F5));
    label->setEditable(false, false, false);
    addAndMakeVisible(*label);

    cancel = std::make_unique<StsBut>("CANCEL", cancelId, StsBut::dialog);
    cancel->configure(0, 0, 60, 24, true);
    addAndMakeVisible(*cancel);

    setTitle("Bank transfer");
    // The keys start on the bar, not on CANCEL: a Return meant for something else never stops a
    // transfer. Tab reaches CANCEL, Escape presses it.
    setWantsKeyboardFocus(true);
    setMouseClickGrabsKeyboardFocus(false);
    setBounds(0, 0, ownerWidth, ownerHeight);
}

ProgBar::~ProgBar() = default;

void ProgBar::resized()
{
    boxX = (getWidth() - boxWidth) / 2;
    boxY = (getHeight() - boxHeight) / 2;
    trackButton->setBounds(boxX, boxY, 384, 24);
    fill->setBounds(boxX, boxY, value * 3, 24);
    label->setBounds(boxX, boxY + 40, 88, 24);
    cancel->setTopLeftPosition(boxX + 319, boxY + 40);
}

void ProgBar::setProgress(int newValue, const juce::String& newText)
{
    value = juce::jlimit(minimum, maximum, newValue);
    text = newText;
    label->setText(newText, juce::dontSendNotification);
    setDescription(newText);
    fill->setSize(value * 3, fill->getHeight());
}

void ProgBar::paint(juce::Graphics& g)
{
    g.fillAll(juce::Colour(0x66000000));
    g.setColour(juce::Colour(0xFF050606));
    g.fillRoundedRectangle(trackButton->getBounds().toFloat(), 10.0f);
    g.fillRoundedRectangle(label->getBounds().toFloat(), 5.0f);
}

} // namespace zarnel
