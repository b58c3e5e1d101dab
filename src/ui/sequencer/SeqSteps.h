#pragma once

#include <juce_core/juce_core.h>

#include <optional>

namespace zarnel
{

// What a sequencer track does with its steps, without a screen: labels, and the value a click, a
// drag or a wheel step asks for. Values 0..125 are notes or levels; 126 and 127 are the step codes
// "RST" and "OFF", which quantizing never touches.
struct SeqSteps
{
    static constexpr int numTracks = 4;
    static constexpr int numSteps = 16;
    static constexpr int firstStepParameter = 120;
    static constexpr int maxNoteValue = 125;
    static constexpr int resetCode = 126;
    static constexpr int offCode = 127;
    // A track is designed as 522 x 155 units; a drag reads the value from the label box's centre.
    static constexpr float designWidth = 522.0f, designHeight = 155.0f;

    static int parameterIndex(int track, int step) noexcept { return firstStepParameter + numSteps * track + step; }

    // A stored byte as the track shows it: anything above 127 is "OFF".
    static int shownValueOf(int byte) noexcept { return byte >= 128 ? offCode : juce::jlimit(0, offCode, byte); }

    // Quarter-tone note name: 0 "C0", 1 "C+0", 27 "C#+1", 125 "D+5".
    static juce::String quarterToneName(int value);
    // The text a step shows: "RST", "OFF", or its note name or number.
    static juce::String label(int value, bool noteDisplay);
    // Labels read as note names for the oscillator pitch destinations (1, 2, 3).
    static bool isPitchDestination(int destination) noexcept { return destination >= 1 && destination <= 3; }

    // A value asked for with quantize on: note values become even, the codes stay as they are.
    static int quantized(int value, bool quantize) noexcept;
    // The top box cycles a step through its value, "RST" and "OFF". `saved` is the value it had
    // before it became "RST"; it is updated when the step leaves a value for "RST".
    static int topBoxNext(int shown, int& saved) noexcept;
    // The value under the pointer during a drag, y in the track's pixels and vy = height / 155:
    // 125 at y = 23 vy, 0 at y = 148 vy; never a code.
    static int dragValueAt(float y, float vy) noexcept;
    // One wheel step from the shown value, or nothing at the end of the range. With quantize on
    // the steps are the even note values and then the two codes.
    static std::optional<int> wheelStep(int shown, bool up, bool quantize) noexcept;
    // The step under x for steps of this width; strictly inside, else none.
    static std::optional<int> stepAt(int x, int stepWidth) noexcept;

    SeqSteps() = delete;
};

} // namespace zarnel
