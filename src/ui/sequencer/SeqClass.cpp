#include "SeqClass.h"

#include "ui/widgets/ButtonAccess.h"

#include "plugin/ZarnelAudioProcessor.h"
#include "ui/look/Pictures.h"
#include "ui/look/ZarnelLookAndFeel.h"
#include "ui/widgets/ListenerCalls.h"

#include <cstdlib>
#include <utility>

namespace zarnel
{

namespace
{
const juce::Colour gridColour(0xFF404040);
const juce::Colour boxBackground(0xFF0D0D0D), boxFace(0xFF565656), boxBevel(0xFF4E4E4E);
const juce::Colour codeDim(0xFF007777), codeLit(0xFF00FFFF);
const juce::Colour barFill(0x252287A0);
const juce::Colour labelEdge(0xFF4797EE), labelLine(0xFF0000FF), labelFill(0xFF133254);
} // namespace

SeqClass::SeqClass(ZarnelAudioProcessor& ownerProcessor, int trackNumber)
    : owner(ownerProcessor), track(trackNumber), background(Pictures::get(Picture::seqTrack)),
      glass(Pictures::get(Picture::seqGlass))
{
    setOpaque(true);
    setMouseCursor(juce::MouseCursor::CrosshairCursor);
    ButtonAccess::takeFocusFromKeys(*this);
}

SeqClass::~SeqClass()
{
    // Closed mid-drag: the host's gestures still end.
    releaseGestures();
}

void SeqClass::holdGesture(int step)
{
    if (step < 0 || step >= SeqSteps::numSteps || owner.isHoldCurrent(gestureHeld[(size_t)step]))
        return;
    gestureHeld[(size_t)step] = owner.beginEditorGesture(SeqSteps::parameterIndex(track, step));
}

void SeqClass::releaseGestures()
{
    for (int step = 0; step < SeqSteps::numSteps; ++step)
        if (const auto hold = std::exchange(gestureHeld[(size_t)step], 0u); hold != 0)
            owner.endEditorGesture(SeqSteps::parameterIndex(track, step), hold);
}

void SeqClass::setLayout(int x, int y, int width, int height)
{
    layout = {x, y, width, height};
    applyLayout();
}

void SeqClass::setScale(float newScale)
{
    scale = newScale;
    applyLayout();
}

void SeqClass::applyLayout()
{
    scaledWidth = (float)layout.getWidth() * scale;
    scaledHeight = (float)layout.getHeight() * scale;
    setBounds((int)((float)layout.getX() * scale), (int)((float)layout.getY() * scale), (int)scaledWidth,
              (int)scaledHeight);
}

void SeqClass::setMode(int newMode)
{
    if (mode == newMode)
        return;
    mode = newMode;
    dragging = false;
    repaint();
}

void SeqClass::setNoteDisplay(int destination)
{
    const bool notes = SeqSteps::isPitchDestination(destination);
    if (notes == noteDisplay)
        return;
    noteDisplay = notes;
    repaint();
}

void SeqClass::setSteps(const StepBytes& bytes)
{
    for (size_t i = 0; i < bytes.size(); ++i)
        shown[i] = dragValues[i] = SeqSteps::shownValueOf(bytes[i]);
    repaint();
}

void SeqClass::setStepValue(int step, int value)
{
    if (step < 0 || step >= SeqSteps::numSteps)
        return;
    const int v = juce::jlimit(0, SeqSteps::offCode, value);
    // A drag compares with what the step holds now, not with where the last drag left it: a step
    // changed on the instrument can be dragged back to its old value.
    dragValues[(size_t)step] = v;
    if (v == shown[(size_t)step])
        return;
    shown[(size_t)step] = v;
    repaintStep(step);
}

void SeqClass::repaintStep(int step)
{
    const int w = (int)(scaledWidth * 0.0625f);
    repaint(step * w, 0, w, (int)scaledHeight);
}

void SeqClass::addListener(SeqClassListener* listener)
{
    const juce::ScopedLock sl(listenerLock);
    listeners.addIfNotAlreadyThere(listener);
}

void SeqClass::removeListener(SeqClassListener* listener)
{
    const juce::ScopedLock sl(listenerLock);
    listeners.removeFirstMatchingValue(listener);
}

void SeqClass::send(int step, int value, bool notifyHostNow)
{
    owner.setParameterFromEditor(SeqSteps::parameterIndex(track, step), value, notifyHostNow, true);
}

//==== Mouse ==========================================================================================

void SeqClass::mouseDown(const juce::MouseEvent& e)
{
    dragging = false;
    if (mode == thumbnailMode)
    {
        const int number = track;
        ListenerCalls::tell(*this, listenerLock, listeners,
                            [number](SeqClassListener& l) { l.seqClassMessage(editRequestMessage, number, 0); });
        return;
    }
    if (!e.mods.isLeftButtonDown())
        return;
    const auto step = SeqSteps::stepAt(e.x, getStepWidth());
    currentStep = step.value_or(-1);
    if (!step)
        return;
    // One host gesture per step from mouse down to mouse up, however long the drag pauses.
    holdGesture(*step);
    if ((float)e.y >= 15.0f * getVy())
    {
        dragging = true;
        return;
    }
    // The top box: value, "RST", "OFF" and back.
    const int next = SeqSteps::topBoxNext(shown[(size_t)*step], saved[(size_t)*step]);
    send(*step, SeqSteps::quantized(next, quantize), true);
}

void SeqClass::mouseDrag(const juce::MouseEvent& e)
{
    if (!dragging)
        return;
    const int step = drawMode == pen ? SeqSteps::stepAt(e.x, getStepWidth()).value_or(-1) : currentStep;
    if (step < 0)
        return;
    const int v = SeqSteps::dragValueAt((float)e.y, getVy());
    if (v == dragValues[(size_t)step])
        return;
    dragValues[(size_t)step] = v;
    holdGesture(step);
    send(step, SeqSteps::quantized(v, quantize), false);
}

void SeqClass::mouseUp(const juce::MouseEvent&)
{
    dragging = false;
    releaseGestures();
}

void SeqClass::mouseWheelMove(const juce::MouseEvent& e, const juce::MouseWheelDetails& wheel)
{
    if (mode == thumbnailMode || wheel.deltaY == 0.0f)
        return;
    const auto step = SeqSteps::stepAt(e.x, getStepWidth());
    if (!step)
        return;
    if (const int steps = wheelSteps.take(wheel); steps != 0)
        stepValue(*step, steps > 0, std::abs(steps));
}

void SeqClass::stepValue(int step, bool up, int times)
{
    std::optional<int> next;
    for (int value = shown[(size_t)step]; times-- > 0;)
        if (const auto n = SeqSteps::wheelStep(value, up, quantize))
            next = value = *n;
    if (!next)
        return;
    shown[(size_t)step] = dragValues[(size_t)step] = *next;
    repaintStep(step);
    send(step, *next, false);
}

bool SeqClass::keyPressed(const juce::KeyPress& key)
{
    const int direction = ButtonAccess::arrowDirection(key);
    if (direction == 0 || mode == thumbnailMode)
        return false;
    const int code = key.getKeyCode();
    if (code == juce::KeyPress::leftKey || code == juce::KeyPress::rightKey)
    {
        keyStep = juce::jlimit(0, SeqSteps::numSteps - 1, keyStep + direction);
        if (auto* handler = getAccessibilityHandler())
            handler->notifyAccessibilityEvent(juce::AccessibilityEvent::titleChanged);
        return true;
    }
    stepValue(keyStep, direction > 0, key.getModifiers().isShiftDown() ? 10 : 1);
    return true;
}

std::unique_ptr<juce::AccessibilityHandler> SeqClass::createAccessibilityHandler()
{
    return ButtonAccess::makeValueHandler(
        *this, {[this] { return "Sequencer track " + juce::String(track + 1) + " step " + juce::String(keyStep + 1); },
                [this] { return (double)shown[(size_t)keyStep]; }, [this] { return getLabel(keyStep); },
                [this](double v) {
                    const int value = SeqSteps::quantized((int)std::lround(v), quantize);
                    shown[(size_t)keyStep] = dragValues[(size_t)keyStep] = value;
                    repaintStep(keyStep);
                    send(keyStep, value, true);
                },
                0.0, (double)SeqSteps::offCode});
}

//==== Painting =======================================================================================

void SeqClass::paint(juce::Graphics& g)
{
    const float hx = getHx(), vy = getVy();
    const float w = (float)getStepWidth();
    const float d = (float)(int)(scaledWidth * 0.0625f) - 2.0f * hx;

    g.drawImage(background, 0, 0, (int)scaledWidth, (int)scaledHeight, 0, 0, 458, 155);

    g.setColour(gridColour);
    const float left = 3.0f * hx, right = scaledWidth - 6.0f * hx;
    if (mode == editingMode)
    {
        for (int k = 12; k <= 177; k += 3)
            g.drawHorizontalLine((int)((float)k * vy + 4.0f * vy), left, right);
        for (int i = 0; i < SeqSteps::numSteps; ++i)
            g.drawVerticalLine((int)((float)i * w + w / 2.0f + 2.0f * hx), 30.0f * hx, scaledHeight);
    }
    else
    {
        for (int k = 24; k <= 144; k += 24)
            g.drawHorizontalLine((int)((float)k * vy + 4.0f * vy), left, right);
    }

    for (int i = 0; i < SeqSteps::numSteps; ++i)
        if (g.clipRegionIntersects(juce::Rectangle<float>((float)i * w, 0.0f, w + 1.0f, scaledHeight).toNearestInt()))
            paintStep(g, i, w, d, hx, vy);

    g.drawImage(glass, 0, 0, (int)scaledWidth, (int)scaledHeight, 0, 0, 458, 155);
}

void SeqClass::paintStep(juce::Graphics& g, int i, float w, float d, float hx, float vy) const
{
    const int v = shown[(size_t)i];
    const auto font = ZarnelLookAndFeel::arial(11.0f * hx);

    // The top box: the step's code, lit when it is set.
    const juce::Rectangle<float> box((float)i * w + 1.0f, 2.0f * vy, d, 13.0f * vy);
    g.setColour(boxBackground);
    g.fillRect(box);
    g.setColour(boxFace);
    g.fillRect(box.reduced(1.0f));
    g.setColour(boxBevel);
    g.drawHorizontalLine((int)box.getBottom() - 1, box.getX(), box.getRight());
    g.drawVerticalLine((int)box.getRight() - 1, box.getY(), box.getBottom());
    g.setFont(font);
    g.setColour(v >= SeqSteps::resetCode ? codeLit : codeDim);
    g.drawText(v == SeqSteps::offCode ? "OFF" : "RST", box, juce::Justification::centred, false);

    if (v >= SeqSteps::resetCode)
        return;

    const float unit = (scaledHeight - 30.0f * vy) / (float)SeqSteps::maxNoteValue;
    const float top = (float)(int)((float)(SeqSteps::maxNoteValue - v) * unit) + 17.0f * vy;
    const float x = (float)i * w + hx;
    const juce::Rectangle<float> bar(x, 13.0f * vy + top, d, juce::jmax(0.0f, scaledHeight - 5.0f * vy - (13.0f * vy + top)));
    g.setColour(barFill);
    g.fillRect(bar);
    g.setColour(juce::Colours::black);
    g.drawRect(bar, 1.0f);

    const juce::Rectangle<float> label(x, top, d, 13.0f * vy);
    if (hx < 0.2f)
    {
        g.setColour(labelEdge);
        g.fillRect(label);
        return;
    }
    g.setColour(boxBackground);
    g.fillRect(label);
    g.setColour(labelEdge);
    g.drawRect(label.reduced(1.0f), 1.0f);
    g.setColour(labelFill);
    g.fillRect(label.reduced(2.0f));
    g.setColour(labelLine);
    g.drawHorizontalLine((int)label.getBottom() - 2, label.getX() + 2.0f, label.getRight() - 2.0f);
    g.setColour(juce::Colours::white);
    g.setFont(font);
    g.drawText(SeqSteps::label(v, noteDisplay), label, juce::Justification::centred, false);
}

} // namespace zarnel
