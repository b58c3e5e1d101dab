#include "ProgramMenu.h"

#include "FileCommands.h"

#include "../../files/FileMan.h"
#include "../../model/DSI_Program.h"

namespace zarnel
{

ProgramMenu::ProgramMenu(const CommandContext& context, int b, int a)
    : bank(b),
      program(a),
      valid(ProgramSysex::isValidBank(b) && ProgramSysex::isValidProgram(a)),
      clipboardName(context.clipboard.getName()),
      clipboardFull(context.clipboard.isFull())
{
    if (valid)
        slot = context.state().getBankProgram(bank, program);
}

MenuModel ProgramMenu::items() const
{
    MenuModel menu;
    if (!valid)
        return menu;
    const auto name = DSI_Program::decodeName(slot.data(), slot.size());
    menu.addItem(copyItem, "Copy Program: " + name);
    menu.addItem(pasteItem, "Paste " + clipboardName, clipboardFull);
    menu.addSeparator();
    menu.addItem(saveItem, "Save " + name);
    menu.addItem(loadItem, "Load Program ");
    return menu;
}

void ProgramMenu::dispatch(int result, const CommandContext& context) const
{
    if (!valid)
        return;
    auto& state = context.state();
    switch (result)
    {
        case copyItem:
            context.clipboard.copy(slot);
            break;
        case pasteItem:
            if (const auto& copied = context.clipboard.getProgram())
                state.storeProgram(true, bank, program, *copied);
            break;
        case saveItem:
            FileCommands::save(context.host, FileMan::saveProgram, DSI_Program::decodeName(slot.data(), slot.size()),
                               FileMan::makeProgramFile(slot));
            break;
        case loadItem:
            FileCommands::load(context.host, FileMan::loadProgram, [&state, b = bank, a = program](const Bytes& bytes) {
                if (const auto record = FileMan::readProgramFile(bytes))
                    state.storeProgram(true, b, a, *record);
            });
            break;
        default:
            break;
    }
}

} // namespace zarnel
