#pragma once

#include "../widgets/StsBut.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <memory>

namespace zarnel
{

class ZarnelAudioProcessor;

// Undo, redo and compare in the application bar's free right end, with their keys (Ctrl+Z,
// Ctrl+Y and Ctrl+Shift+Z; Cmd on macOS) heard from anywhere in the editor, and the mouse of the
// whole editor holding a step open while a button is down (a knob or envelope drag is one step
// however long it pauses). The history is the processor's, so it outlives this bar.
class HistoryBar : public juce::Component, public juce::KeyListener, private stsbutListener, private juce::Timer
{
public:
    enum Code
    {
        undoCode = 4101,
        redoCode = 4102,
        compareCode = 4103
    };

    explicit HistoryBar(ZarnelAudioProcessor& processor);
    ~HistoryBar() override;

    // At the right end of a bar this wide, as the bar's layout places it (shrunk on narrow bars).
    void layoutIn(int width, int height);
    // Enables the buttons and lights COMPARE as the history stands.
    void refresh();

    bool keyPressed(const juce::KeyPress& key, juce::Component* origin) override;
    using juce::Component::keyPressed;
    // Heard from every component of the editor.
    void mouseDown(const juce::MouseEvent& e) override;
    void mouseUp(const juce::MouseEvent& e) override;

    StsBut& getUndoButton() noexcept { return *undoButton; }
    StsBut& getRedoButton() noexcept { return *redoButton; }
    StsBut& getCompareButton() noexcept { return *compareButton; }

private:
    void stsbutPressed(int id) override;
    void timerCallback() override;
    void carryOut(int code);
    void lightCompare();

    ZarnelAudioProcessor& processor;
    std::unique_ptr<StsBut> undoButton, redoButton, compareButton;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(HistoryBar)
};

} // namespace zarnel
