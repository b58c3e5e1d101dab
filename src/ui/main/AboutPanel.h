#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

namespace zarnel
{

// The version panel laid over the editor; closes on a click, or by itself after `time` ms.
class AboutPanel : public juce::Component, public juce::ChangeBroadcaster, private juce::Timer
{
public:
    static constexpr int boxX = 365;
    static constexpr int boxY = 100;
    static constexpr int boxWidth = 460;
    static constexpr int boxHeight = 260;

    explicit AboutPanel(int timeMs);
    ~AboutPanel() override;

    void paint(juce::Graphics& g) override;
    void mouseDown(const juce::MouseEvent& e) override;

    bool closesByItself() const noexcept { return autoClose; }
    void stopAutoClose();

    static juce::String versionText();

private:
    void timerCallback() override;

    juce::Image mainPicture;
    juce::Image secondPicture;
    bool autoClose = false;
};

} // namespace zarnel
