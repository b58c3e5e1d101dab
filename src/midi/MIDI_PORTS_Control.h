#pragma once

#include "midi/MidiDevices.h"
#include "midi/ScheduledMidiOutput.h"

#include <juce_audio_basics/juce_audio_basics.h>
#include <juce_core/juce_core.h>

#include <atomic>
#include <cstdint>
#include <memory>

namespace zarnel
{

// The MIDI input and output ports the editor talks to the synthesizer through, their senders,
// and the port file that remembers the choice by device name.
//
// Ports are given by list position: 0 is no port, k >= 1 the (k-1)-th device of the backend's
// list. Selection, opening and the file belong to the message thread; the senders may be called
// from any thread, the audio thread included (the short ones never block or allocate there).
class MIDI_PORTS_Control
{
public:
    static constexpr std::uint8_t inputNameEnd = 0x0F;
    static constexpr std::uint8_t outputNameEnd = 0x10;
    static constexpr std::uint8_t thirdNameEnd = 0x11;
    static constexpr size_t maxSysexPiece = ScheduledMidiOutput::maxMessageSize;
    // sendSysex returns once a long message is with the device, as a working device allows; no
    // longer, or a hung one would hold up the message thread.
    static constexpr int longSysexWaitMs = 250;
    static constexpr juce::int64 maxPortFileSize = 64 * 1024;

    MIDI_PORTS_Control(MidiDeviceBackend& backend, juce::File portFile);
    ~MIDI_PORTS_Control();

    // Input name, output name, and a third entry that is always "NONE".
    juce::StringArray portNames{"NONE", "NONE", "NONE"};

    // Positions in the device lists (position - 1), -1 when none; message thread only.
    int outputIndex = -1;
    int inputIndex = -1;
    // Set only here; the audio thread reads outputOpen before sending.
    std::atomic<bool> outputOpen{false};
    std::atomic<bool> inputOpen{false};

    bool isOutputOpen() const noexcept { return outputOpen.load(); }
    bool isInputOpen() const noexcept { return inputOpen.load(); }

    // The system's devices, in list order (position k is entry k - 1).
    juce::StringArray getInputNames() { return backend.getInputNames(); }
    juce::StringArray getOutputNames() { return backend.getOutputNames(); }

    // Record the device's name (or "NONE" for position 0) and open it.
    void selectInputPort(int position, juce::MidiInputCallback* callback);
    void selectOutputPort(int position);

    // Once closeInput returns, no input callback runs any more; shut-down closes the input first,
    // so nothing that arrives can reach a half-destroyed owner through the output.
    void closeInput();
    // The instrument hears note-offs and pedal releases for what sounds before the output goes;
    // waits for the device at most ScheduledMidiOutput::closeWaitMs.
    void closeOutput();

    // Note-offs and pedal releases for what the open output left sounding (a channel change).
    void releaseSoundingNotes() noexcept;

    // An output whose device has not returned from a call for ScheduledMidiOutput::stallLimitMs
    // is closed and given up (its sender finishes on its own if the call ever returns); its name
    // stays chosen, so the next start tries it again. True when that happened now. Not while a
    // port search probes: the search passes over a pair that does not answer.
    bool closeIfNotResponding(double nowMs);

    // Changes whenever the synthesizer may have lost track of what was selected on it: another
    // output opened or closed, or scheduled messages dropped by a long system-exclusive message.
    std::uint32_t getWireEpoch() const noexcept { return wireEpoch.load(); }

    // Start-up: names from the port file, then each port reopened by exact name.
    void restorePorts(juce::MidiInputCallback* callback);

    // Port search: other devices are tried while the user's choice (portNames) stays as it is.
    // While probing, the link test is the only message that reaches the open output; every other
    // sender stays silent, so no clock, note or edit reaches a device that is not the instrument.
    void beginProbe();
    // Opens exactly this pair (positions as in selection), closing whatever was open.
    void probePair(int inputPosition, int outputPosition, juce::MidiInputCallback* callback);
    // keep: the probed pair becomes the choice (its names recorded). Otherwise it closes and the
    // user's ports reopen by name.
    void endProbe(bool keep, juce::MidiInputCallback* callback);
    bool isProbing() const noexcept { return probing.load(); }
    // The global dump request, the one message allowed while probing.
    void sendLinkTest(const std::uint8_t* data, size_t size);

    void loadPortFile();
    bool savePortFile() const;
    // There was no port file at start: nobody has chosen ports on this machine yet.
    bool wasPortFileMissing() const noexcept { return portFileMissing; }
    const juce::File& getPortFile() const noexcept { return portFile; }

    // The port file's bytes for the given names, and the names a file's bytes hold (false when
    // they hold none). Names go one byte per character (Latin-1); a name with a character above
    // U+00FF goes as UTF-8, whose multi-byte sequences never contain a marker byte.
    static juce::MemoryBlock formatPortFile(const juce::StringArray& names);
    static bool parsePortFile(const juce::MemoryBlock& content, juce::String& inputName,
                              juce::String& outputName);

    // Senders: nothing happens while no output is open. Channels run 1 to 16 (below 1 is sent on
    // 1, above 16 sends nothing); data bytes are masked to 7 bits.
    void sendBufferNow(const juce::MidiBuffer& buffer);
    void sendBufferAt(const juce::MidiBuffer& buffer, int offsetMs, double samplesPerSecond);
    void sendController(int channel, int controller, int value);
    void sendNoteOff(int channel, int note);
    void sendPitchWheel(int channel, int position);
    void sendProgramChange(int channel, int program);
    // One message of raw bytes, due at dueMs on juce::Time::getMillisecondCounterHiRes(); never
    // allocates or blocks. False when it was not scheduled (no output, too long, schedule full).
    bool scheduleMessage(const std::uint8_t* data, int size, double dueMs) noexcept;
    // A whole F0 ... F7 message. Up to 256 bytes it is scheduled like the rest; longer ones go out
    // in 256-byte pieces with nothing between them, after what is already due and before what is
    // scheduled for later; they allocate (message thread) and wait at most longSysexWaitMs.
    void sendSysex(const std::uint8_t* data, size_t size);

    // Messages refused by a full schedule; 0 with no output open.
    size_t getNumDropped() const;

private:
    class SendScope;

    void openByName(juce::MidiInputCallback* callback);
    void openInput(int position, juce::MidiInputCallback* callback);
    void openOutput(int position);
    void sendShortMessage(int status, int channel, int data1, int data2);

    MidiDeviceBackend& backend;
    const juce::File portFile;

    std::unique_ptr<MidiInputDevice> input;
    // Replaced only while outputOpen is false and no sender is inside a SendScope.
    std::unique_ptr<ScheduledMidiOutput> output;
    mutable std::atomic<int> activeSenders{0};
    std::atomic<std::uint32_t> wireEpoch{0};
    std::atomic<bool> probing{false};
    bool portFileMissing = false;

    JUCE_DECLARE_NON_COPYABLE(MIDI_PORTS_Control)
};

} // namespace zarnel
