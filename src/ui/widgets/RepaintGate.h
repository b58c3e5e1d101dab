#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

namespace zarnel
{

// While a panel is covered (by the section zoom), changes to its widgets only mark them; each
// repaints once when repainting is switched on again. One gate per widget.
class RepaintGate
{
public:
    // A change to show: repainted now, or marked while the gate is closed.
    void changed(juce::Component& component)
    {
        if (live)
            component.repaint();
        else
            dirty = true;
    }

    // A marked widget repaints once, whichever way the gate is set.
    void setLive(juce::Component& component, bool shouldBeLive)
    {
        live = shouldBeLive;
        if (dirty)
        {
            dirty = false;
            component.repaint();
        }
    }

    bool isLive() const noexcept { return live; }
    bool isDirty() const noexcept { return dirty; }

private:
    bool live = true, dirty = false;
};

} // namespace zarnel
