#include "PianoKey.h"

#include "ui/look/Pictures.h"
#include "ui/widgets/ButtonAccess.h"

namespace zarnel
{

PianoKey::PianoKey(int keyIndex, bool isBlack)
    : index(keyIndex), black(isBlack), up(Pictures::get(isBlack ? Picture::blackKey : Picture::whiteKey)),
      down(Pictures::get(isBlack ? Picture::blackKeyPressed : Picture::whiteKeyPressed))
{
    // The pad's overlay takes the mouse.
    setInterceptsMouseClicks(false, false);
}

void PianoKey::markPressed(int channel, int note, int velocity)
{
    sentChannel = channel;
    sentNote = note;
    lastVelocity = velocity;
    startTimer(pressRepaintMs);
}

void PianoKey::markReleased()
{
    sentNote = -1;
    startTimer(releaseRepaintMs);
}

void PianoKey::setLit(bool shouldBeLit)
{
    if (lit == shouldBeLit)
        return;
    lit = shouldBeLit;
    startTimer(lit ? pressRepaintMs : releaseRepaintMs);
}

void PianoKey::timerCallback()
{
    stopTimer();
    if (paintedPressed != looksPressed())
        repaint();
}

void PianoKey::paint(juce::Graphics& g)
{
    paintedPressed = looksPressed();
    g.drawImage(paintedPressed ? down : up, getLocalBounds().toFloat());
}

std::unique_ptr<juce::AccessibilityHandler> PianoKey::createAccessibilityHandler()
{
    return ButtonAccess::makeHandler(*this, {juce::AccessibilityRole::button,
                                             [this] { return accessName ? accessName() : juce::String(); },
                                             [this] {
                                                 if (accessPress)
                                                     accessPress();
                                             },
                                             {}});
}

} // namespace zarnel
