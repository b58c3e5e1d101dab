#include "NotePlayer.h"

namespace zarnel
{

namespace
{
const char* const pitchNames[12] = {"C", "C#", "D", "D#", "E", "F", "F#", "G", "G#", "A", "A#", "B"};
} // namespace

NotePlayer::NotePlayer(Output& out, int playerMode) : output(out), mode(playerMode) {}

juce::String NotePlayer::noteName(int note)
{
    note = juce::jmax(0, note);
    return juce::String(pitchNames[note % 12]) + juce::String(note / 12);
}

int NotePlayer::playKeyIndex(juce::juce_wchar character) noexcept
{
    const auto upper = juce::CharacterFunctions::toUpperCase(character);
    for (int i = 0; i < numPlayKeys; ++i)
        if ((juce::juce_wchar)playKeys[i] == upper)
            return i;
    return -1;
}

bool NotePlayer::isHolding() const noexcept
{
    for (const auto& h : held)
        if (h.note >= 0)
            return true;
    return false;
}

bool NotePlayer::isHoldingNote(int note) const noexcept
{
    for (const auto& h : held)
        if (h.note == note && note >= 0)
            return true;
    return false;
}

NotePlayer::KeyUse NotePlayer::useOf(const juce::KeyPress& key) noexcept
{
    const auto mods = key.getModifiers();
    if (mods.isCommandDown() || mods.isCtrlDown() || mods.isAltDown())
        return {};
    const int code = key.getKeyCode();
    if (code == juce::KeyPress::spaceKey)
        return {Action::allNotesOff};
    // Letters by their key, whatever Shift did to the character.
    const auto character = code > 0 && code < 128 ? (juce::juce_wchar)code : key.getTextCharacter();
    if (const int index = playKeyIndex(character); index >= 0)
        return {Action::note, index};
    switch (juce::CharacterFunctions::toUpperCase(character))
    {
        case 'U':
            return {Action::velocityDown};
        case 'I':
            return {Action::velocityUp};
        case 'O':
            return {Action::octaveDown};
        case 'P':
            return {Action::octaveUp};
        default:
            return {};
    }
}

bool NotePlayer::keyPressed(const juce::KeyPress& key, int channel)
{
    const auto use = useOf(key);
    switch (use.action)
    {
        case Action::none:
            return false;
        case Action::note:
            play(use.playKey, channel);
            break;
        case Action::allNotesOff:
            releaseAll();
            for (int note = 0; note < 128; ++note)
                output.noteOff(channel, note);
            status = "All Notes OFF";
            break;
        case Action::velocityDown:
            if (velocity > 4)
                velocity -= 5;
            status = "Note Velocity: " + juce::String(velocity);
            break;
        case Action::velocityUp:
            if (velocity < 122)
                velocity += 5;
            status = "Note Velocity: " + juce::String(velocity);
            break;
        case Action::octaveDown:
            if (base > 0)
                base -= 12;
            status = "Octave " + juce::String(base / 12 - 2);
            break;
        case Action::octaveUp:
            if (base < 115)
                base += 12;
            status = "Octave " + juce::String(base / 12 - 2);
            break;
    }
    return true;
}

void NotePlayer::play(int keyIndex, int channel)
{
    auto& h = held[(size_t)keyIndex];
    const int note = base + keyIndex;
    if (h.note >= 0 || note > 127)
        return;
    output.noteOn(channel, note, velocity);
    h = {channel, note};
    status = "Play Chn: " + juce::String(channel) + " Key: " + noteName(note) + " Vel: " + juce::String(velocity);
}

void NotePlayer::release(int keyIndex)
{
    auto& h = held[(size_t)keyIndex];
    if (h.note < 0)
        return;
    const auto was = h;
    h = {};
    output.noteOff(was.channel, was.note);
}

void NotePlayer::keysChanged(const std::function<bool(char letter)>& isLetterDown)
{
    // Every key that is up, not only the first: keys let go together must not leave one sounding.
    for (int i = 0; i < numPlayKeys; ++i)
        if (held[(size_t)i].note >= 0 && !isLetterDown(playKeys[i]))
            release(i);
}

void NotePlayer::releaseAll()
{
    for (int i = 0; i < numPlayKeys; ++i)
        release(i);
}

} // namespace zarnel
