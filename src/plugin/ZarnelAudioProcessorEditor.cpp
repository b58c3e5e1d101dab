#include "ZarnelAudioProcessorEditor.h"

#include "ZarnelAudioProcessor.h"

#include "../ui/look/AsyncMenu.h"


namespace zarnel
{

ZarnelAudioProcessorEditor::ZarnelAudioProcessorEditor(ZarnelAudioProcessor& p)
    : AudioProcessorEditor(p), owner(p)
{
    setLookAndFeel(&look.get());

    // Read before the main component marks the instance's editor as opened.
    if (!owner.getState().editorOpenedBefore.load())
        if (const auto size = EditorSize::remembered(owner.getState().getSettings()))
        {
            owner.editorWidth = size->x;
            owner.editorHeight = size->y;
        }

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
    const auto size = EditorSize::limited(owner.editorWidth, owner.editorHeight);
    setSize(size.x, size.y);
}

ZarnelAudioProcessorEditor::~ZarnelAudioProcessorEditor()
{
    // While everything they point at still exists; menus of other editors stay open.
    AsyncMenu::dismissMenusOf(*this);
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
    return mainComp != nullptr && mainComp->windowKeyPressed(key);
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
