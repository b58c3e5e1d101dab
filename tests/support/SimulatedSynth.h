#pragma once

#include "VirtualMidiBackend.h"

#include "model/ProgramBankSet.h"
#include "model/ProgramSysex.h"

#include <juce_audio_basics/juce_audio_basics.h>

#include <array>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

namespace zarnel::test
{

// A Mopho x4 on the far side of a virtual MIDI device. It parses what the plug-in sends byte by
// byte as the instrument's MIDI input would, answers dump requests, applies NRPNs, dumps and
// program changes, and can act as if someone used its front panel.
//
// Time is virtual: every byte takes msPerByte on its wire (one wire each way), answers leave
// responseDelayMs after their request has arrived. Nothing ever sleeps.
//
// Delivery is synchronous by default: answers reach the plug-in's input callback on the thread
// that handed the request to the output. Whatever the plug-in sends from inside that callback is
// queued and handled once the current message is done, never recursively. With deliveryThread
// set, a thread of our own does all handling and delivery, as a driver's input thread would.
class SimulatedSynth : public VirtualMidiBackend::FarSide
{
public:
    using Record = ProgramSysex::Record;

    static constexpr int numGlobals = 19;
    static constexpr double dinMsPerByte = 0.32; // 31,250 baud, ten bits a byte

    // Global indices with a meaning for the simulation.
    static constexpr int globalMidiChannel = 2;
    static constexpr int globalParamSend = 4;
    static constexpr int globalParamReceive = 5;
    static constexpr int globalSysexEnable = 7;

    struct Options
    {
        double responseDelayMs = 0.0;
        double msPerByte = dinMsPerByte; // both directions; 0 makes the wire instant
        // SysEx longer than this reaches the plug-in in pieces of this size, the first starting
        // with F0, the others raw continuation bytes. 0 delivers every message whole.
        int fragmentSize = 0;
        bool deliveryThread = false;
        // Writing a received program dump into memory takes this long; a dump that starts
        // arriving meanwhile is lost, as it would be on an instrument busy writing.
        double programStoreMs = 0.0;
    };

    enum class Fault
    {
        drop,      // not sent at all
        truncate,  // only its first half is sent, no F7
        flipByte,  // bit 0 of the middle byte flipped; length unchanged
        duplicate, // sent twice
    };

    struct LogEntry
    {
        Bytes bytes;
        double timeMs = 0.0; // virtual time of its last byte
        int pieces = 1;      // MidiMessages it travelled in
    };

    struct Counters
    {
        int programRequests = 0;
        int editBufferRequests = 0;
        int globalRequests = 0;
        int programDumpsSent = 0;
        int editBufferDumpsSent = 0;
        int globalDumpsSent = 0;
        int programDumpsReceived = 0;
        int editBufferDumpsReceived = 0;
        int nrpnsApplied = 0;
        int programChanges = 0;
        int dumpsDropped = 0;
        int dumpsLostWhileStoring = 0;
        int ignored = 0;     // complete messages the instrument did not act on
        int undelivered = 0; // messages sent while the plug-in's input was closed
    };

    // Adds a device called `deviceName` to the backend with this synth at its far end. Destroy
    // the synth only after everything that opened the device has closed it.
    SimulatedSynth(VirtualMidiBackend& backend, juce::String deviceName);
    SimulatedSynth(VirtualMidiBackend& backend, juce::String deviceName, Options options);
    ~SimulatedSynth() override;

    void receivedFromPlugin(const juce::MidiMessage& message) override;

    void setResponseDelayMs(double ms);
    void setMsPerByte(double ms);
    void setFragmentSize(int bytes);

    // Instrument state. Safe from any thread.
    Record program(int bank, int program) const;
    void setProgram(int bank, int program, const Record& record);
    Record editBuffer() const;
    void setEditBuffer(const Record& record);
    int global(int index) const;
    void setGlobal(int index, int value);
    std::array<int, numGlobals> globals() const;
    // The MIDI CHANNEL global: 1..16, 0 for all channels.
    int receiveChannel() const { return global(globalMidiChannel); }
    void setReceiveChannel(int channel) { setGlobal(globalMidiChannel, channel); }
    int currentBank() const;
    int currentProgram() const;
    // What is being played on the receive channel: the notes sounding (ascending), the pitch
    // wheel (8192 at rest) and the modulation wheel.
    std::vector<int> soundingNotes() const;
    int pitchWheel() const;
    int modWheel() const;
    // Whatever the receive channel, what an instrument listening on each channel would still
    // play: notes held or kept by the sustain pedal, as channel (1..16) * 1000 + note, and the
    // channels whose pedal is down. Both empty once everything was let go.
    std::vector<int> notesSoundingOnAnyChannel() const;
    std::vector<int> channelsWithPedalDown() const;

