#pragma once

#include "Lib_Manager_Comp.h"

#include "../../plugin/WindowPositionKeeper.h"

#include <juce_gui_basics/juce_gui_basics.h>

namespace zarnel
{

// The library manager's own top-level window: no title bar, black, holding one Lib_Manager_Comp.
// Made on first use and kept, hidden when closed, until the main component goes.
class Lib_Manager_Win : public juce::DocumentWindow
{
public:
    static constexpr int width = 1000;
    static constexpr int height = 620;

    Lib_Manager_Win(ZarnelAudioProcessor& processor, CommandHost& host, const juce::File& libraryFile);

    Lib_Manager_Comp& getContent() noexcept { return *content; }
    // Shows it on the desktop and in front.
    void bringUp();
    // Tests run without a window manager, where a window of its own cannot be shown.
    static inline bool showOnDesktop = true;
    void closeButtonPressed() override;
    // No frame: the content fills the whole 1000 x 620.
    juce::BorderSize<int> getBorderThickness() override { return {}; }
    juce::BorderSize<int> getContentComponentBorder() override { return {}; }

private:
    Lib_Manager_Comp* content;
    // An idle window slides under framing window managers otherwise.
    WindowPositionKeeper position{*this};
};

} // namespace zarnel
