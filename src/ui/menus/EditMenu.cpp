#include "EditMenu.h"

#include "SendMenu.h"

#include "../../model/DSI_Program.h"

namespace zarnel
{

EditMenu::EditMenu(const CommandContext& context)
    : edited(context.processor.getHistory().getEditedProgram()),
      clipboardName(context.clipboard.getName()),
      clipboardFull(context.clipboard.isFull())
{
}

MenuModel EditMenu::items() const
{
    MenuModel menu;
    menu.addItem(copyItem, "Copy Program: " + DSI_Program::decodeName(edited.data(), edited.size()));
    menu.addItem(pasteItem, "Paste " + clipboardName, clipboardFull);
    return menu;
}

void EditMenu::dispatch(int result, const CommandContext& context) const
{
    switch (result)
    {
        case copyItem:
            context.clipboard.copy(edited);
            SendMenu::sendCurrentPreset(context, false);
            break;
        case pasteItem:
            if (const auto& program = context.clipboard.getProgram())
                context.state().storeProgram(false, 0, 0, *program);
            break;
        default:
            break;
    }
}

} // namespace zarnel
