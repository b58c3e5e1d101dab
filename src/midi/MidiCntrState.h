#pragma once

#include "BankTransfers.h"
#include "HostBlockTimeline.h"
#include "MIDI_PORTS_Control.h"
#include "MidiCntrStateListener.h"
#include "Notification.h"
#include "PortSearch.h"
#include "SettingsList.h"

#include "../model/BankDataFile.h"
#include "../model/Bank_Program.h"
#include "../model/GlobalSettings.h"
#include "../model/ParamTables.h"
#include "../model/ProgramBankSet.h"
#include "../platform/BoundedQueue.h"

#include <juce_events/juce_events.h>

#include <array>
#include <atomic>

namespace zarnel
{

// The model behind the editor and the link to the synthesizer: parses what the synthesizer sends
// (on the MIDI input thread), holds the banks, the globals, the settings and the ports, and the
// senders everything else uses.
//
// Threads: the banks are guarded by one short lock that is never held while allocating and never
// taken on the audio thread; the program being edited is one atomic byte per parameter (whole
// records are copied under the lock, single bytes are not), so host parameters need no lock.
// Notifications, parameter changes from the synthesizer and MIDI for the host travel through
// lock-free queues; flags and numbers shared between threads are atomics.
//
// Files: changes to the user banks and to the settings are written from the message thread soon
// after they happen (at most about once a second), and at destruction only if something changed.
class MidiCntrState : public juce::MidiInputCallback, public juce::ChangeBroadcaster, private juce::Timer
{
public:
    using Record = ProgramSysex::Record;

    static constexpr int defaultKeyboardOctave = 2;
    static constexpr int defaultKeyboardVelocity = 100;
    static constexpr int numSampleRates = 6;

    // A bank receive waits this long for a program before it has timed an answer, and gives up
    // after this many repeated requests for the same program.
    static constexpr double bankReceiveTimeoutMs = BankReceiver::firstTimeoutMs;
    static constexpr int bankReceiveMaxRetries = BankReceiver::maxRetries;

    // Changed banks and settings reach their files no more often than this.
    static constexpr double fileWriteIntervalMs = 1000.0;
    // MIDI for the host that waited longer than this (the host stopped processing) is stale.
    static constexpr double toHostWindowMs = 500.0;

    MidiCntrState(const juce::File& settingsFolder, MidiDeviceBackend& backend);
    ~MidiCntrState() override;

    //==== MIDI input (the input device's thread) ===================================================
    void handleIncomingMidiMessage(juce::MidiInput* source, const juce::MidiMessage& message) override;
    void handlePartialSysexMessage(juce::MidiInput*, const juce::uint8*, int, double) override {}

    //==== Senders ===================================================================================
    void sendParameterNrpn(int nrpn, int value, int latencyMs, double samplesPerSecond);
    // Host automation that found the sender busy (the audio thread never waits for it) goes out
    // here: at the start of the next block, or after the sender that held it.
    void sendDeferredHostValues() noexcept;
    void sendNrpn(int nrpn, int value);
    void requestGlobalDump();
    void sendEditBuffer(const Record& record);
    void sendProgramDump(int bank, int program, const Record& record);
    void requestDump(int kind, int bank, int program);
    void selectProgram(int bank, int program, bool announce);
    void sendNote(int channel, int note, int velocity);
    // The on-screen keyboard's note-off, in order with its note-ons; the same limits.
    void sendNoteOff(int channel, int note);
    void queuePitchBendForHost(int channel, int value);

    //==== Model =====================================================================================
    // The host (automation) changed a parameter: store, send with the latency offset, notify.
    void setParameterFromHost(int index, int value);
    void loadHostProgram();
    void storeProgram(bool toBank, int bank, int program, const Record& record);

    // The program being edited (the host bank's current record) and the banks, under the model lock.
    void setHostBank(Bank_Program* bank);
    Record getCurrentProgram() const;
    void setCurrentProgram(const Record& record);
    // Counts replacements of the whole program being edited, so the host can be told to re-read.
    std::uint32_t getProgramGeneration() const noexcept { return programGeneration.load(); }
    // The program as the replacement that ended `generation` found it, edits nobody had looked at
    // yet included; false once a few later replacements have pushed it out.
    bool getProgramReplacedAt(std::uint32_t generation, Record& record) const;
    int getCurrentByte(int index) const;
    void setCurrentByte(int index, int value);
    Record getHostBankProgram(int slot) const;
    void setHostBankProgram(int slot, const Record& record);
    juce::String getHostBankProgramName(int slot) const;
    void setHostBankProgramName(int slot, const juce::String& name);
    Bytes getHostBankData() const;
    // The first data.size() / 256 presets (at most 128) replaced, the others kept, in one hold of
    // the model lock: the host never saves a half-replaced bank. Nothing is allocated under it.
    void replaceHostBankData(Bytes data);

