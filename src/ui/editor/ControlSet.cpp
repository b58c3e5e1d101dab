#include "ControlSet.h"

namespace zarnel
{

ControlSet::ControlSet(ZarnelAudioProcessor& owner, juce::Component& parent)
{
    for (int i = 0; i < ControlTable::numSlots; ++i)
    {
        auto& c = controls[(size_t)i];
        c = std::make_unique<StsCont>(owner);
        parent.addChildComponent(*c);
        if (const auto* row = ControlTable::find(i))
        {
            c->configure(row->index, row->caption, row->x, row->y, row->width, row->height, row->minimum,
                         row->maximum, row->type, row->displayKind);
            c->setSectionId(row->section);
        }
        c->setFillBackground(true);
        c->setOpaque(true);
        c->setBackgroundColour(juce::Colour(controlBackground));
    }
    for (int e = 0; e < ControlTable::numEnvelopes; ++e)
    {
        auto& env = envelopes[(size_t)e];
        env = std::make_unique<Envel>();
        env->setEnvelopeNumber(e);
        parent.addChildComponent(*env);
        // An envelope shows what its knobs show from the start, or its first change message
        // would ask for values nobody chose.
        const auto& parameters = ControlTable::envelopeParameters(e);
        for (int stage = 0; stage < ControlTable::numStages; ++stage)
            env->setStageValue(stage, (float)controls[(size_t)parameters[(size_t)stage]]->getShownValue());
    }
}

ControlSet::~ControlSet()
{
    for (auto& env : envelopes)
        env.reset();
    for (auto it = controls.rbegin(); it != controls.rend(); ++it)
        it->reset();
}

StsCont* ControlSet::getControl(int parameterIndex) const noexcept
{
    return parameterIndex >= 0 && parameterIndex < ControlTable::numSlots ? controls[(size_t)parameterIndex].get()
                                                                          : nullptr;
}

Envel& ControlSet::getEnvelope(int envelope) const noexcept
{
    return *envelopes[(size_t)juce::jlimit(0, ControlTable::numEnvelopes - 1, envelope)];
}

int ControlSet::envelopeNumberOf(const juce::ChangeBroadcaster* source) const noexcept
{
    for (int e = 0; e < ControlTable::numEnvelopes; ++e)
        if (source == envelopes[(size_t)e].get())
            return e;
    return -1;
}

void ControlSet::showValue(StsCont* control, int value)
{
    if (control == nullptr || !control->isConfigured())
        return;
    control->showValue(value);
    if (const auto binding = ControlTable::stageOf(control->getParameterIndex()))
        envelopes[(size_t)binding->envelope]->setStageValue(binding->stage, (float)control->getShownValue());
}

void ControlSet::requestStagesOf(Envel& envelope)
{
    const auto& parameters = ControlTable::envelopeParameters(envelope.getEnvelopeNumber());
    for (int stage = 0; stage < ControlTable::numStages; ++stage)
    {
        const auto dragged = envelope.takeDraggedStage(stage);
        if (auto* c = getControl(parameters[(size_t)stage]))
            c->requestValue((int)dragged.value_or(envelope.getStageValue(stage)));
    }
}

void ControlSet::setRepaintEnabled(bool live)
{
    for (auto& c : controls)
        c->setRepaintEnabled(live);
    for (auto& env : envelopes)
        env->setRepaintEnabled(live);
}

} // namespace zarnel
