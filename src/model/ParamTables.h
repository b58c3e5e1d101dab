#pragma once

#include <array>
#include <cstdint>

namespace zarnel
{

// Per-index facts about every byte of a program record: range, display kind and the NRPN number
// used on the wire. Built once; read-only afterwards, so any thread may read it.
class ParamTables
{
public:
    static constexpr int numEntries = 200;
    static constexpr int numNrpnEntries = 256;

    ParamTables();

    int minimum(int index) const noexcept;
    int maximum(int index) const noexcept;
    int kind(int index) const noexcept;
    int nrpn(int index) const noexcept;

    // The parameter index an incoming NRPN number updates; -1 for numbers no index answers to.
    int indexForNrpn(int nrpnNumber) const noexcept;

    // Clamps a value into the index's range (indices outside the table give 0..127).
    int clamp(int index, int value) const noexcept;

    static bool isValidIndex(int index) noexcept { return index >= 0 && index < numEntries; }

    const std::array<std::int16_t, numEntries>& paramMin() const noexcept { return paramMinTable; }
    const std::array<std::int16_t, numEntries>& paramMax() const noexcept { return paramMaxTable; }
    const std::array<std::int16_t, numEntries>& paramKind() const noexcept { return paramKindTable; }
    const std::array<std::int16_t, numEntries>& paramNrpn() const noexcept { return paramNrpnTable; }
    const std::array<std::uint8_t, numNrpnEntries>& nrpnToIndex() const noexcept { return nrpnToIndexTable; }

    // The shared, immutable instance.
    static const ParamTables& get();

private:
    std::array<std::int16_t, numEntries> paramMinTable{};
    std::array<std::int16_t, numEntries> paramMaxTable{};
    std::array<std::int16_t, numEntries> paramKindTable{};
    std::array<std::int16_t, numEntries> paramNrpnTable{};
    std::array<std::uint8_t, numNrpnEntries> nrpnToIndexTable{};
};

} // namespace zarnel
