#include "PanelTips.h"

#include "../widgets/StsBut.h"

namespace zarnel
{

juce::Component& PanelTips::holder(juce::Component& control)
{
    if (auto* button = dynamic_cast<StsBut*>(&control))
        if (auto* inner = button->getInnerButton())
            return *inner;
    return control;
}

bool PanelTips::set(juce::Component& control, const juce::String& tip)
{
    if (auto* client = dynamic_cast<juce::SettableTooltipClient*>(&holder(control)))
    {
        client->setTooltip(tip);
        return true;
    }
    return false;
}

juce::String PanelTips::get(juce::Component& control)
{
    if (auto* client = dynamic_cast<juce::TooltipClient*>(&holder(control)))
        return client->getTooltip();
    return {};
}

} // namespace zarnel
