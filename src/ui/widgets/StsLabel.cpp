#include "StsLabel.h"

namespace zarnel
{

void StsLabel::configure(const juce::String& newText, const juce::String& newFontName, float height, int justificationFlags)
{
    text = newText;
    fontName = newFontName;
    fontHeight = height;
    textColour = juce::Colours::white;
    fontStyle = juce::Font::plain;
    justification = justificationFlags;
    repaint();
}

void StsLabel::setText(const juce::String& newText)
{
    text = newText;
    repaint();
}

void StsLabel::setBackgroundMode(int mode)
{
    backgroundMode = mode;
    repaint();
}

void StsLabel::setFillColour(juce::Colour colour)
{
    fillColour = colour;
    repaint();
}

void StsLabel::setFrameColour(juce::Colour colour)
{
    frameColour = colour;
    repaint();
}

void StsLabel::setTextColour(juce::Colour colour)
{
    textColour = colour;
    repaint();
}

void StsLabel::setFontStyle(int styleFlags)
{
    fontStyle = styleFlags;
    repaint();
}

void StsLabel::setFontHeight(float height)
{
    fontHeight = height;
    repaint();
}

void StsLabel::setJustification(int justificationFlags)
{
    justification = justificationFlags;
    repaint();
}

juce::Font StsLabel::getFont() const
{
    return juce::Font(fontName, fontHeight, fontStyle);
}

void StsLabel::paint(juce::Graphics& g)
{
    if (backgroundMode == filled || backgroundMode == filledAndFramed)
        g.fillAll(fillColour);
    if (backgroundMode == filledAndFramed)
    {
        g.setColour(frameColour);
        g.drawRect(getLocalBounds(), 1);
    }
    g.setColour(textColour);
    g.setFont(getFont());
    g.drawText(text, getLocalBounds(), juce::Justification(justification), false);
}

void StsLabel::mouseDown(const juce::MouseEvent& e)
{
    if (e.x > 0 && e.x < getWidth() && e.y > 0 && e.y < getHeight())
        sendChangeMessage();
}

} // namespace zarnel
