#include "ProgramSelectMenu.h"

namespace zarnel
{

ProgramSelectMenu::ProgramSelectMenu(const CommandContext& context)
    : bank(context.state().currentBank.load()), program(context.state().currentProgramNumber.load())
{
    for (int p = 0; p < ProgramSysex::numPrograms; ++p)
        names[(size_t)p] = context.state().getBankProgramName(bank, p);
}

MenuModel ProgramSelectMenu::items() const
{
    MenuModel menu;
    for (int b = 0; b < ProgramBankSet::numBanks; ++b)
        menu.addItem(firstBankItem + b, ProgramBankSet::bankName(b), true, b == bank);
    menu.addSeparator();
    for (int p = 0; p < ProgramSysex::numPrograms; ++p)
        menu.addItem(firstProgramItem + p, names[(size_t)p], true, p == program);
    return menu;
}

void ProgramSelectMenu::dispatch(int result, const CommandContext& context) const
{
    const int chosenBank = result - firstBankItem;
    const int chosenProgram = result - firstProgramItem;
    if (ProgramSysex::isValidBank(chosenBank))
        context.state().selectProgram(chosenBank, program, true);
    else if (ProgramSysex::isValidProgram(chosenProgram))
        context.state().selectProgram(bank, chosenProgram, true);
}

} // namespace zarnel
