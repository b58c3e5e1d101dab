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

CategoryMenu::Chooser CategoryMenu::popupFor(juce::Component& owner)
{
    return [&owner](std::function<void(int)> onChosen) {
        chooseCategory(owner, [onChosen = std::move(onChosen)](juce::Component&, int category) { onChosen(category); });
    };
}

int CategoryMenu::categoryForResult(int menuResult) noexcept
{
    return menuResult >= 1 && menuResult <= ParDes::numCategories ? menuResult - 1 : -1;
}

} // namespace zarnel
