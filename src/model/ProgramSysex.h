#pragma once

#include "Bytes.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace zarnel
{

// The synthesizer's system-exclusive program messages as pure functions on bytes.
// Builders never emit a data byte above 0x7F: out-of-range bank or program numbers give an
// empty message rather than something the instrument could misread.
class ProgramSysex
{
public:
    static constexpr std::uint8_t manufacturerId = 0x01;
    static constexpr std::uint8_t modelId = 0x29;

    static constexpr std::uint8_t cmdProgramDump = 0x02;
    static constexpr std::uint8_t cmdEditBufferDump = 0x03;
    static constexpr std::uint8_t cmdProgramDumpRequest = 0x05;
    static constexpr std::uint8_t cmdEditBufferDumpRequest = 0x06;
    static constexpr std::uint8_t cmdGlobalDumpRequest = 0x0E;
    static constexpr std::uint8_t cmdGlobalDump = 0x0F;

    static constexpr size_t recordSize = 256;
    static constexpr size_t packedSize = 293;
    static constexpr size_t programDumpSize = 300;
    static constexpr size_t editBufferDumpSize = 298;
    static constexpr int numBanks = 8;
    static constexpr int numPrograms = 128;

    using Record = std::array<std::uint8_t, recordSize>;
    using Packed = std::array<std::uint8_t, packedSize>;

    // Seven-in-eight packing: each group of seven bytes is preceded by a byte holding their top bits.
    static Packed pack(const std::uint8_t* record, size_t size);
    static Packed pack(const Record& record) { return pack(record.data(), record.size()); }
    static Record unpack(const std::uint8_t* packed);

    static Bytes programDumpRequest(int bank, int program);
    static Bytes editBufferDumpRequest();
    static Bytes globalDumpRequest();

    // Missing record bytes count as 0.
    static Bytes programDump(int bank, int program, const std::uint8_t* record, size_t size);
    static Bytes editBufferDump(const std::uint8_t* record, size_t size);

    // Every 300-byte stretch that starts with F0 and ends with F7; other bytes are skipped.
    static std::vector<Bytes> splitProgramDumps(const std::uint8_t* buffer, size_t size);
    static std::vector<Bytes> splitProgramDumps(const Bytes& buffer)
    {
        return splitProgramDumps(buffer.data(), buffer.size());
    }

    static bool isValidBank(int bank) noexcept { return bank >= 0 && bank < numBanks; }
    static bool isValidProgram(int program) noexcept { return program >= 0 && program < numPrograms; }

    ProgramSysex() = delete;
};

} // namespace zarnel
