#include "LibraryFile.h"

#include <algorithm>
#include <cstring>

namespace zarnel
{

std::optional<Bytes> LibraryFile::read(const std::uint8_t* data, size_t size, size_t maxRecords)
{
    if (data == nullptr || size < markerSize || std::memcmp(data, header, markerSize) != 0)
        return std::nullopt;
    const size_t count = (size - markerSize) / recordSize;
    if (count > maxRecords)
        return std::nullopt;
    return Bytes(data + markerSize, data + markerSize + count * recordSize);
}

Bytes LibraryFile::make(const Bytes& records)
{
    const size_t whole = records.size() / recordSize * recordSize;
    Bytes out;
    out.reserve(whole + 2 * markerSize);
    out.insert(out.end(), header, header + markerSize);
    out.insert(out.end(), records.begin(), records.begin() + (std::ptrdiff_t)whole);
    out.insert(out.end(), trailer, trailer + markerSize);
    return out;
}

} // namespace zarnel
