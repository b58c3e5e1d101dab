#pragma once

#include "ControlSet.h"
#include "ZoomLayout.h"

#include "model/ProgramSysex.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <vector>

namespace zarnel
{

class ZarnelAudioProcessor;

// The section zoom: one section of the editor panel enlarged over the darkened editor window, with
// a complete second set of controls of which only that section's are visible. Its controls edit
// like the panel's; the main component feeds them values while it is shown. A click outside the
// enlarged section sends one change message (the main component then hides it).
class FlashPanel : public juce::Component,
                   public StsContListener,
                   public juce::ChangeListener,
                   public juce::ChangeBroadcaster
{
public:
    static constexpr juce::uint32 shadeColour = 0x77000000;
    static constexpr juce::uint32 frameColour = 0xFF303030;
    static constexpr juce::uint32 outlineColour = 0xFFAAAAAA;

    explicit FlashPanel(ZarnelAudioProcessor& owner);
    ~FlashPanel() override;

    // Lays the zoom out for one section in a window of the given size. Sections that do not open
    // (the display area, numbers out of range) change nothing.
    void showSection(int section, int availableWidth, int availableHeight);
    int getCurrentSection() const noexcept { return currentSection; }
    const std::vector<int>& getShownList() const noexcept { return shown; }
    const ZoomLayout::Placement& getPlacement() const noexcept { return placement; }
    juce::String getSectionName(int section) const;

    // As on the editor panel, but only for the controls of the section shown.
    void setControlValue(StsCont* control, int value);
    // After a program load: the shown controls take the program's values again.
    void refreshShown(const ProgramSysex::Record& program);
    void setRepaintEnabled(bool shouldBeLive);
    bool isRepaintEnabled() const noexcept { return live; }

    StsCont* getControl(int parameterIndex) const noexcept { return set.getControl(parameterIndex); }
    Envel& getEnvelope(int envelope) const noexcept { return set.getEnvelope(envelope); }

    void paint(juce::Graphics& g) override;
    void mouseDown(const juce::MouseEvent& e) override;
    void stsContMessage(int, int, int) override {}
    void changeListenerCallback(juce::ChangeBroadcaster* source) override;

private:
    bool isShown(int parameterIndex) const noexcept;

    ControlSet set;
    std::vector<int> shown;
    int currentSection = 0;
    ZoomLayout::Placement placement;
    bool live = false;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(FlashPanel)
};

} // namespace zarnel
