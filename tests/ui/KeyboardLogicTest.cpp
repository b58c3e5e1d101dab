#include "ui/keyboard/NotePlayer.h"
#include "ui/keyboard/PianoLayout.h"
#include "ui/keyboard/StripPosition.h"

#include <gtest/gtest.h>

#include <set>

using namespace zarnel;

namespace
{

struct Recorder : NotePlayer::Output
{
    void noteOn(int channel, int note, int velocity) override
    {
        events.push_back("on " + juce::String(channel) + " " + juce::String(note) + " " + juce::String(velocity));
        sounding.insert({channel, note});
    }
    void noteOff(int channel, int note) override
    {
        if (sounding.erase({channel, note}) > 0)
            events.push_back("off " + juce::String(channel) + " " + juce::String(note));
    }

    std::vector<juce::String> events;
    std::set<std::pair<int, int>> sounding;
};

juce::KeyPress key(int code)
{
    return juce::KeyPress(code);
}

} // namespace

TEST(NotePlayer, LettersPlayAnOctaveFromTheBaseWithOrWithoutShift)
{
    Recorder out;
    NotePlayer player(out, NotePlayer::stripMode);
    const std::tuple<int, int> cases[] = {{'z', 36}, {'S', 37}, {'x', 38}, {'V', 41}, {'m', 47}, {'J', 46}};
    for (const auto& [letter, note] : cases)
    {
        ASSERT_TRUE(player.keyPressed(key(letter), 3));
        EXPECT_EQ(out.events.back(), "on 3 " + juce::String(note) + " 100") << (char)letter;
    }
    EXPECT_EQ(player.getStatus(), "Play Chn: 3 Key: A#3 Vel: 100");
    const auto before = out.events.size();
    player.keyPressed(key('z'), 3); // the key repeating
    EXPECT_EQ(out.events.size(), before) << "a held note is not played again";
}

TEST(NotePlayer, ShortcutsAreNoNotes)
{
    Recorder out;
    NotePlayer player(out, NotePlayer::stripMode);
    for (const char letter : {'z', 'y', 'u', 'o'})
        EXPECT_FALSE(player.keyPressed(juce::KeyPress(letter, juce::ModifierKeys::commandModifier, 0), 3)) << letter;
    EXPECT_TRUE(out.events.empty());
}

TEST(NotePlayer, VelocityAndOctaveKeysStopAtTheirEnds)
{
    Recorder out;
    NotePlayer player(out, NotePlayer::stripMode);
    for (int i = 0; i < 25; ++i)
        player.keyPressed(key('u'), 1);
    EXPECT_EQ(player.getVelocity(), 0);
    EXPECT_EQ(player.getStatus(), "Note Velocity: 0");
    for (int i = 0; i < 30; ++i)
        player.keyPressed(key('I'), 1);
    EXPECT_EQ(player.getVelocity(), 125);

    for (int i = 0; i < 3; ++i)
        player.keyPressed(key('o'), 1);
    EXPECT_EQ(player.getBase(), 0);
    EXPECT_EQ(player.getStatus(), "Octave -2");
    player.keyPressed(key('o'), 1);
    EXPECT_EQ(player.getBase(), 0);
    for (int i = 0; i < 12; ++i)
        player.keyPressed(key('p'), 1);
    EXPECT_EQ(player.getBase(), 120);
    EXPECT_EQ(player.getStatus(), "Octave 8");

    // From base 120 the top of the octave is past the last note: nothing at all happens.
    out.events.clear();
    player.clearStatus();
    player.keyPressed(key('m'), 1); // 131
    EXPECT_TRUE(out.events.empty());
    EXPECT_TRUE(player.getStatus().isEmpty());
    player.keyPressed(key('z'), 1); // 120
    EXPECT_EQ(out.events.back(), "on 1 120 125");
}

TEST(NotePlayer, ReleasesGoToTheNoteThatWasSent)
{
    Recorder out;
    NotePlayer player(out, NotePlayer::stripMode);
    std::set<char> down;
    const auto isDown = [&](char letter) { return down.count(letter) > 0; };

    // Holding V while pressing Z keeps the F sounding.
    down = {'V'};
    player.keyPressed(key('v'), 1);
    down.insert('Z');
    player.keyPressed(key('z'), 1);
    player.keysChanged(isDown);
    EXPECT_EQ(out.sounding, (std::set<std::pair<int, int>>{{1, 36}, {1, 41}}));

    // The octave and the channel change while Z is held; its note-off still goes to 1 / 36.
    player.keyPressed(key('p'), 5);
    down.erase('Z');
    player.keysChanged(isDown);
    EXPECT_EQ(out.sounding, (std::set<std::pair<int, int>>{{1, 41}}));

    // Keys let go together are all released.
    down.insert('X');
    down.insert('C');
    player.keyPressed(key('x'), 2);
    player.keyPressed(key('c'), 2);
    down.clear();
    player.keysChanged(isDown);
    EXPECT_TRUE(out.sounding.empty());
    EXPECT_FALSE(player.isHolding());
}

