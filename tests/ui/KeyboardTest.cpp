#include "PanelTestSupport.h"

#include "ui/keyboard/NotePlayer.h"

#include <gtest/gtest.h>

#include <set>

using namespace zarnel;
using test::mouseAt;

namespace
{

// The editor open on the simulated synthesizer; the keyboard strip plays it.
class KeyboardTest : public ::testing::Test, protected test::EditorRig
{
protected:
    KeyboardTest()
    {
        player().setKeyDownQuery([this](char letter) { return down.count(letter) > 0; });
        settle();
    }

    bool soundingAre(const std::vector<int>& notes)
    {
        return settleUntil([&] { return rig.synth.soundingNotes() == notes; });
    }

    KeyBrd& strip() { return main.getKeyboard(); }
    KeyPlayClass& player() { return strip().getNotePlayer(); }
    KeyOverlay& overlay() { return strip().getPiano().getOverlay(); }

    // The note-ons the instrument received since the logs were cleared, as (note, velocity).
    std::vector<std::pair<int, int>> noteOns()
    {
        std::vector<std::pair<int, int>> out;
        for (const auto& e : rig.synth.received())
            if (e.bytes.size() == 3 && (e.bytes[0] & 0xF0) == 0x90 && e.bytes[2] > 0)
                out.emplace_back(e.bytes[1], e.bytes[2]);
        return out;
    }

    // Key presses as the player gets them, with the keys' state following.
    void press(char letter)
    {
        down.insert((char)juce::CharacterFunctions::toUpperCase((juce::juce_wchar)letter));
        player().keyPressed(juce::KeyPress(letter));
        player().keyStateChanged(true);
    }
    void letGo(char letter)
    {
        down.erase((char)juce::CharacterFunctions::toUpperCase((juce::juce_wchar)letter));
        player().keyStateChanged(false);
    }

    // A press and release of a key of the pad, y unscaled units below its top. Keys are whole
    // pixels wide at every scale, so the place is taken from the pad's own layout.
    void playKey(int key, float y)
    {
        const auto& k = strip().getPiano().getLayout()[(size_t)key];
        const int px = k.black ? k.bounds.getCentreX() : k.hitLeft + 2, py = (int)(y * strip().getScale());
        overlay().mouseDown(mouseAt(overlay(), px, py));
        overlay().mouseUp(mouseAt(overlay(), px, py));
    }

    std::set<char> down;
};

} // namespace

TEST_F(KeyboardTest, VelocityByKeyPosition)
{
    struct Case
    {
        int keyboardVelocity, key;
        float y; // unscaled, below the key's top
        int velocity;
    };
    const Case cases[] = {{0, 0, 0, 5},     {0, 0, 140, 111},   {0, 2, 102, 63},   {0, 1, 50, 63},
                          {0, 1, 95, 120},  {0, 3, 99, 125},   {100, 0, 0, 100},  {100, 1, 10, 100},
                          {6, 64, 20, 6},   {5, 64, 150, 124}};
    for (const int width : {1191, 1429})
    {
        editor.setSize(width, width * 700 / 1191);
        // Heights count in unscaled units; pixels rounded at a scale may move a velocity by one.
        const int tolerance = width == 1191 ? 0 : 1;
        for (const auto& c : cases)
        {
            processor.getState().keyboardVelocity = c.keyboardVelocity;
            rig.synth.clearLogs();
            playKey(c.key, c.y);
            ASSERT_TRUE(settleUntil([&] { return !noteOns().empty() && rig.synth.soundingNotes().empty(); }))
                << "width " << width << " key " << c.key << " at " << c.y;
            const auto played = noteOns();
            ASSERT_EQ(played.size(), 1u) << "width " << width << " key " << c.key << " at " << c.y;
            EXPECT_EQ(played[0].first, c.key + 24) << "octave 2: the pad starts at note 24";
            EXPECT_NEAR(played[0].second, c.velocity, tolerance)
                << "width " << width << " key " << c.key << " at " << c.y << " keyboard velocity " << c.keyboardVelocity;
        }
    }
}

