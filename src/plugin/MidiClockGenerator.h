#pragma once

#include <juce_audio_basics/juce_audio_basics.h>

#include <cstdint>

namespace zarnel
{

// Turns the host transport into MIDI clock, continue, stop and song position pointer messages,
// placed sample-accurately in a block. The synthesizer never gets a start: a start in the host
// becomes a song position pointer and a continue on the next sixteenth note. Runs on the audio
// thread; never allocates once the output buffer has room.
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

    bool enable = false;

    bool isPlaying() const noexcept { return wasPlaying; }

private:
    static constexpr std::uint8_t continueDue = 2;
    static constexpr std::uint8_t loopStopSent = 1;

    bool wasPlaying = false;
    double last = -999.0;
    double start = 0.0;
    const bool stopAtLoopEnd = true;
    std::uint8_t pending = 0;
    const int sampleOffset = 0;

    const juce::MidiMessage clockMessage{0xF8};
    const juce::MidiMessage continueMessage{0xFB};
    const juce::MidiMessage stopMessage{0xFC};
};

} // namespace zarnel
