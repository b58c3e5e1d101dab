#pragma once

#include <juce_audio_basics/juce_audio_basics.h>

#include <cstdint>

namespace zarnel
{

// Turns the host transport into MIDI clock, continue, stop and song position pointer messages,
// placed sample-accurately in a block. Clocks sit on every 1/24 beat of the host's own position,
// read afresh at each block's start, so tempo changes and loops never shift them. The synthesizer
// never gets a start: a start in the host becomes a song position pointer and a continue on the
// next sixteenth note. Runs on the audio thread; never allocates once the output buffer has room.
class MidiClockGenerator
{
public:
    // What the generator reads of the host position.
    struct Transport
    {
        double bpm = 120.0;
        double ppqPosition = 0.0;
        bool isPlaying = false;
        bool isRecording = false;
        bool isLooping = false;
        double loopStartPpq = 0.0;
        double loopEndPpq = 0.0;
    };

    // Tempos outside this range give no clock (a period of under a sample would flood the port,
    // and 0 would divide by zero); transport changes are still sent.
    static constexpr double minimumBpm = 1.0;
    static constexpr double maximumBpm = 1000.0;

    MidiClockGenerator();

    void process(const Transport& transport, juce::MidiBuffer& out, int numSamples, double sampleRate) noexcept;

    // The song position pointer for a position in quarter notes, as sixteenths rounded up.
    void songPositionPointer(double positionPpq, juce::MidiBuffer& out) noexcept;

    // Samples per clock at a tempo, rounded; 0 when no clock can run at that tempo.
    static int samplesPerClock(double bpm, double sampleRate) noexcept;

    // Clock output is on. Set before each block: switched on while the host plays, the instrument
    // is located and continues on the next sixteenth; switched off, a running instrument is
    // stopped rather than left waiting for the next clock mid-pattern.
    bool enable = false;

    // Whether the last block's messages are for the instrument: while the clock is on, and in the
    // block it was switched off in (the buffer then holds its stop alone).
    bool hasMessagesToSend() const noexcept { return enable || stoppedForSwitchOff; }

    bool isPlaying() const noexcept { return wasPlaying; }

private:
    struct Block;

    void locate(const Block& block, double position, int sample, bool sendPosition, juce::MidiBuffer& out) noexcept;
    void span(const Block& block, double position, int from, int to, juce::MidiBuffer& out) noexcept;
    void addSongPosition(double positionPpq, int sample, juce::MidiBuffer& out) noexcept;

    static constexpr std::uint8_t loopStopSent = 1;
    static constexpr std::uint8_t continueDue = 2;
    static constexpr std::uint8_t songPositionDue = 4; // goes with the continue (after a count-in)

    bool wasPlaying = false;
    bool wasEnabled = false;
    bool stoppedForSwitchOff = false;
    double expected = -999.0;  // where the host should be at the next block's start
    double start = 0.0;        // where the pending continue goes
    std::int64_t nextClock = 0; // the next clock to send, in 1/24 beats from position 0
    std::uint8_t pending = 0;   // none set: the instrument is running

    const juce::MidiMessage clockMessage{0xF8};
    const juce::MidiMessage continueMessage{0xFB};
    const juce::MidiMessage stopMessage{0xFC};
};

} // namespace zarnel
