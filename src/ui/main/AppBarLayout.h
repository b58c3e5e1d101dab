#pragma once

#include <juce_graphics/juce_graphics.h>

#include <array>

namespace zarnel
{

// Where everything of the application bar sits for a width. Wide bars keep the classic places;
// narrower ones pack the commands, then shrink them, so every button, the channel and the status
// stay on the bar at any window width. The bar's height never changes.
class AppBarLayout
{
public:
    static constexpr int numButtons = 7;
    static constexpr int numHistoryButtons = 3;
    // The status keeps the classic places down to this width; below it the row is packed.
    static constexpr int classicMinWidth = 910;
    // Below this the packed row shrinks.
    static constexpr int packedMinWidth = 800;
    // In bar order; the fonts are chosen so that each fits its button.
    static constexpr const char* buttonCaptions[numButtons] = {"MIDI", "BANK", "FILE", "EDIT", "Send", "Recv", "WRITE"};
    static constexpr const char* historyCaptions[numHistoryButtons] = {"UNDO", "REDO", "COMPARE"};

    struct Places
    {
        float scale = 1.0f;
        std::array<juce::Rectangle<int>, numButtons> buttons;
        juce::Rectangle<int> channel, status;
        juce::Rectangle<int> history;                                      // in the bar
        std::array<juce::Rectangle<int>, numHistoryButtons> historyButtons; // in the history part
        float buttonFont = 12.0f, channelFont = 12.0f, statusFont = 13.0f;
    };

    static Places forWidth(int width);

    AppBarLayout() = delete;
};

} // namespace zarnel