TEST_F(KeyboardTest, VelocityIndicatorAndOctaveStrip)
{
    auto& velocity = strip().getVelocity();
    for (const int width : {1191, 952})
    {
        editor.setSize(width, width * 700 / 1191);
        const float s = strip().getScale();
        const auto px = [s](float v) { return (int)std::ceil(v * s); };
        velocity.mouseDown(mouseAt(velocity, px(5), px(27)));
        velocity.mouseDrag(mouseAt(velocity, px(5), px(50)));
        velocity.mouseUp(mouseAt(velocity, px(5), px(50)));
        EXPECT_EQ(processor.getState().keyboardVelocity.load(), 77) << width;
        EXPECT_EQ(velocity.getShownValue(), 77);
        velocity.mouseDrag(mouseAt(velocity, px(5), px(300)));
        EXPECT_EQ(processor.getState().keyboardVelocity.load(), 77) << "released: no drag";
        velocity.mouseDown(mouseAt(velocity, px(45), px(100)));
        velocity.mouseDrag(mouseAt(velocity, px(45), px(110)));
        EXPECT_EQ(processor.getState().keyboardVelocity.load(), 77) << "the number is not a handle";

        auto& octaves = strip().getOctaveStrip();
        const float t = 0.7f * s;
        for (const auto& [x, octave] : {std::pair(101.0f, 3), std::pair(0.0f, 0), std::pair(266.0f, 6), std::pair(76.0f, 2)})
        {
            octaves.mouseDown(mouseAt(octaves, (int)std::ceil(x * t), 5));
            EXPECT_EQ(processor.getState().keyboardOctave.load(), octave) << "width " << width << " x " << x;
            EXPECT_EQ(octaves.getFirstNote(), octave * 12);
        }
    }

    // The pad follows the octave; past note 127 the keys play nothing.
    processor.getState().keyboardVelocity = 100;
    processor.getState().keyboardOctave = 6;
    rig.synth.clearLogs();
    playKey(0, 120);  // 72
    playKey(64, 20);  // 136: nothing
    processor.getState().keyboardOctave = 9;
    playKey(0, 120);  // 108
    playKey(33, 120); // 141: nothing
    const std::vector<std::pair<int, int>> expected{{72, 100}, {108, 100}};
    ASSERT_TRUE(settleUntil([&] { return noteOns() == expected && rig.synth.soundingNotes().empty(); }));
}

TEST_F(KeyboardTest, DraggingAcrossTheKeys)
{
    processor.getState().keyboardVelocity = 100;
    const auto at = [&](float x, float y) { return mouseAt(overlay(), (int)x, (int)y); };
    overlay().mouseDown(at(5, 120)); // C 24
    ASSERT_TRUE(soundingAre({24}));
    overlay().mouseDrag(at(30, 120)); // onto D: C is let go, nothing plays yet
    ASSERT_TRUE(soundingAre({}));
    overlay().mouseDrag(at(31, 120)); // the next movement plays D
    ASSERT_TRUE(soundingAre({26}));
    overlay().mouseUp(at(31, 120));
    ASSERT_TRUE(soundingAre({}));
}

TEST_F(KeyboardTest, NotePlayerKeys)
{
    player().grabKeyboardFocus();
    rig.synth.clearLogs();
    press('z');
    press('V');
    ASSERT_TRUE(soundingAre({36, 41}));
    letGo('z');
    ASSERT_TRUE(soundingAre({41})) << "holding V while pressing Z keeps the F sounding";
    EXPECT_EQ(player().getStatus(), "Play Chn: 1 Key: F3 Vel: 100");

    press('u');
    press('u');
    press('p');
    EXPECT_EQ(player().getStatus(), "Octave 2");
    press('x');
    ASSERT_TRUE(soundingAre({41, 50}));
    EXPECT_EQ(noteOns().back(), std::pair(50, 90));
    press('i');
    press('o');
    press('o');
    letGo('v'); // pressed an octave higher: its own note goes off
    letGo('x');
    ASSERT_TRUE(soundingAre({}));

    // Digits are not the player's: they go on to the host's shortcuts and post nothing.
    main.drainNotifications();
    EXPECT_FALSE(player().keyPressed(juce::KeyPress('3')));
    std::uint32_t code = 0;
    EXPECT_FALSE(processor.getState().popNotification(code));

    // The status clears after a moment.
    EXPECT_TRUE(test::runUntil([&] { return player().getStatus().isEmpty(); }, 2000));
}

