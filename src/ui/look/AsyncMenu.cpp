#include "AsyncMenu.h"

#include "PopupMenuLook.h"

#include <algorithm>
#include <memory>
#include <vector>

namespace zarnel
{

namespace
{

// One menu on the screen and the component that opened it.
class OpenMenu : private juce::ComponentListener
{
public:
    OpenMenu(juce::Component& menuOwner, juce::Component& menuWindow) : owner(&menuOwner), window(&menuWindow)
    {
        menuOwner.addComponentListener(this);
    }

    ~OpenMenu() override
    {
        if (auto* o = owner.getComponent())
            o->removeComponentListener(this);
    }

    bool isGone() const noexcept { return window == nullptr; }

    bool isOwnedWithin(const juce::Component& root) const
    {
        auto* o = owner.getComponent();
        return o != nullptr && (o == &root || root.isParentOf(o));
    }

    bool isOpen() const { return window != nullptr && window->isVisible(); }

    // As Escape does: the whole menu, submenus included, closes and its answer is 0.
    void dismiss()
    {
        if (auto* w = window.getComponent())
            if (w->isVisible())
                w->keyPressed(juce::KeyPress(juce::KeyPress::escapeKey));
    }

private:
    void componentBeingDeleted(juce::Component& c) override
    {
        c.removeComponentListener(this);
        dismiss();
    }

    juce::Component::SafePointer<juce::Component> owner;
    juce::Component::SafePointer<juce::Component> window;
};

std::vector<std::unique_ptr<OpenMenu>>& openMenus()
{
    static std::vector<std::unique_ptr<OpenMenu>> menus;
    return menus;
}

// JUCE deletes a menu's window before its answer arrives: what is gone is forgotten then.
void forgetClosedMenus()
{
    auto& menus = openMenus();
    menus.erase(std::remove_if(menus.begin(), menus.end(), [](const auto& m) { return m->isGone(); }), menus.end());
}

} // namespace

void AsyncMenu::showGuarded(juce::PopupMenu menu, const juce::PopupMenu::Options& options, juce::Component& owner,
                            std::function<void(int)> continuation)
{
    auto shown = options;
    if (shown.getTargetComponent() == nullptr)
        shown = shown.withTargetComponent(&owner).withTargetScreenArea(options.getTargetScreenArea());

    // JUCE deletes the menu window before it runs and destroys this callback, so the look the
    // callback holds outlives every component that uses it.
    auto look = std::make_shared<PopupMenuLook>();
    menu.setLookAndFeel(look.get());

    auto& modal = *juce::ModalComponentManager::getInstance();
    const int modalBefore = modal.getNumModalComponents();

    menu.showMenuAsync(shown, [look, continuation = std::move(continuation)](int result) {
        forgetClosedMenus();
        if (continuation)
            continuation(result);
    });

    // The new menu window is the newest modal component (an empty menu opens none).
    if (modal.getNumModalComponents() > modalBefore)
        if (auto* w = modal.getModalComponent(0))
            openMenus().push_back(std::make_unique<OpenMenu>(owner, *w));
}

void AsyncMenu::adoptMenuOpenedBy(juce::Component& owner, int modalBefore)
{
    forgetClosedMenus();
    auto& modal = *juce::ModalComponentManager::getInstance();
    if (modal.getNumModalComponents() > modalBefore)
        if (auto* w = modal.getModalComponent(0); w != nullptr && w != &owner && !owner.isParentOf(w))
            openMenus().push_back(std::make_unique<OpenMenu>(owner, *w));
}

void AsyncMenu::dismissMenusOf(const juce::Component& root)
{
    // Dismissing only hides a window; the list shrinks when the menus' answers arrive.
    for (auto& m : openMenus())
        if (m->isOwnedWithin(root))
            m->dismiss();
}

int AsyncMenu::countMenusOf(const juce::Component& root)
{
    const auto& menus = openMenus();
    return (int)std::count_if(menus.begin(), menus.end(),
                              [&root](const auto& m) { return m->isOpen() && m->isOwnedWithin(root); });
}

} // namespace zarnel
