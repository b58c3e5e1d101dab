#pragma once

#include "Clipboard.h"
#include "CommandHost.h"

#include "../../plugin/ZarnelAudioProcessor.h"

namespace zarnel
{

// What every menu works on: the processor with its controller state (the edited program, the
// banks, the channel), the clipboard, and the editor that shows choosers, messages and overlays.
struct CommandContext
{
    ZarnelAudioProcessor& processor;
    Clipboard& clipboard;
    CommandHost& host;

    MidiCntrState& state() const noexcept { return processor.getState(); }
};

} // namespace zarnel
