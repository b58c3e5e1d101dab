#include "FileMenu.h"

#include "FileCommands.h"

#include "../../files/FileMan.h"
#include "../../model/DSI_Program.h"

namespace zarnel
{

FileMenu::FileMenu(const CommandContext& context)
    : edited(context.processor.getHistory().getEditedProgram()), writeDialogShown(context.host.isWriteDialogShown())
{
}

MenuModel FileMenu::items() const
{
    MenuModel menu;
    menu.addItem(loadItem, "Load Single Program");
    menu.addItem(saveItem, "Save " + DSI_Program::decodeName(edited.data(), edited.size()));
    menu.addSeparator();
    menu.addItem(aboutItem, "About", !writeDialogShown);
    return menu;
}

void FileMenu::dispatch(int result, const CommandContext& context) const
{
    auto& state = context.state();
    switch (result)
    {
        case loadItem:
            FileCommands::load(context.host, FileMan::loadProgram, [&state](const Bytes& bytes) {
                if (const auto record = FileMan::readProgramFile(bytes))
                    state.storeProgram(false, 0, 0, *record);
            });
            break;
        case saveItem:
            FileCommands::save(context.host, FileMan::saveProgram, DSI_Program::decodeName(edited.data(), edited.size()),
                               FileMan::makeProgramFile(edited));
            break;
        case aboutItem:
            if (!context.host.isWriteDialogShown())
                context.host.toggleAbout();
            break;
        default:
            break;
    }
}

} // namespace zarnel
