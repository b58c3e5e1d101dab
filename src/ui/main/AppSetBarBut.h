#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

namespace zarnel
{

class MidiCntrState;

// The menu button at the left of the application bar: three bars; reports code 128 on release.
class AppSetBarBut : public juce::Component, public juce::ChangeBroadcaster, public juce::SettableTooltipClient
{
public:
    explicit AppSetBarBut(MidiCntrState& state);

    void paint(juce::Graphics& g) override;
    void mouseUp(const juce::MouseEvent& e) override;
    bool keyPressed(const juce::KeyPress& key) override;
    std::unique_ptr<juce::AccessibilityHandler> createAccessibilityHandler() override;

    int getCode() const noexcept { return code; }

    static constexpr int menuCode = 128;

private:
    void press();

    MidiCntrState& state;
    int code = 0;
};

} // namespace zarnel
