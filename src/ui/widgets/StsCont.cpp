#include "StsCont.h"

#include "model/ParDes.h"
#include "plugin/ZarnelAudioProcessor.h"
#include "ListenerCalls.h"
#include "ui/look/AsyncMenu.h"
#include "ui/look/Pictures.h"
#include "ui/look/ZarnelLookAndFeel.h"

#include <cmath>
#include <utility>

namespace zarnel
{

namespace
{
const juce::Colour menuValueColour(0xFFB6FFFD);
const juce::Colour switchGlow(0x33814141);

int scaled(float v, float s)
{
    return (int)(v * s);
}

// What a screen reader reads and sets: the shown value, its text and the control's range.
class ValueAccess : public juce::AccessibilityValueInterface
{
public:
    explicit ValueAccess(StsCont& c) : control(c) {}
    bool isReadOnly() const override { return false; }
    double getCurrentValue() const override { return control.getShownValue(); }
    void setValue(double value) override
    {
        // Clamped before the int: a huge value would wrap, NaN would read as 0.
        if (!std::isnan(value))
            control.requestValue((int)std::lround(
                juce::jlimit((double)control.getMinimum(), (double)control.getMaximum(), value)));
    }
    juce::String getCurrentValueAsString() const override { return control.getValueText(); }
    void setValueAsString(const juce::String& text) override { setValue(text.getDoubleValue()); }
    AccessibleValueRange getRange() const override
    {
        return {{(double)control.getMinimum(), (double)control.getMaximum()}, 1.0};
    }

private:
    StsCont& control;
};
} // namespace

StsCont::StsCont(ZarnelAudioProcessor& ownerProcessor) : owner(ownerProcessor)
{
    // Reached with Tab; a click leaves the focus where it was (the note keys keep playing).
    setWantsKeyboardFocus(true);
    setMouseClickGrabsKeyboardFocus(false);
}

std::unique_ptr<juce::AccessibilityHandler> StsCont::createAccessibilityHandler()
{
    const auto role = type == knob      ? juce::AccessibilityRole::slider
                      : type == menuBox ? juce::AccessibilityRole::comboBox
                                        : juce::AccessibilityRole::toggleButton;
    return std::make_unique<juce::AccessibilityHandler>(
        *this, role, juce::AccessibilityActions{},
        juce::AccessibilityHandler::Interfaces{std::make_unique<ValueAccess>(*this)});
}

int StsCont::keyStep(bool bigger) const noexcept
{
    return bigger ? juce::jmax(1, (maximum - minimum) / 10) : 1;
}

bool StsCont::keyPressed(const juce::KeyPress& key)
{
    const int code = key.getKeyCode();
    int direction = 0;
    if (code == juce::KeyPress::upKey || code == juce::KeyPress::rightKey)
        direction = 1;
    else if (code == juce::KeyPress::downKey || code == juce::KeyPress::leftKey)
        direction = -1;
    if (direction == 0 || !configured || key.getModifiers().isCommandDown())
        return false;
    // From the value asked for last, so that held keys run ahead of the echoes.
    requestValue(getPendingValue() + direction * keyStep(key.getModifiers().isShiftDown()));
    return true;
}

StsCont::~StsCont()
{
    // Closed mid-drag (the editor went away under the mouse): the host's gesture still ends.
    holdGesture(false);
}

bool StsCont::isHoldingGesture() const noexcept
{
    return heldGestureIndex >= 0 && owner.isHoldCurrent(heldGesture);
}

void StsCont::holdGesture(bool shouldHold)
{
    if (shouldHold == isHoldingGesture())
        return;
    if (heldGestureIndex >= 0)
        owner.endEditorGesture(std::exchange(heldGestureIndex, -1), std::exchange(heldGesture, 0u));
    if (!shouldHold || !configured)
        return;
    if ((heldGesture = owner.beginEditorGesture(parameterIndex)) != 0)
        heldGestureIndex = parameterIndex;
}

void StsCont::configure(int index, const juce::String& captionText, int x, int y, int width, int height,
                        int minimumValue, int maximumValue, int controlType, int kind)
{
    holdGesture(false);
    parameterIndex = index;
    awaitedValue = noValue; // a request for another parameter is awaited no more
    caption = captionText;
    layoutX = (float)x;
    layoutY = (float)(y - layoutYOffset);
    layoutWidth = width;
    layoutHeight = height;
    minimum = minimumValue;
    maximum = maximumValue;
    type = controlType;
    displayKind = kind;
    configured = true;
    const auto hostName = ParDes::hostParameterName(index);
    setTitle(hostName.isNotEmpty() ? hostName : captionText);
    invalidateAccessibilityHandler(); // the role follows the type
    shownValue = 0;
    // The shown value is 0 until another arrives, and a 0 arriving changes nothing: show its text now.
    valueText = minimum <= 0 && 0 <= maximum ? ParDes::formatParameterValue(displayKind, 0) : juce::String();
    setBounds(x, y - layoutYOffset, width, height);
    loadImages();
    if (type == knob)
    {
        knobFrame = 0;
        knobRange = maximum - minimum;
    }
}

void StsCont::loadImages()
{
    switch (type)
    {
        case knob:
            knobStrip = Pictures::get(Picture::knobStrip);
            knobBack = Pictures::get(Picture::knobBack);
            break;
        case menuBox:
            menuBoxImage = Pictures::get(Picture::menuBox);
            menuArrow = Pictures::get(Picture::menuArrow);
            menuOverlay = Pictures::get(Picture::menuOverlay);
            break;
        case switchRight:
        case switchBelow:
            switchStrip = Pictures::get(Picture::switchStrip);
            break;
        default:
            break;
    }
}

int StsCont::knobFrameFor(int value, int minimumValue, int maximumValue)
{
    const int range = maximumValue - minimumValue;
    if (range <= 0)
        return 0;
    // nearbyint rounds ties to even, as the strip was laid out for.
    const double frame = std::nearbyint(300.0 * (double)(value - minimumValue) / (double)range / 5.35);
    return juce::jlimit(0, 60, (int)frame);
}

void StsCont::setDisplayedValue(int value, const juce::String& text)
{
    const int clamped = juce::jlimit(minimum, maximum, value);
    if (clamped == awaitedValue)
        awaitedValue = noValue;
    if (clamped == shownValue)
        return;
    shownValue = clamped;
    if (type == knob)
        knobFrame = knobFrameFor(clamped, minimum, maximum);
    valueText = clamped == value ? text : ParDes::formatParameterValue(displayKind, clamped);
    gate.changed(*this);
    if (auto* handler = getAccessibilityHandler())
        handler->notifyAccessibilityEvent(juce::AccessibilityEvent::valueChanged);
}

void StsCont::showValue(int value)
{
    const int clamped = juce::jlimit(minimum, maximum, value);
    if (clamped != shownValue)
        setDisplayedValue(clamped, ParDes::formatParameterValue(displayKind, clamped));
}

void StsCont::setCaption(const juce::String& text)
{
    if (caption == text)
        return;
    caption = text;
    gate.changed(*this);
}

void StsCont::requestValue(int value)
{
    // Compare takes no edits: no echo would come, and keys would step from a value never stored.
    if (owner.getHistory().isComparing())
        return;
    requestedValue = juce::jlimit(minimum, maximum, value);
    // Until its echo comes back the control still shows the value before the last request: a
    // drag back to that value must still be asked for, or the echo would leave it elsewhere.
    if (requestedValue != shownValue || (awaitedValue != noValue && requestedValue != awaitedValue))
    {
        awaitedValue = requestedValue;
        owner.setParameterFromEditor(parameterIndex, requestedValue, false, true);
    }
}

void StsCont::toggle()
{
    // As for any request: compare takes no edits, and an echo awaited then would never come.
    if (owner.getHistory().isComparing())
        return;
    // A second click before the first one's echo toggles back, not to the same value again.
    requestedValue = getPendingValue() == 0 ? 1 : 0;
    awaitedValue = requestedValue;
    owner.setParameterFromEditor(parameterIndex, requestedValue, false, true);
}

void StsCont::setScale(float newScale)
{
    scale = newScale;
    applyLayoutBounds();
}

void StsCont::setOrigin(int x, int y)
{
    layoutX = (float)x;
    layoutY = (float)(y - layoutYOffset);
    applyLayoutBounds();
}

void StsCont::applyLayoutBounds()
{
    setBounds((int)(layoutX * scale), (int)(layoutY * scale), scaled((float)layoutWidth, scale),
              scaled((float)layoutHeight, scale));
}

void StsCont::setRepaintEnabled(bool shouldBeLive)
{
    gate.setLive(*this, shouldBeLive);
}

void StsCont::addListener(StsContListener* listener)
{
    const juce::ScopedLock sl(listenerLock);
    listeners.addIfNotAlreadyThere(listener);
}

void StsCont::removeListener(StsContListener* listener)
{
    const juce::ScopedLock sl(listenerLock);
    listeners.removeFirstMatchingValue(listener);
}

juce::PopupMenu StsCont::createValueMenu() const
{
    juce::PopupMenu menu;
    for (int v = 0; v <= maximum; ++v)
    {
        const auto text = ParDes::formatParameterValue(displayKind, v);
        if (text != "*/*")
            menu.addItem(v + 1, text, true, false);
    }
    return menu;
}

void StsCont::openValueMenu(juce::PopupMenu menu)
{
    AsyncMenu::show(std::move(menu), juce::PopupMenu::Options().withTargetComponent(this), *this,
                    [forParameter = parameterIndex](StsCont& c, int itemId) { c.valueMenuChosen(itemId, forParameter); });
}

void StsCont::valueMenuChosen(int itemId, int forParameter)
{
    const int value = itemId - 1;
    if (value < 0 || !configured || forParameter != parameterIndex || value > maximum)
        return;
    requestedValue = value;
    // Even the value already shown is sent: picking it is a deliberate edit.
    owner.setParameterFromEditor(parameterIndex, value, true, true);
}

//==== Mouse ==========================================================================================

void StsCont::mouseDown(const juce::MouseEvent& e)
{
    if (e.mods.isRightButtonDown())
    {
        dragging = false;
        const int index = parameterIndex, section = sectionId;
        ListenerCalls::tell(*this, listenerLock, listeners,
                            [&](StsContListener& l) { l.stsContMessage(rightClickMessage, index, section); });
        return;
    }

    downX = e.x;
    downY = e.y;
    // One host gesture from mouse down to mouse up, however long the drag pauses.
    switch (type)
    {
        case menuBox:
            if ((float)e.y < 18.0f * scale)
                menuArmed = true;
            break;
        case switchRight:
            if ((float)e.x < 25.0f * scale)
            {
                holdGesture(true);
                toggle();
            }
            break;
        case knob:
            holdGesture(true);
            dragging = true;
            dragStartValue = getPendingValue();
            break;
        case switchBelow:
        {
            const int half = (layoutWidth - 20) / 2;
            if ((float)half * scale < (float)e.x && (float)e.x < (float)(half + 20) * scale)
            {
                holdGesture(true);
                toggle();
            }
            break;
        }
        default:
            break;
    }
}

void StsCont::mouseDrag(const juce::MouseEvent& e)
{
    if (type != knob || !dragging)
        return;
    // Short ranges need fifteen pixels a step, or they would be impossible to set.
    const int divisor = maximum < 15 ? 15 : 1;
    const int requested = (e.x - downX) / divisor - (e.y - downY) / divisor + dragStartValue;
    requestValue(requested);
}

void StsCont::mouseUp(const juce::MouseEvent& e)
{
    const bool openMenu = !e.mods.isRightButtonDown() && type == menuBox && menuArmed && (float)e.y < 18.0f * scale;
    dragging = false;
    menuArmed = false;
    holdGesture(false);
    if (openMenu)
        openValueMenu(createValueMenu());
}

void StsCont::mouseWheelMove(const juce::MouseEvent&, const juce::MouseWheelDetails& wheel)
{
    // Notches come faster than their echoes: each steps on from the last value asked for.
    if (const int steps = wheelSteps.take(wheel); steps != 0)
        requestValue(getPendingValue() + steps);
}

//==== Painting =======================================================================================

void StsCont::paint(juce::Graphics& g)
{
    const float s = scale;
    if (drawBackgroundImage && backgroundImage.isValid())
        g.drawImageAt(backgroundImage, 0, 0);
    if (fillBackground)
        g.fillAll(backgroundColour);

    switch (type)
    {
        case knob:
            paintKnob(g, s);
            break;
        case menuBox:
            paintMenuBox(g, s);
            break;
        case switchRight:
            paintSwitch(g, s, 0.0f, false);
            break;
        case switchBelow:
            paintSwitch(g, s, (float)((layoutWidth - 37) / 2), true);
            break;
        default:
            break;
    }
}

void StsCont::paintKnob(juce::Graphics& g, float s)
{
    const int x = scaled((float)(layoutWidth / 2 - 16), s);
    const int size = scaled(47.0f, s);
    g.drawImage(knobBack, x, 0, size, size, 0, 0, 47, 47);
    g.drawImage(knobStrip, x, 0, size, size, knobFrame * 49, 0, 47, 47);

    const float w = (float)layoutWidth * s, h = (float)layoutHeight * s;
    g.setColour(juce::Colours::white);
    g.setFont(ZarnelLookAndFeel::arial(11.0f * s));
    g.drawText(valueText, juce::Rectangle<float>(0.0f, 9.0f * s, w, h), juce::Justification::centred, false);
    g.setFont(ZarnelLookAndFeel::arial(12.0f * s));
    g.drawText(caption, juce::Rectangle<float>(0.0f, 21.0f * s, w, h), juce::Justification::centred, false);
}

void StsCont::paintMenuBox(juce::Graphics& g, float s)
{
    const int boxHeight = scaled(18.0f, s);
    g.drawImage(menuBoxImage, 0, 0, scaled(200.0f, s), boxHeight, 0, 0, 200, 18);
    g.drawImage(menuArrow, scaled((float)(layoutWidth - 14), s), 0, scaled(14.0f, s), boxHeight, 0, 0, 14, 18);
    const int overlayWidth = scaled((float)layoutWidth, s);
    if (overlayWidth > 0 && boxHeight > 0
        && (stretchedOverlay.getWidth() != overlayWidth || stretchedOverlay.getHeight() != boxHeight))
    {
        stretchedOverlay = juce::Image(juce::Image::ARGB, overlayWidth, boxHeight, true);
        juce::Graphics og(stretchedOverlay);
        og.drawImage(menuOverlay, 0, 0, overlayWidth, boxHeight, 0, 0, 100, 17);
    }
    if (stretchedOverlay.isValid())
        g.drawImageAt(stretchedOverlay, 0, 0);

    const float w = (float)layoutWidth * s, h = (float)layoutHeight * s;
    const auto font = ZarnelLookAndFeel::arial(12.0f * s);
    g.setFont(font);
    g.setColour(menuValueColour);
    const juce::Rectangle<float> textArea(4.0f * s, 0.0f, w, 20.0f * s);
    const float arrowLeft = (float)(layoutWidth - 14) * s;
    if (textArea.getCentreX() + font.getStringWidthFloat(valueText) / 2.0f <= arrowLeft)
        g.drawText(valueText, textArea, juce::Justification::centred, false);
    else // long texts would run under the arrow: squeeze them into the room before it
        g.drawFittedText(valueText, textArea.withRight(arrowLeft).toNearestInt(), juce::Justification::centred, 1, 0.75f);
    g.setColour(juce::Colours::white);
    g.drawText(caption, juce::Rectangle<float>(0.0f, 10.0f * s, w, h), juce::Justification::centred, false);
}

void StsCont::paintSwitch(juce::Graphics& g, float s, float switchX, bool captionBelow)
{
    const int x = scaled(switchX, s);
    if (shownValue == 0 || shownValue == 1)
    {
        g.drawImage(switchStrip, x, 0, scaled(37.0f, s), scaled(20.0f, s), shownValue == 1 ? 36 : 0, 0, 37, 20);
        if (shownValue == 1)
        {
            g.setColour(switchGlow);
            g.fillEllipse((float)x, 0.0f, (captionBelow ? 36.0f : 37.0f) * s, 20.0f * s);
        }
    }

    const float w = (float)layoutWidth * s, h = (float)layoutHeight * s;
    g.setColour(juce::Colours::white);
    g.setFont(ZarnelLookAndFeel::arial(12.0f * s));
    if (captionBelow)
        g.drawText(caption, juce::Rectangle<float>(0.0f, 10.0f * s, w, h), juce::Justification::centred, false);
    else if (g.getCurrentFont().getStringWidthFloat(caption) <= w - 36.0f * s)
        g.drawText(caption, juce::Rectangle<float>(36.0f * s, 0.0f, w, h), juce::Justification::topLeft, false);
    else // a caption one pixel too long would lose its last letter to the control's edge
        g.drawFittedText(caption, juce::Rectangle<float>(36.0f * s, 0.0f, w - 36.0f * s, h).toNearestInt(),
                         juce::Justification::topLeft, 1, 0.85f);
}

} // namespace zarnel
