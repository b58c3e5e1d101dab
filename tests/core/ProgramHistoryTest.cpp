#include "model/ProgramHistory.h"

#include <gtest/gtest.h>

using zarnel::ProgramHistory;
using Record = ProgramHistory::Record;

namespace
{

Record with(Record r, int index, int value)
{
    r[(size_t)index] = (std::uint8_t)value;
    return r;
}

} // namespace

TEST(ProgramHistoryTest, UndoAndRedoWalkTheStepsWithTheExactBytes)
{
    Record start{};
    start[3] = 200; // above any maximum, as real dumps hold
    ProgramHistory history;
    history.reset(start);

    const auto a = with(start, 20, 7);
    const auto b = with(with(a, 20, 9), 184, 'Z'); // a value and a name letter at once
    EXPECT_TRUE(history.commit(a));
    EXPECT_TRUE(history.commit(b));
    EXPECT_FALSE(history.commit(b)) << "nothing changed, no step";

    ProgramHistory::Move move;
    ASSERT_TRUE(history.undo(move));
    EXPECT_EQ(move.record, a);
    EXPECT_EQ(move.changed, (std::vector<int>{20, 184}));
    ASSERT_TRUE(history.undo(move));
    EXPECT_EQ(move.record, start);
    EXPECT_EQ(move.record[3], 200);
    EXPECT_FALSE(history.undo(move));

    ASSERT_TRUE(history.redo(move));
    EXPECT_EQ(move.record, a);
    EXPECT_EQ(move.changed, std::vector<int>{20});
    EXPECT_TRUE(history.canRedo());

    // A new edit after an undo drops the steps that could have been redone.
    EXPECT_TRUE(history.commit(with(a, 5, 1)));
    EXPECT_FALSE(history.canRedo());
    EXPECT_FALSE(history.redo(move));
}

TEST(ProgramHistoryTest, AbsorbedChangesMakeNoStep)
{
    ProgramHistory history;
    history.reset(Record{});
    history.absorb(with(Record{}, 1, 1));
    EXPECT_FALSE(history.commit(with(Record{}, 1, 1)));
    EXPECT_FALSE(history.canUndo());
}

TEST(ProgramHistoryTest, TheBoundsDropTheOldestSteps)
{
    struct Case
    {
        ProgramHistory::Limits limits;
        int changesPerStep;
    };
    const Case cases[] = {
        {{10, 1u << 20}, 1},  // bounded by steps
        {{1000, 4096}, 100}, // bounded by memory: whole programs are the big steps
    };
    for (const auto& c : cases)
    {
        ProgramHistory history(c.limits);
        Record r{};
        history.reset(r);
        std::vector<Record> committed;
        for (int step = 1; step <= 60; ++step)
        {
            for (int i = 0; i < c.changesPerStep; ++i)
                r[(size_t)i] = (std::uint8_t)step;
            history.commit(r);
            committed.push_back(r);
            EXPECT_LE(history.getNumUndoSteps(), c.limits.maxSteps);
            EXPECT_LE(history.getBytesUsed(), c.limits.maxBytes);
        }
        // Undoing everything kept ends at the oldest kept step's starting point, the newest kept
        // steps intact.
        const auto kept = history.getNumUndoSteps();
        ASSERT_GT(kept, 0u);
        ProgramHistory::Move move;
        for (size_t i = 0; i < kept; ++i)
            ASSERT_TRUE(history.undo(move));
        EXPECT_EQ(move.record, committed[committed.size() - kept - 1]);
        EXPECT_FALSE(history.undo(move));
    }
}
