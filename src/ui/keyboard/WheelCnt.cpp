#include "WheelCnt.h"

#include "ui/widgets/ButtonAccess.h"

#include "midi/MidiCntrState.h"
#include "ui/look/Pictures.h"

namespace zarnel
{

namespace
{
int frameFor(float v)
{
    return (int)(v * (float)(WheelCnt::numFrames - 1) / 127.0f);
}
} // namespace

WheelCnt::WheelCnt(MidiCntrState& s, bool isSpringing)
    : state(s), springing(isSpringing), value(isSpringing ? (float)centre : 0.0f), frame(frameFor(value)),
      strip(Pictures::get(Picture::wheelStrip))
{
    setMouseCursor(juce::MouseCursor::UpDownResizeCursor);
    ButtonAccess::takeFocusFromKeys(*this);
}

WheelCnt::~WheelCnt()
{
    // A pitch wheel left off centre (held, or turned with the mouse wheel, which does not spring
    // back) would leave the instrument bent when the strip goes away.
    if (springing && sentOffCentre)
    {
        value = (float)centre;
        sendValue();
    }
}

void WheelCnt::setValue(float v, bool send)
{
    v = juce::jlimit(0.0f, 127.0f, v);
    if (v == value)
        return;
    value = v;
    frame = frameFor(v);
    if (send)
        sendValue();
    repaint();
}

void WheelCnt::sendValue()
{
    const int channel = state.midiChannel.load();
    if (springing)
    {
        sentOffCentre = (int)value != centre;
        state.queuePitchBendForHost(channel, (int)value * 128);
    }
    else
        state.getPorts().sendController(channel, 1, (int)value);
}

void WheelCnt::mouseDown(const juce::MouseEvent& e)
{
    held = true;
    dragStartY = e.y;
    dragStartValue = value;
}

void WheelCnt::mouseDrag(const juce::MouseEvent& e)
{
    // One step a pixel; upwards raises.
    setValue(dragStartValue + (float)(dragStartY - e.y), true);
}

void WheelCnt::mouseUp(const juce::MouseEvent&)
{
    held = false;
    if (springing)
        setValue((float)centre, true);
}

void WheelCnt::mouseWheelMove(const juce::MouseEvent&, const juce::MouseWheelDetails& wheel)
{
    // A step a notch; a trackpad's small deltas add up to steps.
    if (const int steps = wheelSteps.take(wheel); steps != 0)
        setValue(value + (float)steps, true);
}

bool WheelCnt::keyPressed(const juce::KeyPress& key)
{
    const int direction = ButtonAccess::arrowDirection(key);
    if (direction == 0)
        return false;
    setValue(value + (float)(direction * (key.getModifiers().isShiftDown() ? 13 : 1)), true);
    return true;
}

std::unique_ptr<juce::AccessibilityHandler> WheelCnt::createAccessibilityHandler()
{
    return ButtonAccess::makeValueHandler(
        *this, {[this] { return juce::String(springing ? "Pitch wheel" : "Modulation wheel"); },
                [this] { return (double)value; },
                // The pitch wheel reads as its bend from the middle.
                [this] { return juce::String((int)value - (springing ? centre : 0)); },
                [this](double v) { setValue((float)v, true); }});
}

void WheelCnt::paint(juce::Graphics& g)
{
    g.drawImage(strip, 0, 0, (int)((float)width * scale), (int)((float)height * scale), frame * frameStep, 0, frameWidth,
                frameHeight);
}

} // namespace zarnel
