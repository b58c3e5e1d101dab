#include "MenuPicture.h"

#include "ui/look/PopupMenuLook.h"

namespace
{

using Entry = zarnel::MenuModel::Entry;

struct Laid
{
    const Entry* entry;
    juce::Rectangle<int> area;
};

// Entries placed in columns, as JUCE's pop-up wraps a menu taller than the screen.
std::vector<Laid> layOut(juce::LookAndFeel& look, const std::vector<Entry>& entries, int maxHeight, juce::Point<int>& size)
{
    const int border = look.getPopupMenuBorderSize();
    std::vector<Laid> laid;
    int x = border, y = border, columnWidth = 0, columnStart = 0;
    size = {};
    const auto closeColumn = [&] {
        for (size_t i = (size_t)columnStart; i < laid.size(); ++i)
            laid[i].area.setWidth(columnWidth);
        x += columnWidth;
        columnWidth = 0;
        columnStart = (int)laid.size();
    };
    for (const auto& e : entries)
    {
        int w = 0, h = 0;
        look.getIdealPopupMenuItemSize(e.text, e.kind == Entry::Kind::separator, 0, w, h);
        if (y + h + border > maxHeight && y > border)
        {
            closeColumn();
            y = border;
        }
        laid.push_back({&e, {x, y, w, h}});
        columnWidth = juce::jmax(columnWidth, w + (e.kind == Entry::Kind::submenu ? 20 : 0));
        y += h;
        size.y = juce::jmax(size.y, y + border);
    }
    closeColumn();
    size.x = x + border;
    return laid;
}

} // namespace

void MenuPicture::draw(juce::Graphics& g, const zarnel::MenuModel& menu, juce::Point<int> at,
                       juce::Rectangle<int> area, int openSubmenu)
{
    zarnel::PopupMenuLook look;
    juce::Point<int> size;
    const auto laid = layOut(look, menu.getEntries(), area.getHeight(), size);
    const auto box = juce::Rectangle<int>(at.x, at.y, size.x, size.y).constrainedWithin(area);

    const Laid* open = nullptr;
    {
        juce::Graphics::ScopedSaveState saved(g);
        g.reduceClipRegion(box);
        g.setOrigin(box.getPosition());
        // The look fills the whole clip region.
        look.drawPopupMenuBackground(g, size.x, size.y);
        for (size_t i = 0; i < laid.size(); ++i)
        {
            const auto& e = *laid[i].entry;
            const bool isOpen = (int)i == openSubmenu && e.kind == Entry::Kind::submenu;
            if (isOpen)
                open = &laid[i];
            juce::Graphics::ScopedSaveState item(g);
            g.reduceClipRegion(laid[i].area);
            g.setOrigin(laid[i].area.getPosition());
            look.drawPopupMenuItem(g, laid[i].area.withPosition(0, 0), e.kind == Entry::Kind::separator, e.enabled,
                                   isOpen, e.ticked, e.kind == Entry::Kind::submenu, e.text, {}, nullptr, nullptr);
        }
    }
    if (open != nullptr)
    {
        zarnel::MenuModel sub;
        for (const auto& child : open->entry->children)
            if (child.kind == Entry::Kind::separator)
                sub.addSeparator();
            else
                sub.addItem(child.id, child.text, child.enabled, child.ticked);
        draw(g, sub, box.getPosition() + juce::Point<int>(size.x - 2, open->area.getY() - look.getPopupMenuBorderSize()),
             area);
    }
}
