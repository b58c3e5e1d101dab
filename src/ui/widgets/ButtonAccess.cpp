#include "ButtonAccess.h"

namespace zarnel
{

namespace
{
class Handler : public juce::AccessibilityHandler
{
public:
    Handler(juce::Component& widget, ButtonAccess::Spec s)
        : AccessibilityHandler(widget, s.role,
                               juce::AccessibilityActions{}.addAction(juce::AccessibilityActionType::press, s.press)),
          spec(std::move(s))
    {
    }

    juce::String getTitle() const override { return spec.title ? spec.title() : getComponent().getTitle(); }

    juce::AccessibleState getCurrentState() const override
    {
        auto state = AccessibilityHandler::getCurrentState();
        if (spec.isOn)
        {
            state = state.withCheckable();
            if (spec.isOn())
                state = state.withChecked();
        }
        return state;
    }

private:
    ButtonAccess::Spec spec;
};
} // namespace

void ButtonAccess::takeFocusFromKeys(juce::Component& widget)
{
    widget.setWantsKeyboardFocus(true);
    widget.setMouseClickGrabsKeyboardFocus(false);
}

std::unique_ptr<juce::AccessibilityHandler> ButtonAccess::makeHandler(juce::Component& widget, Spec spec)
{
    if (!spec.press)
        spec.press = [&widget] { widget.keyPressed(juce::KeyPress(juce::KeyPress::returnKey)); };
    return std::make_unique<Handler>(widget, std::move(spec));
}

bool ButtonAccess::pressOnKey(const juce::KeyPress& key, const std::function<void()>& press)
{
    if (key != juce::KeyPress::returnKey && key != juce::KeyPress::spaceKey)
        return false;
    press();
    return true;
}

} // namespace zarnel