TEST_F(KeyboardTest, WheelsGoToThePortAndThePitchWheelToTheHostAndSpringsBack)
{
    processor.prepareToPlay(44100.0, 512);
    juce::AudioBuffer<float> audio(2, 512);
    juce::MidiBuffer hostMidi;
    processor.processBlock(audio, hostMidi);
    hostMidi.clear();

    auto& pitch = strip().getPitchWheel();
    pitch.mouseDown(mouseAt(pitch, 10, 60));
    pitch.mouseDrag(mouseAt(pitch, 10, 30)); // 30 up: 94
    ASSERT_TRUE(settleUntil([&] { return rig.synth.pitchWheel() == 94 * 128; }));
    pitch.mouseUp(mouseAt(pitch, 10, 30));
    ASSERT_TRUE(settleUntil([&] { return rig.synth.pitchWheel() == 8192; }));
    EXPECT_EQ(pitch.getValue(), 64.0f);

    processor.processBlock(audio, hostMidi);
    std::vector<int> toHost;
    for (const auto m : hostMidi)
        if (m.getMessage().isPitchWheel())
            toHost.push_back(m.getMessage().getPitchWheelValue());
    EXPECT_EQ(toHost, (std::vector<int>{94 * 128, 8192}));

    auto& mod = strip().getModWheel();
    mod.mouseDown(mouseAt(mod, 10, 60));
    mod.mouseDrag(mouseAt(mod, 10, 20));
    mod.mouseUp(mouseAt(mod, 10, 20));
    ASSERT_TRUE(settleUntil([&] { return rig.synth.modWheel() == 40; }));
    EXPECT_EQ(mod.getValue(), 40.0f) << "the modulation wheel stays";
    mod.mouseWheelMove(mouseAt(mod, 10, 20), test::wheel(-1.0f));
    ASSERT_TRUE(settleUntil([&] { return rig.synth.modWheel() == 39; }));
}

TEST_F(KeyboardTest, WheelsOnTheInstrumentMoveTheWheelsWithoutSendingBack)
{
    for (const int channel : {1, 16})
    {
        rig.synth.clearLogs();
        const auto cc = Notification::controlChange(channel, 1, 99);
        const auto bend = Notification::pitchBend(channel, 100, 5);
        main.handleStateCode(cc);
        main.handleStateCode(bend);
        EXPECT_EQ(strip().getModWheel().getValue(), 99.0f) << channel;
        EXPECT_EQ(strip().getPitchWheel().getValue(), 100.0f) << channel;
        main.handleStateCode(Notification::controlChange(channel, 7, 10));
        EXPECT_EQ(strip().getModWheel().getValue(), 99.0f) << "other controllers move nothing";
        main.handleStateCode(Notification::controlChange(channel, 1, 3));
        main.handleStateCode(Notification::pitchBend(channel, 64, 0));
        settle();
        EXPECT_TRUE(rig.synth.received().empty()) << channel;
    }
}

TEST_F(KeyboardTest, TheStripSnapsToItsTwoHeights)
{
    for (const int width : {1191, 714, 1429})
    {
        editor.setSize(width, width * 700 / 1191);
        const float s = strip().getScale();
        const auto top = [s](int unscaled) { return (int)((float)unscaled * s); };
        EXPECT_EQ(strip().getBounds(), juce::Rectangle<int>(0, top(680), top(1191), top(172)));
        struct Case
        {
            int dropAt, expected;
        };
        for (const auto& c : {Case{600, 680}, Case{500, 528}, Case{300, 300}, Case{0, -1}})
        {
            // Grabbed at its grip, moved, let go.
            const int grabY = top(10);
            strip().mouseDown(mouseAt(strip(), 100, grabY));
            strip().mouseDrag(mouseAt(strip(), 100, grabY + top(c.dropAt) - strip().getY()));
            strip().mouseUp(mouseAt(strip(), 100, grabY));
            EXPECT_EQ(strip().getY(), c.expected < 0 ? 23 : top(c.expected)) << "width " << width << " dropped at " << c.dropAt;
        }
    }
    // Dragged by the note player too; a layout collapses it again.
    editor.setSize(1191, 700);
    player().mouseDown(mouseAt(player(), 5, 5));
    player().mouseDrag(mouseAt(player(), 5, 5 - 160));
    player().mouseUp(mouseAt(player(), 5, 5 - 160));
    EXPECT_EQ(strip().getY(), 528);
    settle();
    EXPECT_GT(main.getIndexOfChildComponent(&strip()), main.getIndexOfChildComponent(&main.getEditorPanel()));
    editor.setSize(1000, 588);
    EXPECT_TRUE(strip().isCollapsed());

    // In front of the pages, behind the overlays, also after a layout.
    main.toggleMidiSetup(true);
    editor.setSize(1191, 700);
    ASSERT_NE(main.getMidiSetup(), nullptr);
    EXPECT_LT(main.getIndexOfChildComponent(&strip()), main.getIndexOfChildComponent(main.getMidiSetup()));
    main.toggleMidiSetup(false);
}

