#include "MsgCont.h"

namespace zarnel
{

MsgCont::MsgCont(const juce::String& text, int ownerWidth, int ownerHeight)
    : boxX((ownerWidth - boxWidth) / 2), boxY((ownerHeight - boxHeight) / 2)
{
    message.setText(text, juce::dontSendNotification);
    message.setFont(juce::Font("Arial", 18.0f, juce::Font::plain));
    message.setJustificationType(juce::Justification::centred);
    message.setColour(juce::Label::textColourId, juce::Colour(0xfffcf5f5));
    message.setBounds(boxX, boxY + 10, boxWidth, 24);
    addAndMakeVisible(message);

    okButton = std::make_unique<StsBut>("OK", okCode, 140);
    okButton->configure(boxX + 368, boxY + 64, 60, 24, true);
    addAndMakeVisible(*okButton);

    cancelButton = std::make_unique<StsBut>("CANCEL", cancelCode, 140);
    cancelButton->configure(boxX + 280, boxY + 64, 60, 24, true);
    addChildComponent(*cancelButton);

    setSize(ownerWidth, ownerHeight);
}

MsgCont::~MsgCont() = default;

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
