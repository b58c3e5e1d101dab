#pragma once

namespace zarnel
{

struct ProductInfo
{
    static constexpr const char* productName = "Zarnel X4 Editor";
    static constexpr const char* companyName = "Zarnel Audio";
    static constexpr const char* versionText = "2.2.0";
};

} // namespace zarnel
