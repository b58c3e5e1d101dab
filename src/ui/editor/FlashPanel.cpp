#include "FlashPanel.h"

#include "ui/look/ZarnelLookAndFeel.h"

#include <algorithm>

namespace zarnel
{

FlashPanel::FlashPanel(ZarnelAudioProcessor& owner) : set(owner, *this)
{
    shown.reserve(ControlTable::numSlots);
    // Every control moves into its section's own frame once; showing a section only places them.
    set.forEachControl([](StsCont& c) {
        const int section = c.getSectionId();
        if (section == ControlTable::noSection)
            return;
        const auto at = ZoomLayout::positionInFrame(section, c.getLayoutX(), c.getLayoutY());
        c.setOrigin(at.x, at.y);
        c.setScale(ZoomLayout::preferredScale);
    });
    for (int e = 0; e < ControlTable::numEnvelopes; ++e)
        set.getEnvelope(e).addChangeListener(this);
    setSize(ControlTable::panelWidth, ControlTable::panelHeight);
    setRepaintEnabled(false);
}

FlashPanel::~FlashPanel()
{
    for (int e = 0; e < ControlTable::numEnvelopes; ++e)
        set.getEnvelope(e).removeChangeListener(this);
}

juce::String FlashPanel::getSectionName(int section) const
{
    if (section < 0 || section >= ControlTable::numSections)
        return {};
    // On the panel the clock and sequencer section has no name; enlarged, it needs one.
    constexpr int sequencerSection = 6;
    return section == sequencerSection ? "SEQUENCER" : ControlTable::sections()[(size_t)section].name;
}

void FlashPanel::showSection(int section, int availableWidth, int availableHeight)
{
    if (!ControlTable::isZoomable(section))
        return;
    setVisible(false);
    currentSection = section;
    placement = ZoomLayout::place(section, availableWidth, availableHeight);
    const float s = placement.scale;
    const auto offset = placement.offset;

    for (int index : shown)
        set.getControl(index)->setVisible(false);
    for (int e = 0; e < ControlTable::numEnvelopes; ++e)
        set.getEnvelope(e).setVisible(false);
    shown.clear();

    set.forEachControl([&](StsCont& c) {
        if (c.getSectionId() != section || !c.isConfigured())
            return;
        shown.push_back(c.getParameterIndex());
        c.setScale(s);
        c.setTopLeftPosition((int)(s * c.getLayoutX()) + offset.x, (int)(s * c.getLayoutY()) + offset.y);
        c.setVisible(true);
    });

    for (int e = 0; e < ControlTable::numEnvelopes; ++e)
    {
        if (ControlTable::envelopeSection(e) != section)
            continue;
        auto& env = set.getEnvelope(e);
        env.setScale(s);
        env.setBounds((int)((float)ZoomLayout::envelopeX * s) + offset.x, (int)((float)ZoomLayout::envelopeY * s) + offset.y,
                      (int)((float)Envel::width * s), (int)((float)Envel::height * s));
        env.setVisible(true);
    }
}

bool FlashPanel::isShown(int parameterIndex) const noexcept
{
    return std::find(shown.begin(), shown.end(), parameterIndex) != shown.end();
}

void FlashPanel::setControlValue(StsCont* control, int value)
{
    if (control != nullptr && isShown(control->getParameterIndex()))
        set.showValue(control, value);
}

void FlashPanel::refreshShown(const ProgramSysex::Record& program)
{
    for (int index : shown)
    {
        auto* c = set.getControl(index);
        c->clearShownValue();
        set.showValue(c, program[(size_t)index]);
    }
}

void FlashPanel::setRepaintEnabled(bool shouldBeLive)
{
    live = shouldBeLive;
    set.setRepaintEnabled(shouldBeLive);
}

void FlashPanel::changeListenerCallback(juce::ChangeBroadcaster* source)
{
    const int number = set.envelopeNumberOf(source);
    if (number < 0)
        return;
    auto& env = set.getEnvelope(number);
    env.takeRightClick(); // a right-click inside the zoom opens nothing
    set.requestStagesOf(env);
}

void FlashPanel::mouseDown(const juce::MouseEvent& e)
{
    if (!placement.frame.contains(e.getPosition()))
        sendChangeMessage();
}

void FlashPanel::paint(juce::Graphics& g)
{
    g.fillAll(juce::Colour(shadeColour));
    const float s = placement.scale;
    const auto frame = placement.frame.toFloat();
    g.setColour(juce::Colour(frameColour));
    g.fillRoundedRectangle(frame, 2.0f * s);
    g.setColour(juce::Colour(outlineColour));
    g.drawRoundedRectangle(frame, 2.0f * s, s);
    g.setColour(juce::Colours::white);
    g.setFont(ZarnelLookAndFeel::arial(14.0f * s, juce::Font::bold));
    g.drawSingleLineText(getSectionName(currentSection), placement.offset.x + (int)(8.0f * s),
                         placement.offset.y + (int)(18.0f * s));
}

} // namespace zarnel
