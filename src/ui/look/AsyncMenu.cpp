#include "AsyncMenu.h"

#include "PopupMenuLook.h"

#include <memory>

namespace zarnel
{

void AsyncMenu::showGuarded(juce::PopupMenu menu, const juce::PopupMenu::Options& options,
                            std::function<void(int)> continuation)
{
    // JUCE deletes the menu window before it runs and destroys this callback, so the look the
    // callback holds outlives every component that uses it.
    auto look = std::make_shared<PopupMenuLook>();
    menu.setLookAndFeel(look.get());
    menu.showMenuAsync(options, [look, continuation = std::move(continuation)](int result) {
        if (continuation)
            continuation(result);
    });
}

} // namespace zarnel
