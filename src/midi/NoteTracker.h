#pragma once

#include <array>
#include <bitset>
#include <cstdint>

namespace zarnel
{

// What a stream of MIDI left sounding: the notes held and the sustain pedals down, per channel.
// Whoever cuts a stream off (another output, a port search, a channel change, bypass, shut-down)
// asks it for the messages that silence the instrument. Fixed size and pure, so the sender thread
// and the audio thread can each keep one without allocating or locking.
class NoteTracker
{
public:
    static constexpr int numChannels = 16;
    static constexpr int sustainController = 64;

    // One whole message as it went out. Data bytes alone (pieces of a system-exclusive message)
    // and other kinds change nothing.
    void observe(const std::uint8_t* data, int size) noexcept;

    // A message that only ends sound: a note-off (or note-on of velocity 0), a sustain pedal let
    // go, all sound off or all notes off.
    static bool endsSound(const std::uint8_t* data, int size) noexcept;

    bool isNoteOn(int channel, int note) const noexcept;  // channel 1 to 16
    bool isPedalDown(int channel) const noexcept;
    bool anySounding() const noexcept;

    // Hands `emit` a note-off for every note held and then a pedal release where the pedal is
    // down, each as three bytes; afterwards nothing is tracked.
    template <typename Emit>
    void release(Emit&& emit) noexcept
    {
        for (int c = 0; c < numChannels; ++c)
        {
            auto& held = notes[(size_t)c];
            if (held.any())
                for (int n = 0; n < 128; ++n)
                    if (held.test((size_t)n))
                    {
                        const std::uint8_t off[3] = {(std::uint8_t)(0x80 | c), (std::uint8_t)n, 0};
                        emit(off);
                    }
            if (pedals.test((size_t)c))
            {
                const std::uint8_t up[3] = {(std::uint8_t)(0xB0 | c), (std::uint8_t)sustainController, 0};
                emit(up);
            }
        }
        clear();
    }

    void clear() noexcept;

private:
    std::array<std::bitset<128>, numChannels> notes{};
    std::bitset<numChannels> pedals{};
};

} // namespace zarnel
