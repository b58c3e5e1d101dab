#include "RateSlider.h"

#include "ButtonAccess.h"

#include "ui/look/Pictures.h"
#include "ui/look/ZarnelLookAndFeel.h"

namespace zarnel
{

RateSlider::RateSlider() : track(Pictures::get(Picture::rateTrack)), trackPressed(Pictures::get(Picture::rateTrackPressed))
{
    setSize(200, 18);
    ButtonAccess::takeFocusFromKeys(*this);
    setTitle("Rate");
}

bool RateSlider::keyPressed(const juce::KeyPress& key)
{
    const int direction = ButtonAccess::arrowDirection(key);
    if (direction == 0)
        return false;
    const int amount = key.getModifiers().isShiftDown() ? (int)maximum / 10 : 1;
    setMilliseconds(getMilliseconds() + direction * amount);
    return true;
}

std::unique_ptr<juce::AccessibilityHandler> RateSlider::createAccessibilityHandler()
{
    return ButtonAccess::makeValueHandler(*this, {[this] { return getTitle(); }, [this] { return (double)value; },
                                                  [this] { return juce::String(getMilliseconds()) + " ms"; },
                                                  [this](double v) { setMilliseconds((int)std::lround(v)); }, 0.0,
                                                  (double)maximum});
}

RateSlider::~RateSlider()
{
    stopTimer();
}

void RateSlider::setMilliseconds(int milliseconds)
{
    store(milliseconds);
    sendChangeMessage();
}

void RateSlider::showMilliseconds(int milliseconds)
{
    store(milliseconds);
}

void RateSlider::store(int milliseconds)
{
    float v = (float)milliseconds;
    if (v < 0.0f)
        v = 0.0f;
    if (v > maximum)
        v = maximum;
    value = v;
    repaint();
}

void RateSlider::mouseDown(const juce::MouseEvent& e)
{
    if (e.x <= 17)
    {
        leftPressed = true;
        step = -1;
        startTimer(stepIntervalMs);
    }
    else if (e.x >= 183)
    {
        rightPressed = true;
        step = 1;
        startTimer(stepIntervalMs);
    }
    else
    {
        dragging = true;
    }
    repaint();
}

void RateSlider::mouseDrag(const juce::MouseEvent& e)
{
    if (!dragging)
        return;
    // In float, as the track's scale is: 82 pixels make exactly 500 ms.
    const float ms = (float)(e.x - 18) / pixelsPerMillisecond;
    setMilliseconds((int)ms);
}

void RateSlider::mouseUp(const juce::MouseEvent&)
{
    leftPressed = rightPressed = dragging = false;
    stopTimer();
    repaint();
}

void RateSlider::timerCallback()
{
    setMilliseconds((int)value + step);
}

void RateSlider::paint(juce::Graphics& g)
{
    g.fillAll(juce::Colours::white);
    g.drawImageAt(track, 0, 0);
    if (leftPressed)
        g.drawImage(trackPressed, 0, 0, 18, 18, 0, 0, 18, 18);
    if (rightPressed)
        g.drawImage(trackPressed, 182, 0, 18, 18, 182, 0, 18, 18);

    const int a = (int)(value * pixelsPerMillisecond);
    g.setColour(juce::Colours::black);
    g.fillRect(a + 18, 1, 164 - a, 16);

    g.setColour(juce::Colour(0xFFFFF2FF));
    g.setFont(ZarnelLookAndFeel::arial(13.0f));
    g.drawText(juce::String((int)value) + " ms", 28, 0, 140, 18, juce::Justification::centred, true);
}

} // namespace zarnel
