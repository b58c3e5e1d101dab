#pragma once

#include "ui/look/AsyncMenu.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <functional>

namespace zarnel
{

// The pop-up that chooses one of the 26 program categories: item id = category + 1.
class CategoryMenu
{
public:
    // Opens at the mouse without waiting. onChosen(owner, category 0..25) runs once a category is
    // picked, and only while owner still exists; a dismissed menu calls nothing. Attached to the
    // owner, the menu closes with it instead of staying on the screen after the editor closed.
    template <typename Owner, typename Fn>
    static void chooseCategory(Owner& owner, Fn&& onChosen)
    {
        AsyncMenu::show(createMenu(), juce::PopupMenu::Options().withTargetComponent(owner).withMousePosition(), owner,
                        [fn = std::forward<Fn>(onChosen)](Owner& o, int result) mutable {
                            const int category = categoryForResult(result);
                            if (category >= 0)
                                fn(o, category);
                        });
    }

    // The same as a function owners keep, so tests can answer in the pop-up's place.
    using Chooser = std::function<void(std::function<void(int)> onChosen)>;
    static Chooser popupFor(juce::Component& owner);

    static juce::PopupMenu createMenu();
    static int categoryForResult(int menuResult) noexcept;

    CategoryMenu() = delete;
};

} // namespace zarnel
