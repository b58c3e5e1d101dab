#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <functional>
#include <memory>

namespace zarnel
{

// The box of a dialog that shows one of a few choices (a category, the preset to replace). A click
// or Space opens the owner's pop-up; Up and Down step the choice; a screen reader reads it under
// its title and sets it by name or number. Return is left to the dialog, which confirms.
class ChoiceBox : public juce::Component, public juce::SettableTooltipClient
{
public:
    struct Look
    {
        juce::Colour fill;
        juce::Colour outline; // transparent: none
        juce::Colour text;
        float fontSize = 15.0f;
    };

    ChoiceBox(const juce::String& title, int numChoices, std::function<juce::String(int)> textOf);

    // Shown as it is now, telling nobody.
    void setChoice(int index);
    int getChoice() const noexcept { return choice; }
    int getNumChoices() const noexcept { return numChoices; }
    juce::String getText() const { return getTextOf(choice); }
    juce::String getTextOf(int index) const;
    // As the user does it: sets the choice and runs onChange when it changed.
    void choose(int index);
    void setLook(const Look& look);

    std::function<void()> onChange;
    // A click or Space: the owner's pop-up, which answers with choose().
    std::function<void()> onMenu;

    void paint(juce::Graphics& g) override;
    void mouseDown(const juce::MouseEvent& e) override;
    bool keyPressed(const juce::KeyPress& key) override;
    void focusGained(FocusChangeType cause) override;
    void focusLost(FocusChangeType cause) override;
    std::unique_ptr<juce::AccessibilityHandler> createAccessibilityHandler() override;

private:
    int numChoices;
    std::function<juce::String(int)> textOf;
    int choice = 0;
    Look look;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(ChoiceBox)
};

} // namespace zarnel
