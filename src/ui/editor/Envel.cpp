#include "Envel.h"

#include "ControlTable.h"

#include "ui/look/Pictures.h"
#include "ui/look/ZarnelLookAndFeel.h"
#include "ui/widgets/ButtonAccess.h"
#include "ui/widgets/StsCont.h"

#include <utility>

namespace zarnel
{

Envel::Envel() : grid(Pictures::get(Picture::envelopeGrid)), glass(Pictures::get(Picture::lcdGlass))
{
    setOpaque(true);
    setSize(width, height);
}

Envel::~Envel()
{
    // Closed mid-drag: the host's gestures still end.
    releaseGestures();
}

void Envel::holdGestures(int handle)
{
    releaseGestures();
    auto* parent = getParentComponent();
    if (parent == nullptr || handle == EnvelopeShape::noHandle)
        return;
    // The stages a handle moves: attack; decay and sustain; release.
    const auto& parameters = ControlTable::envelopeParameters(envelopeNumber);
    const int firstStage = handle == EnvelopeShape::attackHandle ? EnvelopeShape::attack
                           : handle == EnvelopeShape::releaseHandle ? EnvelopeShape::release
                                                                     : EnvelopeShape::decay;
    const int lastStage = handle == EnvelopeShape::decaySustainHandle ? EnvelopeShape::sustain : firstStage;
    for (auto* child : parent->getChildren())
        if (auto* control = dynamic_cast<StsCont*>(child); control != nullptr && control->isConfigured())
            for (int stage = firstStage; stage <= lastStage; ++stage)
                if (control->getParameterIndex() == parameters[(size_t)stage] && !control->isHoldingGesture())
                {
                    control->holdGesture(true);
                    if (control->isHoldingGesture())
                        heldControls.add(control);
                }
}

void Envel::releaseGestures()
{
    for (auto& control : heldControls)
        if (control != nullptr)
            control->holdGesture(false);
    heldControls.clearQuick();
}

void Envel::setStageValue(int stage, float value)
{
    if (stage < 0 || stage >= 4)
        return;
    // A record from a file or a dump may hold more than the envelope can show.
    stages[(size_t)stage] = juce::jlimit(0.0f, EnvelopeShape::maximum, value);
    gate.changed(*this);
}

float Envel::getStageValue(int stage) const noexcept
{
    return stage >= 0 && stage < 4 ? stages[(size_t)stage] : 0.0f;
}

std::optional<float> Envel::takeDraggedStage(int stage) noexcept
{
    if (stage < 0 || stage >= 4)
        return std::nullopt;
    return std::exchange(dragged[(size_t)stage], std::nullopt);
}

bool Envel::takeRightClick() noexcept
{
    const bool was = rightClicked;
    rightClicked = false;
    return was;
}

void Envel::setScale(float newScale)
{
    scale = newScale;
    gate.changed(*this);
}

void Envel::setRepaintEnabled(bool shouldBeLive)
{
    gate.setLive(*this, shouldBeLive);
}

void Envel::mouseMove(const juce::MouseEvent& e)
{
    const bool over = EnvelopeShape::handleAt(stages, e.position, scale) != EnvelopeShape::noHandle;
    setMouseCursor(over ? juce::MouseCursor::CrosshairCursor : juce::MouseCursor::NormalCursor);
}

void Envel::mouseDown(const juce::MouseEvent& e)
{
    showing = false;
    if (e.mods.isRightButtonDown())
    {
        message = rightClickMessage;
        rightClicked = true;
        repaint();
        sendChangeMessage();
        return;
    }
    grabbed = EnvelopeShape::handleAt(stages, e.position, scale);
    if (grabbed == EnvelopeShape::noHandle)
    {
        repaint();
        return;
    }
    showing = true;
    downX = lastX = e.x;
    downY = lastY = e.y;
    stagesAtDown = stages;
    holdGestures(grabbed);
}

void Envel::mouseUp(const juce::MouseEvent&)
{
    // The owner takes the last drag step while the gestures are still open.
    dispatchPendingMessages();
    releaseGestures();
    if (showing)
    {
        showing = false;
        repaint();
    }
}

void Envel::mouseDrag(const juce::MouseEvent& e)
{
    if (!showing || !e.mods.isLeftButtonDown())
        return;
    const bool xMoved = e.x != lastX, yMoved = e.y != lastY;
    lastX = e.x;
    lastY = e.y;
    const auto step = EnvelopeShape::drag(grabbed, stagesAtDown, stages, xMoved, e.x - downX, yMoved, downY - e.y);
    valueText = step.text;
    if (!step.anyChanged())
        return;
    for (size_t i = 0; i < stages.size(); ++i)
        if (step.stages[i] != stages[i])
            dragged[i] = step.stages[i];
    stages = step.stages;
    repaint();
    message = dragMessage;
    sendChangeMessage();
}

void Envel::paint(juce::Graphics& g)
{
    const float s = scale;
    g.fillAll(juce::Colour(0xFF303030));
    g.drawImage(grid, juce::Rectangle<float>(4.0f * s, 5.0f * s, 218.0f * s, 73.0f * s));

    const auto shape = EnvelopeShape::path(stages, s);
    g.setColour(juce::Colour(0xFF5F4405));
    g.fillPath(shape);
    g.setColour(juce::Colour(0xFFC9910E));
    g.strokePath(shape, juce::PathStrokeType(1.1f));

    if (showing)
    {
        g.setColour(juce::Colours::white);
        g.setFont(ZarnelLookAndFeel::arial(11.0f));
        g.drawText(valueText, juce::Rectangle<float>((float)lastX + 5.0f, (float)juce::jmax(lastY, 15), 200.0f * s, 20.0f * s),
                   juce::Justification::topLeft, false);
    }

    g.setOpacity(0.3f);
    g.drawImage(glass, juce::Rectangle<float>(4.0f * s, 5.0f * s, (float)glass.getWidth() * s, (float)glass.getHeight() * s));
}

juce::String Envel::stagesText() const
{
    const auto v = [this](int stage) { return juce::String(juce::roundToInt(getStageValue(stage))); };
    return "attack " + v(0) + ", decay " + v(1) + ", sustain " + v(2) + ", release " + v(3);
}

std::unique_ptr<juce::AccessibilityHandler> Envel::createAccessibilityHandler()
{
    struct Handler : juce::AccessibilityHandler
    {
        explicit Handler(Envel& e)
            : AccessibilityHandler(e, juce::AccessibilityRole::image, {}, Interfaces{ButtonAccess::readOnlyText([&e] { return e.stagesText(); })}), env(e)
        {
        }
        juce::String getTitle() const override
        {
            static const char* const names[] = {"Filter envelope", "Amplifier envelope", "Envelope 3"};
            return names[juce::jlimit(0, 2, env.getEnvelopeNumber())];
        }
        const Envel& env;
    };
    return std::make_unique<Handler>(*this);
}

} // namespace zarnel
