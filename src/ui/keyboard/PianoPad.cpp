#include "PianoPad.h"

#include "midi/MidiCntrState.h"
#include "ui/keyboard/NotePlayer.h"
#include "ui/widgets/ButtonAccess.h"

namespace zarnel
{

PianoPad::PianoPad(MidiCntrState& s) : state(s), overlay(*this)
{
    for (int i = 0; i < PianoLayout::numKeys; ++i)
    {
        keys[(size_t)i] = std::make_unique<PianoKey>(i, PianoLayout::isBlack(i));
        keys[(size_t)i]->accessName = [this, i] { return keyName(i); };
        keys[(size_t)i]->accessPress = [this, i] { playBriefly(i); };
    }
    // White keys first: the black ones always lie in front of them.
    for (const bool black : {false, true})
        for (auto& k : keys)
            if (k->isBlack() == black)
                addAndMakeVisible(*k);
    addAndMakeVisible(overlay);
    setScale(1.0f);
    ButtonAccess::takeFocusFromKeys(*this);
    setTitle("Piano");
}

PianoPad::~PianoPad()
{
    stopTimer();
    releaseAll();
}

void PianoPad::setScale(float s)
{
    scale = s;
    layout = PianoLayout::layout(s);
    setSize(PianoLayout::padBounds(s).getWidth(), PianoLayout::padBounds(s).getHeight());
    for (int i = 0; i < PianoLayout::numKeys; ++i)
        keys[(size_t)i]->setBounds(layout[(size_t)i].bounds);
    overlay.setBounds(getLocalBounds());
}

void PianoPad::pressKey(int key, int y)
{
    if (key < 0 || key >= PianoLayout::numKeys)
        return;
    auto& k = *keys[(size_t)key];
    if (k.isPressed())
        return;
    const auto velocity = PianoLayout::velocityFor(k.isBlack(), scale > 0.0f ? (float)y / scale : 0.0f,
                                                   state.keyboardVelocity.load());
    const int note = key + 12 * state.keyboardOctave.load();
    if (!velocity || note < 0 || note > 127)
        return;
    const int channel = state.midiChannel.load();
    state.sendNote(channel, note, *velocity);
    k.markPressed(channel, note, *velocity);
}

void PianoPad::releaseKey(int key)
{
    if (key < 0 || key >= PianoLayout::numKeys)
        return;
    auto& k = *keys[(size_t)key];
    if (!k.isPressed())
        return;
    state.sendNoteOff(k.getSentChannel(), k.getSentNote());
    k.markReleased();
}

void PianoPad::releaseAll()
{
    stopTimer();
    briefKey = keyHeld = -1;
    for (int i = 0; i < PianoLayout::numKeys; ++i)
        releaseKey(i);
    overlay.forgetHeldKey();
}

void PianoPad::showHeldNotes(const std::function<bool(int note)>& isHeld)
{
    for (int note = 0; note < (int)heldElsewhere.size(); ++note)
        heldElsewhere[(size_t)note] = isHeld(note);
    refreshHeldNotes();
}

void PianoPad::refreshHeldNotes()
{
    const int first = 12 * state.keyboardOctave.load();
    for (int i = 0; i < PianoLayout::numKeys; ++i)
    {
        const int note = first + i;
        keys[(size_t)i]->setLit(note >= 0 && note < (int)heldElsewhere.size() && heldElsewhere[(size_t)note]);
    }
}

juce::String PianoPad::keyName(int key) const
{
    const int note = key + 12 * state.keyboardOctave.load();
    return note >= 0 && note <= 127 ? NotePlayer::noteName(note) : juce::String();
}

void PianoPad::pressFromKeys(int key)
{
    if (key < 0 || key >= PianoLayout::numKeys)
        return;
    pressKey(key, (int)((float)keys[(size_t)key]->getHeight() * 0.85f));
}

void PianoPad::playBriefly(int key)
{
    if (briefKey >= 0)
        releaseKey(briefKey);
    briefKey = -1;
    pressFromKeys(key);
    if (key >= 0 && key < PianoLayout::numKeys && keys[(size_t)key]->isPressed())
    {
        briefKey = key;
        startTimer(accessPressMs);
    }
}

void PianoPad::timerCallback()
{
    stopTimer();
    if (briefKey >= 0 && briefKey != keyHeld)
        releaseKey(briefKey);
    briefKey = -1;
}

bool PianoPad::keyPressed(const juce::KeyPress& key)
{
    if (key == juce::KeyPress::spaceKey || key == juce::KeyPress::returnKey)
    {
        if (keyHeld < 0)
        {
            pressFromKeys(focusKey);
            if (getKey(focusKey).isPressed())
                keyHeld = focusKey;
        }
        return true; // repeats of a held key
    }
    const int direction = ButtonAccess::arrowDirection(key);
    if (direction == 0 || key.getModifiers().isAltDown())
        return false;
    const int step = key.getModifiers().isShiftDown() ? 12 : 1;
    const int moved = juce::jlimit(0, PianoLayout::numKeys - 1, focusKey + direction * step);
    if (moved != focusKey)
    {
        focusKey = moved;
        repaint();
        if (auto* handler = getAccessibilityHandler())
            handler->notifyAccessibilityEvent(juce::AccessibilityEvent::valueChanged);
    }
    return true;
}

bool PianoPad::keyStateChanged(bool)
{
    if (keyHeld >= 0 && !juce::KeyPress::isKeyCurrentlyDown(juce::KeyPress::spaceKey)
        && !juce::KeyPress::isKeyCurrentlyDown(juce::KeyPress::returnKey))
    {
        releaseKey(keyHeld);
        keyHeld = -1;
    }
    return false;
}

void PianoPad::focusGained(FocusChangeType)
{
    focusShown = true;
    repaint();
}

void PianoPad::focusLost(FocusChangeType)
{
    if (keyHeld >= 0)
        releaseKey(keyHeld);
    keyHeld = -1;
    focusShown = false;
    repaint();
}

void PianoPad::paintOverChildren(juce::Graphics& g)
{
    if (!focusShown)
        return;
    g.setColour(juce::Colour(0xFF6FA8FF));
    g.drawRect(keys[(size_t)focusKey]->getBounds().reduced(1), 2);
}

std::unique_ptr<juce::AccessibilityHandler> PianoPad::createAccessibilityHandler()
{
    // The key chosen from the keyboard is the piano's value.
    return std::make_unique<juce::AccessibilityHandler>(
        *this, juce::AccessibilityRole::group, juce::AccessibilityActions{},
        juce::AccessibilityHandler::Interfaces{ButtonAccess::readOnlyText([this] { return keyName(focusKey); })});
}

} // namespace zarnel
