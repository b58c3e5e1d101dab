#include "midi/NoteTracker.h"

#include <gtest/gtest.h>

#include <vector>

using zarnel::NoteTracker;

namespace
{
using Bytes = std::vector<std::uint8_t>;
} // namespace

// What a stream leaves sounding, and the messages that let it go.
TEST(NoteTracker, ReleasesExactlyWhatTheStreamLeftSounding)
{
    struct Case
    {
        const char* name;
        std::vector<Bytes> stream;
        std::vector<Bytes> release;
    };
    const Case cases[] = {
        {"notes on two channels", {{0x90, 60, 100}, {0x93, 61, 1}}, {{0x80, 60, 0}, {0x83, 61, 0}}},
        {"note-off and velocity 0 end notes", {{0x90, 60, 100}, {0x90, 62, 100}, {0x80, 60, 64}, {0x90, 62, 0}}, {}},
        {"pedal held after its notes ended", {{0xB1, 64, 127}, {0x91, 60, 100}, {0x81, 60, 0}}, {{0xB1, 64, 0}}},
        {"pedal let go", {{0xB1, 64, 100}, {0xB1, 64, 10}}, {}},
        {"all notes off keeps the pedal", {{0xB0, 64, 127}, {0x90, 60, 100}, {0xB0, 123, 0}}, {{0xB0, 64, 0}}},
        {"all sound off", {{0x9F, 60, 100}, {0xBF, 120, 0}}, {}},
        {"reset all controllers lets the pedal go", {{0xB0, 64, 127}, {0xB0, 121, 0}}, {}},
        {"system reset", {{0x90, 60, 100}, {0xB0, 64, 127}, {0xFF}}, {}},
        // Pieces of system-exclusive messages and other kinds change nothing.
        {"other messages", {{0x90, 60, 100}, {0x7F, 0x00, 0x40}, {0xF0, 0x01, 0xF7}, {0xE0, 0, 64}, {0xC0, 5}},
         {{0x80, 60, 0}}},
    };
    for (const auto& c : cases)
    {
        NoteTracker tracker;
        for (const auto& m : c.stream)
            tracker.observe(m.data(), (int)m.size());
        EXPECT_EQ(tracker.anySounding(), !c.release.empty()) << c.name;
        std::vector<Bytes> got;
        tracker.release([&](const std::uint8_t* bytes) { got.emplace_back(bytes, bytes + 3); });
        EXPECT_EQ(got, c.release) << c.name;
        EXPECT_FALSE(tracker.anySounding()) << c.name;
    }
}
