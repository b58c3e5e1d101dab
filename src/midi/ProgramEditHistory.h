#pragma once

#include "../model/ProgramHistory.h"

#include <atomic>
#include <cstdint>
#include <mutex>

namespace zarnel
{

class MidiCntrState;

// Undo, redo and compare for the program being edited (message thread). It watches the program
// rather than being told of each change: screen edits, instrument knobs, host automation (written
// on the audio thread, which must not record anything) and whole programs loaded all show up as a
// difference from the last step. A step is closed once no gesture holds it open, and before a
// program loaded is recorded, whatever holds it; what arrives while an undo, redo or compare is
// reaching the instrument is taken in without a step.
class ProgramEditHistory
{
public:
    using Record = ProgramSysex::Record;
    using Move = ProgramHistory::Move;

    // The parameters the instrument takes one NRPN for; anything else goes as the edit buffer.
    static constexpr int numNrpnParameters = 185;
    // An edit buffer reaches the instrument in about 100 ms at MIDI speed; its answers follow.
    static constexpr double quietAfterApplyMs = 500.0;

    explicit ProgramEditHistory(MidiCntrState& state);
    ProgramEditHistory(MidiCntrState& state, ProgramHistory::Limits limits);

    // Forgets every step; the current program becomes the one compared with.
    void reset();

    // The periodic look at the program: closes a step unless a gesture is open.
    void tick(bool gestureOpen, double nowMs);
    // The editor holds the step open from mouse down to mouse up, whatever the pauses.
    void holdStep(bool shouldHold) noexcept { held = shouldHold; }
    bool isStepHeld() const noexcept { return held; }
    // Before an edit is stored: a program loaded since the last look becomes a step of its own
    // (and the one compared with), and an edit on screen ends the quiet time after an undo.
    void beforeEdit(bool onScreen);

    // Each restores the program, sends the instrument what it needs and tells the screen; the
    // move says which bytes changed, for the host. False when there was nothing to do.
    bool undo(double nowMs, Move& move);
    bool redo(double nowMs, Move& move);
    bool canUndo() const noexcept;
    bool canRedo() const noexcept;

    // Compare: the instrument and the screen get the program as last loaded, received or stored
    // (a write reloads what it stored); leaving brings the edits back. Nothing is recorded meanwhile.
    void setComparing(bool shouldCompare, double nowMs);
    bool isComparing() const noexcept { return comparing.load(); }
    // Not while comparing, unless a program loaded since has ended compare (at the next look).
    // Lock-free: the audio thread asks too.
    bool takesEdits() const noexcept;
    // A knob turned on the instrument while comparing is an edit: compare ends, and the edits with
    // that value go to the instrument and the screen; the next look records it as a step. False
    // (the move is dropped) when not comparing, or in the quiet time after compare began, where a
    // move is the instrument's answer to the stored program.
    bool leaveCompareForKnob(int index, int value, double nowMs);
    const Record& getReference() const noexcept { return reference; }
    // What a saved session keeps: the edits, also while the stored program is being compared.
    Record getEditedProgram() const;

    const ProgramHistory& getHistory() const noexcept { return history; }

private:
    void catchUp(double nowMs, bool gestureOpen);
    void apply(const Move& move, double nowMs);
    // Swaps the program and the compare flag together, then sends the program and tells the screen.
    void replaceProgram(const Record& record, bool comparingAfter);

    MidiCntrState& state;
    ProgramHistory history;
    Record reference{};
    Record edited{};
    std::atomic<bool> comparing{false};
    std::atomic<std::uint32_t> seenGeneration{0}; // also read by a session save
    double quietUntilMs = 0.0;
    bool held = false;
    mutable std::mutex saveLock; // the swaps against a session save on another thread
};

} // namespace zarnel
