#pragma once

#include "CommandContext.h"
#include "MenuModel.h"

namespace zarnel
{

// The application bar's FILE menu: load a program file into the edited program, save the edited
// program, the about panel. The edited program is taken when the menu opens: what an item names
// is what it saves.
class FileMenu
{
public:
    enum Item
    {
        loadItem = 1,
        saveItem = 2,
        aboutItem = 3
    };

    explicit FileMenu(const CommandContext& context);

    MenuModel items() const;
    void dispatch(int result, const CommandContext& context) const;

private:
    ProgramSysex::Record edited;
    bool writeDialogShown;
};

} // namespace zarnel
