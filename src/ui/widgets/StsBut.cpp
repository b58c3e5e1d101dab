#include "StsBut.h"

#include "ButtonAccess.h"

#include "ListenerCalls.h"
#include "ui/look/ZarnelLookAndFeel.h"

namespace zarnel
{

StsBut::StsBut(const juce::String& captionText, int buttonId, int buttonStyle)
    : caption(captionText), id(buttonId), style(buttonStyle)
{
    applyStyle();
    if (drawsItself())
        ButtonAccess::takeFocusFromKeys(*this);
}

StsBut::~StsBut()
{
    if (inner != nullptr)
        inner->removeListener(this);
}

void StsBut::applyStyle()
{
    switch (style)
    {
        case tab:
        case tabNoLine:
            textColour = pressedTextColour = juce::Colour(0xFF000000);
            fontHeight = 12.0f;
            break;
        case dialog:
            textColour = pressedTextColour = juce::Colours::white;
            fontHeight = 13.0f;
            break;
        default:
            textColour = pressedTextColour = juce::Colours::white;
            fontHeight = 13.0f;
            face = juce::Colour(0xFF202D31);
            pressedFace = juce::Colour(0xFF040405);
            edgeA = edgeB = juce::Colour(0xFF000000);
            break;
    }
}

void StsBut::configure(int x, int y, int width, int height, bool applyBounds)
{
    applyStyle();
    if (style == tab || style == tabNoLine || style == dialog)
    {
        if (inner == nullptr)
        {
            inner = std::make_unique<juce::TextButton>();
            inner->addListener(this);
            inner->setTitle(caption);
            addAndMakeVisible(*inner);
        }
        if (style == dialog)
        {
            inner->setBounds(0, -5, width, height + 3);
            inner->setConnectedEdges(juce::Button::ConnectedOnLeft | juce::Button::ConnectedOnRight);
            inner->setColour(juce::TextButton::buttonColourId, juce::Colour(0xFF5A6163));
            inner->setColour(juce::TextButton::buttonOnColourId, juce::Colour(0xFF000000));
        }
        else
        {
            inner->setBounds(0, -3, width, height + 6);
            inner->setColour(juce::TextButton::buttonColourId, juce::Colour(0xFFABABAB));
            inner->setColour(juce::TextButton::buttonOnColourId, juce::Colour(0xFF8B4916));
            // The inner button takes the clicks; the frame around it is inert.
            setInterceptsMouseClicks(false, true);
        }
    }
    if (applyBounds)
        setBounds(x, y, width, height);
}

void StsBut::addListener(stsbutListener* listener)
{
    const juce::ScopedLock sl(changeListenerLock);
    idListeners.addIfNotAlreadyThere(listener);
}

void StsBut::removeListener(stsbutListener* listener)
{
    const juce::ScopedLock sl(changeListenerLock);
    idListeners.removeFirstMatchingValue(listener);
}

void StsBut::addChangeListener(stsbutChangeListener* listener)
{
    const juce::ScopedLock sl(changeListenerLock);
    changeListeners.addIfNotAlreadyThere(listener);
}

void StsBut::removeChangeListener(stsbutChangeListener* listener)
{
    const juce::ScopedLock sl(changeListenerLock);
    changeListeners.removeFirstMatchingValue(listener);
}

void StsBut::setFontHeight(float height)
{
    fontHeight = height;
    repaint();
}

void StsBut::setCaption(const juce::String& newCaption)
{
    caption = newCaption;
    if (inner != nullptr)
        inner->setTitle(caption); // the caption is painted over it, so readers need its title
    repaint();
}

void StsBut::tellListeners()
{
    // A change listener may close whatever owns this button: the id is read before anyone is told,
    // and nobody is told once the button is gone.
    const int buttonId = id;
    if (!ListenerCalls::tell(*this, changeListenerLock, changeListeners,
                             [this](stsbutChangeListener& l) { l.stsbutChanged(this); }))
        return;
    ListenerCalls::tell(*this, changeListenerLock, idListeners, [buttonId](stsbutListener& l) { l.stsbutPressed(buttonId); });
}

void StsBut::mouseDown(const juce::MouseEvent&)
{
    if (style == tab || style == tabNoLine)
        return;
    juce::Component::SafePointer<StsBut> alive(this);
    if (drawsItself())
        pressed = true;
    tellListeners();
    if (alive != nullptr && drawsItself())
        repaint();
}

void StsBut::mouseUp(const juce::MouseEvent&)
{
    if (!drawsItself())
        return;
    pressed = false;
    repaint();
}

void StsBut::buttonClicked(juce::Button* button)
{
    if (button == inner.get())
        tellListeners();
}

bool StsBut::keyPressed(const juce::KeyPress& key)
{
    if (drawsItself())
        return ButtonAccess::pressOnKey(key, [this] { tellListeners(); });
    // JUCE's button presses on Return only; Space reaches us from it, as with every button here.
    if (inner != nullptr && inner->isEnabled() && key == juce::KeyPress::spaceKey)
    {
        inner->triggerClick();
        return true;
    }
    return false;
}

std::unique_ptr<juce::AccessibilityHandler> StsBut::createAccessibilityHandler()
{
    if (!drawsItself())
        return std::make_unique<juce::AccessibilityHandler>(*this, juce::AccessibilityRole::ignored);
    return ButtonAccess::makeHandler(*this, {juce::AccessibilityRole::button, [this] { return caption; }, {},
                                             {}});
}

void StsBut::paint(juce::Graphics& g)
{
    if (!drawsItself())
        return;
    const int w = getWidth(), h = getHeight();
    const auto area = getLocalBounds().toFloat();
    g.setFont(ZarnelLookAndFeel::arial(fontHeight));
    if (!pressed)
    {
        g.setColour(face);
        g.fillRoundedRectangle(area.reduced(1.0f), 1.0f);
        g.setColour(textColour);
        g.drawText(caption, area, juce::Justification::centred, false);
    }
    else
    {
        g.setColour(pressedFace);
        g.fillRoundedRectangle(area, 4.0f);
    }
    // Top and left in one colour, bottom and right in the other; a press swaps them.
    g.setColour(pressed ? edgeB : edgeA);
    g.fillRect(1, 0, w - 2, 1);
    g.fillRect(0, 1, 1, h - 2);
    g.setColour(pressed ? edgeA : edgeB);
    g.fillRect(1, h - 1, w - 2, 1);
    g.fillRect(w - 1, 1, 1, h - 2);
    if (pressed)
    {
        g.setColour(pressedTextColour);
        g.drawText(caption, area.translated(1.0f, 1.0f), juce::Justification::centred, false);
    }
}

void StsBut::paintOverChildren(juce::Graphics& g)
{
    if (drawsItself())
        return;
    const float w = (float)getWidth(), h = (float)getHeight();
    g.setColour(textColour);
    g.setFont(ZarnelLookAndFeel::arial(fontHeight));
    g.drawText(caption, juce::Rectangle<float>(0.0f, 0.0f, w, h), juce::Justification::centred, false);
    if (style == tab)
    {
        g.setColour(juce::Colours::black);
        g.fillRect(0, getHeight() - 1, getWidth(), 1);
    }
}

} // namespace zarnel
