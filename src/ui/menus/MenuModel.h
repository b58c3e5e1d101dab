#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <vector>

namespace zarnel
{

// What a pop-up menu shows, as plain data: items with their ids, texts and states, separators
// and submenus. Menus build one from the model's state; the pop-up is made from it, and tests
// and the snapshot tool read it directly.
class MenuModel
{
public:
    struct Entry
    {
        enum class Kind
        {
            item,
            separator,
            submenu
        };

        Kind kind = Kind::item;
        int id = 0;
        juce::String text;
        bool enabled = true;
        bool ticked = false;
        std::vector<Entry> children; // a submenu's entries
    };

    MenuModel& addItem(int id, const juce::String& text, bool enabled = true, bool ticked = false);
    MenuModel& addSeparator();
    MenuModel& addSubMenu(const juce::String& text, const MenuModel& sub);

    const std::vector<Entry>& getEntries() const noexcept { return entries; }
    bool isEmpty() const noexcept { return entries.empty(); }

    // The item with this id, submenus included; null when there is none.
    const Entry* find(int id) const;
    // Every item and submenu with its id and text, submenus' items after their submenu, in order.
    std::vector<std::pair<int, juce::String>> flatten() const;

    juce::PopupMenu toPopupMenu() const;

private:
    std::vector<Entry> entries;
};

} // namespace zarnel
