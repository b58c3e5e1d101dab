#include "VelIndClass.h"

#include "PianoLayout.h"

#include "midi/MidiCntrState.h"
#include "ui/look/Pictures.h"
#include "ui/look/ZarnelLookAndFeel.h"
#include "ui/widgets/ButtonAccess.h"

namespace zarnel
{

VelIndClass::VelIndClass(MidiCntrState& s) : state(s), icon(Pictures::get(Picture::velocityIcon))
{
    refresh();
    ButtonAccess::takeFocusFromKeys(*this);
}

void VelIndClass::setScale(float s)
{
    scale = s;
    repaint();
}

void VelIndClass::refresh()
{
    const int v = state.keyboardVelocity.load();
    if (v == shownValue)
        return;
    shownValue = v;
    repaint(0, (int)(16.0f * scale), (int)(60.0f * scale), (int)(102.0f * scale) + 2);
}

void VelIndClass::setFromPointer(int y)
{
    // In unscaled units: the whole strip scales together.
    setVelocity(127 - juce::roundToInt((float)y / scale));
}

void VelIndClass::setVelocity(int v)
{
    state.keyboardVelocity = juce::jlimit(0, 127, v);
    const int before = shownValue;
    refresh();
    if (shownValue != before)
        if (auto* handler = getAccessibilityHandler())
            handler->notifyAccessibilityEvent(juce::AccessibilityEvent::valueChanged);
}

void VelIndClass::mouseDown(const juce::MouseEvent& e)
{
    dragging = (float)e.x < (float)dragAreaWidth * scale;
    if (dragging)
        setFromPointer(e.y);
}

void VelIndClass::mouseDrag(const juce::MouseEvent& e)
{
    if (dragging)
        setFromPointer(e.y);
}

void VelIndClass::mouseUp(const juce::MouseEvent&)
{
    dragging = false;
}

void VelIndClass::paint(juce::Graphics& g)
{
    const float s = scale;
    const int v = juce::jlimit(0, 127, shownValue);
    g.drawImage(icon, juce::Rectangle<float>(26.0f * s, 16.0f * s, (float)icon.getWidth() * s, (float)icon.getHeight() * s));

    const juce::Rectangle<float> bar(0.0f, 16.0f * s, 15.0f * s, 103.0f * s);
    g.setColour(juce::Colour(0x66374c53));
    g.fillRoundedRectangle(bar, 3.0f * s);
    g.setColour(juce::Colour(0xff101010));
    g.fillRoundedRectangle(bar.withHeight((float)(127 - v) * 103.0f * s / 127.0f), 3.0f * s);
    g.setColour(juce::Colour(0xff4d5051));
    g.drawRoundedRectangle(bar, 3.0f * s, 1.6f * s);

    g.setColour(juce::Colour(0xff76bdd2));
    g.setFont(ZarnelLookAndFeel::arial(11.0f * s));
    g.drawText(juce::String(v), juce::Rectangle<float>(26.0f * s, 16.0f * s, 25.0f * s, 13.0f * s),
               juce::Justification::centred, false);
    g.setColour(juce::Colours::white);
    g.setFont(ZarnelLookAndFeel::arial(10.0f * s));
    g.drawText("Note Velocity", juce::Rectangle<float>(0.0f, 0.0f, 80.0f * s, 13.0f * s), juce::Justification::centredLeft,
               false);
}

bool VelIndClass::keyPressed(const juce::KeyPress& key)
{
    const int direction = ButtonAccess::arrowDirection(key);
    if (direction == 0)
        return false;
    setVelocity(state.keyboardVelocity.load() + direction * (key.getModifiers().isShiftDown() ? 10 : 1));
    return true;
}

std::unique_ptr<juce::AccessibilityHandler> VelIndClass::createAccessibilityHandler()
{
    ButtonAccess::ValueParts parts;
    parts.title = [] { return juce::String("Keyboard velocity"); };
    parts.value = [this] { return (double)state.keyboardVelocity.load(); };
    parts.text = [this] {
        const int v = state.keyboardVelocity.load();
        return v < PianoLayout::heightVelocityBelow ? juce::String("by key height") : juce::String(v);
    };
    parts.set = [this](double v) { setVelocity(juce::roundToInt(v)); };
    return ButtonAccess::makeValueHandler(*this, std::move(parts));
}

} // namespace zarnel
