#pragma once

#include "ControlSet.h"

#include "ui/widgets/LCD_Comp.h"
#include "ui/widgets/StsBut.h"
#include "ui/widgets/StsCont.h"

#include <juce_gui_basics/juce_gui_basics.h>


namespace zarnel
{

class ZarnelAudioProcessor;

// The page on which every parameter of the program being edited is seen and edited, drawn as the
// instrument's front panel from the control table. Its controls ask the processor for values
// themselves; the main component tells it every value that changed. Its own news is a section
// request (a right-click on a control, an envelope or a section's background): one change message,
// the code 100 + section in getSectionRequestCode().
class EditorPanel : public juce::Component,
                    public StsContListener,
                    public juce::ChangeListener,
                    public juce::ChangeBroadcaster
{
public:
    static constexpr int sequencerButtonId = 98;
    static constexpr juce::uint32 backgroundColour = 0xFF525252;
    static constexpr juce::uint32 sectionColour = 0xFF303030;
    static constexpr juce::uint32 sectionOutlineColour = 0xFF151515;
    static constexpr float sidePiecesFromScale = 0.5f;

    explicit EditorPanel(ZarnelAudioProcessor& owner);
    ~EditorPanel() override;

    void setScale(float newScale);
    float getScale() const noexcept { return scale; }

    // Shows a parameter's value on its control and, for the envelope stages, on the envelope. A
    // missing control or an unconfigured slot is ignored.
    void setControlValue(StsCont* control, int value);
    void setRepaintEnabled(bool shouldBeLive);
    bool isRepaintEnabled() const noexcept { return gate.isLive(); }
    // Repaints the whole panel, or marks it for later while repainting is off.
    void repaintPanel();

    StsCont* getControl(int parameterIndex) const noexcept { return set.getControl(parameterIndex); }
    Envel& getEnvelope(int envelope) const noexcept { return set.getEnvelope(envelope); }
    LCD_Comp& getProgramDisplay() noexcept { return programDisplay; }
    StsBut& getSequencerButton() noexcept { return sequencerButton; }
    int getSectionRequestCode() const noexcept { return sectionRequestCode; }

    void paint(juce::Graphics& g) override;
    void mouseDown(const juce::MouseEvent& e) override;
    void stsContMessage(int message, int parameterIndex, int sectionId) override;
    void changeListenerCallback(juce::ChangeBroadcaster* source) override;

private:
    void requestSection(int section);
    // Everything the panel draws itself, for the current size and scale.
    void paintBackground(juce::Graphics& g) const;

    juce::Image sideLeft, sideRight, logo, mark, tile;
    LCD_Comp programDisplay;
    StsBut sequencerButton{"SEQUENCER", sequencerButtonId, StsBut::plain};
    float scale = 1.0f;
    ControlSet set;
    int sectionRequestCode = 0;
    RepaintGate gate;
    // The panel's own drawing, kept as a picture: with 115 opaque children its clip region is
    // complex, and one image costs far less to draw through it than the tiles, sections and texts.
    juce::Image background;
    float backgroundScale = 0.0f;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(EditorPanel)
};

} // namespace zarnel
