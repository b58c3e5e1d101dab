#pragma once

#include <array>

namespace zarnel
{

// One row of the synthesizer's parameter list (record bytes 0 to 110).
struct ParameterSpec
{
    int index;
    int nrpn;
    int minimum;
    int maximum;
    int kind;
    const char* hostName;
};

inline constexpr int numListedParameters = 111;

extern const std::array<ParameterSpec, numListedParameters> parameterList;

} // namespace zarnel
