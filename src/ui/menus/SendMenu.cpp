#include "SendMenu.h"

#include "../../model/DSI_Program.h"

namespace zarnel
{

SendMenu::SendMenu(const CommandContext& context)
{
    auto& state = context.state();
    const auto edited = context.processor.getHistory().getEditedProgram();
    editedName = DSI_Program::decodeName(edited.data(), edited.size());
    hostPresetName = state.getHostBankProgramName(state.hostProgramIndex.load());
}

MenuModel SendMenu::items() const
{
    MenuModel menu;
    menu.addItem(currentItem, "Current Preset: " + editedName);
    menu.addItem(hostPresetItem, "FX Bank Preset: " + hostPresetName);
    return menu;
}

void SendMenu::sendCurrentPreset(const CommandContext& context, bool tellWhenNoOutput)
{
    auto& state = context.state();
    // While comparing, the program on screen is the stored one; the user means the edits.
    context.processor.setComparing(false);
    const auto program = state.getCurrentProgram();
    state.storeProgram(false, 0, 0, program);
    if (state.getPorts().isOutputOpen())
        state.sendEditBuffer(program);
    else if (tellWhenNoOutput)
        context.host.showMessage(noOutputText);
}

void SendMenu::dispatch(int result, const CommandContext& context) const
{
    auto& state = context.state();
    switch (result)
    {
        case currentItem:
            sendCurrentPreset(context, true);
            break;
        case hostPresetItem:
            state.loadHostProgram();
            if (state.getPorts().isOutputOpen())
                state.sendEditBuffer(state.getCurrentProgram());
            else
                context.host.showMessage(noOutputText);
            break;
        default:
            break;
    }
}

} // namespace zarnel
