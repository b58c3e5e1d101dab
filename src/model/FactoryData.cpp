#include "FactoryData.h"

namespace zarnel
{

const std::uint8_t* FactoryData::bank(int n) noexcept
{
    if (n < 0 || n >= numBanks)
        n = 0;
    return factory::bankBlock + markerSize + bankSize * (size_t)n;
}

} // namespace zarnel
