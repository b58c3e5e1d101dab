#include "PortField.h"

#include "../look/ZarnelLookAndFeel.h"
#include "../widgets/ButtonAccess.h"

#include <climits>

namespace zarnel
{

namespace
{
const juce::Colour focusColour(0xff37a6c8);

class PortHandler : public juce::AccessibilityHandler
{
public:
    explicit PortHandler(PortField& box)
        : AccessibilityHandler(box, juce::AccessibilityRole::comboBox,
                               juce::AccessibilityActions{}
                                   .addAction(juce::AccessibilityActionType::press, [&box] { box.keyPressed(juce::KeyPress(juce::KeyPress::spaceKey)); })
                                   .addAction(juce::AccessibilityActionType::showMenu, [&box] { box.keyPressed(juce::KeyPress(juce::KeyPress::spaceKey)); }),
                               Interfaces{ButtonAccess::readOnlyText([&box] {
                                   return box.getShownName() + (box.isShownOpen() ? ", open" : ", not open");
                               })})
    {
    }
};
} // namespace

PortField::PortField(const juce::String& title)
{
    setTitle(title);
    setWantsKeyboardFocus(true);
    // A click opens the menu and leaves the keyboard where it was.
    setMouseClickGrabsKeyboardFocus(false);
}

void PortField::show(const juce::String& newName, bool isOpen)
{
    if (newName == name && isOpen == open)
        return;
    name = newName;
    open = isOpen;
    repaint();
}

void PortField::announce()
{
    if (auto* handler = getAccessibilityHandler())
        handler->notifyAccessibilityEvent(juce::AccessibilityEvent::valueChanged);
}

void PortField::openMenu()
{
    if (onMenu)
        onMenu();
}

bool PortField::keyPressed(const juce::KeyPress& key)
{
    const auto mods = key.getModifiers();
    if (mods.isCommandDown())
        return false;
    const int code = key.getKeyCode();
    if (key == juce::KeyPress::spaceKey || code == juce::KeyPress::F4Key
        || (code == juce::KeyPress::downKey && mods.isAltDown()))
    {
        openMenu();
        return true;
    }
    int step = 0;
    if (code == juce::KeyPress::upKey || code == juce::KeyPress::leftKey)
        step = -1;
    else if (code == juce::KeyPress::downKey || code == juce::KeyPress::rightKey)
        step = 1;
    else if (code == juce::KeyPress::homeKey)
        step = INT_MIN;
    else if (code == juce::KeyPress::endKey)
        step = INT_MAX;
    if (step == 0)
        return false;
    if (onStep)
        onStep(step);
    return true;
}

void PortField::focusGained(FocusChangeType)
{
    repaint();
}

void PortField::focusLost(FocusChangeType)
{
    repaint();
}

void PortField::paint(juce::Graphics& g)
{
    const int w = getWidth(), h = getHeight();
    g.setColour(juce::Colour(0xff282626));
    g.fillRect(0, 0, w, h);
    g.setColour(hasKeyboardFocus(false) ? focusColour : juce::Colour(0xfffbffff));
    g.drawRect(0, 0, w, h, hasKeyboardFocus(false) ? 2 : 1);
    g.setColour(juce::Colours::white);
    g.setFont(ZarnelLookAndFeel::arial(14.0f));
    // Long device names stop short of the light.
    g.saveState();
    g.reduceClipRegion(1, 1, w - 24, h - 2);
    g.drawSingleLineText(name, 4, 16);
    g.restoreState();

    const juce::Rectangle<float> light((float)w - 20.0f, 8.0f, 10.0f, 8.0f);
    g.setColour(open ? juce::Colour(0xffff0000) : juce::Colour(0xff432d24));
    g.fillRoundedRectangle(light, 2.0f);
    g.setColour(open ? juce::Colour(0xff432d24) : juce::Colours::black);
    g.drawRoundedRectangle(light, 2.0f, 1.0f);
}

std::unique_ptr<juce::AccessibilityHandler> PortField::createAccessibilityHandler()
{
    return std::make_unique<PortHandler>(*this);
}

} // namespace zarnel
