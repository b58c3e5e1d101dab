#pragma once

#include "../model/ProgramSysex.h"

#include <juce_events/juce_events.h>

#include <functional>

namespace zarnel
{

class MidiCntrState;

// Sends a user bank, or the user banks up to U4, to the synthesizer one program dump at a time,
// from a timer on the message thread. Each dump is addressed to its own slot and followed by a
// pause long enough for it to cross a DIN wire and for the instrument to store it, so the
// instrument never loses a program and the message thread is never held up by more than one
// dump. Progress is posted as 0x17 (bank, program) per program; the end as 0x19 and 0x16.
class BankTransmitter : private juce::Timer
{
public:
    // 300 bytes of ten bits each at 31,250 baud.
    static constexpr double dumpWireMs = (double)ProgramSysex::programDumpSize * 10.0 * 1000.0 / 31250.0;
    // Time the instrument takes to write a received program into its memory; it cannot take the
    // next dump meanwhile. Not published by the maker: chosen with a wide margin over a flash
    // page write.
    static constexpr double programStoreMs = 100.0;
    static constexpr double stepMs = dumpWireMs + programStoreMs;

    static constexpr int transmitOne = 100;
    static constexpr int transmitAll = 107;

    using Clock = std::function<double()>;

    // The clock gives milliseconds; by default juce::Time::getMillisecondCounterHiRes.
    explicit BankTransmitter(MidiCntrState& state, Clock clock = {});
    ~BankTransmitter() override;

    // Mode transmitOne sends bank `bank`, transmitAll the user banks from `bank` to U4. The first
    // dump leaves at once. False, and nothing sent, for a bank that is not a user bank, while no
    // output is open, or while a transmission runs.
    bool start(int mode, int bank);
    // Stops after the dump that is on its way; posts nothing.
    void cancel();
    bool isActive() const noexcept { return active; }

    // Sends the next program when its time has come (the timer's work; tests call it with a clock
    // of their own).
    void tick(double nowMs);
    double getNextDueMs() const noexcept { return nextDueMs; }

    // The last program sent (-1 before the first) and how many went out since start.
    struct Progress
    {
        int bank = -1, program = -1;
        int count = 0;
    };
    Progress getProgress() const noexcept { return progress; }
    int getMode() const noexcept { return mode; }

    // While idle: the time from one dump to the next, for an instrument (a simulated one) that
    // stores faster, and the clock.
    void setStepMs(double ms) noexcept { step = ms; }
    void setClock(Clock newClock);

    // Called (from tick) when the output closed in the middle: the transmission has stopped;
    // 0x16 is posted after it.
    std::function<void()> onOutputLost;
    // Called (from tick) once the last dump has been stored, before 0x19 and 0x16 are posted.
    std::function<void()> onFinished;

private:
    void timerCallback() override;
    void scheduleNext(double nowMs);
    void stop();

    MidiCntrState& state;
    Clock clock;
    bool active = false;
    int mode = transmitOne;
    int bank = 0;
    int program = 0;
    bool finishing = false; // every dump sent; the end is posted once the last one is stored
    double nextDueMs = 0.0;
    double step = stepMs;
    Progress progress;
};

} // namespace zarnel
