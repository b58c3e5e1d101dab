#pragma once

#include <cstddef>
#include <cstdint>

namespace zarnel
{

namespace factory
{
// Generated at build time from our own sound design.
extern const unsigned char bankBlock[98330];
} // namespace factory

// The compiled-in factory block: "Mopho  Data >", three banks of 128 records, "< Mopho  Data".
class FactoryData
{
public:
    static constexpr size_t blockSize = 98330;
    static constexpr size_t markerSize = 13;
    static constexpr size_t bankSize = 32768;
    static constexpr int numBanks = 3;

    static const std::uint8_t* block() noexcept { return factory::bankBlock; }

    // The 32,768 bytes of factory bank n. There are three; any other number gives bank 0, the
    // bank a fresh U4 starts from.
    static const std::uint8_t* bank(int n) noexcept;

    FactoryData() = delete;
};

} // namespace zarnel
