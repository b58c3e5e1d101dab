#include "TipText.h"

namespace zarnel
{

const juce::Identifier TipText::property("zarnelTooltip");

void TipText::set(juce::Component& component, const juce::String& text)
{
    if (auto* client = dynamic_cast<juce::SettableTooltipClient*>(&component))
        client->setTooltip(text);
    else
        component.getProperties().set(property, text);
}

juce::String TipText::of(juce::Component& component)
{
    if (auto* client = dynamic_cast<juce::TooltipClient*>(&component))
        return client->getTooltip();
    return component.getProperties()[property].toString();
}

} // namespace zarnel
