#pragma once

#include "MidiClockGenerator.h"

#include "../midi/MidiCntrState.h"
#include "../midi/NoteTracker.h"
#include "../midi/ProgramEditHistory.h"
#include "../model/Bank_Program.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <array>
#include <atomic>

namespace zarnel
{

class HostParameter;

// The object the host creates: owns the controller state and the host bank, presents 185 host
// parameters over the program being edited and 128 host programs, routes MIDI once per block and
// gives the host its state. Audio passes through.
class ZarnelAudioProcessor : public juce::AudioProcessor,
                             public juce::ChangeListener,
                             public juce::Timer,
                             public juce::ChangeBroadcaster
{
public:
    static constexpr int numHostParameters = 185;
    static constexpr int numHostPrograms = 128;
    static constexpr int gestureTimerMs = 200;
    static constexpr int numGestureFlags = 1000;
    // A host hands a reported value back within a block or two; later ones are real automation.
    static constexpr juce::uint32 echoWindowMs = 1000;

    // For hosts: the user's settings folder and the system's MIDI devices.
    ZarnelAudioProcessor();
    // For tests and tools: a settings folder and MIDI devices of their own.
    ZarnelAudioProcessor(const juce::File& settingsFolder, MidiDeviceBackend& midiDevices);
    ~ZarnelAudioProcessor() override;

    //==== AudioProcessor ============================================================================
    const juce::String getName() const override;
    void prepareToPlay(double sampleRate, int samplesPerBlock) override;
    void releaseResources() override;
    bool isBusesLayoutSupported(const BusesLayout& layouts) const override;
    void processBlock(juce::AudioBuffer<float>&, juce::MidiBuffer&) override;
    using AudioProcessor::processBlock;
    // Bypassed by the host: audio passes through, and of the host's MIDI only what lets notes go
    // reaches the instrument (at its place in the block), so no note the host began is left
    // sounding; what the host left held when bypass began is let go at once.
    void processBlockBypassed(juce::AudioBuffer<float>&, juce::MidiBuffer&) override;
    using AudioProcessor::processBlockBypassed;

    const juce::String getInputChannelName(int channelIndex) const override;
    const juce::String getOutputChannelName(int channelIndex) const override;
    bool isInputChannelStereoPair(int) const override { return true; }
    bool isOutputChannelStereoPair(int) const override { return true; }
    bool silenceInProducesSilenceOut() const override { return false; }
    double getTailLengthSeconds() const override { return 0.0; }
    bool acceptsMidi() const override { return true; }
    bool producesMidi() const override { return true; }
    bool isMidiEffect() const override { return false; }

    juce::AudioProcessorEditor* createEditor() override;
    bool hasEditor() const override;

    int getNumPrograms() override { return numHostPrograms; }
    int getCurrentProgram() override;
    void setCurrentProgram(int index) override;
    const juce::String getProgramName(int index) override;
    void changeProgramName(int index, const juce::String& newName) override;

    void getStateInformation(juce::MemoryBlock& destData) override;
    void setStateInformation(const void* data, int sizeInBytes) override;
    void getCurrentProgramStateInformation(juce::MemoryBlock& destData) override;
    void setCurrentProgramStateInformation(const void* data, int sizeInBytes) override;

    //==== Parameters by index =======================================================================
    // Host automation: value 0..1 scaled by the parameter's maximum, rounded to even.
    void setParameter(int index, float value);
    float getParameter(int index) const;
    juce::String getParameterName(int index) const;
    juce::String getParameterText(int index) const;
    HostParameter* getHostParameter(int index) const;

    static int storedValueFor(float normalised, int maximum) noexcept;

    // Editor controls: store, tell the host (with a change gesture) and optionally the synthesizer.
    void setParameterFromEditor(int index, int value, bool notifyHostNow, bool sendToSynth);

    // A mouse gesture on screen (message thread): the host's change gesture opens at mouse down
    // and stays open, whatever the pauses, until the matching end at mouse up; the timer closes
    // only gestures nobody holds. Returns the hold, 0 (nothing held) while edits are not taken
    // (compare). A hold the timer let go (its mouse up never came) is stale: ending it changes
    // nothing, so it cannot end a newer hold of the same parameter.
    using GestureHold = std::uint32_t;
    GestureHold beginEditorGesture(int index);
    void endEditorGesture(int index, GestureHold hold);
    bool isGestureHeld(int index) const noexcept;
    bool isHoldCurrent(GestureHold hold) const noexcept { return hold != 0 && hold == holdGeneration; }

    // The program block of a record, as the library builds it.
    static juce::MemoryBlock makeProgramChunk(const ProgramSysex::Record& record);

    // Applies the parameter changes the synthesizer reported (the change callback's work).
    void applyHardwareChanges();

    // Undo, redo and compare of the program being edited (message thread); each also tells the
    // host the values it restored.
    bool undo();
    bool redo();
    void setComparing(bool shouldCompare);
    // The periodic look that closes a history step (the gesture timer's, also for tests).
    void recordHistory();
    ProgramEditHistory& getHistory() noexcept { return history; }

    MidiCntrState& getState() noexcept { return state; }
    Bank_Program& getHostBank() noexcept { return hostBank; }

    int editorWidth = 1191;
    int editorHeight = 700;

    bool isGestureOpen(int index) const noexcept;

    // The host position as the clock generator reads it (this block's, read at its start).
    static MidiClockGenerator::Transport transportOf(const juce::AudioPlayHead::PositionInfo& position) noexcept;

    void changeListenerCallback(juce::ChangeBroadcaster* source) override;
    void timerCallback() override;

private:
    static BusesProperties stereoInOut();
    void construct();
    void closeGesture(int index);
    // A widget removed under the mouse never hears its button go up: with no button down, no
    // gesture is held any more.
    void releaseStaleHolds();
    // Tells the host a value and remembers it with the program generation it belonged to.
    void reportToHost(int index, float value);
    bool stepHistory(bool backwards);
    bool anyGestureOpen() const noexcept;

    static constexpr float noReport = -1.0f;

    Bank_Program hostBank{"Program Bank"};
    MidiCntrState state;
    ProgramEditHistory history{state};
    juce::AudioPlayHead::PositionInfo positionInfo;
    MidiClockGenerator clock;
    juce::MidiBuffer clockBuffer;
    juce::CriticalSection clockLock;
    std::array<bool, numGestureFlags> gestureOpen{};
    std::array<std::uint8_t, numGestureFlags> gestureHolds{}; // mouse gestures holding each open
    bool anyGestureHeld = false;
    GestureHold holdGeneration = 1; // advances when the timer lets stale holds go
    juce::Array<std::int16_t> gestureEndQueue;
    std::array<HostParameter*, numHostParameters> hostParameters{};
    std::uint32_t lastSeenProgramGeneration = 0;
    std::array<std::atomic<float>, numHostParameters> reportedValue;
    std::array<std::atomic<std::uint32_t>, numHostParameters> reportedGeneration;
    std::array<std::atomic<juce::uint32>, numHostParameters> reportedAtMs;

    // Audio thread: the host's notes as forwarded, and the MIDI of a bypassed block.
    NoteTracker hostNotes;
    bool bypassed = false;
    juce::MidiBuffer bypassMidi;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(ZarnelAudioProcessor)
};

} // namespace zarnel
