#include "KeyOverlay.h"

#include "PianoPad.h"

namespace zarnel
{

KeyOverlay::KeyOverlay(PianoPad& p) : pad(p)
{
    setMouseCursor(juce::MouseCursor::PointingHandCursor);
    // Else JUCE hands a click's focus up to the pad, away from the note player's letters.
    setMouseClickGrabsKeyboardFocus(false);
}

int KeyOverlay::keyAt(int x, int y) const
{
    return PianoLayout::keyAt(pad.getLayout(), x, y, pad.getScale());
}

void KeyOverlay::mouseDown(const juce::MouseEvent& e)
{
    if (!e.mods.isLeftButtonDown())
        return;
    heldKey = keyAt(e.x, e.y);
    pad.pressKey(heldKey, e.y);
}

void KeyOverlay::mouseDrag(const juce::MouseEvent& e)
{
    const int key = keyAt(e.x, e.y);
    if (key == heldKey)
        return;
    if (heldKey < 0)
    {
        heldKey = key;
        pad.pressKey(key, e.y);
    }
    else
    {
        // The next movement plays the new key.
        pad.releaseKey(heldKey);
        heldKey = -1;
    }
}

void KeyOverlay::mouseUp(const juce::MouseEvent&)
{
    pad.releaseAll();
}

} // namespace zarnel
