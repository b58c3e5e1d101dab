#include "BankTransfers.h"

#include "MidiCntrState.h"

#include <utility>

namespace zarnel
{

namespace
{
BankTransfers::Ending endingOf(BankReceiver::Ending ending) noexcept
{
    switch (ending)
    {
        case BankReceiver::Ending::finished:
            return BankTransfers::Ending::finished;
        case BankReceiver::Ending::cancelled:
            return BankTransfers::Ending::cancelled;
        case BankReceiver::Ending::noAnswer:
            return BankTransfers::Ending::noAnswer;
        case BankReceiver::Ending::outputLost:
            return BankTransfers::Ending::outputLost;
    }
    return BankTransfers::Ending::none;
}
} // namespace

BankTransfers::BankTransfers(MidiCntrState& s) : state(s), receiver(s), transmitter(s)
{
    receiver.onEnded = [this](BankReceiver::Ending ending, BankReceiver::Progress at) {
        ended(endingOf(ending), receiver.getMode(), at.bank, at.program, at.count);
    };
    transmitter.onFinished = [this] {
        const auto at = transmitter.getProgress();
        ended(Ending::finished, transmitter.getMode(), at.bank, at.program, at.count);
    };
    transmitter.onOutputLost = [this] {
        const auto at = transmitter.getProgress();
        ended(Ending::outputLost, transmitter.getMode(), at.bank, at.program, at.count);
    };
}

BankTransfers::~BankTransfers()
{
    shutDown();
}

BankTransfers::Start BankTransfers::start(int mode, int bank)
{
    if (isActive())
        return Start::busy;
    if (!isReceiveMode(mode) && !isTransmitMode(mode))
        return Start::refused;
    // A receive needs the output too, for its requests; a port search lets none of them out.
    if (!state.getPorts().isOutputOpen())
        return Start::noOutput;
    if (state.getPorts().isProbing())
        return Start::refused;
    {
        // A new transfer: how the one before ended is no longer news.
        const juce::ScopedLock sl(reportLock);
        report = {};
    }
    const bool started = isReceiveMode(mode) ? receiver.start(bank, mode) : transmitter.start(mode, bank);
    return started ? Start::started : Start::refused;
}

void BankTransfers::cancel()
{
    receiver.cancel();
    if (transmitter.isActive())
    {
        transmitter.cancel();
        const auto at = transmitter.getProgress();
        ended(Ending::cancelled, transmitter.getMode(), at.bank, at.program, at.count);
    }
}

void BankTransfers::shutDown()
{
    cancel();
    const juce::ScopedLock sl(reportLock);
    report = {};
}

bool BankTransfers::isActive() const noexcept
{
    return receiver.isActive() || transmitter.isActive();
}

BankTransfers::Progress BankTransfers::getProgress() const
{
    if (receiver.isActive())
    {
        const auto at = receiver.getProgress();
        return {receiver.getMode(), at.bank, at.program, at.count};
    }
    if (transmitter.isActive())
    {
        const auto at = transmitter.getProgress();
        return {transmitter.getMode(), at.bank, at.program, at.count};
    }
    return {};
}

BankTransfers::Report BankTransfers::takeReport()
{
    const juce::ScopedLock sl(reportLock);
    return std::exchange(report, Report{});
}

void BankTransfers::tick()
{
    receiver.tick();
}

void BankTransfers::setClock(Clock clock)
{
    receiver.setClock(clock);
    transmitter.setClock(std::move(clock));
}

void BankTransfers::ended(Ending ending, int mode, int bank, int program, int count)
{
    const juce::ScopedLock sl(reportLock);
    report = {ending, {mode, bank, program, count}};
}

} // namespace zarnel
