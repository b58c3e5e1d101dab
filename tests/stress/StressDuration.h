#pragma once

#include <chrono>
#include <cstdlib>

namespace zarnel::test
{

// scripts/stress.sh sets the length of each test; ctest runs a short round.
inline std::chrono::milliseconds stressDuration(double defaultSeconds = 10.0)
{
    double seconds = defaultSeconds;
    if (const char* text = std::getenv("ZARNEL_STRESS_SECONDS"))
        if (const double v = std::atof(text); v > 0.0)
            seconds = v;
    return std::chrono::milliseconds((long long)(seconds * 1000.0));
}

} // namespace zarnel::test