TEST(NotePlayer, ReleaseAllAndSpaceLeaveNothingSounding)
{
    Recorder out;
    NotePlayer player(out, NotePlayer::stripMode);
    player.keyPressed(key('z'), 1);
    player.keyPressed(key('x'), 2);
    player.releaseAll();
    EXPECT_TRUE(out.sounding.empty());

    player.keyPressed(key('z'), 1);
    player.keyPressed(key(juce::KeyPress::spaceKey), 4);
    EXPECT_TRUE(out.sounding.empty()) << "held notes go off on their own channel";
    EXPECT_EQ(player.getStatus(), "All Notes OFF");
    EXPECT_FALSE(player.isHolding());
}

TEST(NotePlayer, NoteNames)
{
    const std::tuple<int, const char*> cases[] = {{36, "C3"}, {0, "C0"}, {61, "C#5"}, {127, "G10"}, {47, "B3"}};
    for (const auto& [note, name] : cases)
        EXPECT_EQ(NotePlayer::noteName(note), juce::String(name));
}

TEST(PianoLayout, KeysAtScaleOne)
{
    const auto keys = PianoLayout::layout(1.0f);
    EXPECT_EQ(keys[0].bounds, juce::Rectangle<int>(0, 0, 25, 152));
    EXPECT_EQ(keys[1].bounds, juce::Rectangle<int>(15, 0, 16, 100));
    EXPECT_EQ(keys[2].hitLeft, 33) << "the D starts right of the C# for the upper part";
    EXPECT_EQ(keys[5].hitLeft, 75);
    EXPECT_EQ(keys[13].bounds.getX(), 175 + 15);
    EXPECT_EQ(keys[64].bounds, juce::Rectangle<int>(925, 0, 25, 152)) << "the last key is the fifth octave's E";
    EXPECT_EQ(PianoLayout::padBounds(1.0f), juce::Rectangle<int>(210, 20, 950, 151));
}

TEST(PianoLayout, HitTest)
{
    for (const float s : {1.0f, 1.2f})
    {
        const auto keys = PianoLayout::layout(s);
        const auto at = [&](float x, float y) { return PianoLayout::keyAt(keys, (int)(x * s), (int)(y * s), s); };
        const std::tuple<float, float, int> cases[] = {
            {5, 10, 0},    {20, 10, 1},    {20, 120, 0},  {40, 10, 2},    {48, 10, 3},   {60, 120, 4},
            {95, 50, 6},   {176, 10, 12},  {940, 10, 64}, {955, 10, -1},  {5, 160, -1},  {-1, 10, -1},
            {870, 10, 59}, {845, 120, 57}};
        for (const auto& [x, y, key] : cases)
            EXPECT_EQ(at(x, y), key) << "scale " << s << " at " << x << ", " << y;
    }
}

TEST(PianoLayout, VelocityByHeight)
{
    const std::tuple<bool, float, int, std::optional<int>> cases[] = {
        {false, 0.0f, 0, 5},     {false, 152.0f, 0, 127}, {false, 52.0f, 5, 5},   {false, 102.0f, 1, 63},
        {false, 153.0f, 0, {}},  {true, 50.0f, 0, 63},    {true, 100.0f, 0, 127}, {true, 101.0f, 0, 127},
        {true, 2.0f, 0, 5},      {false, 0.0f, 100, 100}, {true, 150.0f, 6, 6},   {false, 160.0f, 100, 100}};
    for (const auto& [black, y, keyboardVelocity, velocity] : cases)
        EXPECT_EQ(PianoLayout::velocityFor(black, y, keyboardVelocity), velocity)
            << (black ? "black" : "white") << " y " << y << " keyboard velocity " << keyboardVelocity;
}

TEST(PianoLayout, OctaveStrip)
{
    const std::tuple<float, int> cases[] = {
        {0.0f, 0}, {24.0f, 0}, {50.0f, 0}, {60.0f, 12}, {75.0f, 12}, {76.0f, 24}, {101.0f, 36}, {176.0f, 72}, {268.0f, 72}};
    for (const auto& [x, first] : cases)
        EXPECT_EQ(PianoLayout::firstNoteAt(x), first) << x;
    EXPECT_FLOAT_EQ(PianoLayout::miniatureX(24), 50.0f);
    EXPECT_FLOAT_EQ(PianoLayout::miniatureX(35), 51.0f + 25.0f);
}

TEST(StripPosition, DragLimitsAndSnapping)
{
    for (const float s : {1.0f, 0.5f, 1.2f})
    {
        const auto top = [s](int unscaled) { return (int)((float)unscaled * s); };
        const std::tuple<int, int> cases[] = {{600, 680}, {596, 680}, {594, 528}, {500, 528}, {444, 528}, {300, 300}, {23, 23}};
        for (const auto& [at, snapped] : cases)
        {
            // The highest place is just below the application bar, which does not scale.
            const int dropped = at == 23 ? 23 : top(at);
            EXPECT_EQ(StripPosition::snapped(dropped, s), at == 23 ? 23 : top(snapped)) << at << " at scale " << s;
        }
        EXPECT_EQ(StripPosition::dragged(top(680), -2000, s), 23);
        EXPECT_EQ(StripPosition::dragged(top(680), 50, s), top(680));
        EXPECT_EQ(StripPosition::dragged(top(528), -28, s), top(528) - 28);
    }
}
