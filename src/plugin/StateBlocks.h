#pragma once

#include "../model/ProgramSysex.h"

#include <optional>

namespace zarnel
{

// The byte blocks the host stores: the bank block ("MophoPluginBank", "Version100", 128 records)
// and the program block ("MophoPluginSettings", "Version100", one record). Both are also preset
// files, so their bytes never change. The bank block may be followed by a session trailer that
// carries what the host does not restore by itself in VST3 and LV2: the host's program number
// and the program being edited. Readers of the plain block ignore it.
class StateBlocks
{
public:
    static constexpr size_t bankTagSize = 15;
    static constexpr size_t programTagSize = 19;
    static constexpr size_t versionSize = 10;
    static constexpr size_t bankBlockSize = bankTagSize + versionSize + 32768; // 32,793
    static constexpr size_t programBlockSize = programTagSize + versionSize + 256; // 285
    static constexpr size_t trailerTagSize = 15;
    static constexpr size_t trailerSize = trailerTagSize + 2 + 256;

    using Record = ProgramSysex::Record;

    struct Session
    {
        int hostProgramIndex = 0;
        Record current{};
    };

    // bankData is padded with zeros, or cut, to 128 records.
    static Bytes makeBankBlock(const Bytes& bankData);
    static Bytes makeBankBlock(const Bytes& bankData, const Session& session);
    static Bytes makeProgramBlock(const Record& record);

    // The 32,768 bytes of a bank block, or nothing when the block is short or its tag differs.
    static std::optional<Bytes> readBankBlock(const void* data, size_t size);
    static std::optional<Record> readProgramBlock(const void* data, size_t size);
    static std::optional<Session> readSession(const void* data, size_t size);

    StateBlocks() = delete;
};

} // namespace zarnel
