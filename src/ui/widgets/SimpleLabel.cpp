#include "SimpleLabel.h"

#include "ui/look/ZarnelLookAndFeel.h"

namespace zarnel
{

SimpleLabel::SimpleLabel(float height, juce::Colour background, int style, int justificationFlags)
    : backgroundColour(background), fontHeight(height), fontStyle(style), justification(justificationFlags)
{
    setSize(100, 20);
}

void SimpleLabel::setText(const juce::String& newText)
{
    if (text == newText)
        return;
    text = newText;
    repaint();
}

void SimpleLabel::setTextColour(juce::Colour colour)
{
    textColour = colour;
    repaint();
}

void SimpleLabel::setBackgroundColour(juce::Colour colour)
{
    backgroundColour = colour;
    repaint();
}

void SimpleLabel::paint(juce::Graphics& g)
{
    g.fillAll(backgroundColour);
    if (text.isEmpty())
        return;
    g.setColour(textColour);
    g.setFont(ZarnelLookAndFeel::arial(fontHeight, fontStyle));
    g.drawText(text, 0, 0, getWidth(), 20, juce::Justification(justification), true);
}

std::unique_ptr<juce::AccessibilityHandler> SimpleLabel::createAccessibilityHandler()
{
    struct Text : juce::AccessibilityHandler
    {
        explicit Text(SimpleLabel& l) : AccessibilityHandler(l, juce::AccessibilityRole::staticText), label(l) {}
        juce::String getTitle() const override { return label.getText(); }
        SimpleLabel& label;
    };
    return std::make_unique<Text>(*this);
}

} // namespace zarnel
