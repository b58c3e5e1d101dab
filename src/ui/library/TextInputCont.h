#pragma once

#include "ChoiceBox.h"
#include "LibBut.h"
#include "../widgets/TextField.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <memory>

namespace zarnel
{

// Told which button of a question panel was pressed, with the question's dialog identifier and
// sub-code: first = 1201, second = 1200, third = 1202.
class textmsgListener
{
public:
    virtual ~textmsgListener() = default;
    virtual void textmsgFirst(int dialogId, int subCode) = 0;
    virtual void textmsgSecond(int dialogId, int subCode) = 0;
    virtual void textmsgThird(int dialogId, int subCode) = 0;
};

// A question over the whole page that owns it, instead of a modal window: a message, an optional
// text field and category box, and up to three buttons. The listener hides it and acts. While it
// asks, the keyboard stays inside it: Tab walks only its own parts, Return gives the default answer
// (the first button, or the lone one), Escape the cautious one (CANCEL, else NO, else the lone OK).
class TextInputCont : public juce::Component, public juce::ChangeBroadcaster, public LibButListener
{
public:
    static constexpr int firstId = 1201;
    static constexpr int secondId = 1200;
    static constexpr int thirdId = 1202;

    TextInputCont();
    ~TextInputCont() override;

    struct Question
    {
        juce::String message;
        juce::String text;   // the field's text
        bool showField = false;
        juce::String first;  // 1201; an empty text hides the button
        juce::String second; // 1200
        juce::String third;  // 1202
        int category = -1;   // -1: no category box
        int dialogId = 0;
        int subCode = 0;
    };

    // A text question with the category box and OK / CANCEL: "Rename <name>:" (the name without
    // its padding), the field prefilled with the whole name.
    static Question renameQuestion(const juce::String& name, int category, int dialogId, int subCode);

    // Covers the parent and shows the question.
    void ask(const Question& question);
    // Moved aside and hidden.
    void hidePanel();
    bool isAsking() const noexcept { return asking; }

    juce::String getText() const { return field.getText(); }
    int getCategory() const noexcept { return category; }
    ChoiceBox& getCategoryBox() noexcept { return categoryBox; }
    void setCategory(int index);
    int getDialogId() const noexcept { return dialogId; }
    int getSubCode() const noexcept { return subCode; }
    const juce::String& getMessage() const noexcept { return message; }
    LibBut& getButton(int id);
    juce::TextEditor& getField() noexcept { return field; }
    // The buttons Return and Escape press (nullptr when none is shown).
    LibBut* getDefaultButton();
    LibBut* getEscapeButton();
    // Where ask() puts the keyboard focus: the field when shown, else the default button.
    juce::Component* getFocusTarget();

    void addListener(textmsgListener* listener);
    void removeListener(textmsgListener* listener);

    void libButClicked(LibBut* button, int id) override;

    void paint(juce::Graphics& g) override;
    void resized() override;
    bool keyPressed(const juce::KeyPress& key) override;

    juce::Rectangle<int> getCategoryArea() const;

private:
    void press(LibBut* button);

    juce::String message;
    TextField field;
    ChoiceBox categoryBox;
    // Given the focus back when the question is answered.
    juce::Component::SafePointer<juce::Component> focusBefore;
    LibBut first{"OK", firstId}, second{"NO", secondId}, third{"Cancel", thirdId};
    int category = -1;
    int dialogId = 0;
    int subCode = 0;
    bool asking = false;
    juce::CriticalSection listenerLock;
    juce::Array<textmsgListener*> listeners;
};

} // namespace zarnel
