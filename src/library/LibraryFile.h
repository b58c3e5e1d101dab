#pragma once

#include "../model/ProgramSysex.h"

#include <optional>

namespace zarnel
{

// The library file (.m_l): a 13-byte header, the records one after the other, a 13-byte trailer.
// Pure functions on bytes, so the store, tests and the fuzzer share one reader. An empty library
// is a file too (header and trailer), so emptying it lasts past a restart.
class LibraryFile
{
public:
    static constexpr const char* header = "Mopho  Libr >";
    static constexpr const char* trailer = "< Mopho  Libr";
    static constexpr size_t markerSize = 13;
    static constexpr size_t recordSize = ProgramSysex::recordSize;

    // The whole records after our header, the trailer or a partial record left out. Nothing
    // when the bytes do not begin with our header or hold more than maxRecords records.
    static std::optional<Bytes> read(const std::uint8_t* data, size_t size, size_t maxRecords);
    static std::optional<Bytes> read(const Bytes& b, size_t maxRecords) { return read(b.data(), b.size(), maxRecords); }

    // Header, the records (whole ones only), trailer.
    static Bytes make(const Bytes& records);

    LibraryFile() = delete;
};

} // namespace zarnel
