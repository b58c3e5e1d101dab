#include "PresetsMenu.h"

#include "../../model/FactoryData.h"

namespace zarnel
{

PresetsMenu::PresetsMenu(const CommandContext& context) : bank(context.state().currentBank.load())
{
}

MenuModel PresetsMenu::items() const
{
    MenuModel menu;
    if (bank < 0 || bank >= ProgramBankSet::numUserBanks)
        return menu;
    MenuModel factory;
    // The compiled-in data holds three banks: the fourth item has nothing to load.
    for (int k = 0; k < ProgramBankSet::numUserBanks; ++k)
        factory.addItem(firstFactoryItem + k, "Bank " + ProgramBankSet::bankLabel(k), k < FactoryData::numBanks);
    menu.addSubMenu("Factory Presets ", factory);
    menu.addSeparator();
    menu.addItem(initialiseItem, "Initialize Program Bank " + ProgramBankSet::bankLabel(bank));
    return menu;
}

void PresetsMenu::dispatch(int result, const CommandContext& context) const
{
    if (bank < 0 || bank >= ProgramBankSet::numUserBanks)
        return;
    // Built aside and swapped in whole, as a loaded bank is.
    Bank_Program scratch(ProgramBankSet::bankName(bank));
    const int factoryBank = result - firstFactoryItem;
    if (factoryBank >= 0 && factoryBank < FactoryData::numBanks)
        scratch.loadFactoryBank(factoryBank);
    else if (result == initialiseItem)
        scratch.initialise();
    else
        return;
    Bytes data = scratch.getBankData();
    auto& state = context.state();
    state.replaceBankData(bank, std::move(data));
    state.postNotification(Notification::bankContentChanged);
}

} // namespace zarnel
