#include "BankFileMenu.h"

#include "FileCommands.h"

#include "../../files/FileMan.h"

namespace zarnel
{

MenuModel BankFileMenu::items() const
{
    MenuModel menu;
    for (int k = 0; k < ProgramBankSet::numUserBanks; ++k)
        menu.addItem(firstLoadItem + k, "Load Program Bank To Bank " + ProgramBankSet::bankLabel(k));
    menu.addSeparator();
    for (int k = 0; k < ProgramBankSet::numUserBanks; ++k)
        menu.addItem(firstSaveItem + k, "Save Program Bank " + ProgramBankSet::bankLabel(k));
    return menu;
}

bool BankFileMenu::loadInto(MidiCntrState& state, int bank, const Bytes& fileContent)
{
    const auto records = FileMan::readBankFile(fileContent);
    if (records.empty())
        return false;
    // Short data keeps the slots it does not reach; the bank is marked for the data file.
    state.replaceBankData(bank, FileMan::bankDataOf(records));
    state.postNotification(Notification::bankContentChanged);
    return true;
}

void BankFileMenu::dispatch(int result, const CommandContext& context) const
{
    auto& state = context.state();
    const int loadBank = result - firstLoadItem;
    const int saveBank = result - firstSaveItem;
    if (loadBank >= 0 && loadBank < ProgramBankSet::numUserBanks)
    {
        FileCommands::load(context.host, FileMan::loadBank,
                           [&state, loadBank](const Bytes& bytes) { loadInto(state, loadBank, bytes); });
    }
    else if (saveBank >= 0 && saveBank < ProgramBankSet::numUserBanks)
    {
        FileCommands::save(context.host, FileMan::saveBank, "Bank " + ProgramBankSet::bankLabel(saveBank),
                           FileMan::makeBankFile(saveBank, state.getBankData(saveBank)));
    }
}

} // namespace zarnel
