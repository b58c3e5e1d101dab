#include "CategoryMenu.h"

#include "model/ParDes.h"

namespace zarnel
{

juce::PopupMenu CategoryMenu::createMenu()
{
    juce::PopupMenu menu;
    for (int category = 0; category < ParDes::numCategories; ++category)
        menu.addItem(category + 1, ParDes::categoryName(category), true, false);
    return menu;
}

int CategoryMenu::categoryForResult(int menuResult) noexcept
{
    return menuResult >= 1 && menuResult <= ParDes::numCategories ? menuResult - 1 : -1;
}

} // namespace zarnel
