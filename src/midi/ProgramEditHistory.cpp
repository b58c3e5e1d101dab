#include "ProgramEditHistory.h"

#include "MidiCntrState.h"

namespace zarnel
{

ProgramEditHistory::ProgramEditHistory(MidiCntrState& s) : ProgramEditHistory(s, ProgramHistory::Limits{}) {}

ProgramEditHistory::ProgramEditHistory(MidiCntrState& s, ProgramHistory::Limits limits) : state(s), history(limits)
{
    reset();
}

void ProgramEditHistory::reset()
{
    const auto current = state.getCurrentProgram();
    history.reset(current);
    reference = current;
    seenGeneration = state.getProgramGeneration();
    comparing = false;
    quietUntilMs = 0.0;
}

void ProgramEditHistory::tick(bool gestureOpen, double nowMs)
{
    catchUp(nowMs, gestureOpen);
}

void ProgramEditHistory::catchUp(double nowMs, bool gestureOpen)
{
    const auto generation = state.getProgramGeneration();
    const bool wasComparing = comparing;
    if (comparing)
    {
        if (generation == seenGeneration)
            return;
        // A program arrived or was chosen while comparing: compare ends and the edits stay
        // behind the new program, one undo away.
        comparing = false;
    }

    const auto current = state.getCurrentProgram();
    if (generation != seenGeneration)
    {
        // An edit the load found still open (a gesture, a drag, the quiet time) is a step of its
        // own: undo comes back to it before going past it. While comparing, what the load found
        // was the stored program, no edit.
        Record beforeLoad;
        if (!wasComparing && state.getProgramReplacedAt(seenGeneration, beforeLoad))
            history.commit(beforeLoad);
        seenGeneration = generation;
        history.commit(current);
        reference = current;
        return;
    }
    if (nowMs < quietUntilMs)
        history.absorb(current);
    else if (!gestureOpen && !held)
        history.commit(current);
}

bool ProgramEditHistory::takesEdits() const noexcept
{
    return !comparing.load() || state.getProgramGeneration() != seenGeneration.load();
}

void ProgramEditHistory::beforeEdit(bool onScreen)
{
    if (state.getProgramGeneration() != seenGeneration)
        catchUp(0.0, true);
    if (!onScreen || quietUntilMs <= 0.0)
        return;
    history.absorb(state.getCurrentProgram());
    quietUntilMs = 0.0;
}

bool ProgramEditHistory::canUndo() const noexcept
{
    return history.canUndo() || state.getCurrentProgram() != history.getBaseline();
}

bool ProgramEditHistory::canRedo() const noexcept
{
    return history.canRedo();
}

bool ProgramEditHistory::undo(double nowMs, Move& move)
{
    setComparing(false, nowMs);
    // A program loaded since the last look is a step of its own, also in the quiet time.
    if (state.getProgramGeneration() != seenGeneration)
        catchUp(nowMs, true);
    // What is pending is the newest step, even mid-gesture.
    const auto current = state.getCurrentProgram();
    if (nowMs < quietUntilMs)
        history.absorb(current);
    else
        history.commit(current);
    if (!history.undo(move))
        return false;
    apply(move, nowMs);
    return true;
}

bool ProgramEditHistory::redo(double nowMs, Move& move)
{
    setComparing(false, nowMs);
    if (state.getProgramGeneration() != seenGeneration)
        catchUp(nowMs, true);
    // Edits made since the undo have cleared the redo steps, or do so now.
    if (state.getCurrentProgram() != history.getBaseline() && nowMs >= quietUntilMs)
        history.commit(state.getCurrentProgram());
    if (!history.redo(move))
        return false;
    apply(move, nowMs);
    return true;
}

void ProgramEditHistory::apply(const Move& move, double nowMs)
{
    quietUntilMs = nowMs + quietAfterApplyMs;
    if (move.changed.size() == 1 && move.changed.front() < numNrpnParameters)
    {
        const int index = move.changed.front();
        const int value = move.record[(size_t)index];
        state.setCurrentByte(index, value);
        state.sendParameterNrpn(state.getTables().nrpn(index), value, 0, state.getSampleRate());
        state.postNotification(Notification::parameter(index, value));
        return;
    }
    replaceProgram(move.record, false);
}

void ProgramEditHistory::replaceProgram(const Record& record, bool comparingAfter)
{
    {
        // A session saved on another thread sees the edits before and after, never the swap.
        const std::lock_guard<std::mutex> lock(saveLock);
        if (comparingAfter)
            comparing = true;
        state.setCurrentProgram(record);
        seenGeneration = state.getProgramGeneration();
        comparing = comparingAfter;
    }
    state.sendEditBuffer(record);
    state.postNotification(Notification::programReplaced);
}

bool ProgramEditHistory::leaveCompareForKnob(int index, int value, double nowMs)
{
    if (!comparing || nowMs < quietUntilMs || index < 0 || index >= (int)edited.size())
        return false;
    auto record = edited;
    record[(size_t)index] = (std::uint8_t)value;
    replaceProgram(record, false);
    quietUntilMs = 0.0; // recorded at the next look, as any knob move
    return true;
}

ProgramEditHistory::Record ProgramEditHistory::getEditedProgram() const
{
    // A program restored or received meanwhile ends compare at the next look; it is the edits now.
    const std::lock_guard<std::mutex> lock(saveLock);
    return comparing && state.getProgramGeneration() == seenGeneration ? edited : state.getCurrentProgram();
}

void ProgramEditHistory::setComparing(bool shouldCompare, double nowMs)
{
    // A program loaded while comparing has already ended compare: it stays, the edits one undo away.
    if (comparing && state.getProgramGeneration() != seenGeneration)
        catchUp(nowMs, true);
    if (shouldCompare == comparing.load())
        return;
    if (shouldCompare)
    {
        catchUp(nowMs, false);
        const auto edits = state.getCurrentProgram();
        history.absorb(edits);
        {
            const std::lock_guard<std::mutex> lock(saveLock);
            edited = edits;
        }
        replaceProgram(reference, true);
        quietUntilMs = nowMs + quietAfterApplyMs;
        return;
    }
    // The edits are back before compare ends: a session saved meanwhile never misses them.
    replaceProgram(edited, false);
    quietUntilMs = nowMs + quietAfterApplyMs;
}

} // namespace zarnel
