#include "TipWindow.h"

#include "TipText.h"

namespace zarnel
{

juce::String TipWindow::getTipFor(juce::Component& component)
{
    if (dynamic_cast<juce::TooltipClient*>(&component) != nullptr)
        return juce::TooltipWindow::getTipFor(component);
    if (juce::ModifierKeys::currentModifiers.isAnyMouseButtonDown() || component.isCurrentlyBlockedByAnotherModalComponent())
        return {};
    return TipText::of(component);
}

} // namespace zarnel
