#include "PianoPad.h"

#include "midi/MidiCntrState.h"

namespace zarnel
{

PianoPad::PianoPad(MidiCntrState& s) : state(s), overlay(*this)
{
    for (int i = 0; i < PianoLayout::numKeys; ++i)
        keys[(size_t)i] = std::make_unique<PianoKey>(i, PianoLayout::isBlack(i));
    // White keys first: the black ones always lie in front of them.
    for (const bool black : {false, true})
        for (auto& k : keys)
            if (k->isBlack() == black)
                addAndMakeVisible(*k);
    addAndMakeVisible(overlay);
    setScale(1.0f);
}

PianoPad::~PianoPad()
{
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
    for (int i = 0; i < PianoLayout::numKeys; ++i)
        releaseKey(i);
    overlay.forgetHeldKey();
}

} // namespace zarnel
