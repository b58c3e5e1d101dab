#include "LibBut.h"

#include "../look/Pictures.h"
#include "../widgets/ButtonAccess.h"
#include "../widgets/ListenerCalls.h"

namespace zarnel
{

LibBut::LibBut(const juce::String& t, int identifier, float size)
    : text(t), id(identifier), fontSize(size), left(Pictures::get(Picture::libButton)),
      right(Pictures::get(Picture::libButtonEnd))
{
    setSize(60, 40);
    ButtonAccess::takeFocusFromKeys(*this);
    setTitle(text);
}

void LibBut::setText(const juce::String& newText)
{
    if (newText == text)
        return;
    text = newText;
    setTitle(text);
    repaint();
}

void LibBut::addListener(LibButListener* listener)
{
    const juce::ScopedLock sl(listenerLock);
    listeners.addIfNotAlreadyThere(listener);
}

void LibBut::removeListener(LibButListener* listener)
{
    const juce::ScopedLock sl(listenerLock);
    listeners.removeAllInstancesOf(listener);
}

void LibBut::click()
{
    const int identifier = id;
    ListenerCalls::tell(*this, listenerLock, listeners,
                        [this, identifier](LibButListener& l) { l.libButClicked(this, identifier); });
}

void LibBut::paint(juce::Graphics& g)
{
    const int y = (getHeight() - 24) / 2;
    g.drawImage(left, 0, y, juce::jmax(0, getWidth() - 5), 24, 0, 0, left.getWidth(), left.getHeight());
    g.drawImage(right, getWidth() - 5, y, 5, 24, 0, 0, right.getWidth(), right.getHeight());
    if (text.isNotEmpty())
    {
        g.setColour(juce::Colour(0xFFF7F7F7));
        g.setFont(juce::Font("Arial", fontSize, juce::Font::plain));
        g.drawText(text, getLocalBounds(), juce::Justification::centred, true);
    }
}

void LibBut::mouseDown(const juce::MouseEvent&)
{
    click();
}

bool LibBut::keyPressed(const juce::KeyPress& key)
{
    return ButtonAccess::pressOnKey(key, [this] { click(); });
}

std::unique_ptr<juce::AccessibilityHandler> LibBut::createAccessibilityHandler()
{
    return ButtonAccess::makeHandler(*this, {juce::AccessibilityRole::button, [this] { return text; }, [this] { click(); }, {}});
}

void LibBut::mouseEnter(const juce::MouseEvent&)
{
    const int identifier = id;
    ListenerCalls::tell(*this, listenerLock, listeners,
                        [this, identifier](LibButListener& l) { l.libButEntered(this, identifier); });
}

void LibBut::mouseExit(const juce::MouseEvent&)
{
    const int identifier = id;
    ListenerCalls::tell(*this, listenerLock, listeners,
                        [this, identifier](LibButListener& l) { l.libButExited(this, identifier); });
}

} // namespace zarnel
