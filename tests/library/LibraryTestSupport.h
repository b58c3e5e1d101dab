#pragma once

#include "library/LibraryFile.h"
#include "library/LibraryStore.h"
#include "model/DSI_Program.h"

namespace zarnel::test
{

// A distinct record per seed, named, in a category.
inline ProgramSysex::Record libraryRecord(int seed, const char* name = "Prog", int category = 1)
{
    ProgramSysex::Record r{};
    for (size_t i = 0; i < r.size(); ++i)
        r[i] = (std::uint8_t)((i * 13 + (size_t)seed * 101 + (size_t)(seed >> 8) * 7) & 0x7F);
    DSI_Program::encodeName(name, r.data() + DSI_Program::nameOffset);
    r[DSI_Program::categoryOffset] = (std::uint8_t)category;
    return r;
}

inline Bytes recordsOf(std::initializer_list<ProgramSysex::Record> records)
{
    Bytes out;
    for (const auto& r : records)
        out.insert(out.end(), r.begin(), r.end());
    return out;
}

} // namespace zarnel::test
