#pragma once

#include "CommandContext.h"
#include "MenuModel.h"

namespace zarnel
{

// The application bar's Send menu: the edited program, or the host's current preset, to the
// synthesizer's edit buffer.
class SendMenu
{
public:
    enum Item
    {
        currentItem = 1,
        hostPresetItem = 2
    };

    static constexpr const char* noOutputText = "No MIDI output is open: nothing was sent.";

    explicit SendMenu(const CommandContext& context);

    MenuModel items() const;
    void dispatch(int result, const CommandContext& context) const;

    // The edited program stored again (the panels refresh) and sent to the edit buffer; without
    // an output, the user is told when `tellWhenNoOutput`.
    static void sendCurrentPreset(const CommandContext& context, bool tellWhenNoOutput);

private:
    juce::String editedName;
    juce::String hostPresetName;
};

} // namespace zarnel
