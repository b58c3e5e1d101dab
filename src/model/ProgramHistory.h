#pragma once

#include "ProgramSysex.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <vector>

namespace zarnel
{

// Undo and redo of the program being edited, as differences between whole records. A step is
// whatever changed between two commits, so one gesture becomes one step however many values it
// passed through; bytes are kept exactly as they were, those above a parameter's maximum too.
// The history is bounded by steps and by the memory its steps hold: the oldest go first.
class ProgramHistory
{
public:
    using Record = ProgramSysex::Record;

    struct Limits
    {
        size_t maxSteps = 500;
        size_t maxBytes = 256 * 1024;
    };

    struct ByteChange
    {
        std::uint8_t index = 0, before = 0, after = 0;
    };

    // What an undo or redo leaves: the record to restore and the bytes that differ from now.
    struct Move
    {
        Record record{};
        std::vector<int> changed;
    };

    ProgramHistory();
    explicit ProgramHistory(Limits limits);

    // Starts over from this record: no steps.
    void reset(const Record& current);
    // The difference between the last commit and current becomes one step and clears the redo
    // steps; false when nothing changed.
    bool commit(const Record& current);
    // Takes current as the last commit without a step: changes that must not be recorded.
    void absorb(const Record& current) noexcept { baseline = current; }

    bool canUndo() const noexcept { return !undoSteps.empty(); }
    bool canRedo() const noexcept { return !redoSteps.empty(); }
    // Steps back (or forward) from the last commit; the caller commits pending changes first.
    bool undo(Move& move);
    bool redo(Move& move);

    const Record& getBaseline() const noexcept { return baseline; }
    size_t getNumUndoSteps() const noexcept { return undoSteps.size(); }
    size_t getNumRedoSteps() const noexcept { return redoSteps.size(); }
    size_t getBytesUsed() const noexcept { return bytesUsed; }
    const Limits& getLimits() const noexcept { return limits; }
    static size_t bytesOf(const std::vector<ByteChange>& step) noexcept;

private:
    using Step = std::vector<ByteChange>;

    bool move(std::deque<Step>& from, std::deque<Step>& to, bool backwards, Move& result);
    void dropRedo() noexcept;
    void trim() noexcept;

    Limits limits;
    Record baseline{};
    std::deque<Step> undoSteps, redoSteps;
    size_t bytesUsed = 0;
};

} // namespace zarnel
