#pragma once

#include "SeqSteps.h"

#include "ui/widgets/WheelSteps.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <array>
#include <cstdint>

namespace zarnel
{

class ZarnelAudioProcessor;

class SeqClassListener
{
public:
    virtual ~SeqClassListener() = default;
    virtual void seqClassMessage(int message, int track, int value) = 0;
};

// One of the four sixteen-step sequencer tracks, drawn as bars with a label box and a top box per
// step. Like the value control, a gesture only asks the processor for a step value; the value
// comes back through setStepValue. Drawn at its panel's scale from a 522 x 155 design.
class SeqClass : public juce::Component
{
public:
    static constexpr int editRequestMessage = 69;
    enum Mode
    {
        overviewMode = 0,
        editingMode = 1,
        thumbnailMode = 2
    };
    enum DrawMode
    {
        sliders = 0,
        pen = 1
    };
    using StepBytes = std::array<std::uint8_t, SeqSteps::numSteps>;

    SeqClass(ZarnelAudioProcessor& owner, int trackNumber);
    ~SeqClass() override;

    void setLayout(int x, int y, int width, int height);
    void setScale(float newScale);
    void setMode(int newMode);
    int getMode() const noexcept { return mode; }
    void setDrawMode(int newDrawMode) noexcept { drawMode = newDrawMode; }
    int getDrawMode() const noexcept { return drawMode; }
    void setQuantize(bool shouldQuantize) noexcept { quantize = shouldQuantize; }
    bool isQuantizing() const noexcept { return quantize; }
    // Note names for the oscillator pitch destinations, numbers for any other.
    void setNoteDisplay(int destination);
    bool isNoteDisplay() const noexcept { return noteDisplay; }

    // A program's sixteen bytes; a byte above 127 shows as "OFF".
    void setSteps(const StepBytes& bytes);
    // One step's value as the program now holds it.
    void setStepValue(int step, int value);
    int getShownValue(int step) const noexcept { return shown[(size_t)juce::jlimit(0, SeqSteps::numSteps - 1, step)]; }
    juce::String getLabel(int step) const { return SeqSteps::label(getShownValue(step), noteDisplay); }
    int getTrackNumber() const noexcept { return track; }
    juce::Rectangle<int> getLayout() const noexcept { return layout; }
    int getStepWidth() const noexcept { return (int)(scaledWidth / (float)SeqSteps::numSteps); }
    // Units of the 522 x 155 design, in pixels.
    float getHx() const noexcept { return scaledWidth / SeqSteps::designWidth; }
    float getVy() const noexcept { return scaledHeight / SeqSteps::designHeight; }

    void addListener(SeqClassListener* listener);
    void removeListener(SeqClassListener* listener);

    void paint(juce::Graphics& g) override;
    void mouseDown(const juce::MouseEvent& e) override;
    void mouseDrag(const juce::MouseEvent& e) override;
    void mouseUp(const juce::MouseEvent& e) override;
    void mouseWheelMove(const juce::MouseEvent& e, const juce::MouseWheelDetails& wheel) override;
    // Left and Right choose the step keys act on, Up and Down step its value (Shift: ten steps).
    bool keyPressed(const juce::KeyPress& key) override;
    int getKeyStep() const noexcept { return keyStep; }
    std::unique_ptr<juce::AccessibilityHandler> createAccessibilityHandler() override;

private:
    void stepValue(int step, bool up, int times);
    // The host gesture of a step, held from mouse down to mouse up (in pen mode for every step
    // the pointer crosses).
    void holdGesture(int step);
    void releaseGestures();

    void applyLayout();
    void repaintStep(int step);
    void send(int step, int value, bool notifyHostNow);
    void paintStep(juce::Graphics& g, int step, float w, float d, float hx, float vy) const;

    ZarnelAudioProcessor& owner;
    const int track;

    juce::CriticalSection listenerLock;
    juce::Array<SeqClassListener*> listeners;

    std::array<int, SeqSteps::numSteps> shown{};
    std::array<int, SeqSteps::numSteps> saved{};
    std::array<int, SeqSteps::numSteps> dragValues{};
    bool noteDisplay = false, quantize = false;
    int drawMode = sliders;
    int mode = overviewMode;
    int currentStep = -1;
    int keyStep = 0;
    bool dragging = false;
    std::array<std::uint32_t, SeqSteps::numSteps> gestureHeld{}; // the processor's hold of each step, 0 for none
    WheelSteps wheelSteps;

    float scale = 1.0f;
    juce::Rectangle<int> layout;
    float scaledWidth = 0.0f, scaledHeight = 0.0f;
    juce::Image background, glass;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(SeqClass)
};

} // namespace zarnel
