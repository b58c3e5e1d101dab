#include "HistoryBar.h"

#include "../../plugin/ZarnelAudioProcessor.h"

namespace zarnel
{

namespace
{
constexpr juce::uint32 comparingColour = 0xffd08a1c;
constexpr int refreshMs = 150;
} // namespace

HistoryBar::HistoryBar(ZarnelAudioProcessor& p) : processor(p)
{
    setInterceptsMouseClicks(false, true);
    undoButton = std::make_unique<StsBut>("UNDO", undoCode, StsBut::tab);
    redoButton = std::make_unique<StsBut>("REDO", redoCode, StsBut::tab);
    compareButton = std::make_unique<StsBut>("COMPARE", compareCode, StsBut::tab);
    const struct
    {
        StsBut* button;
        int x, width;
    } placed[] = {{undoButton.get(), 0, 44}, {redoButton.get(), 47, 44}, {compareButton.get(), 94, 58}};
    for (const auto& b : placed)
    {
        b.button->configure(b.x, 2, b.width, 18, true);
        b.button->addListener(this);
        addAndMakeVisible(*b.button);
    }
    if (auto* inner = compareButton->getInnerButton())
    {
        inner->setColour(juce::TextButton::buttonOnColourId, juce::Colour(comparingColour));
        inner->setColour(juce::TextButton::textColourOnId, juce::Colours::black);
    }
    refresh();
    startTimer(refreshMs);
}

HistoryBar::~HistoryBar()
{
    stopTimer();
    processor.getHistory().holdStep(false);
    for (auto* b : {undoButton.get(), redoButton.get(), compareButton.get()})
        b->removeListener(this);
}

void HistoryBar::layoutIn(int width, int height)
{
    setBounds(juce::jmax(leftmostX, width - barWidth), 0, barWidth, height);
}

void HistoryBar::refresh()
{
    auto& history = processor.getHistory();
    const bool comparing = history.isComparing();
    undoButton->setEnabled(comparing || history.canUndo());
    redoButton->setEnabled(comparing || history.canRedo());
    if (auto* inner = compareButton->getInnerButton())
        inner->setToggleState(comparing, juce::dontSendNotification);
}

void HistoryBar::mouseDown(const juce::MouseEvent&)
{
    processor.getHistory().holdStep(true);
}

void HistoryBar::mouseUp(const juce::MouseEvent& e)
{
    // mouseUp's modifiers still hold the button just released.
    if (e.mods.getNumMouseButtonsDown() <= 1)
        processor.getHistory().holdStep(false);
}

void HistoryBar::timerCallback()
{
    // A component removed under the mouse never hears its button go up.
    auto& history = processor.getHistory();
    if (history.isStepHeld() && !juce::ModifierKeys::currentModifiers.isAnyMouseButtonDown())
        history.holdStep(false);
    refresh();
}

bool HistoryBar::keyPressed(const juce::KeyPress& key, juce::Component*)
{
    const auto command = juce::ModifierKeys::commandModifier;
    const auto shift = juce::ModifierKeys::shiftModifier;
    if (key == juce::KeyPress('z', command, 0))
        carryOut(undoCode);
    else if (key == juce::KeyPress('y', command, 0) || key == juce::KeyPress('z', command | shift, 0))
        carryOut(redoCode);
    else
        return false;
    return true;
}

void HistoryBar::stsbutPressed(int id)
{
    carryOut(id);
}

void HistoryBar::carryOut(int code)
{
    switch (code)
    {
        case undoCode:
            processor.undo();
            break;
        case redoCode:
            processor.redo();
            break;
        case compareCode:
            processor.setComparing(!processor.getHistory().isComparing());
            break;
        default:
            return;
    }
    refresh();
}

} // namespace zarnel