    Record getBankProgram(int bank, int slot) const;
    void setBankProgram(int bank, int slot, const Record& record);
    Bytes getBankData(int bank) const;
    juce::String getBankProgramName(int bank, int slot) const;
    // A whole bank at once (a file, an initialise): the data is built by the caller and swapped
    // in, so nothing is copied or allocated under the lock. Short data leaves the rest as it was.
    void replaceBankData(int bank, Bytes data);

    //==== Files ======================================================================================
    // Writes the changed user banks and settings now, those whose last write failed included
    // (message thread). A timer writes new changes at most once per fileWriteIntervalMs; a write
    // that failed is tried again with the next change, or here.
    void flushPendingWrites();
    bool hasPendingWrites() const;
    BankDataFile::Condition getBankFileCondition() const noexcept { return bankFile.getLoadedCondition(); }

    // The lock around the banks and whole records. Tests hold it to show that the host's
    // parameter path (audio thread) never waits for it.
    juce::CriticalSection& getModelLock() const noexcept { return modelLock; }
    // Likewise the lock of the NRPN sender, which editor edits hold on the message thread.
    juce::CriticalSection& getNrpnSendLock() noexcept { return nrpnSendLock; }

    //==== Bank transfers ============================================================================
    // Held here, not by the editor: they go on while it is closed and end with the plug-in.
    BankTransfers& getBankTransfers() noexcept { return *transfers; }
    // mode 0: one bank; 7: the user banks from `bank` up to U4.
    void startBankReceive(int bank, int mode);
    void endBankReceive();
    // Called by a timer on the message thread; tests call it with their own clock.
    void checkBankReceiveTimeout(double nowMs);
    bool isBankReceiveActive() const noexcept { return transfers->getReceiver().isActive(); }

    //==== Globals ===================================================================================
    int getGlobalValue(int index) const noexcept;
    void setGlobalValue(int index, int value);
    bool haveGlobalsArrived() const noexcept { return globalsReceived.load(); }
    // Counts every global dump decoded, asked for or not.
    std::uint32_t getGlobalDumpCount() const noexcept { return globalDumpCount.load(); }

    //==== Notifications =============================================================================
    // Appends the code and tells the listeners, last registered first, on the calling thread.
    void postNotification(std::uint32_t code);
    void postStateNotification(std::uint32_t code);
    // For the audio thread: appends the code only; a message-thread timer tells the listeners.
    void postNotificationQuietly(std::uint32_t code) noexcept;
    // The listeners' side: one code at a time, oldest first.
    bool popNotification(std::uint32_t& code) noexcept;
    bool popHardwareChange(std::uint32_t& entry) noexcept;
    size_t getNumNotificationsDropped() const noexcept { return notificationQueue.getNumDropped(); }

    void addListener(MidiCntrStateListener* listener);
    void removeListener(MidiCntrStateListener* listener);
    void addStateListener(stateListener* listener);
    void removeStateListener(stateListener* listener);

    //==== Host MIDI (audio thread) ==================================================================
    // Forwards host MIDI to the synthesizer (while forwarding is off, only what ends sound), each
    // event due at its sample's time plus the latency offset, posts it to the editor, and leaves
    // in `midi` only what goes to the host. Never allocates, as long as `midi` has room for what
    // it receives. A host rendering offline (not realtime) follows no clock: its blocks are timed
    // from their calls, one by one.
    void processHostMidi(juce::MidiBuffer& midi, int numSamples, double samplesPerSecond,
                         bool realtime = true) noexcept;
    // Where the block processHostMidi took last starts on the millisecond clock, for whatever else
    // the block sends at its samples' times (the MIDI clock).
    double getHostBlockStartMs() const noexcept { return hostBlockStartMs; }
    // Drops what waits for the host, except what ends a note, the pedal or all sound: that
    // reaches the host in its next block.
    void clearToHostQueue() noexcept;

