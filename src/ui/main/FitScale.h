#pragma once

namespace zarnel
{

// The scale at which an overlay's content, laid out in unscaled pixels, fits the space it has:
// 1 when it fits as it is (overlays never grow), smaller so that both width and height fit.
class FitScale
{
public:
    static float toFit(int availableWidth, int availableHeight, int contentWidth, int contentHeight) noexcept;

    FitScale() = delete;
};

} // namespace zarnel
