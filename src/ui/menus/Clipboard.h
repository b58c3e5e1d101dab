#pragma once

#include "../../model/ProgramSysex.h"

#include <juce_core/juce_core.h>

#include <optional>

namespace zarnel
{

// The editor's one-program clipboard: empty until the first copy, and a copy replaces it.
class Clipboard
{
public:
    using Record = ProgramSysex::Record;

    void copy(const Record& record) { program = record; }
    bool isFull() const noexcept { return program.has_value(); }
    const std::optional<Record>& getProgram() const noexcept { return program; }
    // Its 16-character name, empty while the clipboard is empty.
    juce::String getName() const;

private:
    std::optional<Record> program;
};

} // namespace zarnel
