#include "ButtonAccess.h"

#include <cmath>

namespace zarnel
{

namespace
{
class Handler : public juce::AccessibilityHandler
{
public:
    Handler(juce::Component& widget, ButtonAccess::Button s)
        : AccessibilityHandler(widget, s.role,
                               juce::AccessibilityActions{}.addAction(juce::AccessibilityActionType::press, s.press)),
          button(std::move(s))
    {
    }

    juce::String getTitle() const override { return button.title ? button.title() : getComponent().getTitle(); }

    juce::AccessibleState getCurrentState() const override
    {
        auto state = AccessibilityHandler::getCurrentState();
        if (button.isOn)
        {
            state = state.withCheckable();
            if (button.isOn())
                state = state.withChecked();
        }
        return state;
    }

private:
    ButtonAccess::Button button;
};

class ValueInterface : public juce::AccessibilityValueInterface
{
public:
    explicit ValueInterface(ButtonAccess::ValueParts s) : parts(std::move(s)) {}
    bool isReadOnly() const override { return !parts.set; }
    double getCurrentValue() const override { return parts.value(); }
    void setValue(double v) override
    {
        // NaN passes jlimit and rounds to 0.
        if (parts.set && !std::isnan(v))
            parts.set(juce::jlimit(parts.minimum, parts.maximum, v));
    }
    juce::String getCurrentValueAsString() const override { return parts.text(); }
    void setValueAsString(const juce::String& text) override { setValue(text.getDoubleValue()); }
    AccessibleValueRange getRange() const override { return {{parts.minimum, parts.maximum}, 1.0}; }

private:
    ButtonAccess::ValueParts parts;
};

class ValueHandler : public juce::AccessibilityHandler
{
public:
    ValueHandler(juce::Component& widget, const ButtonAccess::ValueParts& s)
        : AccessibilityHandler(widget, juce::AccessibilityRole::slider, {}, Interfaces{std::make_unique<ValueInterface>(s)}),
          title(s.title)
    {
    }
    juce::String getTitle() const override { return title(); }

private:
    std::function<juce::String()> title;
};
} // namespace

void ButtonAccess::takeFocusFromKeys(juce::Component& widget)
{
    widget.setWantsKeyboardFocus(true);
    widget.setMouseClickGrabsKeyboardFocus(false);
}

std::unique_ptr<juce::AccessibilityHandler> ButtonAccess::makeHandler(juce::Component& widget, Button button)
{
    if (!button.press)
        button.press = [&widget] { widget.keyPressed(juce::KeyPress(juce::KeyPress::returnKey)); };
    return std::make_unique<Handler>(widget, std::move(button));
}

std::unique_ptr<juce::AccessibilityHandler> ButtonAccess::makeValueHandler(juce::Component& widget, ValueParts parts)
{
    return std::make_unique<ValueHandler>(widget, parts);
}

int ButtonAccess::arrowDirection(const juce::KeyPress& key) noexcept
{
    if (key.getModifiers().isCommandDown())
        return 0;
    const int code = key.getKeyCode();
    if (code == juce::KeyPress::upKey || code == juce::KeyPress::rightKey)
        return 1;
    if (code == juce::KeyPress::downKey || code == juce::KeyPress::leftKey)
        return -1;
    return 0;
}

bool ButtonAccess::pressOnKey(const juce::KeyPress& key, const std::function<void()>& press)
{
    if (key != juce::KeyPress::returnKey && key != juce::KeyPress::spaceKey)
        return false;
    press();
    return true;
}

namespace
{
class ReadOnlyText : public juce::AccessibilityTextValueInterface
{
public:
    explicit ReadOnlyText(std::function<juce::String()> t) : text(std::move(t)) {}
    bool isReadOnly() const override { return true; }
    juce::String getCurrentValueAsString() const override { return text(); }
    void setValueAsString(const juce::String&) override {}

private:
    std::function<juce::String()> text;
};
} // namespace

std::unique_ptr<juce::AccessibilityTextValueInterface> ButtonAccess::readOnlyText(std::function<juce::String()> text)
{
    return std::make_unique<ReadOnlyText>(std::move(text));
}

} // namespace zarnel
