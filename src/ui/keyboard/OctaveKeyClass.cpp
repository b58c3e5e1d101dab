#include "OctaveKeyClass.h"

#include "PianoLayout.h"

#include "midi/MidiCntrState.h"
#include "ui/look/Pictures.h"
#include "ui/keyboard/NotePlayer.h"
#include "ui/widgets/ButtonAccess.h"

namespace zarnel
{

OctaveKeyClass::OctaveKeyClass(MidiCntrState& s)
    : state(s), firstNote(juce::jlimit(0, PianoLayout::highestFirstNote, s.keyboardOctave.load() * 12)),
      picture(Pictures::get(Picture::octaveMiniature))
{
    setMouseCursor(juce::MouseCursor::PointingHandCursor);
    ButtonAccess::takeFocusFromKeys(*this);
}

void OctaveKeyClass::setScale(float t)
{
    scale = t;
    repaint();
}

void OctaveKeyClass::chooseAt(int x)
{
    if (scale <= 0.0f || x < 0 || x >= getWidth())
        return;
    chooseFirstNote(PianoLayout::firstNoteAt((float)x / scale));
}

void OctaveKeyClass::chooseFirstNote(int first)
{
    first = juce::jlimit(0, PianoLayout::highestFirstNote, first);
    state.keyboardOctave = first / 12;
    if (first == firstNote)
        return;
    firstNote = first;
    repaint();
    sendChangeMessage();
    if (auto* handler = getAccessibilityHandler())
        handler->notifyAccessibilityEvent(juce::AccessibilityEvent::valueChanged);
}

void OctaveKeyClass::mouseDown(const juce::MouseEvent& e)
{
    chooseAt(e.x);
}

void OctaveKeyClass::mouseDrag(const juce::MouseEvent& e)
{
    chooseAt(e.x);
}

void OctaveKeyClass::paint(juce::Graphics& g)
{
    const float t = scale;
    const float w = (float)pictureWidth * t, h = (float)pictureHeight * t;
    g.drawImage(picture, juce::Rectangle<float>(0.0f, 0.0f, w, h));
    const float left = PianoLayout::miniatureX(firstNote) * t;
    const float right = PianoLayout::miniatureX(firstNote + PianoLayout::shownRange - 1) * t;
    g.setColour(juce::Colour(0x66000000));
    g.fillRect(juce::Rectangle<float>(0.0f, 0.0f, left, h));
    g.fillRect(juce::Rectangle<float>(right, 0.0f, juce::jmax(0.0f, w - right), h));
}

bool OctaveKeyClass::keyPressed(const juce::KeyPress& key)
{
    const int direction = ButtonAccess::arrowDirection(key);
    if (direction == 0)
        return false;
    chooseFirstNote(firstNote + 12 * direction);
    return true;
}

std::unique_ptr<juce::AccessibilityHandler> OctaveKeyClass::createAccessibilityHandler()
{
    ButtonAccess::ValueParts parts;
    parts.title = [] { return juce::String("Keyboard octave"); };
    parts.value = [this] { return (double)(firstNote / 12); };
    parts.text = [this] {
        return NotePlayer::noteName(firstNote) + " to "
               + NotePlayer::noteName(juce::jmin(127, firstNote + PianoLayout::shownRange - 1));
    };
    parts.set = [this](double octave) { chooseFirstNote(juce::roundToInt(octave) * 12); };
    parts.minimum = 0.0;
    parts.maximum = (double)(PianoLayout::highestFirstNote / 12);
    return ButtonAccess::makeValueHandler(*this, std::move(parts));
}

} // namespace zarnel
