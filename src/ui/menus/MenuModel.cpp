#include "MenuModel.h"

namespace zarnel
{

namespace
{
const MenuModel::Entry* findIn(const std::vector<MenuModel::Entry>& entries, int id)
{
    for (const auto& e : entries)
    {
        if (e.kind == MenuModel::Entry::Kind::item && e.id == id)
            return &e;
        if (e.kind == MenuModel::Entry::Kind::submenu)
            if (const auto* found = findIn(e.children, id))
                return found;
    }
    return nullptr;
}

void flattenInto(const std::vector<MenuModel::Entry>& entries, std::vector<std::pair<int, juce::String>>& out)
{
    for (const auto& e : entries)
    {
        if (e.kind == MenuModel::Entry::Kind::separator)
            continue;
        out.emplace_back(e.id, e.text);
        flattenInto(e.children, out);
    }
}

juce::PopupMenu toPopup(const std::vector<MenuModel::Entry>& entries)
{
    juce::PopupMenu menu;
    for (const auto& e : entries)
    {
        switch (e.kind)
        {
            case MenuModel::Entry::Kind::item:
                menu.addItem(e.id, e.text, e.enabled, e.ticked);
                break;
            case MenuModel::Entry::Kind::separator:
                menu.addSeparator();
                break;
            case MenuModel::Entry::Kind::submenu:
                menu.addSubMenu(e.text, toPopup(e.children), e.enabled);
                break;
        }
    }
    return menu;
}
} // namespace

MenuModel& MenuModel::addItem(int id, const juce::String& text, bool enabled, bool ticked)
{
    Entry e;
    e.id = id;
    e.text = text;
    e.enabled = enabled;
    e.ticked = ticked;
    entries.push_back(std::move(e));
    return *this;
}

MenuModel& MenuModel::addSeparator()
{
    Entry e;
    e.kind = Entry::Kind::separator;
    entries.push_back(std::move(e));
    return *this;
}

MenuModel& MenuModel::addSubMenu(const juce::String& text, const MenuModel& sub)
{
    Entry e;
    e.kind = Entry::Kind::submenu;
    e.text = text;
    e.children = sub.entries;
    entries.push_back(std::move(e));
    return *this;
}

const MenuModel::Entry* MenuModel::find(int id) const
{
    return findIn(entries, id);
}

std::vector<std::pair<int, juce::String>> MenuModel::flatten() const
{
    std::vector<std::pair<int, juce::String>> out;
    flattenInto(entries, out);
    return out;
}

juce::PopupMenu MenuModel::toPopupMenu() const
{
    return toPopup(entries);
}

} // namespace zarnel
