#include "PanelTestSupport.h"

#include "ui/keyboard/KeyBrd.h"
#include "ui/keyboard/NotePlayer.h"

#include <gtest/gtest.h>

#include <set>

using namespace zarnel;

namespace
{
struct Silent : NotePlayer::Output
{
    void noteOn(int, int, int) override { ++messages; }
    void noteOff(int, int) override { ++messages; }
    int messages = 0;
};

const auto shift = juce::ModifierKeys::shiftModifier;
const auto ctrl = juce::ModifierKeys::ctrlModifier;
const auto alt = juce::ModifierKeys::altModifier;
const auto command = juce::ModifierKeys::commandModifier;
} // namespace

TEST(NotePlayerKeys, UsedKeysAreTakenAndOthersPassOnToTheHost)
{
    using Action = NotePlayer::Action;
    struct Case
    {
        juce::KeyPress key;
        Action action;
    };
    std::vector<Case> cases;
    for (const char* letters : {"zsxdcvgbhnjm", "ZSXDCVGBHNJM"})
        for (const char* c = letters; *c != 0; ++c)
        {
            cases.push_back({juce::KeyPress(*c), Action::note});
            cases.push_back({juce::KeyPress(*c, shift, 0), Action::note});
        }
    cases.insert(cases.end(), {
                                  {juce::KeyPress(juce::KeyPress::spaceKey), Action::allNotesOff},
                                  {juce::KeyPress('u'), Action::velocityDown},
                                  {juce::KeyPress('I', shift, 0), Action::velocityUp},
                                  {juce::KeyPress('o'), Action::octaveDown},
                                  {juce::KeyPress('p'), Action::octaveUp},
                              });
    // Not the player's: the host's and the editor's shortcuts get them.
    for (char digit = '0'; digit <= '9'; ++digit)
        cases.push_back({juce::KeyPress(digit), Action::none});
    for (const int code :
         {juce::KeyPress::F7Key, juce::KeyPress::F8Key, juce::KeyPress::F9Key, juce::KeyPress::F1Key,
          juce::KeyPress::leftKey, juce::KeyPress::rightKey, juce::KeyPress::upKey, juce::KeyPress::downKey,
          juce::KeyPress::returnKey, juce::KeyPress::escapeKey, juce::KeyPress::tabKey,
          juce::KeyPress::deleteKey, juce::KeyPress::homeKey})
        cases.push_back({juce::KeyPress(code), Action::none});
    for (const char c : {'a', 'q', 'w', 'e', 'r', 't', 'y', 'k', 'l', 'f', '-', '+', ','})
        cases.push_back({juce::KeyPress(c), Action::none});
    for (const auto mods : {ctrl, alt, command})
        for (const int code : {(int)'z', (int)'p', (int)juce::KeyPress::spaceKey})
            cases.push_back({juce::KeyPress(code, mods, 0), Action::none});

    for (const auto& c : cases)
    {
        EXPECT_EQ(NotePlayer::useOf(c.key).action, c.action) << c.key.getTextDescription();
        Silent out;
        NotePlayer player(out, NotePlayer::stripMode);
        EXPECT_EQ(player.keyPressed(c.key, 1), c.action != Action::none) << c.key.getTextDescription();
        if (c.action == Action::none)
        {
            EXPECT_EQ(out.messages, 0) << c.key.getTextDescription();
            EXPECT_TRUE(player.getStatus().isEmpty()) << c.key.getTextDescription();
        }
    }
    EXPECT_EQ(NotePlayer::useOf(juce::KeyPress('c')).playKey, 4);
}

TEST(NotePlayerKeys, NotesFromTheComputerKeyboardLightThePiano)
{
    test::PanelRig r;
    auto& state = r.processor.getState();
    state.keyboardOctave = 2; // the piano starts at note 24
    KeyBrd strip(state);
    auto& player = strip.getNotePlayer();
    std::set<char> down;
    player.setKeyDownQuery([&down](char letter) { return down.count(letter) > 0; });
    const auto lit = [&strip]
    {
        std::set<int> keys;
        for (int k = 0; k < PianoLayout::numKeys; ++k)
            if (strip.getPiano().getKey(k).isLit())
                keys.insert(k);
        return keys;
    };
    const auto press = [&](char letter)
    {
        down.insert(letter);
        player.keyPressed(juce::KeyPress(juce::CharacterFunctions::toLowerCase((juce::juce_wchar)letter)));
    };
    const auto letGo = [&](char letter)
    {
        down.erase(letter);
        player.keyStateChanged(false);
    };

    press('Z'); // 36
    press('V'); // 41
    EXPECT_EQ(lit(), (std::set<int>{12, 17}));
    EXPECT_TRUE(strip.getPiano().getKey(12).looksPressed());
    EXPECT_FALSE(strip.getPiano().getKey(12).isPressed()) << "lit, not played by the piano";
    letGo('Z');
    EXPECT_EQ(lit(), (std::set<int>{17}));

    // The octave strip moves the piano: the held note lights where it now is.
    state.keyboardOctave = 1;
    strip.getOctaveStrip().sendSynchronousChangeMessage();
    EXPECT_EQ(lit(), (std::set<int>{29}));

    player.keyPressed(juce::KeyPress(juce::KeyPress::spaceKey)); // all notes off
    EXPECT_TRUE(lit().empty());
}
