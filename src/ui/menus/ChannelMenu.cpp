#include "ChannelMenu.h"

namespace zarnel
{

ChannelMenu::ChannelMenu(const CommandContext& context) : channel(context.state().midiChannel.load())
{
}

MenuModel ChannelMenu::items() const
{
    MenuModel menu;
    for (int c = 1; c <= 16; ++c)
        menu.addItem(c, "Channel " + juce::String(c), true, c == channel);
    return menu;
}

void ChannelMenu::dispatch(int result, const CommandContext& context) const
{
    if (result < 1 || result > 16)
        return;
    auto& state = context.state();
    state.setMidiChannel(result);
    context.host.showChannel(result);
}

} // namespace zarnel
