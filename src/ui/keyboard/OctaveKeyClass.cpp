#include "OctaveKeyClass.h"

#include "PianoLayout.h"

#include "midi/MidiCntrState.h"
#include "ui/look/Pictures.h"

namespace zarnel
{

OctaveKeyClass::OctaveKeyClass(MidiCntrState& s)
    : state(s), firstNote(juce::jlimit(0, PianoLayout::highestFirstNote, s.keyboardOctave.load() * 12)),
      picture(Pictures::get(Picture::octaveMiniature))
{
    setMouseCursor(juce::MouseCursor::PointingHandCursor);
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
    const int first = PianoLayout::firstNoteAt((float)x / scale);
    state.keyboardOctave = first / 12;
    if (first == firstNote)
        return;
    firstNote = first;
    repaint();
    sendChangeMessage();
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

} // namespace zarnel
