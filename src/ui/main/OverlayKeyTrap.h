#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <functional>

namespace zarnel
{

// The keys of a window while an overlay is open on it. Attached as the last key listener of the
// component that fills the window, it hears what the overlay's own controls left: Tab walks the
// overlay's stops, Escape and Return give the overlay's answers, Space presses the focused button,
// and shortcuts (keys with Ctrl, Cmd or Alt) are kept from the editor underneath. Plain keys it
// has no use for go on, so the host still hears them. With no overlay open it takes nothing.
class OverlayKeyTrap : public juce::KeyListener
{
public:
    struct Answers
    {
        std::function<void()> escape; // Cancel, No, or close
        std::function<void()> confirm; // the default button, on Return
        juce::Component* firstFocus = nullptr; // where the keys start; the first stop when none
    };
    using OverlayFinder = std::function<juce::Component*()>;
    using AnswerFinder = std::function<Answers(juce::Component& overlay)>;

    OverlayKeyTrap(juce::Component& root, OverlayFinder topOverlay, AnswerFinder answersFor);

    bool keyPressed(const juce::KeyPress& key, juce::Component* origin) override;

    // Focus into the open overlay when it is elsewhere (on a control under it); true if moved.
    bool enterOverlay();
    // Where the keys start in the open overlay, or nullptr when none is open.
    juce::Component* startOfOverlay();

private:
    void moveFocus(bool forwards);

    juce::Component& root;
    OverlayFinder topOverlay;
    AnswerFinder answersFor;
};

} // namespace zarnel
