#include "ParamTables.h"

#include "ParameterList.h"

#include <algorithm>

namespace zarnel
{

namespace
{
constexpr int firstSeqStep = 120;
constexpr int firstSeqTrack2Step = 136;
constexpr int lastSeqStep = 183;
constexpr int firstNameByte = 184;
constexpr int seqStepKind = 567;
} // namespace

ParamTables::ParamTables()
{
    for (int i = 0; i < numEntries; ++i)
    {
        paramMinTable[(size_t)i] = 0;
        paramMaxTable[(size_t)i] = 127;
        paramKindTable[(size_t)i] = 0;
        paramNrpnTable[(size_t)i] = (std::int16_t)i;
    }
    for (int n = 0; n < numNrpnEntries; ++n)
        nrpnToIndexTable[(size_t)n] = (std::uint8_t)n;

    for (const auto& p : parameterList)
    {
        const auto i = (size_t)p.index;
        paramMinTable[i] = (std::int16_t)p.minimum;
        paramMaxTable[i] = (std::int16_t)p.maximum;
        paramKindTable[i] = (std::int16_t)p.kind;
        paramNrpnTable[i] = (std::int16_t)p.nrpn;
    }

    for (int i = firstSeqStep; i <= lastSeqStep; ++i)
    {
        paramKindTable[(size_t)i] = seqStepKind;
        paramMaxTable[(size_t)i] = i < firstSeqTrack2Step ? 127 : 126;
    }

    paramKindTable[firstNameByte] = seqStepKind;
    paramMaxTable[firstNameByte] = 126;

    // Reverse map from the listed pairs in index order: for a shared NRPN the higher index wins.
    for (const auto& p : parameterList)
        nrpnToIndexTable[(size_t)p.nrpn] = (std::uint8_t)p.index;
}

int ParamTables::minimum(int index) const noexcept
{
    return isValidIndex(index) ? paramMinTable[(size_t)index] : 0;
}

int ParamTables::maximum(int index) const noexcept
{
    return isValidIndex(index) ? paramMaxTable[(size_t)index] : 127;
}

int ParamTables::kind(int index) const noexcept
{
    return isValidIndex(index) ? paramKindTable[(size_t)index] : 0;
}

int ParamTables::nrpn(int index) const noexcept
{
    return isValidIndex(index) ? paramNrpnTable[(size_t)index] : index;
}

int ParamTables::indexForNrpn(int nrpnNumber) const noexcept
{
    if (nrpnNumber < 0)
        return -1;
    if (nrpnNumber < 200)
        return nrpnToIndexTable[(size_t)nrpnNumber];
    if (nrpnNumber < numNrpnEntries + 200)
        return nrpnToIndexTable[(size_t)(nrpnNumber - 200)] + 200;
    return -1;
}

int ParamTables::clamp(int index, int value) const noexcept
{
    return std::clamp(value, minimum(index), maximum(index));
}

const ParamTables& ParamTables::get()
{
    static const ParamTables tables;
    return tables;
}

} // namespace zarnel
