#pragma once

#include "../ui/look/ZarnelLookAndFeel.h"
#include "EditorSize.h"
#include "../ui/main/MainComp.h"
#include "../ui/widgets/TipWindow.h"
#include "RepaintFallback.h"
#include "WindowPositionKeeper.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <memory>

namespace zarnel
{

class ZarnelAudioProcessor;

// The window frame: the main component, a resize corner, size limits and tooltips. The size is
// remembered by the processor, so the next opening uses it; the first opening in an instance
// takes the size the settings remember. Menus opened from the editor close with it.
class ZarnelAudioProcessorEditor : public juce::AudioProcessorEditor
{
public:
    static constexpr int minWidth = EditorSize::minWidth;
    static constexpr int minHeight = EditorSize::minHeight;
    static constexpr int maxWidth = EditorSize::maxWidth;
    static constexpr int maxHeight = EditorSize::maxHeight;
    static constexpr int cornerSize = 16;

    explicit ZarnelAudioProcessorEditor(ZarnelAudioProcessor& processor);
    ~ZarnelAudioProcessorEditor() override;

    void paint(juce::Graphics& g) override;
    void resized() override;
    // Reached when no child has the focus (clicks on controls take none): undo and redo keys, or
    // the answers of an open overlay.
    bool keyPressed(const juce::KeyPress& key) override;

    MainComp& getMainComp() noexcept { return *mainComp; }
    juce::ComponentBoundsConstrainer& getLimits() noexcept { return limits; }

private:
    ZarnelAudioProcessor& owner;
    ScopedZarnelLook look; // before the children, so they are built with it
    juce::ComponentBoundsConstrainer limits;
    TipWindow tooltips{this, 700};
    std::unique_ptr<MainComp> mainComp;
    std::unique_ptr<juce::ResizableCornerComponent> corner;
    RepaintFallback repaints{*this};
    WindowPositionKeeper position{*this};

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(ZarnelAudioProcessorEditor)
};

} // namespace zarnel
