#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

namespace zarnel
{

// The version panel laid over the editor; closes on a click, or by itself after `time` ms. Its
// pictures shrink to the window, and where even that leaves them too small the second one gives
// way to the first.
class AboutPanel : public juce::Component, public juce::ChangeBroadcaster, private juce::Timer
{
public:
    // At the usual window size, unscaled.
    static constexpr int boxX = 365;
    static constexpr int boxY = 100;
    static constexpr int boxWidth = 460;
    static constexpr int boxHeight = 260;

    explicit AboutPanel(int timeMs);
    ~AboutPanel() override;

    void paint(juce::Graphics& g) override;
    void resized() override;
    void mouseDown(const juce::MouseEvent& e) override;

    bool closesByItself() const noexcept { return autoClose; }
    void stopAutoClose();

    // What is drawn, in the panel's pixels, and whether the second picture is among it.
    juce::Rectangle<int> getContentBounds() const noexcept { return content; }
    bool showsSecondPicture() const noexcept { return secondShown; }

    static juce::String versionText();

private:
    void timerCallback() override;

    juce::Image mainPicture;
    juce::Image secondPicture;
    juce::Rectangle<int> content;
    float scale = 1.0f;
    bool secondShown = true;
    bool autoClose = false;
};

} // namespace zarnel
