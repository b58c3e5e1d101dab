#pragma once

#include "StsBut.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <memory>

namespace zarnel
{

// The progress overlay of bank transfers: darkens its owner and shows a 128-step bar, a text and
// "CANCEL". It covers the whole owner and takes its clicks, and lays itself out again at every
// size. The owner listens to getCancelButton() as an stsbutChangeListener.
class ProgBar : public juce::Component
{
public:
    static constexpr int boxWidth = 400, boxHeight = 40;
    static constexpr int cancelId = 999;

    ProgBar(int ownerWidth, int ownerHeight);
    ~ProgBar() override;

    void setProgress(int value, const juce::String& text);

    StsBut* getCancelButton() const noexcept { return cancel.get(); }
    int getValue() const noexcept { return value; }
    const juce::String& getText() const noexcept { return text; }
    int getFillWidth() const noexcept { return fill->getWidth(); }
    juce::Point<int> getBoxPosition() const noexcept { return {boxX, boxY}; }
    juce::String getLabelText() const { return label->getText(); }

    void paint(juce::Graphics& g) override;
    void resized() override;

private:
    int value = 0;
    static constexpr int minimum = 0, maximum = 127;
    juce::String text;
    int boxX = 0, boxY = 0;

    std::unique_ptr<juce::TextButton> trackButton, fill;
    std::unique_ptr<juce::Label> label;
    std::unique_ptr<StsBut> cancel;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(ProgBar)
};

} // namespace zarnel
