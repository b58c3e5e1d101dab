#pragma once

#include "../main/MsgCont.h"
#include "../widgets/StsBut.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <functional>
#include <memory>
#include <vector>

namespace zarnel
{

// The library window's own message box: what its pages report or ask appears over the window the
// user acted in, not over the editor. While a box shows, it takes the window's mouse and keyboard:
// Return answers OK, Escape CANCEL (a message it just closes), Tab stays on its buttons. Messages
// and questions that come meanwhile wait their turn; a question not answered OK is answered no.
class LibraryMessages : public juce::Component, public stsbutListener
{
public:
    LibraryMessages();
    ~LibraryMessages() override;

    void showMessage(const juce::String& text);
    // onYes runs only after OK.
    void askQuestion(const juce::String& text, std::function<void()> onYes);

    bool isShowingBox() const noexcept { return box != nullptr; }
    MsgCont* getBox() noexcept { return box.get(); }
    juce::String getText() const { return box != nullptr ? box->getText() : juce::String(); }
    bool isQuestion() const noexcept { return question; }
    // As the box's OK (true) or CANCEL (false).
    void answer(bool ok);

    void stsbutPressed(int id) override;
    bool keyPressed(const juce::KeyPress& key) override;
    void resized() override;

private:
    struct Waiting
    {
        juce::String text;
        bool question;
        std::function<void()> onYes;
    };

    void present(const juce::String& text, bool isQuestion, std::function<void()> onYes);

    std::unique_ptr<MsgCont> box;
    bool question = false;
    std::function<void()> onYes;
    std::vector<Waiting> waiting;
    // An answered box goes from the message queue: its button is still inside its click.
    std::vector<std::unique_ptr<MsgCont>> answered;
    juce::Component::SafePointer<juce::Component> focusBefore;
};

} // namespace zarnel
