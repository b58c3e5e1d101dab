#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

namespace zarnel
{

class PianoPad;

// Lies over the piano's keys and takes the mouse: finds the key under the pointer (black keys in
// their upper part), plays it, and slides from key to key while dragging.
class KeyOverlay : public juce::Component
{
public:
    explicit KeyOverlay(PianoPad& pad);

    int getHeldKey() const noexcept { return heldKey; }
    void forgetHeldKey() noexcept { heldKey = -1; }

    void mouseDown(const juce::MouseEvent& e) override;
    void mouseDrag(const juce::MouseEvent& e) override;
    void mouseUp(const juce::MouseEvent& e) override;
    // Screen readers reach the keys beneath instead.
    std::unique_ptr<juce::AccessibilityHandler> createAccessibilityHandler() override
    {
        return createIgnoredAccessibilityHandler(*this);
    }

private:
    int keyAt(int x, int y) const;

    PianoPad& pad;
    int heldKey = -1;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(KeyOverlay)
};

} // namespace zarnel
