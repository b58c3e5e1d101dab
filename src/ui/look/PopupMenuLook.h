#pragma once

#include "ZarnelLookAndFeel.h"

namespace zarnel
{

// The one look of every pop-up menu: white on black, grey highlight. Holds no state, so a menu
// can have its own for as long as it is shown.
class PopupMenuLook : public ZarnelLookAndFeel
{
public:
    static constexpr juce::uint32 background = 0xFF000000;
    static constexpr juce::uint32 text = 0xFFFFFFFF;
    static constexpr juce::uint32 highlightedBackground = 0xFF808080;

    PopupMenuLook();
};

} // namespace zarnel
