#pragma once

#include "../model/ProgramSysex.h"

#include <juce_core/juce_core.h>

#include <atomic>
#include <functional>

namespace zarnel
{

class MidiCntrState;

// Receives a bank, or the user banks up to U4, from the synthesizer one program at a time: each
// dump that arrives (on the MIDI input thread) is stored and answered by the request for the next.
// A request left unanswered is repeated after a time-out learned from the instrument's own answer
// times during the receive, so a lost dump costs a few answer times while a slow instrument is
// never hurried. Time-outs are checked from a timer of the owner; tests give it their own clock.
class BankReceiver
{
public:
    using Clock = std::function<double()>;
    using Record = ProgramSysex::Record;

    static constexpr int receiveOne = 0;
    static constexpr int receiveAll = 7;

    // Until an answer has been timed, a request waits this long. Afterwards the wait is a few
    // answer times, never so short that a busy computer's scheduling counts as a lost dump, and
    // long enough for an instrument that takes seconds.
    static constexpr double firstTimeoutMs = 1500.0;
    static constexpr double answerTimesPerTimeout = 4.0;
    static constexpr double minTimeoutMs = 150.0;
    static constexpr double maxTimeoutMs = 6000.0;
    // The same program is asked for this many more times before the receive gives up.
    static constexpr int maxRetries = 3;

    enum class Ending
    {
        finished,
        cancelled,
        noAnswer,   // the instrument stopped answering
        outputLost, // the output closed or a port search took it
    };

    struct Progress
    {
        int bank = -1, program = -1; // the last program stored, -1 before the first
        int count = 0;               // programs stored so far
    };

    // The clock gives milliseconds; by default juce::Time::getMillisecondCounterHiRes.
    explicit BankReceiver(MidiCntrState& state, Clock clock = {});

    // Mode receiveOne asks for bank `bank`, receiveAll for the user banks from `bank` up to U4. A
    // receive already running starts again from here. False, and nothing asked, for a bank
    // number outside the model.
    bool start(int bank, int mode);
    // Stops without posting anything; the answer on its way only updates its slot.
    void cancel();
    bool isActive() const noexcept;

    // A program dump arrived (MIDI input thread). True when it belonged to a receive, running or
    // just stopped; false for a dump the caller treats as a program choice.
    bool takeDump(int bank, int program, const Record& record);

    // Repeats or gives up the request whose time ran out, and stops once the output is gone.
    void tick(double nowMs);
    void tick() { tick(clock()); }
    // When the request waiting now runs out of time; 0 while idle.
    double getDeadlineMs() const;
    // The answer time learned so far (0 before the first) and the wait it gives a new request.
    double getAnswerMs() const;
    double getTimeoutMs() const;
    // Requests sent again, and answers that came after their wait had run out (a wait too short
    // for this instrument), since start.
    int getNumRepeatedRequests() const;
    int getNumLateAnswers() const;
    Progress getProgress() const;
    int getMode() const;

    // Tests only, while idle.
    void setClock(Clock newClock);

    // Told once per receive how it ended, on the thread that ended it, before the end is posted.
    // Set before the first start.
    std::function<void(Ending, Progress)> onEnded;

private:
    // transferLock is held by these.
    void request(int bank, int program, double nowMs);
    double waitMs() const noexcept;
    double timeoutFor(double answer) const noexcept;
    void learnAnswer(double nowMs);
    // Idle again; the request still out is remembered as abandoned.
    void stop(double nowMs);
    // Without the lock: tells the owner, then the listeners.
    void announceEnd(Ending ending, Progress at);

    MidiCntrState& state;
    Clock clock;

    mutable juce::CriticalSection transferLock;
    std::atomic<bool> active{false};
    int mode = -1;
    int expectedBank = -1;
    int expectedProgram = -1;
    int retries = 0;
    double firstRequestMs = 0.0; // of the program waited for
    double lastRequestMs = 0.0;
    int answersTimed = 0;
    double answerMs = 0.0;
    int repeatedRequests = 0;
    int lateAnswers = 0;
    Progress progress;
    // The request left unanswered when a receive stopped: its late answer is not a program choice.
    int abandonedBank = -1;
    int abandonedProgram = -1;
    double abandonedUntilMs = 0.0;

    JUCE_DECLARE_NON_COPYABLE(BankReceiver)
};

} // namespace zarnel
