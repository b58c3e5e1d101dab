#include "RenameCnt.h"
#include "TextField.h"

#include "ui/look/ZarnelLookAndFeel.h"

namespace zarnel
{

RenameCnt::RenameCnt(int x, int y, const juce::String& name)
{
    editor = std::make_unique<TextField>();
    editor->setMultiLine(false);
    editor->setTitle("Program name");
    // Program names are 16 characters on the synthesizer.
    editor->setInputRestrictions(16);
    editor->setFont(ZarnelLookAndFeel::arial(14.0f));
    editor->setColour(juce::TextEditor::highlightColourId, juce::Colour(0x40FFFFFF));
    editor->setText(name, false);
    editor->setBounds(0, 0, 180, 24);
    addAndMakeVisible(*editor);

    cancel = std::make_unique<StsBut>("Cancel", cancelId, StsBut::dialog);
    cancel->configure(0, 26, 50, 18, true);
    addAndMakeVisible(*cancel);

    ok = std::make_unique<StsBut>("OK", okId, StsBut::dialog);
    ok->configure(130, 26, 50, 18, true);
    addAndMakeVisible(*ok);

    setBounds(x, y, 180, 43);
}

RenameCnt::~RenameCnt() = default;

juce::String RenameCnt::getText() const
{
    return editor->getText();
}

void RenameCnt::paint(juce::Graphics& g)
{
    g.fillAll(juce::Colour(0xFF221414));
}

} // namespace zarnel
