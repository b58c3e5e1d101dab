#pragma once

#include "BankReceiver.h"
#include "BankTransmitter.h"

#include <juce_core/juce_core.h>

namespace zarnel
{

class MidiCntrState;

// The bank transfers of one plug-in instance, a receive or a transmission, one at a time. Held by
// the controller state rather than the editor, so a transfer goes on while the editor is closed:
// an editor that opens asks here what runs and how far it got, and how the last transfer ended
// when no editor was there to show it. Message thread, except where said.
class BankTransfers
{
public:
    using Clock = std::function<double()>;

    enum class Start
    {
        started,
        noOutput,
        busy,    // another transfer runs
        refused, // a mode or bank the transfer cannot take, or a port search runs
    };

    enum class Ending
    {
        none,
        finished,
        cancelled,
        noAnswer,   // a receive the instrument stopped answering
        outputLost, // the output closed, or a port search took it
    };

    struct Progress
    {
        int mode = -1;               // receive 0 or 7, transmit 100 or 107; -1 when idle
        int bank = -1, program = -1; // the last program moved, -1 before the first
        int count = 0;               // programs moved so far
    };

    struct Report
    {
        Ending ending = Ending::none;
        Progress progress; // where it ended
    };

    static bool isReceiveMode(int mode) noexcept
    {
        return mode == BankReceiver::receiveOne || mode == BankReceiver::receiveAll;
    }
    static bool isTransmitMode(int mode) noexcept
    {
        return mode == BankTransmitter::transmitOne || mode == BankTransmitter::transmitAll;
    }

    explicit BankTransfers(MidiCntrState& state);
    ~BankTransfers();

    Start start(int mode, int bank);
    // The user's cancel: stops whatever runs, reports nothing.
    void cancel();
    // The plug-in closes: stops whatever runs after the dump on its way; what arrived stays.
    void shutDown();
    bool isActive() const noexcept;
    Progress getProgress() const;

    // How the last transfer ended, once (none after a new start). An editor asks when it is told of
    // an end, and when it opens for an end that happened while it was closed. Any thread.
    Report takeReport();

    // Repeats or gives up a receive's request whose time ran out (the owner's timer).
    void tick();

    BankReceiver& getReceiver() noexcept { return receiver; }
    BankTransmitter& getTransmitter() noexcept { return transmitter; }
    // Tests: the clock of both, while idle.
    void setClock(Clock clock);

private:
    void ended(Ending ending, int mode, int bank, int program, int count);

    MidiCntrState& state;
    BankReceiver receiver;
    BankTransmitter transmitter;

    juce::CriticalSection reportLock;
    Report report;

    JUCE_DECLARE_NON_COPYABLE(BankTransfers)
};

} // namespace zarnel
