#include "FitScale.h"

#include <algorithm>

namespace zarnel
{

float FitScale::toFit(int availableWidth, int availableHeight, int contentWidth, int contentHeight) noexcept
{
    if (contentWidth <= 0 || contentHeight <= 0)
        return 1.0f;
    const float s = std::min((float)availableWidth / (float)contentWidth, (float)availableHeight / (float)contentHeight);
    // A window smaller than anything sensible still gets a positive scale.
    return std::clamp(s, 0.05f, 1.0f);
}

} // namespace zarnel
