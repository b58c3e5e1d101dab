#pragma once

#include "CommandContext.h"
#include "MenuModel.h"

namespace zarnel
{

// The application bar's EDIT menu: copy the edited program to the clipboard (and send it, as the
// Send menu's first item does), paste the clipboard into the edited program.
class EditMenu
{
public:
    enum Item
    {
        copyItem = 1,
        pasteItem = 2
    };

    explicit EditMenu(const CommandContext& context);

    MenuModel items() const;
    void dispatch(int result, const CommandContext& context) const;

private:
    ProgramSysex::Record edited;
    juce::String clipboardName;
    bool clipboardFull;
};

} // namespace zarnel
