#include "KeyBrd.h"

#include "midi/MidiCntrState.h"
#include "ui/look/Pictures.h"

namespace zarnel
{

KeyBrd::KeyBrd(MidiCntrState& s)
    : state(s), grip(Pictures::get(Picture::keyGrip)), well(Pictures::get(Picture::wheelWell)), velocity(s),
      pitchWheel(s, true), modWheel(s, false), octaveStrip(s), piano(s), player(s, playerMode)
{
    setTitle("Keyboard");
    setOpaque(true);
    for (juce::Component* c : {(juce::Component*)&velocity, (juce::Component*)&pitchWheel, (juce::Component*)&modWheel,
                               (juce::Component*)&octaveStrip, (juce::Component*)&piano, (juce::Component*)&player})
        addAndMakeVisible(*c);
    player.addListener(this);
    // Notes played from the computer keyboard show on the piano while they sound.
    player.onHeldNotesChanged = [this] {
        const auto& notes = player.getPlayer();
        piano.showHeldNotes([&notes](int note) { return notes.isHoldingNote(note); });
    };
    octaveStrip.addChangeListener(this);
    rescale(1.0f);
}

KeyBrd::~KeyBrd()
{
    player.onHeldNotesChanged = nullptr;
    octaveStrip.removeChangeListener(this);
    player.removeListener(this);
}

void KeyBrd::changeListenerCallback(juce::ChangeBroadcaster*)
{
    piano.refreshHeldNotes();
}

juce::Rectangle<int> KeyBrd::scaled(float x, float y, float w, float h) const
{
    return {(int)(x * scale), (int)(y * scale), (int)(w * scale), (int)(h * scale)};
}

void KeyBrd::rescale(float s)
{
    scale = s;
    dragging = false;
    setBounds(0, StripPosition::top(StripPosition::collapsedTop, s), (int)((float)StripPosition::width * s),
              (int)((float)StripPosition::height * s));
    velocity.setBounds(scaled(20, 38, VelIndClass::width, VelIndClass::height));
    velocity.setScale(s);
    pitchWheel.setBounds(scaled(90, 45, WheelCnt::width, WheelCnt::height));
    pitchWheel.setScale(s);
    modWheel.setBounds(scaled(140, 45, WheelCnt::width, WheelCnt::height));
    modWheel.setScale(s);
    const float t = OctaveKeyClass::stripScale * s;
    octaveStrip.setBounds((int)(14.0f * s), (int)(25.9f * s), (int)((float)OctaveKeyClass::pictureWidth * t),
                          (int)((float)OctaveKeyClass::pictureHeight * t));
    octaveStrip.setScale(t);
    piano.setScale(s);
    piano.setTopLeftPosition(PianoLayout::padBounds(s).getPosition());
    player.setBounds(scaled(400, 4, 200, 12));
    player.setFontSize(10.0f * s);
    // Hidden below the window, the keys cannot be let go: nothing stays held there.
    piano.releaseAll();
}

void KeyBrd::paint(juce::Graphics& g)
{
    g.fillAll(juce::Colour(0xff252525));
    g.drawImage(grip, scaled(0, 0, (float)StripPosition::width, (float)StripPosition::gripHeight).toFloat());
    g.drawImage(well, scaled(89, 43, 43, 116).toFloat());
    g.drawImage(well, scaled(139, 43, 43, 116).toFloat());
}

void KeyBrd::mouseMove(const juce::MouseEvent& e)
{
    setMouseCursor((float)e.y < (float)StripPosition::gripHeight * scale ? juce::MouseCursor::UpDownResizeCursor
                                                                         : juce::MouseCursor::NormalCursor);
}

void KeyBrd::keyPlayDragStarted(int y)
{
    toFront(false);
    dragging = true;
    dragStartTop = getY();
    dragStartY = getY() + y;
}

void KeyBrd::keyPlayDragged(int y)
{
    if (!dragging)
        return;
    setTopLeftPosition(0, StripPosition::dragged(dragStartTop, getY() + y - dragStartY, scale));
}

void KeyBrd::keyPlayDragEnded()
{
    if (!dragging)
        return;
    dragging = false;
    setTopLeftPosition(0, StripPosition::snapped(getY(), scale));
    if (isCollapsed())
        piano.releaseAll();
    sendChangeMessage();
}

void KeyBrd::mouseDown(const juce::MouseEvent& e)
{
    if ((float)e.y < (float)StripPosition::gripHeight * scale)
        keyPlayDragStarted(e.y);
}

void KeyBrd::mouseDrag(const juce::MouseEvent& e)
{
    keyPlayDragged(e.y);
}

void KeyBrd::mouseUp(const juce::MouseEvent&)
{
    keyPlayDragEnded();
}

} // namespace zarnel
