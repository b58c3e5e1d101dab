#include "WinMovCan.h"

#include "../look/Pictures.h"
#include "../widgets/ListenerCalls.h"

namespace zarnel
{

WinMovCan::WinMovCan() : picture(Pictures::get(Picture::windowClose))
{
    setSize(17, 30);
}

void WinMovCan::addListener(winToolListener* listener)
{
    const juce::ScopedLock sl(listenerLock);
    listeners.addIfNotAlreadyThere(listener);
}

void WinMovCan::removeListener(winToolListener* listener)
{
    const juce::ScopedLock sl(listenerLock);
    listeners.removeFirstMatchingValue(listener);
}

void WinMovCan::paint(juce::Graphics& g)
{
    g.drawImage(picture, 0, 0, 17, 15, 36, 0, 17, 15);
}

void WinMovCan::mouseDown(const juce::MouseEvent&)
{
    code = closeCode;
}

void WinMovCan::mouseUp(const juce::MouseEvent&)
{
    // Released anywhere: the press already chose to close.
    if (code != closeCode)
        return;
    requestClose();
}

void WinMovCan::requestClose()
{
    code = closeCode;
    const int told = code;
    ListenerCalls::tell(*this, listenerLock, listeners, [this, told](winToolListener& l) { l.winToolChanged(this, told); });
}

} // namespace zarnel
