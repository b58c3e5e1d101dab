#include "StsLabel.h"

#include "ButtonAccess.h"

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

void StsLabel::makePressable(const juce::String& title)
{
    pressTitle = title;
    ButtonAccess::takeFocusFromKeys(*this);
}

bool StsLabel::keyPressed(const juce::KeyPress& key)
{
    if (pressTitle.isEmpty())
        return false;
    return ButtonAccess::pressOnKey(key, [this] { sendChangeMessage(); });
}

std::unique_ptr<juce::AccessibilityHandler> StsLabel::createAccessibilityHandler()
{
    if (pressTitle.isEmpty())
    {
        struct Plain : juce::AccessibilityHandler
        {
            explicit Plain(StsLabel& l) : AccessibilityHandler(l, juce::AccessibilityRole::staticText), label(l) {}
            juce::String getTitle() const override { return label.getText(); }
            StsLabel& label;
        };
        return std::make_unique<Plain>(*this);
    }
    struct Pressable : juce::AccessibilityHandler
    {
        Pressable(StsLabel& l, const juce::String& t)
            : AccessibilityHandler(l, juce::AccessibilityRole::button,
                                   juce::AccessibilityActions{}.addAction(juce::AccessibilityActionType::press,
                                                                          [&l] { l.sendChangeMessage(); }),
                                   Interfaces{ButtonAccess::readOnlyText([&l] { return l.getText(); })}),
              title(t)
        {
        }
        juce::String getTitle() const override { return title; }
        juce::String title;
    };
    return std::make_unique<Pressable>(*this, pressTitle);
}

} // namespace zarnel
