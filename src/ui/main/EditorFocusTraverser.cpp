#include "EditorFocusTraverser.h"

#include <algorithm>

namespace zarnel
{

EditorFocusTraverser::EditorFocusTraverser(juce::Component& r, OverlayFinder finder, CoverFinder coverFinder)
    : root(r), topOverlay(std::move(finder)), covers(std::move(coverFinder))
{
}

juce::Rectangle<int> EditorFocusTraverser::visibleArea(const juce::Component& c, const juce::Component& root)
{
    if (&c != &root && !root.isParentOf(&c))
        return {};
    // Through the parents' transforms too: the pages draw their content scaled.
    auto area = root.getLocalArea(&c, c.getLocalBounds());
    for (auto* parent = c.getParentComponent(); parent != nullptr && parent != &root; parent = parent->getParentComponent())
        area = area.getIntersection(root.getLocalArea(parent, parent->getLocalBounds()));
    return area.getIntersection(root.getLocalBounds());
}

bool EditorFocusTraverser::takesFocus(const juce::Component& c, const juce::Component& root,
                                      const juce::Component* overlay, const std::vector<const juce::Component*>& covers)
{
    if (!c.getWantsKeyboardFocus() || !root.isParentOf(&c))
        return false;
    if (overlay != nullptr && &c != overlay && !overlay->isParentOf(&c))
        return false;
    const juce::Component* page = &c; // the child of the root that holds c
    for (auto* part = &c; part != nullptr && part != &root; part = part->getParentComponent())
    {
        if (!part->isVisible() || !part->isEnabled())
            return false;
        page = part;
    }
    const auto area = visibleArea(c, root);
    if (area.isEmpty())
        return false;
    for (auto* cover : covers)
        if (cover != nullptr && cover != page && cover->getParentComponent() == &root && cover->isVisible()
            && root.getIndexOfChildComponent(cover) > root.getIndexOfChildComponent(page)
            && cover->getBounds().contains(area))
            return false;
    return true;
}

std::vector<juce::Component*> EditorFocusTraverser::getAllComponents(juce::Component* parent)
{
    if (parent == nullptr)
        return {};
    auto* overlay = topOverlay ? topOverlay() : nullptr;
    // Asked for the window or anything round the root (JUCE's fall-back): the stops of now.
    if (parent != &root && !root.isParentOf(parent))
        parent = overlay != nullptr ? overlay : &root;
    auto all = KeyboardFocusTraverser::getAllComponents(parent);
    if (parent->getWantsKeyboardFocus() && parent != &root)
        all.insert(all.begin(), parent);
    all.erase(std::remove_if(all.begin(), all.end(),
                             [&, hiding = covers ? covers() : std::vector<const juce::Component*>()](
                                 const juce::Component* c) { return !takesFocus(*c, root, overlay, hiding); }),
              all.end());
    return all;
}

std::vector<juce::Component*> EditorFocusTraverser::stops()
{
    auto* overlay = topOverlay ? topOverlay() : nullptr;
    return getAllComponents(overlay != nullptr ? overlay : &root);
}

juce::Component* EditorFocusTraverser::entry()
{
    const auto all = stops();
    return all.empty() ? nullptr : all.front();
}

juce::Component* EditorFocusTraverser::getDefaultComponent(juce::Component* parent)
{
    auto* overlay = topOverlay ? topOverlay() : nullptr;
    // A part under the overlay asked to take focus: it goes into the overlay instead.
    if (overlay != nullptr && parent != overlay && !overlay->isParentOf(parent))
        return entry();
    const auto all = getAllComponents(parent);
    return all.empty() ? nullptr : all.front();
}

juce::Component* EditorFocusTraverser::step(juce::Component* current, int direction)
{
    const auto all = stops();
    if (all.empty())
        return nullptr;
    const auto at = std::find(all.begin(), all.end(), current);
    // From somewhere focus may not stay (under the overlay, off the page): the first stop.
    if (at == all.end())
        return direction > 0 ? all.front() : all.back();
    const auto index = (int)std::distance(all.begin(), at);
    const auto count = (int)all.size();
    return all[(size_t)((index + direction + count) % count)];
}

juce::Component* EditorFocusTraverser::getNextComponent(juce::Component* current)
{
    return step(current, 1);
}

juce::Component* EditorFocusTraverser::getPreviousComponent(juce::Component* current)
{
    return step(current, -1);
}

} // namespace zarnel
