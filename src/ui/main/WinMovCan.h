#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

namespace zarnel
{

class WinMovCan;

// Told the tool code of a window handle (122: close).
class winToolListener
{
public:
    virtual ~winToolListener() = default;
    virtual void winToolChanged(WinMovCan* handle, int code) = 0;
};

// The close handle of a tool window: a press records "close", the release tells the listeners.
class WinMovCan : public juce::Component
{
public:
    static constexpr int closeCode = 122;

    WinMovCan();

    void addListener(winToolListener* listener);
    void removeListener(winToolListener* listener);

    void paint(juce::Graphics& g) override;
    void mouseDown(const juce::MouseEvent& e) override;
    void mouseUp(const juce::MouseEvent& e) override;

    int getCode() const noexcept { return code; }
    // Tells the listeners "close" as a click on the handle does (a DONE button elsewhere).
    void requestClose();

private:
    juce::CriticalSection listenerLock;
    juce::Array<winToolListener*> listeners;
    juce::Image picture;
    int code = 0;
};

} // namespace zarnel
