#include "StripPosition.h"

#include <algorithm>

namespace zarnel
{

int StripPosition::dragged(int startTop, int movedBy, float s) noexcept
{
    return std::min(std::max(startTop + movedBy, (int)highestTop), top(collapsedTop, s));
}

int StripPosition::snapped(int t, float s) noexcept
{
    if ((float)t > (float)(collapsedTop - snapDistance) * s)
        return top(collapsedTop, s);
    if ((float)t > (float)(shownTop - snapDistance) * s)
        return top(shownTop, s);
    return t;
}

} // namespace zarnel
