#pragma once

#include "CommandContext.h"

namespace zarnel
{

// The write dialog's two buttons. WRITE sends the edited program, under the name and category
// the dialog shows, to a slot of the synthesizer's user memory, keeps our copy of that slot equal
// to it, and closes the dialog; CANCEL closes it.
class WriteCommand
{
public:
    static constexpr const char* noOutputText = "No MIDI output is open: nothing was written.";
    static constexpr const char* factoryBankText = "Only the user banks U1 to U4 can be written.";

    // False, and nothing sent or changed, when the destination is not a user slot or no output is
    // open; the user is told why.
    static bool write(const CommandContext& context, int bank, int program, const juce::String& name, int category);
    static void cancel(const CommandContext& context);

    WriteCommand() = delete;
};

} // namespace zarnel