    //==== Sample rate and latency ===================================================================
    void setSampleRate(double rate) noexcept;
    double getSampleRate() const noexcept { return sampleRate.load(); }
    int getSampleRateIndex() const noexcept { return sampleRateIndex.load(); }
    static int sampleRateIndexFor(double rate) noexcept;
    // Milliseconds added to timed sends: the latency table's entry for the current sample rate.
    int getLatencyOffset() const noexcept;
    void setLatency(int mode, const std::vector<int>& table);
    int getLatencyMode() const noexcept { return latencyMode.load(); }
    std::vector<int> getLatencyTable() const;

    //==== Parts ======================================================================================
    SettingsList& getSettings() noexcept { return settings; }
    MIDI_PORTS_Control& getPorts() noexcept { return *ports; }
    const ParamTables& getTables() const noexcept { return tables; }
    // A choice made while a port search runs cancels the search first. The choice goes into the
    // port file at once; a failed write is posted like the other files'.
    void selectInputPort(int position);
    void selectOutputPort(int position);
    // The channel everything is sent on; what sounds on the instrument is let go first, since
    // the note-offs to come would go out on the new channel.
    void setMidiChannel(int channel);

    //==== Port search ===============================================================================
    // Stepped by this object's message-thread timer, so closing the editor lets it finish.
    PortSearch& getPortSearch() noexcept { return *portSearch; }
    // Once per plug-in instance, at the first editor opening: true when nobody has chosen ports
    // here yet (no port file at start), nothing has answered, and there are ports to try.
    bool claimFirstRunSearch();
    // U1-U4 hold the factory programs in place of a data file that could not be taken: sending
    // them to the instrument would overwrite its own banks with them.
    bool areUserBanksStandIns() const noexcept;
    // What the user is told, once per instance, of a data file that was not taken whole; empty
    // when there is nothing to tell or it was told.
    juce::String claimBankFileNotice();

    //==== Shared state ===============================================================================
    std::atomic<int> midiChannel{1};
    std::atomic<bool> clockOutEnabled{false};
    std::atomic<bool> forwardHostMidi{true};
    std::atomic<bool> thruToHost{false};
    std::atomic<bool> firstRun{false};
    std::atomic<int> hostProgramIndex{0};
    std::atomic<int> currentBank{0};
    std::atomic<int> currentProgramNumber{0};
    std::atomic<int> blockSize{0};
    std::atomic<bool> scanActive{false};
    std::atomic<int> scanInput{0};
    std::atomic<int> scanOutput{0};
    std::atomic<float> uiScale{1.0f};
    std::atomic<int> keyboardOctave{defaultKeyboardOctave};
    std::atomic<int> keyboardVelocity{defaultKeyboardVelocity};
    std::atomic<int> rxNrpnMsb{0}, rxNrpnLsb{0};
    // The bank page's "Use Loaded Data": a chosen program is loaded for editing without selecting
    // it on the synthesizer.
    std::atomic<bool> useLoadedData{false};
    // Set by the main component: built once, and opened before in this plug-in instance.
    std::atomic<bool> mainCompBuilt{false};
    std::atomic<bool> editorOpenedBefore{false};

private:
    struct ShortMessage
    {
        double timeMs = 0.0;
        std::uint8_t bytes[3]{};
        std::uint8_t size = 0;
    };

    void timerCallback() override;
    void checkOutputResponding(bool haveListeners);

    void handleControlChange(int channel, int controller, int value, const juce::MidiMessage& message);
    void handleSysexMaterial(const juce::MidiMessage& message);
    void dispatchSysex(const std::uint8_t* data, size_t size);
    void handleProgramDump(const std::uint8_t* data, size_t size);
    void handleGlobalDump(const std::uint8_t* data, size_t size);
    void queueForHost(const std::uint8_t* bytes, int size) noexcept;
    void notifyListeners();
    bool sendRaw(const std::uint8_t* bytes, int size, double dueMs) noexcept;
    void sendParameterNrpnLocked(int nrpn, int value, int latencyMs) noexcept;
    void sendDeferredHostValuesLocked() noexcept;
    bool sendNrpnParts(const std::uint8_t* bytes, int count, double dueMs) noexcept;
    void markChanged(int bank, const BankDataFile::ChangedSlots& slots);
    void sendSysex(const Bytes& message);

    juce::File folder;
    SettingsList settings;
    const ParamTables& tables;
    std::unique_ptr<MIDI_PORTS_Control> ports;

