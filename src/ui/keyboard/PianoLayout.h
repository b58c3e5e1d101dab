#pragma once

#include <juce_graphics/juce_graphics.h>

#include <array>
#include <optional>

namespace zarnel
{

// The geometry of the on-screen piano and of the octave strip, without a screen: where each of
// the 65 keys lies at a scale, which key a point hits, the velocity a click's height gives, and
// the first note the octave strip chooses. Heights and the strip's positions are read in unscaled
// units, since the whole keyboard strip scales together.
struct PianoLayout
{
    static constexpr int numKeys = 65;
    static constexpr int whiteWidth = 25, whiteHeight = 152;
    static constexpr int blackWidth = 16, blackHeight = 100;
    static constexpr int octaveWidth = 7 * whiteWidth;
    static constexpr int padX = 210, padY = 20, padWhiteKeys = 38, padHeight = 151;
    // The keyboard velocity below which a click's height sets the velocity.
    static constexpr int heightVelocityBelow = 6;
    // The miniature keyboard of the octave strip: 25 pixels an octave, a white key 25 / 7.
    static constexpr float miniatureOctave = 25.0f, miniatureWhiteKey = 3.573f;
    static constexpr int shownRange = 65, highestFirstNote = 72;

    struct Key
    {
        juce::Rectangle<int> bounds; // in the pad
        int hitLeft = 0;             // left edge for hits above the black keys' bottom
        bool black = false;
    };
    using Keys = std::array<Key, numKeys>;

    static bool isBlack(int key) noexcept;
    static Keys layout(float scale);
    static juce::Rectangle<int> padBounds(float scale);
    // The key at a point of the pad, or -1.
    static int keyAt(const Keys& keys, int x, int y, float scale);
    // The velocity a click y unscaled units below the key's top plays with, or nothing when the
    // click is below the key. Above the threshold the keyboard velocity is taken as it is.
    static std::optional<int> velocityFor(bool black, float y, int keyboardVelocity) noexcept;

    // The octave strip: x of a note on the miniature (unscaled), and the first note shown after a
    // click at unscaled x (a multiple of 12 from 0 to 72).
    static float miniatureX(int note) noexcept;
    static int firstNoteAt(float x) noexcept;

    PianoLayout() = delete;
};

} // namespace zarnel
