#pragma once

#include "CommandContext.h"
#include "MenuModel.h"

namespace zarnel
{

// The menu of one slot (bank b, program a) of the bank page's list: copy that slot's program,
// paste the clipboard into it, save it to a file, load a file into it. A press that hit no slot
// gives no menu. What an item names is what it acts on: the slot's program as the menu opened.
class ProgramMenu
{
public:
    enum Item
    {
        copyItem = 1,
        pasteItem = 2,
        saveItem = 3,
        loadItem = 4
    };

    ProgramMenu(const CommandContext& context, int bank, int program);

    MenuModel items() const;
    void dispatch(int result, const CommandContext& context) const;

private:
    int bank;
    int program;
    bool valid;
    ProgramSysex::Record slot{};
    juce::String clipboardName;
    bool clipboardFull;
};

} // namespace zarnel
