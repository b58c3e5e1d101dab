#include "StateBlocks.h"

#include <algorithm>
#include <cstring>

namespace zarnel
{

namespace
{
constexpr char bankTag[] = "MophoPluginBank";
constexpr char programTag[] = "MophoPluginSettings";
constexpr char versionTag[] = "Version100";
constexpr char trailerTag[] = "ZarnelEditState";
constexpr std::uint8_t trailerVersion = 1;

void append(Bytes& out, const char* text, size_t size)
{
    out.insert(out.end(), text, text + size);
}
} // namespace

Bytes StateBlocks::makeBankBlock(const Bytes& bankData)
{
    Bytes out;
    out.reserve(bankBlockSize + trailerSize);
    append(out, bankTag, bankTagSize);
    append(out, versionTag, versionSize);
    const size_t n = std::min(bankData.size(), (size_t)32768);
    out.insert(out.end(), bankData.begin(), bankData.begin() + (std::ptrdiff_t)n);
    out.resize(bankBlockSize, 0);
    return out;
}

Bytes StateBlocks::makeBankBlock(const Bytes& bankData, const Session& session)
{
    auto out = makeBankBlock(bankData);
    append(out, trailerTag, trailerTagSize);
    out.push_back(trailerVersion);
    out.push_back((std::uint8_t)std::clamp(session.hostProgramIndex, 0, 127));
    out.insert(out.end(), session.current.begin(), session.current.end());
    return out;
}

Bytes StateBlocks::makeProgramBlock(const Record& record)
{
    Bytes out;
    out.reserve(programBlockSize);
    append(out, programTag, programTagSize);
    append(out, versionTag, versionSize);
    out.insert(out.end(), record.begin(), record.end());
    return out;
}

std::optional<Bytes> StateBlocks::readBankBlock(const void* data, size_t size)
{
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    if (bytes == nullptr || size < bankBlockSize || std::memcmp(bytes, bankTag, bankTagSize) != 0)
        return std::nullopt;
    const auto* start = bytes + bankTagSize + versionSize; // the version is not examined
    return Bytes(start, start + 32768);
}

std::optional<StateBlocks::Record> StateBlocks::readProgramBlock(const void* data, size_t size)
{
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    if (bytes == nullptr || size < programBlockSize || std::memcmp(bytes, programTag, programTagSize) != 0)
        return std::nullopt;
    Record rec{};
    std::memcpy(rec.data(), bytes + programTagSize + versionSize, rec.size());
    return rec;
}

std::optional<StateBlocks::Session> StateBlocks::readSession(const void* data, size_t size)
{
    if (!readBankBlock(data, size) || size < bankBlockSize + trailerSize)
        return std::nullopt;
    const auto* t = static_cast<const std::uint8_t*>(data) + bankBlockSize;
    if (std::memcmp(t, trailerTag, trailerTagSize) != 0 || t[trailerTagSize] != trailerVersion)
        return std::nullopt;
    Session s;
    s.hostProgramIndex = std::min<int>(t[trailerTagSize + 1], 127);
    std::memcpy(s.current.data(), t + trailerTagSize + 2, s.current.size());
    return s;
}

} // namespace zarnel
