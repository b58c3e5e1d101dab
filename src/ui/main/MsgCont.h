#pragma once

#include "../widgets/StsBut.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <memory>

namespace zarnel
{

// A one-line message with an OK button, centred over its owner. It covers the whole owner and takes
// its clicks, and lays itself out again at every size the owner takes.
class MsgCont : public juce::Component, public juce::ChangeBroadcaster
{
public:
    static constexpr int okCode = 1211;
    static constexpr int cancelCode = 1213;
    static constexpr int boxWidth = 460;
    static constexpr int boxHeight = 100;

    MsgCont(const juce::String& text, int ownerWidth, int ownerHeight);
    ~MsgCont() override;

    void paint(juce::Graphics& g) override;
    void resized() override;

    StsBut& getOkButton() noexcept { return *okButton; }
    StsBut& getCancelButton() noexcept { return *cancelButton; }
    juce::String getText() const { return message.getText(); }
    juce::Point<int> getBoxPosition() const noexcept { return {boxX, boxY}; }

private:
    int boxX = 0;
    int boxY = 0;
    juce::Label message;
    std::unique_ptr<StsBut> okButton;
    std::unique_ptr<StsBut> cancelButton;
};

} // namespace zarnel
