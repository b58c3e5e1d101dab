#include "HistoryBar.h"

#include "AppBarLayout.h"
#include "../widgets/TipText.h"

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
    const auto* captions = AppBarLayout::historyCaptions;
    undoButton = std::make_unique<StsBut>(captions[0], undoCode, StsBut::tab);
    redoButton = std::make_unique<StsBut>(captions[1], redoCode, StsBut::tab);
    compareButton = std::make_unique<StsBut>(captions[2], compareCode, StsBut::tab);
    const struct
    {
        StsBut* button;
        int x, width;
        const char* tip;
    } placed[] = {
        {undoButton.get(), 0, 44, "UNDO: takes back the last change to the program (Ctrl+Z)."},
        {redoButton.get(), 47, 44, "REDO: makes the change you took back again (Ctrl+Y)."},
        {compareButton.get(), 94, 58,
         "COMPARE: switches between the edited program and the program as it was before the edits."}};
    for (const auto& b : placed)
    {
        b.button->configure(b.x, 2, b.width, 18, true);
        b.button->addListener(this);
        TipText::set(*b.button, b.tip);
        addAndMakeVisible(*b.button);
    }
    lightCompare();
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
    const auto places = AppBarLayout::forWidth(width);
    setBounds(places.history.withHeight(height));
    StsBut* order[] = {undoButton.get(), redoButton.get(), compareButton.get()};
    for (size_t i = 0; i < places.historyButtons.size(); ++i)
    {
        const auto& r = places.historyButtons[i];
        order[i]->configure(r.getX(), r.getY(), r.getWidth(), r.getHeight(), true);
        order[i]->setFontHeight(places.buttonFont);
    }
    lightCompare(); // configuring a button gives it its style's colours again
}

void HistoryBar::lightCompare()
{
    if (auto* inner = compareButton->getInnerButton())
    {
        inner->setColour(juce::TextButton::buttonOnColourId, juce::Colour(comparingColour));
        inner->setColour(juce::TextButton::textColourOnId, juce::Colours::black);
    }
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
