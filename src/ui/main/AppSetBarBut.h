#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

namespace zarnel
{

class MidiCntrState;

// The menu button at the left of the application bar: three bars; reports code 128 on release.
class AppSetBarBut : public juce::Component, public juce::ChangeBroadcaster
{
public:
    explicit AppSetBarBut(MidiCntrState& state);

    void paint(juce::Graphics& g) override;
    void mouseUp(const juce::MouseEvent& e) override;

    int getCode() const noexcept { return code; }

    static constexpr int menuCode = 128;

private:
    MidiCntrState& state;
    int code = 0;
};

} // namespace zarnel
