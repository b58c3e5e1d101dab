#pragma once

#include "../widgets/StsBut.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <memory>

namespace zarnel
{

// A message with an OK button (and CANCEL for a question), centred over its owner. It covers the
// whole owner and takes its clicks, and lays itself out again at every size the owner takes: the
// box narrows to fit a small window and grows as tall as its wrapped lines need.
class MsgCont : public juce::Component, public juce::ChangeBroadcaster
{
public:
    static constexpr int okCode = 1211;
    static constexpr int cancelCode = 1213;
    static constexpr int boxWidth = 460;
    static constexpr int boxHeight = 100; // the least; long messages make it taller

    MsgCont(const juce::String& text, int ownerWidth, int ownerHeight);
    ~MsgCont() override;

    void paint(juce::Graphics& g) override;
    void resized() override;

    StsBut& getOkButton() noexcept { return *okButton; }
    StsBut& getCancelButton() noexcept { return *cancelButton; }
    juce::String getText() const { return message.getText(); }
    juce::Point<int> getBoxPosition() const noexcept { return box.getPosition(); }
    juce::Rectangle<int> getBoxBounds() const noexcept { return box; }
    // Where the lines are drawn and in which font.
    juce::Rectangle<int> getTextArea() const noexcept { return message.getBounds(); }
    juce::Font getTextFont() const { return message.getFont(); }
    // The text as drawn, a word wider than the box (a long file name) broken over lines.
    juce::String getShownText() const { return message.lines; }

    // The height the lines of text take in that font, wrapped at that width.
    static float wrappedHeight(const juce::String& text, const juce::Font& font, float width);

private:
    // A label that wraps its text on as many lines as it needs instead of squeezing it onto two.
    class Message : public juce::Label
    {
    public:
        void paint(juce::Graphics& g) override;
        juce::String lines; // the text as drawn: words wider than a line broken
    };

    juce::Rectangle<int> box;
    Message message;
    std::unique_ptr<StsBut> okButton;
    std::unique_ptr<StsBut> cancelButton;
};

} // namespace zarnel
