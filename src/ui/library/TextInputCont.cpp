#include "TextInputCont.h"

#include "../widgets/CategoryMenu.h"
#include "../widgets/ListenerCalls.h"

#include "../../model/ParDes.h"

namespace zarnel
{

TextInputCont::TextInputCont()
{
    field.setMultiLine(false);
    field.setFont(juce::Font("Arial", 16.0f, juce::Font::plain));
    field.setInputRestrictions(64);
    addChildComponent(field);
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
    field.setVisible(q.showField);
    first.setText(q.first);
    second.setText(q.second);
    third.setText(q.third);
    first.setVisible(q.first.isNotEmpty());
    second.setVisible(q.second.isNotEmpty());
    third.setVisible(q.third.isNotEmpty());
    category = q.category;
    dialogId = q.dialogId;
    subCode = q.subCode;
    asking = true;
    if (auto* parent = getParentComponent())
        setBounds(parent->getLocalBounds());
    setVisible(true);
    toFront(false);
    resized();
    repaint();
    if (q.showField && isShowing())
    {
        field.grabKeyboardFocus();
        field.selectAll();
    }
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
    asking = false;
    setVisible(false);
    setBounds(-100, -100, 50, 50);
}

void TextInputCont::setCategory(int index)
{
    if (index < 0 || index >= ParDes::numCategories)
        return;
    category = index;
    repaint();
}

juce::Rectangle<int> TextInputCont::getCategoryBox() const
{
    return {(getWidth() - 280) / 2, 94, 280, 30};
}

void TextInputCont::resized()
{
    field.setBounds((getWidth() - 280) / 2, 64, 280, 24);
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
    if (category >= 0)
    {
        const auto box = getCategoryBox();
        g.setColour(juce::Colour(0xFF272527));
        g.fillRect(box);
        g.setColour(juce::Colour(0xFFF2F0F0));
        g.setFont(juce::Font("Arial", 15.0f, juce::Font::plain));
        g.drawText(ParDes::categoryName(category).toUpperCase(), box, juce::Justification::centred, true);
    }
}

void TextInputCont::mouseDown(const juce::MouseEvent& e)
{
    if (category >= 0 && getCategoryBox().contains(e.getPosition()))
        CategoryMenu::chooseCategory(*this, [](TextInputCont& panel, int chosen) { panel.setCategory(chosen); });
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
