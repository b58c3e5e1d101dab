#include "MsgCont.h"

namespace zarnel
{

MsgCont::MsgCont(const juce::String& text, int ownerWidth, int ownerHeight)
{
    message.setText(text, juce::dontSendNotification);
    message.setFont(juce::Font("Arial", 18.0f, juce::Font::plain));
    message.setJustificationType(juce::Justification::centred);
    message.setColour(juce::Label::textColourId, juce::Colour(0xfffcf5f5));
    addAndMakeVisible(message);

    okButton = std::make_unique<StsBut>("OK", okCode, 140);
    okButton->configure(0, 0, 60, 24, true);
    addAndMakeVisible(*okButton);

    cancelButton = std::make_unique<StsBut>("CANCEL", cancelCode, 140);
    cancelButton->configure(0, 0, 60, 24, true);
    addChildComponent(*cancelButton);

    setSize(ownerWidth, ownerHeight);
}

MsgCont::~MsgCont() = default;

void MsgCont::resized()
{
    boxX = (getWidth() - boxWidth) / 2;
    boxY = (getHeight() - boxHeight) / 2;
    // Two lines: reports of transfers and devices are longer than one line of the box.
    message.setBounds(boxX, boxY + 8, boxWidth, 50);
    okButton->setTopLeftPosition(boxX + 368, boxY + 64);
    cancelButton->setTopLeftPosition(boxX + 280, boxY + 64);
}

void MsgCont::paint(juce::Graphics& g)
{
    g.fillAll(juce::Colour(0x66000000));
    const juce::Rectangle<float> box((float)boxX, (float)boxY, (float)boxWidth, (float)boxHeight);
    g.setColour(juce::Colour(0x56000000));
    g.fillRoundedRectangle(box.translated(10.0f, 10.0f), 10.0f);
    g.setColour(juce::Colours::black);
    g.fillRoundedRectangle(box, 10.0f);
    g.setColour(juce::Colour(0xff777777));
    g.drawRoundedRectangle(box, 10.0f, 2.0f);
}

} // namespace zarnel
