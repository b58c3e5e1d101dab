#pragma once

#include "CommandContext.h"
#include "MenuModel.h"

namespace zarnel
{

// The channel label's menu: the MIDI channel the editor talks to the synthesizer on, kept in the
// settings.
class ChannelMenu
{
public:
    explicit ChannelMenu(const CommandContext& context);

    MenuModel items() const;
    void dispatch(int result, const CommandContext& context) const;

    static juce::String labelText(int channel) { return "Chan: " + juce::String(channel); }

private:
    int channel;
};

} // namespace zarnel