    // Every bank, and whole-record access to the program being edited.
    mutable juce::CriticalSection modelLock;
    ProgramBankSet banks;
    Bank_Program* hostBank = nullptr;
    std::array<std::atomic<std::uint8_t>, ProgramSysex::recordSize> currentRecord{};
    std::atomic<std::uint32_t> programGeneration{0};
    // The last few programs replaced, each with the generation it ended plus one (0: none).
    static constexpr size_t numReplacedKept = 4;
    std::array<Record, numReplacedKept> replacedPrograms{};
    std::array<std::uint32_t, numReplacedKept> replacedTags{};
    // Under modelLock, before the program is replaced.
    void keepReplacedProgram() noexcept;

    // The user banks' file and the slots changed since it was last written (under modelLock).
    BankDataFile bankFile;
    BankDataFile::ChangedSlots changedSlots;
    std::atomic<bool> banksChanged{false};
    // Message thread.
    double lastFileWriteMs = 0.0;
    bool bankWriteFailed = false;
    std::uint64_t settingsFailedAtChange = ~std::uint64_t{0};
    void writeChanges(bool retryFailed);

    // What sendParameterNrpn sent last, so repeated parts are left out; guarded with the send.
    // Parts go out in order: none is due before the last one scheduled.
    juce::CriticalSection nrpnSendLock;
    int lastNrpn = -1;
    int lastDataMsb = 0;
    int lastDataLsb = 0;
    int lastNrpnChannel = 0;
    std::uint32_t lastWireEpoch = 0;
    double lastNrpnDueMs = 0.0;
    // Set when the synthesizer's values change other than by our NRPNs: a value of its own, a
    // program loaded, an edit buffer sent.
    std::atomic<bool> nrpnChangedOnSynth{false};

    // Parameters whose host automation is still to be sent (their current value goes out).
    std::array<std::atomic<bool>, ProgramSysex::recordSize> hostValueDeferred{};
    std::atomic<bool> anyHostValueDeferred{false};

    // Host MIDI forwarded to the synthesizer: each event at its sample's time, in order; the
    // block's start is the clock's too (audio thread only).
    HostBlockTimeline hostTimeline;
    double hostBlockStartMs = 0.0;

    // The NRPN being received (input thread only).
    int rxDataMsb = 0;

    // SysEx fragments being joined (input thread only).
    Bytes sysexBuffer;

    std::array<std::atomic<std::int8_t>, GlobalSettings::numStoredValues> globalValues{};
    std::atomic<bool> globalsReceived{false};
    std::atomic<std::uint32_t> globalDumpCount{0};

    std::unique_ptr<PortSearch> portSearch;
    bool firstRunSearchClaimed = false;
    bool bankFileNoticeClaimed = false;
    // An output closed for not responding, and the editor not open to say so yet (message thread).
    bool outputLossUnreported = false;

    // Made after the ports and ended before they close.
    std::unique_ptr<BankTransfers> transfers;

    std::atomic<double> sampleRate{44100.0};
    std::atomic<int> sampleRateIndex{0};
    std::atomic<int> latencyMode{0};
    std::array<std::atomic<int>, SettingsList::numLatencyValues> latencyTable{};

    BoundedQueue<std::uint32_t, 16384> notificationQueue;
    BoundedQueue<std::uint32_t, 4096> hardwareChanges;
    BoundedQueue<ShortMessage, 1024> toHostQueue;
    std::array<ShortMessage, 1024> toHostScratch{}; // audio thread only
    // What ends a note, the pedal or all sound and could not wait in toHostQueue (it overflowed or
    // was cleared): the host may hold what it ends. One bit per channel and note, then one per
    // channel for each ending controller; the host gets them first in its next block.
    static constexpr int numEndingControllers = 3;
    std::array<std::atomic<std::uint32_t>, 16 * 128 / 32 + numEndingControllers> owedReleases{};
    std::atomic<bool> anyReleaseOwed{false};
    void oweRelease(const ShortMessage& m) noexcept;
    void addOwedReleases(juce::MidiBuffer& midi) noexcept;
    std::atomic<bool> quietNotificationsPending{false};

    juce::CriticalSection listenerLock;
    juce::Array<MidiCntrStateListener*> listeners;
    juce::Array<stateListener*> stateListeners;

    JUCE_DECLARE_NON_COPYABLE(MidiCntrState)
};

} // namespace zarnel
