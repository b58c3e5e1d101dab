#include "PianoLayout.h"

namespace zarnel
{

namespace
{
// Per pitch class: the black keys' offsets from the octave's left edge, -1 for white keys.
constexpr std::array<int, 12> blackOffset{-1, 15, -1, 44, -1, -1, 90, -1, 116, -1, 142, -1};
// On the miniature, per pitch class.
constexpr std::array<int, 12> miniatureOffset{0, 4, 6, 9, 10, 11, 14, 16, 20, 22, 23, 26};
// White key w of an octave (C D E F G A B) to its pitch class, less w.
constexpr std::array<int, 7> whiteToNote{0, 1, 2, 2, 3, 4, 5};

int scaled(float v, float s)
{
    return (int)(v * s);
}
} // namespace

bool PianoLayout::isBlack(int key) noexcept
{
    return blackOffset[(size_t)(((key % 12) + 12) % 12)] >= 0;
}

juce::Rectangle<int> PianoLayout::padBounds(float s)
{
    return {scaled((float)padX, s), scaled((float)padY, s), scaled((float)whiteWidth, s) * padWhiteKeys,
            scaled((float)padHeight, s)};
}

PianoLayout::Keys PianoLayout::layout(float s)
{
    Keys keys{};
    const int ww = scaled((float)whiteWidth, s), wh = scaled((float)whiteHeight, s);
    const int bw = scaled((float)blackWidth, s), bh = scaled((float)blackHeight, s);
    int whiteX = 0;
    int lastBlackRight = -1;
    for (int i = 0; i < numKeys; ++i)
    {
        auto& k = keys[(size_t)i];
        const int octave = i / 12;
        if (isBlack(i))
        {
            const int x = (int)((float)blackOffset[(size_t)(i % 12)] * s + (float)(octave * 7 * ww));
            k = {{x, 0, bw, bh}, x, true};
            lastBlackRight = x + bw;
        }
        else
        {
            // After a black key, the upper part of a white key starts just right of it.
            const int hitLeft = lastBlackRight >= 0 ? lastBlackRight + scaled(2.0f, s) : whiteX;
            k = {{whiteX, 0, ww, wh}, hitLeft, false};
            whiteX += ww;
            lastBlackRight = -1;
        }
    }
    return keys;
}

int PianoLayout::keyAt(const Keys& keys, int x, int y, float s)
{
    const auto& last = keys.back();
    if (x < 0 || y < 0 || x >= last.bounds.getRight() || y >= scaled((float)whiteHeight, s))
        return -1;
    const bool upper = y < scaled((float)blackHeight, s);
    int found = -1;
    for (int i = 0; i < numKeys; ++i)
    {
        const auto& k = keys[(size_t)i];
        if (upper ? k.hitLeft <= x : (!k.black && k.bounds.getX() <= x))
            found = i;
    }
    return found;
}

std::optional<int> PianoLayout::velocityFor(bool black, float y, int keyboardVelocity) noexcept
{
    if (keyboardVelocity >= heightVelocityBelow)
        return juce::jmin(127, keyboardVelocity);
    if (y > (float)whiteHeight)
        return std::nullopt;
    float d;
    if (black)
        d = y <= (float)blackHeight ? y : 127.0f;
    else
        d = juce::jmax(0.0f, y - 52.0f);
    return juce::jlimit(5, 127, (int)(d * 1.27f));
}

float PianoLayout::miniatureX(int note) noexcept
{
    note = juce::jmax(0, note);
    return (float)miniatureOffset[(size_t)(note % 12)] + miniatureOctave * (float)(note / 12);
}

int PianoLayout::firstNoteAt(float x) noexcept
{
    const float p = x - miniatureOctave;
    const int w = juce::jmax(0, (int)(p / miniatureWhiteKey));
    const int octave = w / 7;
    const int note = w + 5 * octave + whiteToNote[(size_t)(w % 7)];
    return juce::jmin(highestFirstNote, (note / 12) * 12);
}

} // namespace zarnel
