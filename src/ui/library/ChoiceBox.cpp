#include "ChoiceBox.h"

namespace zarnel
{

namespace
{
const juce::Colour focusColour(0xFF7B7F95);

class ChoiceText : public juce::AccessibilityTextValueInterface
{
public:
    explicit ChoiceText(ChoiceBox& b) : box(b) {}
    bool isReadOnly() const override { return false; }
    juce::String getCurrentValueAsString() const override { return box.getText(); }
    // A choice's name (in any case), or its number counted from 1.
    void setValueAsString(const juce::String& value) override
    {
        const auto wanted = value.trim();
        for (int i = 0; i < box.getNumChoices(); ++i)
            if (box.getTextOf(i).trim().equalsIgnoreCase(wanted))
                return box.choose(i);
        if (wanted.isNotEmpty() && wanted.containsOnly("0123456789"))
            box.choose(wanted.getIntValue() - 1);
    }

private:
    ChoiceBox& box;
};

class ChoiceHandler : public juce::AccessibilityHandler
{
public:
    explicit ChoiceHandler(ChoiceBox& box)
        : AccessibilityHandler(box, juce::AccessibilityRole::comboBox,
                               juce::AccessibilityActions{}
                                   .addAction(juce::AccessibilityActionType::press, [&box] { if (box.onMenu) box.onMenu(); })
                                   .addAction(juce::AccessibilityActionType::showMenu, [&box] { if (box.onMenu) box.onMenu(); }),
                               Interfaces{std::make_unique<ChoiceText>(box)})
    {
    }
};
} // namespace

ChoiceBox::ChoiceBox(const juce::String& title, int n, std::function<juce::String(int)> t)
    : numChoices(juce::jmax(1, n)), textOf(std::move(t))
{
    setTitle(title);
    setWantsKeyboardFocus(true);
    setMouseClickGrabsKeyboardFocus(true);
    look = {juce::Colour(0xFF272527), juce::Colours::transparentBlack, juce::Colour(0xFFF2F0F0), 15.0f};
}

void ChoiceBox::setChoice(int index)
{
    const int c = juce::jlimit(0, numChoices - 1, index);
    if (c == choice)
        return;
    choice = c;
    repaint();
}

juce::String ChoiceBox::getTextOf(int index) const
{
    return textOf(juce::jlimit(0, numChoices - 1, index));
}

void ChoiceBox::choose(int index)
{
    if (index < 0 || index >= numChoices || index == choice)
        return;
    setChoice(index);
    if (auto* handler = getAccessibilityHandler())
        handler->notifyAccessibilityEvent(juce::AccessibilityEvent::valueChanged);
    if (onChange)
        onChange();
}

void ChoiceBox::setLook(const Look& l)
{
    look = l;
    repaint();
}

void ChoiceBox::paint(juce::Graphics& g)
{
    g.fillAll(look.fill);
    if (!look.outline.isTransparent())
    {
        g.setColour(look.outline);
        g.drawRect(getLocalBounds(), 1);
    }
    if (hasKeyboardFocus(false))
    {
        g.setColour(focusColour);
        g.drawRect(getLocalBounds().reduced(1), 2);
    }
    g.setColour(look.text);
    g.setFont(juce::Font("Arial", look.fontSize, juce::Font::plain));
    g.drawText(getText(), getLocalBounds(), juce::Justification::centred, true);
}

void ChoiceBox::mouseDown(const juce::MouseEvent&)
{
    if (onMenu)
        onMenu();
}

bool ChoiceBox::keyPressed(const juce::KeyPress& key)
{
    if (key.getModifiers().isCommandDown())
        return false;
    const int code = key.getKeyCode();
    if (code == juce::KeyPress::upKey || code == juce::KeyPress::leftKey)
    {
        choose(choice - 1);
        return true;
    }
    if (code == juce::KeyPress::downKey || code == juce::KeyPress::rightKey)
    {
        choose(choice + 1);
        return true;
    }
    if (code == juce::KeyPress::homeKey || code == juce::KeyPress::endKey)
    {
        choose(code == juce::KeyPress::homeKey ? 0 : numChoices - 1);
        return true;
    }
    if (key == juce::KeyPress::spaceKey)
    {
        if (onMenu)
            onMenu();
        return true;
    }
    return false;
}

void ChoiceBox::focusGained(FocusChangeType)
{
    repaint();
}

void ChoiceBox::focusLost(FocusChangeType)
{
    repaint();
}

std::unique_ptr<juce::AccessibilityHandler> ChoiceBox::createAccessibilityHandler()
{
    return std::make_unique<ChoiceHandler>(*this);
}

} // namespace zarnel
