#include "OverlayKeyTrap.h"

#include "EditorFocusTraverser.h"

namespace zarnel
{

OverlayKeyTrap::OverlayKeyTrap(juce::Component& r, OverlayFinder finder, AnswerFinder answers)
    : root(r), topOverlay(std::move(finder)), answersFor(std::move(answers))
{
}

bool OverlayKeyTrap::keyPressed(const juce::KeyPress& key, juce::Component*)
{
    auto* overlay = topOverlay();
    if (overlay == nullptr)
        return false;
    const auto mods = key.getModifiers();
    if (key.isKeyCode(juce::KeyPress::tabKey) && !mods.isCommandDown() && !mods.isAltDown())
    {
        moveFocus(!mods.isShiftDown());
        return true;
    }
    const bool plain = !mods.isCommandDown() && !mods.isCtrlDown() && !mods.isAltDown();
    if (plain && key.isKeyCode(juce::KeyPress::escapeKey))
    {
        if (auto answer = answersFor(*overlay).escape)
            answer();
        return true;
    }
    if (plain && key.isKeyCode(juce::KeyPress::returnKey))
    {
        if (auto answer = answersFor(*overlay).confirm)
            answer();
        return true;
    }
    if (plain && key.isKeyCode(juce::KeyPress::spaceKey))
    {
        // JUCE's buttons press on Return only.
        auto* focused = juce::Component::getCurrentlyFocusedComponent();
        if (auto* button = dynamic_cast<juce::Button*>(focused); button != nullptr && overlay->isParentOf(button))
            button->triggerClick();
        return true;
    }
    return !plain;
}

void OverlayKeyTrap::moveFocus(bool forwards)
{
    EditorFocusTraverser traverser(root, topOverlay);
    auto* focused = juce::Component::getCurrentlyFocusedComponent();
    auto* next = forwards ? traverser.getNextComponent(focused) : traverser.getPreviousComponent(focused);
    if (next != nullptr)
        next->grabKeyboardFocus();
}

bool OverlayKeyTrap::enterOverlay()
{
    auto* overlay = topOverlay();
    if (overlay == nullptr)
        return false;
    auto* focused = juce::Component::getCurrentlyFocusedComponent();
    if (focused != nullptr && EditorFocusTraverser::takesFocus(*focused, root, overlay))
        return false;
    if (auto* target = startOfOverlay(); target != nullptr && target->isShowing())
    {
        target->grabKeyboardFocus();
        return true;
    }
    return false;
}

juce::Component* OverlayKeyTrap::startOfOverlay()
{
    auto* overlay = topOverlay();
    if (overlay == nullptr)
        return nullptr;
    auto* first = answersFor(*overlay).firstFocus;
    if (first != nullptr && EditorFocusTraverser::takesFocus(*first, root, overlay))
        return first;
    return EditorFocusTraverser(root, topOverlay).entry();
}

} // namespace zarnel
