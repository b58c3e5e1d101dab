#pragma once

#include "EnvelopeShape.h"

#include "ui/widgets/RepaintGate.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <array>
#include <optional>

namespace zarnel
{

// One envelope as a filled attack-decay-sustain-release shape with three handles to drag. Its owner
// feeds it four stage values and turns its change messages into requests on the matching value
// controls. A change message follows every right-click and every drag step that changed a value;
// the owner reads getMessage() and the stage values in its callback. While a handle is held, the
// value controls of its stages beside it (same parent) hold their host gestures open.
class StsCont;

class Envel : public juce::Component, public juce::ChangeBroadcaster
{
public:
    static constexpr int dragMessage = 1;
    static constexpr int rightClickMessage = 100;
    static constexpr int width = 226, height = 82;

    Envel();
    ~Envel() override;

    // Stage 0 attack, 1 decay, 2 sustain, 3 release; the value is kept within 0..127.
    void setStageValue(int stage, float value);
    float getStageValue(int stage) const noexcept;
    const EnvelopeShape::Stages& getStages() const noexcept { return stages; }

    // The value the user dragged a stage to since the owner last took it: an echo of an earlier
    // step may overwrite the shown stage before the owner's callback runs, and the step back would
    // then be lost.
    std::optional<float> takeDraggedStage(int stage) noexcept;

    int getMessage() const noexcept { return message; }
    // True once after a right-click: change messages are coalesced, so a drag step sent right
    // after it would otherwise hide it.
    bool takeRightClick() noexcept;

    void setEnvelopeNumber(int number) noexcept { envelopeNumber = number; }
    int getEnvelopeNumber() const noexcept { return envelopeNumber; }
    void setScale(float newScale);
    float getScale() const noexcept { return scale; }
    void setRepaintEnabled(bool shouldBeLive);
    bool isRepaintEnabled() const noexcept { return gate.isLive(); }
    bool isDirty() const noexcept { return gate.isDirty(); }

    // What a drag shows next to the pointer, and whether it is shown.
    const juce::String& getValueText() const noexcept { return valueText; }
    bool isShowingValue() const noexcept { return showing; }
    int getGrabbedHandle() const noexcept { return grabbed; }

    void paint(juce::Graphics& g) override;
    // Named after its envelope, with its four stages as value; its knobs beside it edit them.
    std::unique_ptr<juce::AccessibilityHandler> createAccessibilityHandler() override;
    // The four stages as a screen reader reads them.
    juce::String stagesText() const;
    void mouseMove(const juce::MouseEvent& e) override;
    void mouseDown(const juce::MouseEvent& e) override;
    void mouseDrag(const juce::MouseEvent& e) override;
    // Ends the drag: the last step reaches the controls, then their gestures end and the value
    // text goes.
    void mouseUp(const juce::MouseEvent& e) override;

private:
    void holdGestures(int handle);
    void releaseGestures();

    int message = 0;
    bool rightClicked = false;
    EnvelopeShape::Stages stages{30.0f, 30.0f, 30.0f, 30.0f};
    EnvelopeShape::Stages stagesAtDown{};
    std::array<std::optional<float>, 4> dragged{};
    int envelopeNumber = 0;
    float scale = 1.0f;
    RepaintGate gate;
    juce::Image grid, glass;

    juce::String valueText;
    bool showing = false;
    int grabbed = EnvelopeShape::noHandle;
    int downX = 0, downY = 0, lastX = 0, lastY = 0;
    juce::Array<juce::Component::SafePointer<StsCont>> heldControls;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(Envel)
};

} // namespace zarnel
