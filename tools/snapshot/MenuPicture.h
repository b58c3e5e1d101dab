#pragma once

#include "ui/menus/MenuModel.h"

#include <juce_gui_basics/juce_gui_basics.h>

// A pop-up menu drawn as the pop-up shows it, in the shared menu look. A real pop-up is a window
// of its own, which a component snapshot does not include, so the snapshot tool draws this one
// over the editor's picture instead.
class MenuPicture
{
public:
    // Draws the menu with its top-left corner at `at`, moved into `area` as the pop-up keeps to the
    // screen, in columns when it is taller; `openSubmenu` (its index among the entries, -1 for
    // none) is drawn open beside its item.
    static void draw(juce::Graphics& g, const zarnel::MenuModel& menu, juce::Point<int> at,
                     juce::Rectangle<int> area, int openSubmenu = -1);

    MenuPicture() = delete;
};
