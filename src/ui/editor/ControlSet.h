#pragma once

#include "ControlTable.h"
#include "Envel.h"

#include "ui/widgets/StsCont.h"

#include <array>
#include <memory>

namespace zarnel
{

class ZarnelAudioProcessor;

// One complete set of value controls and envelope displays, built from the control table as
// hidden children of a panel. The editor panel and the section zoom each own one; what a value or
// an envelope drag does is decided here once, for both.
class ControlSet
{
public:
    static constexpr juce::uint32 controlBackground = 0xFF303030;

    ControlSet(ZarnelAudioProcessor& owner, juce::Component& parent);
    ~ControlSet();

    // The control of a parameter index, or nullptr outside 0..114.
    StsCont* getControl(int parameterIndex) const noexcept;
    Envel& getEnvelope(int envelope) const noexcept;
    // The number of the envelope that broadcast, or -1 for any other broadcaster.
    int envelopeNumberOf(const juce::ChangeBroadcaster* source) const noexcept;

    // Shows value on the control and, for an envelope stage, the value the control now shows on
    // the envelope. Missing controls and unconfigured slots are ignored.
    void showValue(StsCont* control, int value);
    // After a drag on an envelope: asks for every stage value its control does not show yet, in
    // the order attack, decay, sustain, release. Equal values ask for nothing.
    void requestStagesOf(Envel& envelope);
    void setRepaintEnabled(bool live);

    template <typename Fn>
    void forEachControl(Fn&& fn) const
    {
        for (const auto& c : controls)
            fn(*c);
    }

private:
    std::array<std::unique_ptr<StsCont>, ControlTable::numSlots> controls;
    std::array<std::unique_ptr<Envel>, ControlTable::numEnvelopes> envelopes;

    JUCE_DECLARE_NON_COPYABLE(ControlSet)
};

} // namespace zarnel
