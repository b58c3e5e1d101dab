#include "MIDI_scan.h"

#include "FitScale.h"
#include "../widgets/TipText.h"

#include "../look/ZarnelLookAndFeel.h"

#include "../../midi/MidiCntrState.h"

namespace zarnel
{

MIDI_scan::MIDI_scan(MidiCntrState& s) : state(s)
{
    button.configure(0, 0, 74, 18, true);
    button.addChangeListener(this);
    addAndMakeVisible(button);
    setTitle("MIDI port search");
    setWantsKeyboardFocus(true);
    setFocusContainerType(FocusContainerType::keyboardFocusContainer);
    refresh();
}

MIDI_scan::~MIDI_scan()
{
    button.removeChangeListener(this);
}

void MIDI_scan::refresh()
{
    const auto& search = state.getPortSearch();
    shown = search.report();
    phase = search.getPhase();
    running = search.isRunning();
    progress = search.getNumPairs() > 0 ? (float)(search.getPairIndex() + 1) / (float)search.getNumPairs() : 0.0f;
    button.setCaption(running ? "CANCEL" : "OK");
    TipText::set(button, running ? "CANCEL: stops the search and puts the MIDI ports back as they were (Escape)."
                                   : "OK: closes this report (Return or Escape).");
    resized();
    repaint();
}

juce::Rectangle<int> MIDI_scan::box() const
{
    // Tall enough for every line the report has, the button below them.
    const int h = juce::jmax(minBoxHeight, 52 + 19 * shown.lines.size() + 48);
    return {0, 0, boxWidth, h};
}

juce::AffineTransform MIDI_scan::boxTransform() const
{
    const auto b = box();
    const float x = ((float)getWidth() - (float)b.getWidth() * scale) / 2.0f;
    const float y = ((float)getHeight() - (float)b.getHeight() * scale) / 2.0f;
    return juce::AffineTransform::scale(scale).translated(juce::jmax(0.0f, x), juce::jmax(0.0f, y));
}

void MIDI_scan::resized()
{
    const auto b = box();
    scale = FitScale::toFit(getWidth(), getHeight(), b.getWidth() + 2 * margin, b.getHeight() + 2 * margin);
    button.setTopLeftPosition(b.getRight() - 94, b.getBottom() - 32);
    button.setTransform(boxTransform());
    repaint();
}

bool MIDI_scan::keyPressed(const juce::KeyPress& key)
{
    // One button: it is the default and the cancel at once.
    if (key == juce::KeyPress::escapeKey || key == juce::KeyPress::returnKey
        || (key == juce::KeyPress::spaceKey && hasKeyboardFocus(false)))
    {
        sendChangeMessage();
        return true;
    }
    if (hasKeyboardFocus(false) && key.getKeyCode() == juce::KeyPress::tabKey)
    {
        if (auto* inner = button.getInnerButton())
            inner->grabKeyboardFocus();
        return true;
    }
    return false;
}

void MIDI_scan::stsbutChanged(StsBut* source)
{
    if (source == &button)
        sendChangeMessage();
}

void MIDI_scan::paint(juce::Graphics& g)
{
    g.fillAll(juce::Colour(0x66000000));
    g.addTransform(boxTransform());
    const auto b = box().toFloat();
    g.setColour(juce::Colour(0x56000000));
    g.fillRoundedRectangle(b.translated(10.0f, 10.0f), 10.0f);
    g.setColour(juce::Colour(0xf015222a));
    g.fillRoundedRectangle(b, 10.0f);
    g.setColour(juce::Colour(0xdd457089));
    g.drawRoundedRectangle(b, 10.0f, 3.0f);

    const int x = (int)b.getX() + 24;
    int y = (int)b.getY() + 18;
    const bool warning = phase == PortSearch::Phase::nothingAnswered || phase == PortSearch::Phase::noPorts;
    g.setColour(warning ? juce::Colour(0xffff6a5a) : juce::Colours::white);
    g.setFont(ZarnelLookAndFeel::arial(18.0f, juce::Font::bold));
    g.drawText(shown.title, x, y, (int)b.getWidth() - 48, 24, juce::Justification::centredLeft, true);
    y += 34;

    g.setFont(ZarnelLookAndFeel::arial(14.0f));
    for (const auto& line : shown.lines)
    {
        g.setColour(line == "WARNING!" ? juce::Colour(0xffffb35a) : juce::Colour(0xffdddddd));
        g.drawText(line, x, y, (int)b.getWidth() - 48, 18, juce::Justification::centredLeft, true);
        y += 19;
    }

    if (running)
    {
        const juce::Rectangle<float> track((float)x, b.getBottom() - 28.0f, b.getWidth() - 150.0f, 10.0f);
        g.setColour(juce::Colour(0xff767681));
        g.fillRoundedRectangle(track, 3.0f);
        g.setColour(juce::Colour(0xff37a6c8));
        g.fillRoundedRectangle(track.withWidth(track.getWidth() * progress), 3.0f);
    }
}

} // namespace zarnel
