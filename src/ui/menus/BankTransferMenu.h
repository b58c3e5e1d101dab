#pragma once

#include "CommandContext.h"
#include "MenuModel.h"

namespace zarnel
{

// The bank page's MIDI menu: receive a user bank or all four from the synthesizer, or transmit
// them to it. The main component runs the transfer with its progress bar.
class BankTransferMenu
{
public:
    static constexpr int firstReceiveItem = 1;
    static constexpr int receiveAllItem = 200;
    static constexpr int firstTransmitItem = 100;
    static constexpr int transmitAllItem = 300;

    // Receive modes of the main component's transfer; the transmit modes are BankTransmitter's.
    static constexpr int receiveOne = 0;
    static constexpr int receiveAll = 7;

    MenuModel items() const;
    void dispatch(int result, const CommandContext& context) const;
};

} // namespace zarnel
