#include "ProgramHistory.h"

namespace zarnel
{

ProgramHistory::ProgramHistory() : ProgramHistory(Limits{}) {}

ProgramHistory::ProgramHistory(Limits l) : limits(l) {}

size_t ProgramHistory::bytesOf(const std::vector<ByteChange>& step) noexcept
{
    return sizeof(Step) + step.capacity() * sizeof(ByteChange);
}

void ProgramHistory::reset(const Record& current)
{
    baseline = current;
    undoSteps.clear();
    redoSteps.clear();
    bytesUsed = 0;
}

bool ProgramHistory::commit(const Record& current)
{
    Step step;
    for (size_t i = 0; i < current.size(); ++i)
        if (current[i] != baseline[i])
            step.push_back({(std::uint8_t)i, baseline[i], current[i]});
    if (step.empty())
        return false;
    step.shrink_to_fit();
    dropRedo();
    baseline = current;
    bytesUsed += bytesOf(step);
    undoSteps.push_back(std::move(step));
    trim();
    return true;
}

bool ProgramHistory::undo(Move& result)
{
    return move(undoSteps, redoSteps, true, result);
}

bool ProgramHistory::redo(Move& result)
{
    return move(redoSteps, undoSteps, false, result);
}

bool ProgramHistory::move(std::deque<Step>& from, std::deque<Step>& to, bool backwards, Move& result)
{
    if (from.empty())
        return false;
    auto step = std::move(from.back());
    from.pop_back();
    result.changed.clear();
    for (const auto& c : step)
    {
        baseline[c.index] = backwards ? c.before : c.after;
        result.changed.push_back(c.index);
    }
    result.record = baseline;
    to.push_back(std::move(step));
    return true;
}

void ProgramHistory::dropRedo() noexcept
{
    for (const auto& s : redoSteps)
        bytesUsed -= bytesOf(s);
    redoSteps.clear();
}

void ProgramHistory::trim() noexcept
{
    while (!undoSteps.empty() && (undoSteps.size() > limits.maxSteps || bytesUsed > limits.maxBytes))
    {
        bytesUsed -= bytesOf(undoSteps.front());
        undoSteps.pop_front();
    }
}

} // namespace zarnel
