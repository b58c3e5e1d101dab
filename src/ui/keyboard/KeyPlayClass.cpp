#include "KeyPlayClass.h"

#include "midi/MidiCntrState.h"
#include "ui/look/ZarnelLookAndFeel.h"

namespace zarnel
{

namespace
{
const juce::Colour backgroundColour(0x000a0a0a);
const juce::Colour hintColour(0x80FFFFFF);
} // namespace

KeyPlayClass::KeyPlayClass(MidiCntrState& s, int mode)
    : state(s), player(*this, mode),
      keyDown([](char letter) { return juce::KeyPress::isKeyCurrentlyDown((int)juce::CharacterFunctions::toLowerCase((juce::juce_wchar)letter)); })
{
    setWantsKeyboardFocus(true);
    setMouseClickGrabsKeyboardFocus(true);
    setTitle("Computer keyboard player");
    setDescription("Z S X D C V G B H N J M play an octave from C");
    setMouseCursor(juce::MouseCursor::UpDownResizeCursor);
}

KeyPlayClass::~KeyPlayClass()
{
    // Nothing may stay sounding on the instrument once the player is gone.
    player.releaseAll();
}

void KeyPlayClass::addListener(KeyPlayListener* listener)
{
    listeners.addIfNotAlreadyThere(listener);
}

void KeyPlayClass::removeListener(KeyPlayListener* listener)
{
    listeners.removeFirstMatchingValue(listener);
}

void KeyPlayClass::setFontSize(float size)
{
    fontSize = size;
    repaint();
}

void KeyPlayClass::noteOn(int channel, int note, int velocity)
{
    state.sendNote(channel, note, velocity);
}

void KeyPlayClass::noteOff(int channel, int note)
{
    state.sendNoteOff(channel, note);
}

void KeyPlayClass::heldNotesChanged()
{
    if (onHeldNotesChanged)
        onHeldNotesChanged();
}

bool KeyPlayClass::keyPressed(const juce::KeyPress& key)
{
    // Keys it has no use for go on to the editor and the host.
    const bool taken = player.keyPressed(key, state.midiChannel.load());
    if (taken)
    {
        statusChanged();
        heldNotesChanged();
    }
    return taken;
}

bool KeyPlayClass::keyStateChanged(bool)
{
    player.keysChanged(keyDown);
    heldNotesChanged();
    return false;
}

void KeyPlayClass::focusGained(FocusChangeType)
{
    repaint();
}

void KeyPlayClass::focusLost(FocusChangeType)
{
    // Keys let go while another window has the keyboard are never reported here.
    player.releaseAll();
    heldNotesChanged();
    repaint();
}

void KeyPlayClass::statusChanged()
{
    if (player.getStatus() == shownStatus)
        return;
    shownStatus = player.getStatus();
    if (shownStatus.isNotEmpty())
        startTimer(statusMs);
    repaint();
}

void KeyPlayClass::timerCallback()
{
    stopTimer();
    player.clearStatus();
    statusChanged();
}

void KeyPlayClass::mouseDown(const juce::MouseEvent& e)
{
    grabKeyboardFocus();
    const int y = yInParent(e);
    for (int i = listeners.size(); --i >= 0;)
        listeners.getUnchecked(i)->keyPlayDragStarted(y);
}

void KeyPlayClass::mouseDrag(const juce::MouseEvent& e)
{
    const int y = yInParent(e);
    for (int i = listeners.size(); --i >= 0;)
        listeners.getUnchecked(i)->keyPlayDragged(y);
}

void KeyPlayClass::mouseUp(const juce::MouseEvent&)
{
    for (int i = listeners.size(); --i >= 0;)
        listeners.getUnchecked(i)->keyPlayDragEnded();
}

void KeyPlayClass::paint(juce::Graphics& g)
{
    g.fillAll(backgroundColour);
    g.setFont(ZarnelLookAndFeel::arial(fontSize));
    const juce::Rectangle<int> area(0, 0, 400, getHeight());
    if (shownStatus.isNotEmpty())
    {
        g.setColour(juce::Colours::white);
        g.drawText(shownStatus, area, juce::Justification::centredLeft, false);
        return;
    }
    // Without a status, a hint of what the player does and whether it is listening.
    g.setColour(hintColour);
    g.drawText(hasKeyboardFocus(false) ? "Keys Z to M play  -  U I velocity  -  O P octave"
                                       : "Click here to play from the computer keyboard",
               area, juce::Justification::centredLeft, false);
}

} // namespace zarnel
