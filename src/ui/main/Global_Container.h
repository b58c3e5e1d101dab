#pragma once

#include "GlbCont.h"
#include "Global_Listener.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <array>
#include <memory>

namespace zarnel
{

class MidiCntrState;

// The global settings page: the synthesizer's 19 global settings as knobs, menu boxes and
// switches, and a close mark. It never closes itself: its owner hears the close request and
// removes it once the request's call has returned.
class Global_Container : public juce::Component
{
public:
    explicit Global_Container(MidiCntrState& state);
    ~Global_Container() override;

    void addGlobalListener(Global_Listener* listener);
    void removeGlobalListener(Global_Listener* listener);

    // Shows a control's value again; an index that is not one of the 19 changes nothing.
    void repaintControl(int index);
    // Shows the values as the instrument's once a global dump has arrived; until then they are
    // marked as not received, so defaults are never taken for the instrument's settings.
    void showWhetherReceived();
    bool isShowingNotReceived() const noexcept { return notReceived; }
    static constexpr const char* notReceivedText = "Not received yet: these are defaults, not the Mopho x4's settings.";
    GlbCont* getControl(int index) noexcept;

    void paint(juce::Graphics& g) override;
    void resized() override;
    void mouseDown(const juce::MouseEvent& e) override;

private:
    void renderBackground();

    MidiCntrState& state;
    std::array<std::unique_ptr<GlbCont>, 19> controls;
    juce::CriticalSection listenerLock;
    juce::Array<Global_Listener*> listeners;
    juce::Image closeImage;
    juce::Image background;
    bool notReceived = false;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(Global_Container)
};

} // namespace zarnel
