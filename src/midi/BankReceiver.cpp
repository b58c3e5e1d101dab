#include "BankReceiver.h"

#include "MidiCntrState.h"

namespace zarnel
{

namespace
{
BankReceiver::Clock systemClock()
{
    return [] { return juce::Time::getMillisecondCounterHiRes(); };
}
} // namespace

BankReceiver::BankReceiver(MidiCntrState& s, Clock c) : state(s), clock(c ? std::move(c) : systemClock())
{
}

void BankReceiver::setClock(Clock c)
{
    clock = c ? std::move(c) : systemClock();
}

bool BankReceiver::start(int bank, int newMode)
{
    if (!ProgramSysex::isValidBank(bank))
        return false;
    const juce::ScopedLock tl(transferLock);
    mode = newMode;
    progress = {};
    answersTimed = 0;
    answerMs = 0.0;
    repeatedRequests = 0;
    lateAnswers = 0;
    abandonedBank = -1;
    active = true;
    request(bank, 0, clock());
    return true;
}

void BankReceiver::cancel()
{
    Progress at;
    {
        const juce::ScopedLock tl(transferLock);
        if (!active.load())
            return;
        at = progress;
        stop(clock());
    }
    announceEnd(Ending::cancelled, at);
}

bool BankReceiver::isActive() const noexcept
{
    return active.load();
}

void BankReceiver::request(int bank, int program, double nowMs)
{
    expectedBank = bank;
    expectedProgram = program;
    retries = 0;
    firstRequestMs = lastRequestMs = nowMs;
    state.requestDump(ProgramSysex::cmdProgramDumpRequest, bank, program);
}

double BankReceiver::timeoutFor(double answer) const noexcept
{
    return juce::jlimit(minTimeoutMs, maxTimeoutMs, answer * answerTimesPerTimeout);
}

double BankReceiver::waitMs() const noexcept
{
    const double base = answersTimed > 0 ? timeoutFor(answerMs) : firstTimeoutMs;
    if (retries == 0)
        return base;
    // The same program missing again may be a slow moment rather than a loss: wait longer each
    // time, up to what an untimed request gets.
    return juce::jmax(base, juce::jmin(base * (double)(1 << retries), firstTimeoutMs));
}

void BankReceiver::learnAnswer(double nowMs)
{
    const double sinceLast = nowMs - lastRequestMs;
    if (nowMs >= lastRequestMs + waitMs())
        ++lateAnswers;

    // After a repeat the dump may answer either request. One that comes within the usual time of
    // the repeat is taken as its answer; a later one as the first request's, answered slowly.
    double sample = nowMs - firstRequestMs;
    if (retries > 0 && answersTimed > 0 && sinceLast <= 2.0 * answerMs)
        sample = sinceLast;

    // A slower answer counts at once, faster ones only little by little: one quick answer must
    // not cut the wait for the next slow one.
    if (answersTimed == 0 || sample > answerMs)
        answerMs = sample;
    else
        answerMs += (sample - answerMs) / 8.0;
    ++answersTimed;
}

bool BankReceiver::takeDump(int bank, int program, const Record& record)
{
    Progress finishedAt;
    {
        const juce::ScopedLock tl(transferLock);
        if (!active.load())
        {
            if (bank != abandonedBank || program != abandonedProgram || clock() >= abandonedUntilMs)
                return false;
            // The answer to a stopped receive: the slot's content, but the edited program stays.
            abandonedBank = -1;
            state.setBankProgram(bank, program, record);
            state.postNotification(Notification::bankContentChanged);
            return true;
        }

        // Only the program asked for is taken: a repeated or unasked dump would otherwise start a
        // second chain of requests.
        if (bank != expectedBank || program != expectedProgram)
            return true;

        const double now = clock();
        learnAnswer(now);
        state.setBankProgram(bank, program, record);
        progress = {bank, program, progress.count + 1};
        state.postNotification(Notification::bankProgram(bank, program));

        if (program < ProgramSysex::numPrograms - 1)
        {
            request(bank, program + 1, now);
            return true;
        }
        if (mode == receiveAll && bank < ProgramBankSet::numUserBanks - 1)
        {
            request(bank + 1, 0, now);
            return true;
        }
        expectedBank = -1; // answered: nothing left outstanding
        finishedAt = progress;
        stop(now);
    }
    announceEnd(Ending::finished, finishedAt);
    return true;
}

void BankReceiver::tick(double nowMs)
{
    Ending ending = Ending::noAnswer;
    Progress at;
    {
        const juce::ScopedLock tl(transferLock);
        if (!active.load())
            return;
        auto& ports = state.getPorts();
        // Requests that cannot reach the instrument would only run into time-outs.
        if (!ports.isOutputOpen() || ports.isProbing())
        {
            ending = Ending::outputLost;
        }
        else
        {
            // The same sum as getDeadlineMs: a timer called at the deadline is not a hair early.
            if (nowMs < lastRequestMs + waitMs())
                return;
            if (retries < maxRetries)
            {
                ++retries;
                ++repeatedRequests;
                lastRequestMs = nowMs;
                state.requestDump(ProgramSysex::cmdProgramDumpRequest, expectedBank, expectedProgram);
                return;
            }
        }
        at = progress;
        stop(nowMs);
    }
    announceEnd(ending, at);
}

void BankReceiver::stop(double nowMs)
{
    if (expectedBank >= 0)
    {
        abandonedBank = expectedBank;
        abandonedProgram = expectedProgram;
        abandonedUntilMs = nowMs + juce::jmax(firstTimeoutMs, waitMs());
    }
    expectedBank = -1;
    expectedProgram = -1;
    active = false;
}

void BankReceiver::announceEnd(Ending ending, Progress at)
{
    if (onEnded)
        onEnded(ending, at);
    if (ending == Ending::cancelled)
        return;
    // What did arrive is kept and listed.
    if (at.count > 0)
        state.postNotification(Notification::bankContentChanged);
    state.postNotification(Notification::bankReceiveFinished);
}

double BankReceiver::getDeadlineMs() const
{
    const juce::ScopedLock tl(transferLock);
    return active.load() ? lastRequestMs + waitMs() : 0.0;
}

double BankReceiver::getAnswerMs() const
{
    const juce::ScopedLock tl(transferLock);
    return answerMs;
}

double BankReceiver::getTimeoutMs() const
{
    const juce::ScopedLock tl(transferLock);
    return answersTimed > 0 ? timeoutFor(answerMs) : firstTimeoutMs;
}

int BankReceiver::getNumRepeatedRequests() const
{
    const juce::ScopedLock tl(transferLock);
    return repeatedRequests;
}

int BankReceiver::getNumLateAnswers() const
{
    const juce::ScopedLock tl(transferLock);
    return lateAnswers;
}

BankReceiver::Progress BankReceiver::getProgress() const
{
    const juce::ScopedLock tl(transferLock);
    return progress;
}

int BankReceiver::getMode() const
{
    const juce::ScopedLock tl(transferLock);
    return mode;
}

} // namespace zarnel
