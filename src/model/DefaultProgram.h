#pragma once

#include "ProgramSysex.h"

namespace zarnel
{

// The compiled-in initial program ("Initial Program "), as an edit-buffer dump and as a record.
class DefaultProgram
{
public:
    static const Bytes& editBufferDump();
    static ProgramSysex::Record record();

    DefaultProgram() = delete;
};

} // namespace zarnel