    // The front panel. Each call is queued like an incoming message and goes out on the wire
    // after whatever the synth is sending already.
    void knobMove(int index, int value);             // edit buffer byte + its NRPN
    void globalKnobMove(int globalIndex, int value); // global + its NRPN
    void sendGlobalDump();
    void sendProgramDumpOf(int bank, int program);
    void sendEditBufferDump();
    void noteOn(int note, int velocity);
    void noteOff(int note);
    void sendRaw(const Bytes& message); // any one message, fragmented like the dumps

    // Faults hit the dumps the synth sends (answers and front-panel sends alike), oldest first.
    void injectFault(Fault fault, int count = 1);
    // Only the program dumps of one slot; these are used before the general ones.
    void injectFaultFor(int bank, int program, Fault fault, int count = 1);
    void clearFaults();

    double virtualTimeMs() const;
    void advanceVirtualTime(double ms);

    Counters counters() const;
    std::vector<LogEntry> received() const; // complete messages from the plug-in
    std::vector<LogEntry> sent() const;     // messages put on the wire, after faults
    void clearLogs();
    void resetCounters();

    // True once nothing is queued or being handled. Does not know about messages the plug-in
    // still holds in its own output queue: use waitUntil for those.
    bool waitUntilIdle(int timeoutMs);
    bool waitUntil(const std::function<bool()>& condition, int timeoutMs);

    // The NRPN number of a global and back; -1 when there is none.
    static int nrpnOfGlobal(int globalIndex);
    static int globalIndexForNrpn(int nrpn);
    static int globalMaximum(int globalIndex);

    // A MidiMessage holding exactly these bytes, even a continuation piece that starts with a
    // data byte.
    static juce::MidiMessage rawMessage(const std::uint8_t* data, size_t size, double timeStamp = 0.0);

private:
    enum class Kind
    {
        programDump,
        editBufferDump,
        globalDump,
        other,
    };

    struct Outgoing
    {
        Bytes bytes;
        Kind kind = Kind::other;
        int bank = -1;
        int program = -1;
        double readyMs = 0.0;
    };

    struct Delivery
    {
        Bytes bytes;
        double timeMs = 0.0;
    };

    void submit(std::function<void()> job);
    void pump();
    void workerLoop();

    // Everything below runs on the handling thread with stateLock held, unless said otherwise.
    void handlePiece(const Bytes& piece);
    void completePartial(double timeMs, std::vector<Outgoing>& out);
    void messageComplete(Bytes message, double timeMs, int pieces, std::vector<Outgoing>& out);
    void handleSysex(const Bytes& m, double timeMs, std::vector<Outgoing>& out);
    void handleChannelMessage(const Bytes& m);
    void trackVoices(const Bytes& m);
    void controlChange(int controller, int value);
    void applyNrpn();
    void queueFrontPanel(std::function<void(std::vector<Outgoing>&)> make);
    void prepare(Outgoing o, std::vector<Delivery>& deliveries);
    void deliver(const std::vector<Delivery>& deliveries); // without the lock
    Outgoing programDumpOf(int bank, int program, double readyMs) const;
    Outgoing editBufferDumpOf(double readyMs) const;
    Outgoing globalDumpOf(double readyMs) const;
    void appendNrpn(std::vector<Outgoing>& out, int nrpn, int value) const;
    void appendShort(std::vector<Outgoing>& out, std::uint8_t status, int data1, int data2) const;
    int sendChannel() const;

    VirtualMidiBackend& backend;
    const juce::String deviceName;
    const bool threaded;

    mutable std::mutex stateLock;
    Options options;
    ProgramBankSet banks;
    Record edit{};
    std::array<int, numGlobals> globalValues{};
    int bankNumber = 0;
    int programNumber = 0;
    int rxNrpnMsb = 127, rxNrpnLsb = 127, rxDataMsb = 0, rxDataLsb = 0; // 127/127: none selected
    std::array<bool, 128> sounding{};
    struct ChannelVoices
    {
        std::array<bool, 128> held{};
        std::array<bool, 128> sustained{};
        bool pedal = false;
    };
    std::array<ChannelVoices, 16> voices{};
    int pitchWheelPosition = 8192;
    int modWheelValue = 0;

    // The input parser.
    Bytes partial;
    bool inSysex = false;
    std::uint8_t runningStatus = 0;
    size_t expectedLength = 0;
    int partialPieces = 0;
    double partialStartMs = 0.0; // virtual time of the first byte of the message being parsed
    double storingUntilMs = 0.0;

    double clockMs = 0.0;
    double inFreeMs = 0.0;  // plug-in to synth wire busy until
    double outFreeMs = 0.0; // synth to plug-in wire busy until

    std::deque<Fault> faults;
    std::map<std::pair<int, int>, std::deque<Fault>> slotFaults;
    Counters stats;
    std::vector<LogEntry> receivedLog;
    std::vector<LogEntry> sentLog;

    std::mutex queueLock;
    std::condition_variable queueChanged;
    std::deque<std::function<void()>> jobs;
    bool busy = false;
    bool stopping = false;
    std::thread worker;
};

} // namespace zarnel::test