//==== No stuck notes =================================================================================

TEST_F(KeyboardTest, LosingTheFocusReleasesTheNotePlayersNotes)
{
    press('z');
    press('c');
    ASSERT_TRUE(soundingAre({36, 40}));
    player().focusLost(juce::Component::focusChangedByMouseClick);
    ASSERT_TRUE(soundingAre({}));
    letGo('z'); // let go in another window: nothing more to send
    letGo('c');
    settle();
    EXPECT_TRUE(rig.synth.soundingNotes().empty());
}

TEST_F(KeyboardTest, ANoteOffGoesToTheNoteThatWasSent)
{
    processor.getState().keyboardVelocity = 100;
    overlay().mouseDown(mouseAt(overlay(), 5, 120)); // 24 on channel 1
    ASSERT_TRUE(soundingAre({24}));
    processor.getState().keyboardOctave = 4;
    processor.getState().midiChannel = 2;
    overlay().mouseUp(mouseAt(overlay(), 5, 120));
    ASSERT_TRUE(soundingAre({}));
}

TEST(KeyboardLifetime, ClosingTheStripOrTheEditorWithKeysHeldLeavesNothingSounding)
{
    test::PanelRig rig;
    const auto soundingAre = [&](const std::vector<int>& notes) {
        return test::runUntil([&] { return rig.rig.synth.waitUntilIdle(10) && rig.rig.synth.soundingNotes() == notes; }, 3000);
    };
    auto& state = rig.processor.getState();

    // The strip alone, with the pitch wheel held up as well.
    {
        KeyBrd strip(state);
        strip.getPiano().getOverlay().mouseDown(mouseAt(strip.getPiano().getOverlay(), 5, 120));
        strip.getNotePlayer().keyPressed(juce::KeyPress('m'));
        auto& pitch = strip.getPitchWheel();
        pitch.mouseDown(mouseAt(pitch, 10, 60));
        pitch.mouseDrag(mouseAt(pitch, 10, 40));
        ASSERT_TRUE(soundingAre({24, 47}));
        ASSERT_TRUE(test::runUntil([&] { return rig.rig.synth.waitUntilIdle(10) && rig.rig.synth.pitchWheel() == 84 * 128; }, 3000));
    }
    ASSERT_TRUE(soundingAre({}));
    // The wheel's centre may come a little after the note-offs.
    EXPECT_TRUE(test::runUntil([&] { return rig.rig.synth.waitUntilIdle(10) && rig.rig.synth.pitchWheel() == 8192; }, 3000));

    // The pitch wheel turned with the mouse wheel does not spring back until the strip goes.
    {
        KeyBrd strip(state);
        auto& pitch = strip.getPitchWheel();
        juce::MouseWheelDetails up{};
        up.deltaY = 1.0f;
        for (int i = 0; i < 3; ++i)
            pitch.mouseWheelMove(mouseAt(pitch, 10, 60), up);
        ASSERT_TRUE(test::runUntil([&] { return rig.rig.synth.waitUntilIdle(10) && rig.rig.synth.pitchWheel() == 67 * 128; }, 3000));
    }
    EXPECT_TRUE(test::runUntil([&] { return rig.rig.synth.waitUntilIdle(10) && rig.rig.synth.pitchWheel() == 8192; }, 3000));

    // The whole editor.
    {
        ZarnelAudioProcessorEditor editor(rig.processor);
        auto& strip = editor.getMainComp().getKeyboard();
        strip.getPiano().getOverlay().mouseDown(mouseAt(strip.getPiano().getOverlay(), 30, 120));
        strip.getNotePlayer().keyPressed(juce::KeyPress('b'));
        ASSERT_TRUE(soundingAre({26, 43}));
    }
    ASSERT_TRUE(soundingAre({}));
}

