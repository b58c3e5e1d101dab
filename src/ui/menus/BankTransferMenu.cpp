#include "BankTransferMenu.h"

#include "../../midi/BankTransmitter.h"

namespace zarnel
{

MenuModel BankTransferMenu::items() const
{
    MenuModel receive, transmit;
    for (int k = 0; k < ProgramBankSet::numUserBanks; ++k)
    {
        receive.addItem(firstReceiveItem + k, "Bank " + ProgramBankSet::bankLabel(k));
        transmit.addItem(firstTransmitItem + k, "Bank " + ProgramBankSet::bankLabel(k));
    }
    MenuModel menu;
    menu.addSubMenu("Receive Program Bank ", receive);
    menu.addItem(receiveAllItem, "Receive All Banks");
    menu.addSeparator();
    menu.addSubMenu("Transmit Program Bank ", transmit);
    menu.addItem(transmitAllItem, "Transmit All Banks");
    return menu;
}

void BankTransferMenu::dispatch(int result, const CommandContext& context) const
{
    const auto isUserBank = [](int k) { return k >= 0 && k < ProgramBankSet::numUserBanks; };
    if (isUserBank(result - firstReceiveItem))
        context.host.startBankTransfer(receiveOne, result - firstReceiveItem);
    else if (result == receiveAllItem)
        context.host.startBankTransfer(receiveAll, 0);
    else if (isUserBank(result - firstTransmitItem))
        context.host.startBankTransfer(BankTransmitter::transmitOne, result - firstTransmitItem);
    else if (result == transmitAllItem)
        context.host.startBankTransfer(BankTransmitter::transmitAll, 0);
}

} // namespace zarnel
