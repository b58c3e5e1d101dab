#include "TextInputCont.h"

#include "../widgets/CategoryMenu.h"
#include "../widgets/ListenerCalls.h"

#include "../../model/ParDes.h"

namespace zarnel
{

TextInputCont::TextInputCont()
    : categoryBox("Category", ParDes::numCategories, [](int c) { return ParDes::categoryName(c).toUpperCase(); })
{
    setWantsKeyboardFocus(true);
    setFocusContainerType(FocusContainerType::keyboardFocusContainer);
    field.setMultiLine(false);
    field.setFont(juce::Font("Arial", 16.0f, juce::Font::plain));
    field.setInputRestrictions(64);
    field.onReturnKey = [this] { press(getDefaultButton()); };
    field.onEscapeKey = [this] { press(getEscapeButton()); };
    addChildComponent(field);
    categoryBox.setTooltip("Category: the category the program is filed under; Up and Down step it, Space lists them all.");
    categoryBox.onChange = [this] { category = categoryBox.getChoice(); };
    categoryBox.onMenu = [this] {
        CategoryMenu::chooseCategory(*this, [](TextInputCont& panel, int chosen) { panel.categoryBox.choose(chosen); });
    };
    addChildComponent(categoryBox);
    for (auto* b : {&first, &second, &third})
    {
        b->addListener(this);
        addChildComponent(*b);
    }
    setBounds(-100, -100, 50, 50);
    setVisible(false);
}

TextInputCont::~TextInputCont()
{
    for (auto* b : {&first, &second, &third})
        b->removeListener(this);
}

LibBut& TextInputCont::getButton(int id)
{
    return id == firstId ? first : (id == secondId ? second : third);
}

void TextInputCont::ask(const Question& q)
{
    message = q.message.trimEnd();
    field.setText(q.text, false);
    field.setTitle(message); // the question is painted, not a label a screen reader finds
    setTitle(message);
    field.setVisible(q.showField);
    first.setText(q.first);
    second.setText(q.second);
    third.setText(q.third);
    first.setVisible(q.first.isNotEmpty());
    second.setVisible(q.second.isNotEmpty());
    third.setVisible(q.third.isNotEmpty());
    category = q.category >= 0 ? juce::jmin(q.category, ParDes::numCategories - 1) : -1;
    categoryBox.setChoice(juce::jmax(0, category));
    categoryBox.setVisible(category >= 0);
    dialogId = q.dialogId;
    subCode = q.subCode;
    if (!asking)
        focusBefore = juce::Component::getCurrentlyFocusedComponent();
    asking = true;
    if (auto* parent = getParentComponent())
        setBounds(parent->getLocalBounds());
    setVisible(true);
    toFront(false);
    resized();
    repaint();
    // Left where it was, the focus would let Return and Escape act on the page beneath.
    if (isShowing())
        if (auto* target = getFocusTarget())
            target->grabKeyboardFocus();
    if (q.showField)
        field.selectAll();
}

LibBut* TextInputCont::getDefaultButton()
{
    for (auto* b : {&first, &second})
        if (b->isVisible())
            return b;
    return nullptr;
}

LibBut* TextInputCont::getEscapeButton()
{
    for (auto* b : {&third, &second, &first})
        if (b->isVisible())
            return b;
    return nullptr;
}

juce::Component* TextInputCont::getFocusTarget()
{
    if (field.isVisible())
        return &field;
    if (auto* b = getDefaultButton())
        return b;
    return this;
}

void TextInputCont::press(LibBut* button)
{
    if (asking && button != nullptr)
        button->click();
}

bool TextInputCont::keyPressed(const juce::KeyPress& key)
{
    if (key == juce::KeyPress::returnKey)
    {
        press(getDefaultButton());
        return true;
    }
    if (key == juce::KeyPress::escapeKey)
    {
        press(getEscapeButton());
        return true;
    }
    return false;
}

TextInputCont::Question TextInputCont::renameQuestion(const juce::String& name, int category, int dialogId, int subCode)
{
    Question q;
    q.message = "Rename " + name.trimEnd() + ":";
    q.text = name;
    q.showField = true;
    q.first = "OK";
    q.third = "CANCEL";
    q.category = category;
    q.dialogId = dialogId;
    q.subCode = subCode;
    return q;
}

void TextInputCont::hidePanel()
{
    const bool hadFocus = hasKeyboardFocus(true);
    asking = false;
    setVisible(false);
    setBounds(-100, -100, 50, 50);
    if (hadFocus && focusBefore != nullptr && focusBefore->isShowing())
        focusBefore->grabKeyboardFocus();
    focusBefore = nullptr;
}

void TextInputCont::setCategory(int index)
{
    if (index < 0 || index >= ParDes::numCategories)
        return;
    category = index;
    categoryBox.setChoice(index);
}

juce::Rectangle<int> TextInputCont::getCategoryArea() const
{
    return {(getWidth() - 280) / 2, 94, 280, 30};
}

void TextInputCont::resized()
{
    field.setBounds((getWidth() - 280) / 2, 64, 280, 24);
    categoryBox.setBounds(getCategoryArea());
    const int y = category >= 0 ? 136 : 116;
    for (auto* b : {&first, &second, &third})
        b->setSize(100, 34);
    if (second.isVisible())
    {
        const int x = (getWidth() - 340) / 2;
        first.setTopLeftPosition(x, y);
        second.setTopLeftPosition(x + 120, y);
        third.setTopLeftPosition(x + 240, y);
    }
    else
    {
        const int x = (getWidth() - 220) / 2;
        first.setTopLeftPosition(x, y);
        third.setTopLeftPosition(x + 120, y);
    }
    // A lone button (a message) takes the middle place.
    if (!first.isVisible() && !third.isVisible())
        second.setTopLeftPosition((getWidth() - 100) / 2, y);
}

void TextInputCont::paint(juce::Graphics& g)
{
    g.fillAll(juce::Colour(0xFF191919));
    g.setColour(juce::Colours::white);
    g.setFont(juce::Font("Arial", 24.0f, juce::Font::plain));
    g.drawFittedText(message, 20, 24, getWidth() - 40, 30, juce::Justification::centred, 1);
}

void TextInputCont::addListener(textmsgListener* listener)
{
    const juce::ScopedLock sl(listenerLock);
    listeners.addIfNotAlreadyThere(listener);
}

void TextInputCont::removeListener(textmsgListener* listener)
{
    const juce::ScopedLock sl(listenerLock);
    listeners.removeAllInstancesOf(listener);
}

void TextInputCont::libButClicked(LibBut*, int id)
{
    const int dialog = dialogId, sub = subCode;
    ListenerCalls::tell(*this, listenerLock, listeners, [id, dialog, sub](textmsgListener& l) {
        if (id == firstId)
            l.textmsgFirst(dialog, sub);
        else if (id == secondId)
            l.textmsgSecond(dialog, sub);
        else
            l.textmsgThird(dialog, sub);
    });
}

} // namespace zarnel
