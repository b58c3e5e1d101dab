#pragma once

#include <cstdint>
#include <vector>

namespace zarnel
{

using Bytes = std::vector<std::uint8_t>;

} // namespace zarnel
