#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <array>
#include <cstdint>
#include <functional>

namespace zarnel
{

// The computer keyboard as a one-octave piano, without a screen: which key does what, and which
// notes are held. A held note remembers the channel and note it was sent as, so its note-off goes
// there even when the octave, the base or the channel changed while it was held. Keys it has no use
// for are not taken, so they reach the editor's and the host's shortcuts.
class NotePlayer
{
public:
    // Where the player's notes go (the synthesizer's port).
    class Output
    {
    public:
        virtual ~Output() = default;
        virtual void noteOn(int channel, int note, int velocity) = 0;
        virtual void noteOff(int channel, int note) = 0;
    };

    static constexpr int stripMode = 100; // the keyboard strip's player; the library has its own
    static constexpr int numPlayKeys = 12;
    static constexpr int startVelocity = 100;
    static constexpr int startBase = 36;
    // The letters of C to B, in the order they are checked on release.
    static constexpr const char* playKeys = "ZSXDCVGBHNJM";

    // What a key does; the table every key press is looked up in.
    enum class Action
    {
        none, // not the player's: passed on
        note,
        allNotesOff,
        velocityDown,
        velocityUp,
        octaveDown,
        octaveUp
    };
    struct KeyUse
    {
        Action action = Action::none;
        int playKey = -1; // for a note: its index in playKeys
    };
    // Letters count by their key, with or without Shift; with Ctrl, Alt or Command a key is a
    // shortcut, never the player's.
    static KeyUse useOf(const juce::KeyPress& key) noexcept;

    NotePlayer(Output& output, int mode);

    // A key press with the channel to play on; false for keys the player does not take.
    bool keyPressed(const juce::KeyPress& key, int channel);
    // After the keyboard's state changed: every held note whose key is up is released.
    void keysChanged(const std::function<bool(char letter)>& isLetterDown);
    // Note-offs for every held note (focus lost, the strip closing).
    void releaseAll();

    int getMode() const noexcept { return mode; }
    int getVelocity() const noexcept { return velocity; }
    int getBase() const noexcept { return base; }
    bool isHolding() const noexcept;
    // Whether the player holds this note (on any channel).
    bool isHoldingNote(int note) const noexcept;
    // The status line; empty when there is nothing to say.
    const juce::String& getStatus() const noexcept { return status; }
    void clearStatus() { status.clear(); }

    // The note's pitch name and octave: 36 "C3".
    static juce::String noteName(int note);
    // The index of a letter in playKeys, or -1.
    static int playKeyIndex(juce::juce_wchar character) noexcept;

private:
    struct Held
    {
        int channel = 0;
        int note = -1;
    };

    void play(int keyIndex, int channel);
    void release(int keyIndex);

    Output& output;
    const int mode;
    int velocity = startVelocity;
    int base = startBase;
    std::array<Held, numPlayKeys> held{};
    juce::String status;
};

} // namespace zarnel
