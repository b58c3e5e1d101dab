#pragma once

#include "GlobalPageLayout.h"

#include <juce_gui_basics/juce_gui_basics.h>

namespace zarnel
{

class MidiCntrState;

// One global setting on the global settings page: a knob, a menu box or a switch. It holds no
// value of its own: it paints what the controller state holds and hands every change to it,
// which sends it to the synthesizer only when the value really changes.
class GlbCont : public juce::Component, public juce::SettableTooltipClient
{
public:
    explicit GlbCont(MidiCntrState& state);

    // Takes its style, range and bounds from the page's table.
    void configure(int index);
    int getIndex() const noexcept { return index; }
    int getValue() const;
    // The value within 0 and the maximum, as drawn.
    int getShownValue() const;
    void setValue(int value);

    // The menu of a menu box; the answer comes back through menuChosen (item id = value + 1).
    juce::PopupMenu createMenu() const;
    void menuChosen(int result);

    void paint(juce::Graphics& g) override;
    void mouseDown(const juce::MouseEvent& e) override;
    void mouseDrag(const juce::MouseEvent& e) override;
    void mouseUp(const juce::MouseEvent& e) override;
    void mouseWheelMove(const juce::MouseEvent& e, const juce::MouseWheelDetails& wheel) override;
    // Arrows step the value (Shift: by ten); Return or Space opens a menu box's menu.
    bool keyPressed(const juce::KeyPress& key) override;
    std::unique_ptr<juce::AccessibilityHandler> createAccessibilityHandler() override;

private:
    MidiCntrState& state;
    int index = -1;
    GlobalPageLayout::Style style = GlobalPageLayout::menuBox;
    int maximum = 0;
    float scale = 1.0f;
    int dragStartX = 0, dragStartY = 0, dragStartValue = 0;
    bool dragging = false, menuArmed = false;
    juce::Image menuBox, switchStrip, knobBack, knobStrip;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(GlbCont)
};

} // namespace zarnel