TEST_F(KeyboardTest, KeysVelocityAndOctavesFromTheKeyboardAndScreenReaders)
{
    auto& pad = strip().getPiano();
    auto& state = processor.getState();
    state.keyboardOctave = 1;
    state.keyboardVelocity = 100;

    // Each key is a button named after the note it plays now.
    EXPECT_EQ(pad.getKey(0).createAccessibilityHandler()->getTitle(), "C1");
    EXPECT_EQ(pad.getKey(13).createAccessibilityHandler()->getTitle(), "C#2");
    state.keyboardOctave = 3;
    EXPECT_EQ(pad.getKey(0).createAccessibilityHandler()->getTitle(), "C3");

    // A screen reader's press plays the key for a moment.
    ASSERT_TRUE(pad.getKey(2).createAccessibilityHandler()->getActions().invoke(juce::AccessibilityActionType::press));
    ASSERT_TRUE(soundingAre({38}));
    ASSERT_TRUE(soundingAre({}));

    // The pad is one stop: arrows choose the key (Shift an octave), Space holds it until let go.
    const int first = pad.getFocusKey();
    EXPECT_TRUE(pad.keyPressed(juce::KeyPress(juce::KeyPress::rightKey)));
    EXPECT_TRUE(pad.keyPressed(juce::KeyPress(juce::KeyPress::rightKey, juce::ModifierKeys::shiftModifier, 0)));
    EXPECT_EQ(pad.getFocusKey(), first + 13);
    EXPECT_EQ(pad.createAccessibilityHandler()->getValueInterface()->getCurrentValueAsString(),
              NotePlayer::noteName(36 + first + 13));
    EXPECT_TRUE(pad.keyPressed(juce::KeyPress(juce::KeyPress::spaceKey)));
    EXPECT_TRUE(pad.keyPressed(juce::KeyPress(juce::KeyPress::spaceKey))); // the key repeating
    ASSERT_TRUE(soundingAre({36 + first + 13}));
    pad.keyStateChanged(false);
    ASSERT_TRUE(soundingAre({}));
    for (int i = 0; i < 100; ++i)
        pad.keyPressed(juce::KeyPress(juce::KeyPress::leftKey));
    EXPECT_EQ(pad.getFocusKey(), 0);

    // Velocity and octaves step with the arrows and are read out.
    auto& velocity = strip().getVelocity();
    EXPECT_TRUE(velocity.keyPressed(juce::KeyPress(juce::KeyPress::downKey, juce::ModifierKeys::shiftModifier, 0)));
    EXPECT_EQ(state.keyboardVelocity.load(), 90);
    EXPECT_EQ(velocity.createAccessibilityHandler()->getValueInterface()->getCurrentValueAsString(), "90");
    state.keyboardVelocity = 2;
    EXPECT_EQ(velocity.createAccessibilityHandler()->getValueInterface()->getCurrentValueAsString(), "by key height");
    auto& octaves = strip().getOctaveStrip();
    octaves.mouseDown(mouseAt(octaves, 0, 5)); // octave 0
    EXPECT_TRUE(octaves.keyPressed(juce::KeyPress(juce::KeyPress::rightKey)));
    EXPECT_EQ(state.keyboardOctave.load(), 1);
    EXPECT_EQ(octaves.createAccessibilityHandler()->getValueInterface()->getCurrentValueAsString(), "C1 to E6");
    for (int i = 0; i < 10; ++i)
        octaves.keyPressed(juce::KeyPress(juce::KeyPress::rightKey));
    EXPECT_EQ(state.keyboardOctave.load(), 6);

    const auto order = editor.createKeyboardFocusTraverser()->getAllComponents(&editor);
    for (juce::Component* c : std::initializer_list<juce::Component*>{&pad, &velocity, &octaves, &player()})
        EXPECT_NE(std::find(order.begin(), order.end(), c), order.end()) << c->getTitle();
}

TEST_F(KeyboardTest, AClickOnThePianoLeavesTheKeyboardFocusWhereItWas)
{
    // JUCE hands a click's focus from the overlay up to the first parent that wants it: the pad,
    // which would take the letters away from the note player.
    ASSERT_TRUE(strip().getPiano().getWantsKeyboardFocus());
    EXPECT_FALSE(overlay().getMouseClickGrabsKeyboardFocus());
}
