#pragma once

namespace zarnel
{

// Where the write dialog may store the edited program: a slot of the synthesizer's user memory
// (U1 to U4). The factory banks are its read-only memory, so they are never offered.
struct WriteDestination
{
    int bank = 0;
    int program = 0;

    // The current bank and program, or for a factory bank U1 with the same program number.
    static WriteDestination initialFor(int currentBank, int currentProgram);
    static bool isWritable(int bank, int program) noexcept;
};

} // namespace zarnel
