#include "NoteTracker.h"

namespace zarnel
{

void NoteTracker::observe(const std::uint8_t* data, int size) noexcept
{
    if (data == nullptr || size < 1)
        return;
    const int status = data[0];
    if (status == 0xFF) // system reset: the instrument silences itself
    {
        clear();
        return;
    }
    if (status < 0x80 || status >= 0xF0 || size < 3)
        return;

    const auto channel = (size_t)(status & 0x0F);
    const int data1 = data[1] & 0x7F;
    const int data2 = data[2] & 0x7F;
    switch (status & 0xF0)
    {
        case 0x90:
            notes[channel].set((size_t)data1, data2 > 0);
            break;
        case 0x80:
            notes[channel].reset((size_t)data1);
            break;
        case 0xB0:
            if (data1 == sustainController)
                pedals.set(channel, data2 >= 64);
            else if (data1 == 121) // reset all controllers lets the pedal go
                pedals.reset(channel);
            else if (data1 == 120 || data1 == 123) // all sound off, all notes off
                notes[channel].reset();
            break;
        default:
            break;
    }
}

bool NoteTracker::endsSound(const std::uint8_t* data, int size) noexcept
{
    if (data == nullptr || size < 3)
        return false;
    switch (data[0] & 0xF0)
    {
        case 0x80:
            return true;
        case 0x90:
            return data[2] == 0;
        case 0xB0:
            return (data[1] == sustainController && data[2] < 64) || data[1] == 120 || data[1] == 123;
        default:
            return false;
    }
}

bool NoteTracker::isNoteOn(int channel, int note) const noexcept
{
    if (channel < 1 || channel > numChannels || note < 0 || note > 127)
        return false;
    return notes[(size_t)channel - 1].test((size_t)note);
}

bool NoteTracker::isPedalDown(int channel) const noexcept
{
    return channel >= 1 && channel <= numChannels && pedals.test((size_t)channel - 1);
}

bool NoteTracker::anySounding() const noexcept
{
    if (pedals.any())
        return true;
    for (const auto& n : notes)
        if (n.any())
            return true;
    return false;
}

void NoteTracker::clear() noexcept
{
    for (auto& n : notes)
        n.reset();
    pedals.reset();
}

} // namespace zarnel
