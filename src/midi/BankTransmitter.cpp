#include "BankTransmitter.h"

#include "MidiCntrState.h"

#include <cmath>

namespace zarnel
{

BankTransmitter::BankTransmitter(MidiCntrState& s, Clock c) : state(s)
{
    setClock(std::move(c));
}

void BankTransmitter::setClock(Clock c)
{
    clock = c ? std::move(c) : [] { return juce::Time::getMillisecondCounterHiRes(); };
}

BankTransmitter::~BankTransmitter()
{
    stopTimer();
}

bool BankTransmitter::start(int newMode, int firstBank)
{
    if (active || (newMode != transmitOne && newMode != transmitAll) || firstBank < 0
        || firstBank >= ProgramBankSet::numUserBanks || !state.getPorts().isOutputOpen()
        || state.getPorts().isProbing())
        return false;
    active = true;
    finishing = false;
    mode = newMode;
    bank = firstBank;
    program = 0;
    progress = {};
    const double now = clock();
    nextDueMs = now;
    tick(now);
    scheduleNext(now);
    return true;
}

void BankTransmitter::cancel()
{
    stop();
}

void BankTransmitter::stop()
{
    active = false;
    finishing = false;
    stopTimer();
}

void BankTransmitter::timerCallback()
{
    const double now = clock();
    tick(now);
    scheduleNext(now);
}

void BankTransmitter::scheduleNext(double nowMs)
{
    // Timers may fire a little early: then this simply asks again for the rest.
    if (active)
        startTimer(juce::jmax(1, (int)std::ceil(nextDueMs - nowMs)));
}

void BankTransmitter::tick(double nowMs)
{
    if (!active || nowMs < nextDueMs)
        return;

    if (finishing)
    {
        stop();
        if (onFinished)
            onFinished();
        state.postNotification(Notification::bankContentChanged);
        state.postNotification(Notification::bankReceiveFinished);
        return;
    }

    // A port search silences the output: what would be sent now never reaches the instrument.
    if (!state.getPorts().isOutputOpen() || state.getPorts().isProbing())
    {
        stop();
        if (onOutputLost)
            onOutputLost();
        state.postNotification(Notification::bankReceiveFinished);
        return;
    }

    // What is due on the output already (edits, automation) goes first: the long dump waits for it.
    state.sendProgramDump(bank, program, state.getBankProgram(bank, program));
    progress = {bank, program, progress.count + 1};
    state.postNotification(Notification::bankProgram(bank, program));
    // Counted from this dump, not from when it was due: a late timer never squeezes the next one.
    nextDueMs = nowMs + step;

    if (++program == ProgramSysex::numPrograms)
    {
        program = 0;
        if (mode == transmitAll && bank + 1 < ProgramBankSet::numUserBanks)
            ++bank;
        else
            finishing = true;
    }
}

} // namespace zarnel
