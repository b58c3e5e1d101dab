#include "WriteCommand.h"

#include "../../files/WriteDestination.h"
#include "../../model/DSI_Program.h"
#include "../../model/ParDes.h"

namespace zarnel
{

bool WriteCommand::write(const CommandContext& context, int bank, int program, const juce::String& name, int category)
{
    auto& state = context.state();
    // The factory banks are the instrument's read-only memory: a dump addressed there would leave
    // our copy and the instrument telling different stories.
    if (!WriteDestination::isWritable(bank, program))
    {
        context.host.showMessage(factoryBankText);
        return false;
    }
    if (!state.getPorts().isOutputOpen())
    {
        context.host.showMessage(noOutputText);
        return false;
    }

    // While comparing, the program on screen is the stored one; the user means the edits.
    context.processor.setComparing(false);
    auto record = state.getCurrentProgram();
    DSI_Program::encodeName(name, record.data() + DSI_Program::nameOffset);
    if (category >= 0 && category < ParDes::numCategories)
        record[DSI_Program::categoryOffset] = (std::uint8_t)category;

    state.sendProgramDump(bank, program, record);
    // The edited program now is what that slot holds, name and category included.
    state.storeProgram(true, bank, program, record);
    state.storeProgram(false, bank, program, record);
    context.host.closeWriteDialog();
    return true;
}

void WriteCommand::cancel(const CommandContext& context)
{
    context.host.closeWriteDialog();
}

} // namespace zarnel
