#include "BankPageActions.h"

#include "../midi/MidiCntrState.h"
#include "../model/DSI_Program.h"
#include "../model/ParDes.h"

namespace zarnel
{

void BankPageActions::chooseBank(MidiCntrState& state, int bank)
{
    state.selectProgram(bank, state.currentProgramNumber.load(), true);
}

void BankPageActions::chooseProgram(MidiCntrState& state, int bank, int program)
{
    if (!ProgramSysex::isValidBank(bank) || !ProgramSysex::isValidProgram(program))
        return;
    if (state.useLoadedData.load())
        state.storeProgram(false, bank, program, state.getBankProgram(bank, program));
    else
        state.selectProgram(bank, program, true);
}

void BankPageActions::setCategory(MidiCntrState& state, int bank, int program, int category)
{
    if (!ProgramSysex::isValidBank(bank) || !ProgramSysex::isValidProgram(program) || category < 0
        || category >= ParDes::numCategories)
        return;
    // Read, changed and stored whole, under the model lock each way.
    auto record = state.getBankProgram(bank, program);
    record[(size_t)DSI_Program::categoryOffset] = (std::uint8_t)category;
    state.setBankProgram(bank, program, record);
    state.postNotification(Notification::bankContentChanged);
}

} // namespace zarnel
