#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <functional>
#include <vector>

namespace zarnel
{

// Tab stops only where the user sees something to use: a control that is hidden, clipped out of
// the window by any of its parents, or under an open overlay takes no focus. The root is the
// component that fills the window; while an overlay is open, focus stays inside it. The walk wraps
// round at both ends, so JUCE never falls back on its own unfiltered order.
class EditorFocusTraverser : public juce::KeyboardFocusTraverser
{
public:
    // The overlay open on top of the root, or nullptr.
    using OverlayFinder = std::function<juce::Component*()>;
    // Children of the root that hide what lies behind them without holding the keys (a page laid
    // over another); empty when none.
    using CoverFinder = std::function<std::vector<const juce::Component*>()>;

    EditorFocusTraverser(juce::Component& root, OverlayFinder topOverlay, CoverFinder covers = {});

    // The part of c its parents let through, in the root's coordinates; empty when nothing is left.
    static juce::Rectangle<int> visibleArea(const juce::Component& c, const juce::Component& root);
    // Whether c may take focus: it wants it, it and its parents up to the root are visible and
    // enabled, some of it is left inside the root, it lies in the overlay when one is given, and no
    // cover in front of it hides all of what is left. Needs no screen: nothing here asks whether
    // the root is on the desktop.
    static bool takesFocus(const juce::Component& c, const juce::Component& root, const juce::Component* overlay,
                           const std::vector<const juce::Component*>& covers = {});

    // Where focus may go now: the overlay's stops when one is open, else the root's, in Tab order.
    std::vector<juce::Component*> stops();
    // Where focus goes when it must enter the overlay (or the root when none is open).
    juce::Component* entry();

    juce::Component* getDefaultComponent(juce::Component* parent) override;
    juce::Component* getNextComponent(juce::Component* current) override;
    juce::Component* getPreviousComponent(juce::Component* current) override;
    std::vector<juce::Component*> getAllComponents(juce::Component* parent) override;

private:
    juce::Component* step(juce::Component* current, int direction);

    juce::Component& root;
    OverlayFinder topOverlay;
    CoverFinder covers;
};

} // namespace zarnel
