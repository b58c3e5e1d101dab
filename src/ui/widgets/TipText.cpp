#include "TipText.h"

#include "StsBut.h"

namespace zarnel
{

const juce::Identifier TipText::property("zarnelTooltip");

juce::Component& TipText::holder(juce::Component& component)
{
    // A command button is covered by its inner button: the tooltip window asks that one.
    if (auto* button = dynamic_cast<StsBut*>(&component))
        if (auto* inner = button->getInnerButton())
            return *inner;
    return component;
}

void TipText::set(juce::Component& component, const juce::String& text)
{
    auto& target = holder(component);
    if (auto* client = dynamic_cast<juce::SettableTooltipClient*>(&target))
        client->setTooltip(text);
    else
        target.getProperties().set(property, text);
}

juce::String TipText::of(juce::Component& component)
{
    auto& target = holder(component);
    if (auto* client = dynamic_cast<juce::TooltipClient*>(&target))
        return client->getTooltip();
    return target.getProperties()[property].toString();
}

} // namespace zarnel
