#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

namespace zarnel
{

// The library's category button: a stretched picture face, darker when hovered or selected.
// Reports a click released inside it with one change message.
class StBut : public juce::Component, public juce::ChangeBroadcaster
{
public:
    static constexpr int pictureHeight = 18;

    // Starts with the usual face, black and white texts, font 12 and 100 x 18; owners may change them.
    StBut(const juce::String& caption, int id);

    void setPicture(const juce::Image& picture);
    void setTextColours(juce::Colour text, juce::Colour selectedText);
    void setFontHeight(float height);

    void setSelected(bool shouldBeSelected);
    bool isSelected() const noexcept { return selected; }
    void setOrigin(int x, int y);
    int getId() const noexcept { return id; }
    const juce::String& getCaption() const noexcept { return caption; }
    bool isHovered() const noexcept { return hover; }

    void paint(juce::Graphics& g) override;
    void mouseEnter(const juce::MouseEvent& e) override;
    void mouseExit(const juce::MouseEvent& e) override;
    void mouseDown(const juce::MouseEvent& e) override;
    bool keyPressed(const juce::KeyPress& key) override;
    std::unique_ptr<juce::AccessibilityHandler> createAccessibilityHandler() override;
    void mouseUp(const juce::MouseEvent& e) override;

private:
    juce::String caption;
    int id;
    float fontHeight = 12.0f;
    bool selected = false, hover = false, pressed = false;
    juce::Colour textColour{0xFF000000}, selectedTextColour{0xFFFFFFFF};
    juce::Image picture;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(StBut)
};

} // namespace zarnel
