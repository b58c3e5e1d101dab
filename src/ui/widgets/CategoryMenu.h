#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

namespace zarnel
{

// The pop-up that chooses one of the 26 program categories: item id = category + 1.
class CategoryMenu
{
public:
    // Modal; the chosen category 0..25, or -1 when the menu was dismissed.
    static int chooseCategory();

    static juce::PopupMenu createMenu();
    static int categoryForResult(int menuResult) noexcept;

    CategoryMenu() = delete;
};

} // namespace zarnel
