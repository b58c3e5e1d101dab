#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <functional>

namespace zarnel
{

// Every pop-up menu of the editor opens through here: never a modal loop (hosts deadlock on them),
// the shared pop-up look kept alive for as long as the menu is, and the answer delivered only
// while the component that asked still exists. The owner's continuation gets the chosen item id,
// 0 when the menu was dismissed, and must check again whatever else it relies on.
//
// A menu lives no longer than its owner: JUCE keeps only a weak reference to a menu's target and
// never notices when it is deleted, so a menu would stay on the screen after the editor closed.
// Each open menu is watched here and closed when its owner goes; a menu given no target gets its
// owner as target.
class AsyncMenu
{
public:
    template <typename Owner, typename Fn>
    static void show(juce::PopupMenu menu, const juce::PopupMenu::Options& options, Owner& owner, Fn&& onResult)
    {
        showGuarded(std::move(menu), options, owner, guarded(owner, std::forward<Fn>(onResult)));
    }

    // The continuation a menu gets: runs onResult only while owner exists.
    template <typename Owner, typename Fn>
    static std::function<void(int)> guarded(Owner& owner, Fn&& onResult)
    {
        return [alive = juce::Component::SafePointer<Owner>(&owner), fn = std::forward<Fn>(onResult)](int result) mutable {
            if (auto* o = alive.getComponent())
                fn(*o, result);
        };
    }

    // Closes every open menu whose owner is root or lies inside it; menus of other windows stay.
    static void dismissMenusOf(const juce::Component& root);
    // Open menus whose owner is root or lies inside it.
    static int countMenusOf(const juce::Component& root);
    // A menu JUCE itself opened for owner (a text box's cut/copy/paste) since the modal count was
    // modalBefore: it closes with owner and with the editor like ours.
    static void adoptMenuOpenedBy(juce::Component& owner, int modalBefore);

    AsyncMenu() = delete;

private:
    static void showGuarded(juce::PopupMenu menu, const juce::PopupMenu::Options& options, juce::Component& owner,
                            std::function<void(int)> continuation);
};

} // namespace zarnel
