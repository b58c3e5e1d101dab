#pragma once

#include "RepaintGate.h"
#include "WheelSteps.h"

#include <juce_gui_basics/juce_gui_basics.h>

namespace zarnel
{

class ZarnelAudioProcessor;

class StsContListener
{
public:
    virtual ~StsContListener() = default;
    virtual void stsContMessage(int message, int parameterIndex, int sectionId) = 0;
};

// The value control: one program parameter as a knob, a menu box or a switch. A gesture only asks
// the processor for a value; the control shows it when the change comes back through
// setDisplayedValue, so the screen never runs ahead of the program.
class StsCont : public juce::Component
{
public:
    enum Type
    {
        menuBox = 0,
        switchRight = 1,
        knob = 3,
        switchBelow = 101
    };

    static constexpr int rightClickMessage = 100;
    // The section id of controls that belong to no section (hidden ones, unconfigured slots).
    static constexpr int noSection = -1;
    // The shown value before any value arrived: the next one is always taken.
    static constexpr int noValue = -1;
    // The layout names a point 16 units below the control's top edge.
    static constexpr int layoutYOffset = 16;

    explicit StsCont(ZarnelAudioProcessor& owner);
    ~StsCont() override;

    void configure(int parameterIndex, const juce::String& caption, int x, int y, int width, int height,
                   int minimum, int maximum, int type, int displayKind);

    // Shows value, clamped into the control's range. The text is the caller's for that value; a
    // clamped value shows its own text instead.
    void setDisplayedValue(int value, const juce::String& text);
    // The same, with the text of the display kind.
    void showValue(int value);
    // Back to "no value", so that the next value is taken even when it equals the last one.
    void clearShownValue() noexcept { shownValue = noValue; }
    void requestValue(int value);
    void toggle();
    // The value the next step starts from: the last one asked for until its echo is shown, so
    // steps made faster than the echoes come back are none of them lost.
    int getPendingValue() const noexcept { return awaitedValue != noValue ? awaitedValue : shownValue; }

    // Holds the host's change gesture of this control's parameter open (a mouse gesture here or
    // on the envelope drawing it), until released or the control goes away.
    void holdGesture(bool shouldHold);
    bool isHoldingGesture() const noexcept;

    void setScale(float newScale);
    void setOrigin(int x, int y);
    void setRepaintEnabled(bool shouldBeLive);

    void addListener(StsContListener* listener);
    void removeListener(StsContListener* listener);

    bool isConfigured() const noexcept { return configured; }
    int getParameterIndex() const noexcept { return parameterIndex; }
    int getShownValue() const noexcept { return shownValue; }
    int getRequestedValue() const noexcept { return requestedValue; }
    int getSectionId() const noexcept { return sectionId; }
    void setSectionId(int id) noexcept { sectionId = id; }
    const juce::String& getCaption() const noexcept { return caption; }
    void setCaption(const juce::String& text);
    const juce::String& getValueText() const noexcept { return valueText; }
    int getMinimum() const noexcept { return minimum; }
    int getMaximum() const noexcept { return maximum; }
    int getType() const noexcept { return type; }
    int getDisplayKind() const noexcept { return displayKind; }
    int getKnobFrame() const noexcept { return knobFrame; }
    // The stored layout position in unscaled units (y already 16 above the configured point).
    float getLayoutX() const noexcept { return layoutX; }
    float getLayoutY() const noexcept { return layoutY; }
    float getScale() const noexcept { return scale; }
    bool isRepaintEnabled() const noexcept { return gate.isLive(); }
    bool isDirty() const noexcept { return gate.isDirty(); }

    void setDrawBackgroundImage(bool shouldDraw) noexcept { drawBackgroundImage = shouldDraw; }
    void setFillBackground(bool shouldFill) noexcept { fillBackground = shouldFill; }
    void setBackgroundImage(const juce::Image& image) { backgroundImage = image; }
    void setBackgroundColour(juce::Colour colour) noexcept { backgroundColour = colour; }

    // 0..60; the maximum shows frame 56.
    static int knobFrameFor(int value, int minimum, int maximum);
    // Items 1..maximum + 1 for the values whose text is not "*/*".
    juce::PopupMenu createValueMenu() const;

    void paint(juce::Graphics& g) override;
    void mouseDown(const juce::MouseEvent& e) override;
    void mouseDrag(const juce::MouseEvent& e) override;
    void mouseUp(const juce::MouseEvent& e) override;
    void mouseWheelMove(const juce::MouseEvent& e, const juce::MouseWheelDetails& wheel) override;
    // Arrows step the value (Shift a tenth of the range); the mouse does what it always did.
    bool keyPressed(const juce::KeyPress& key) override;
    int keyStep(bool bigger) const noexcept;
    std::unique_ptr<juce::AccessibilityHandler> createAccessibilityHandler() override;

    // The value menu's answer: item id, 0 when dismissed. Ignored unless the control still edits
    // the parameter it edited when the menu opened and the value is still in its range.
    void valueMenuChosen(int itemId, int forParameter);

protected:
    // Opens the value menu without waiting for it; the answer arrives at valueMenuChosen.
    virtual void openValueMenu(juce::PopupMenu menu);

private:
    void applyLayoutBounds();
    void loadImages();
    void paintKnob(juce::Graphics& g, float s);
    void paintMenuBox(juce::Graphics& g, float s);
    void paintSwitch(juce::Graphics& g, float s, float switchX, bool captionBelow);

    ZarnelAudioProcessor& owner;

    juce::CriticalSection listenerLock;
    juce::Array<StsContListener*> listeners;

    int displayKind = 0;
    int shownValue = -1;
    int parameterIndex = 0;
    int requestedValue = 0;
    int awaitedValue = noValue; // the last request whose echo has not been shown yet
    int minimum = 0, maximum = 127;
    int sectionId = noSection;
    bool configured = false;

    bool drawBackgroundImage = false, fillBackground = false;
    juce::Image backgroundImage;
    juce::Colour backgroundColour;

    juce::String caption;
    float layoutX = 0.0f, layoutY = 0.0f;
    int layoutWidth = 0, layoutHeight = 0;

    RepaintGate gate;

    juce::Image knobStrip, knobBack, menuBoxImage, menuArrow, menuOverlay, switchStrip;
    // The menu box's gloss stretched to the box once per size: stretching it at every paint is
    // the dearest part of painting a panel full of menus.
    juce::Image stretchedOverlay;

    bool dragging = false, menuArmed = false;
    int heldGestureIndex = -1;
    std::uint32_t heldGesture = 0; // the processor's hold, while heldGestureIndex >= 0
    WheelSteps wheelSteps;
    int dragStartValue = 0;
    int downX = 0, downY = 0;

    int knobFrame = 0, knobRange = 0;
    int type = -1;
    juce::String valueText;
    float scale = 1.0f;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(StsCont)
};

} // namespace zarnel
