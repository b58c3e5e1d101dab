#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

namespace zarnel
{

class LibBut;

// Told about a library button's click and the pointer entering and leaving it (for hover help).
class LibButListener
{
public:
    virtual ~LibButListener() = default;
    virtual void libButClicked(LibBut* button, int id) = 0;
    virtual void libButEntered(LibBut*, int) {}
    virtual void libButExited(LibBut*, int) {}
};

// The command button of the library window and its dialogs: a stretched picture with a centred
// text, carrying a command identifier, a help text shown in its owner's status line and a
// tooltip.
class LibBut : public juce::Component, public juce::SettableTooltipClient
{
public:
    LibBut(const juce::String& text, int id, float fontSize = 12.0f);

    void setText(const juce::String& newText);
    const juce::String& getText() const noexcept { return text; }
    void setHelp(const juce::String& help) { helpText = help; }
    const juce::String& getHelp() const noexcept { return helpText; }
    int getId() const noexcept { return id; }

    void addListener(LibButListener* listener);
    void removeListener(LibButListener* listener);
    // What a press does: tells the listeners, newest first. The owner may be gone afterwards.
    void click();

    void paint(juce::Graphics& g) override;
    void mouseDown(const juce::MouseEvent& e) override;
    void mouseEnter(const juce::MouseEvent& e) override;
    void mouseExit(const juce::MouseEvent& e) override;
    bool keyPressed(const juce::KeyPress& key) override;
    std::unique_ptr<juce::AccessibilityHandler> createAccessibilityHandler() override;

private:
    juce::String text, helpText;
    int id;
    float fontSize;
    juce::Image left, right;
    juce::CriticalSection listenerLock;
    juce::Array<LibButListener*> listeners;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(LibBut)
};

} // namespace zarnel
