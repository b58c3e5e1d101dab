#include "ZarnelAudioProcessorEditor.h"

#include "ZarnelAudioProcessor.h"


namespace zarnel
{

ZarnelAudioProcessorEditor::ZarnelAudioProcessorEditor(ZarnelAudioProcessor& p)
    : AudioProcessorEditor(p), owner(p)
{
    setLookAndFeel(&look.get());

    mainComp = std::make_unique<MainComp>(owner);
    mainComp->setBounds(0, 0, 10, 10);
    addAndMakeVisible(*mainComp);

    corner = std::make_unique<juce::ResizableCornerComponent>(this, &limits);
    addAndMakeVisible(*corner);

    limits.setSizeLimits(minWidth, minHeight, maxWidth, maxHeight);
    setResizable(true, false);
    setConstrainer(&limits);
    // Hosts may force any size on the window (VST3 resizes are not constrained); what is
    // remembered from such a size must not become the next opening's size.
    setSize(juce::jlimit(minWidth, maxWidth, owner.editorWidth), juce::jlimit(minHeight, maxHeight, owner.editorHeight));
}

ZarnelAudioProcessorEditor::~ZarnelAudioProcessorEditor()
{
    corner.reset();
    mainComp.reset();
    setLookAndFeel(nullptr);
}

void ZarnelAudioProcessorEditor::paint(juce::Graphics& g)
{
    g.fillAll(juce::Colour(0xff000000));
}

bool ZarnelAudioProcessorEditor::keyPressed(const juce::KeyPress& key)
{
    return mainComp != nullptr && mainComp->getHistoryBar().keyPressed(key, this);
}

void ZarnelAudioProcessorEditor::resized()
{
    if (mainComp != nullptr)
        mainComp->setBounds(0, 0, getWidth(), getHeight());
    if (corner != nullptr)
    {
        corner->setBounds(getWidth() - cornerSize, getHeight() - cornerSize, cornerSize, cornerSize);
        corner->toFront(false);
    }
    owner.editorWidth = getWidth();
    owner.editorHeight = getHeight();
}

} // namespace zarnel
