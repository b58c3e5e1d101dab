#include "LibraryMessages.h"

#include <algorithm>

namespace zarnel
{

LibraryMessages::LibraryMessages()
{
    setWantsKeyboardFocus(true);
    setFocusContainerType(FocusContainerType::keyboardFocusContainer);
    setVisible(false);
}

LibraryMessages::~LibraryMessages()
{
    if (box != nullptr)
    {
        box->getOkButton().removeListener(this);
        box->getCancelButton().removeListener(this);
    }
}

void LibraryMessages::showMessage(const juce::String& text)
{
    present(text, false, nullptr);
}

void LibraryMessages::askQuestion(const juce::String& text, std::function<void()> yes)
{
    present(text, true, std::move(yes));
}

void LibraryMessages::present(const juce::String& text, bool isQuestion, std::function<void()> yes)
{
    if (box != nullptr)
    {
        // The same report twice in a row is told once.
        const auto same = [&](const Waiting& w) { return !w.question && w.text == text; };
        if (!isQuestion && ((!question && box->getText() == text) || std::any_of(waiting.begin(), waiting.end(), same)))
            return;
        waiting.push_back({text, isQuestion, std::move(yes)});
        return;
    }
    if (!isVisible())
        focusBefore = juce::Component::getCurrentlyFocusedComponent();
    question = isQuestion;
    onYes = std::move(yes);
    if (auto* parent = getParentComponent())
        setBounds(parent->getLocalBounds());
    box = std::make_unique<MsgCont>(text, getWidth(), getHeight());
    box->getOkButton().addListener(this);
    box->getCancelButton().addListener(this);
    box->getCancelButton().setVisible(isQuestion);
    box->setTitle(text);
    addAndMakeVisible(*box);
    setTitle(text);
    setVisible(true);
    toFront(false);
    // On OK, not on this: Tab from a focused container would leave it.
    if (isShowing())
    {
        if (auto* ok = box->getOkButton().getInnerButton(); ok != nullptr && ok->getWantsKeyboardFocus())
            ok->grabKeyboardFocus();
        else
            grabKeyboardFocus();
    }
}

void LibraryMessages::answer(bool ok)
{
    if (box == nullptr)
        return;
    box->getOkButton().removeListener(this);
    box->getCancelButton().removeListener(this);
    box->setVisible(false);
    answered.push_back(std::move(box));
    juce::MessageManager::callAsync([alive = SafePointer<LibraryMessages>(this)] {
        if (alive != nullptr)
            alive->answered.clear();
    });
    auto yes = std::move(onYes);
    onYes = nullptr;
    const bool wasQuestion = question;
    question = false;

    if (!waiting.empty())
    {
        auto next = std::move(waiting.front());
        waiting.erase(waiting.begin());
        present(next.text, next.question, std::move(next.onYes));
    }
    else
    {
        const bool hadFocus = hasKeyboardFocus(true);
        setVisible(false);
        if (hadFocus && focusBefore != nullptr && focusBefore->isShowing())
            focusBefore->grabKeyboardFocus();
        focusBefore = nullptr;
    }
    if (ok && wasQuestion && yes)
        yes();
}

void LibraryMessages::stsbutPressed(int id)
{
    if (id == MsgCont::okCode)
        answer(true);
    else if (id == MsgCont::cancelCode)
        answer(false);
}

bool LibraryMessages::keyPressed(const juce::KeyPress& key)
{
    if (key == juce::KeyPress::returnKey)
    {
        answer(true);
        return true;
    }
    if (key == juce::KeyPress::escapeKey)
    {
        answer(false);
        return true;
    }
    return false;
}

void LibraryMessages::resized()
{
    if (box != nullptr)
        box->setBounds(getLocalBounds());
}

} // namespace zarnel
