#pragma once

#include "ui/look/ZarnelLookAndFeel.h"
#include "support/MessagePump.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <cstring>
#include <functional>
#include <new>
#include <utility>

namespace zarnel::test
{

// JUCE's GUI side with our look as the default, as the editor has it.
struct UiEnvironment
{
    juce::ScopedJuceInitialiser_GUI juce;
    ScopedZarnelLook look;
};

inline juce::ModifierKeys leftButton()
{
    return juce::ModifierKeys(juce::ModifierKeys::leftButtonModifier);
}

inline juce::ModifierKeys rightButton()
{
    return juce::ModifierKeys(juce::ModifierKeys::rightButtonModifier);
}

// A mouse event at (x, y) in the component's own pixels, as the component's handlers receive it.
inline juce::MouseEvent mouseAt(juce::Component& c, int x, int y, juce::ModifierKeys mods = leftButton())
{
    const auto now = juce::Time::getCurrentTime();
    const juce::Point<float> at((float)x, (float)y);
    return juce::MouseEvent(juce::Desktop::getInstance().getMainMouseSource(), at, mods,
                            juce::MouseInputSource::defaultPressure, juce::MouseInputSource::defaultOrientation,
                            juce::MouseInputSource::defaultRotation, juce::MouseInputSource::defaultTiltX,
                            juce::MouseInputSource::defaultTiltY, &c, &c, now, at, now, 1, false);
}

inline juce::MouseWheelDetails wheel(float deltaY)
{
    juce::MouseWheelDetails w{};
    w.deltaX = 0.0f;
    w.deltaY = deltaY;
    w.isReversed = false;
    w.isSmooth = false;
    w.isInertial = false;
    return w;
}

// Change messages of one broadcaster, delivered at once instead of through the message loop.
struct ChangeCounter : juce::ChangeListener
{
    explicit ChangeCounter(juce::ChangeBroadcaster& b) : broadcaster(b) { broadcaster.addChangeListener(this); }
    ~ChangeCounter() override { broadcaster.removeChangeListener(this); }

    int count()
    {
        broadcaster.dispatchPendingMessages();
        return received;
    }

    void changeListenerCallback(juce::ChangeBroadcaster*) override { ++received; }

    juce::ChangeBroadcaster& broadcaster;
    int received = 0;
};

// Collects what a component tree asks to have repainted, as a window's peer does: a list of
// rectangles. Attached to the top component (which must be visible, though it need not be on the
// desktop), it is told every repaint request of every child, in the top component's coordinates;
// it does not change how the tree paints.
class RepaintRecorder : public juce::CachedComponentImage
{
public:
    explicit RepaintRecorder(juce::Component& top) : component(top) {}

    void paint(juce::Graphics& g) override { component.paintEntireComponent(g, false); }
    bool invalidateAll() override
    {
        area = component.getLocalBounds();
        ++requests;
        return true;
    }
    bool invalidate(const juce::Rectangle<int>& r) override
    {
        area.add(r);
        ++requests;
        return true;
    }
    void releaseResources() override {}

    // Everything asked for since the last take, and forgets it.
    juce::RectangleList<int> take()
    {
        auto r = area;
        area.clear();
        requests = 0;
        return r;
    }
    int getRequests() const noexcept { return requests; }

private:
    juce::Component& component;
    juce::RectangleList<int> area;
    int requests = 0;
};

// A widget built in storage the test owns. Once destroyed the storage is filled with a pattern, so
// code that still reads the widget's members reads nonsense instead of what the allocator left.
template <typename T>
struct Doomed
{
    template <typename... Args>
    T& make(Args&&... args)
    {
        object = new (storage) T(std::forward<Args>(args)...);
        return *object;
    }

    void destroy()
    {
        if (object == nullptr)
            return;
        object->~T();
        object = nullptr;
        std::memset(storage, 0x5A, sizeof storage);
    }

    ~Doomed() { destroy(); }

    alignas(T) unsigned char storage[sizeof(T)];
    T* object = nullptr;
};

// Runs the message loop until the condition holds or the time is up.
inline bool runUntil(const std::function<bool()>& condition, int timeoutMs)
{
    const auto end = juce::Time::getMillisecondCounter() + (juce::uint32)timeoutMs;
    while (!condition())
    {
        if (juce::Time::getMillisecondCounter() > end)
            return false;
        zarnel::test::pumpMessages(5);
    }
    return true;
}

} // namespace zarnel::test
