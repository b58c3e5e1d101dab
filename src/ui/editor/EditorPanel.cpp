#include "EditorPanel.h"

#include "ui/look/Pictures.h"
#include "ui/look/ZarnelLookAndFeel.h"

namespace zarnel
{

namespace
{
constexpr int tileCell = 100; // the 200 x 200 tile is drawn at half size
constexpr int sequencerButtonX = 932, sequencerButtonY = 20, sequencerButtonW = 96, sequencerButtonH = 24;
constexpr int displayX = 696, displayY = 90, displayW = 180, displayH = 43;
const juce::Rectangle<float> logoArea(672.0f, 30.0f, 226.0f, 31.0f);
const juce::Rectangle<float> markArea(387.0f, 580.0f, 179.0f, 52.0f);
const juce::Rectangle<float> subtitleArea(672.0f, 135.0f, 228.0f, 20.0f);
constexpr float sideWidth = 28.0f;

int scaled(int v, float s)
{
    return (int)((float)v * s);
}
} // namespace

EditorPanel::EditorPanel(ZarnelAudioProcessor& processor)
    : sideLeft(Pictures::get(Picture::panelSideLeft)),
      sideRight(Pictures::get(Picture::panelSideRight)),
      logo(Pictures::get(Picture::panelLogo)),
      mark(Pictures::get(Picture::panelMark)),
      tile(Pictures::get(Picture::panelTile)),
      set(processor, *this)
{
    setTitle("Program parameters");
    set.forEachControl([this](StsCont& c) {
        // Controls without a section (the sequencer's destinations, the empty slots) stay hidden.
        c.setVisible(c.isConfigured() && c.getSectionId() != ControlTable::noSection);
        c.addListener(this);
        // They fill their own background all the same; marked opaque they would cut 109 holes in
        // the panel's clip region, which makes every full repaint cost half as much again.
        c.setOpaque(false);
    });
    for (int e = 0; e < ControlTable::numEnvelopes; ++e)
    {
        auto& env = set.getEnvelope(e);
        env.setBounds(ControlTable::envelopeArea(e));
        env.setVisible(true);
        env.addChangeListener(this);
    }

    sequencerButton.configure(sequencerButtonX, sequencerButtonY, sequencerButtonW, sequencerButtonH, true);
    addAndMakeVisible(sequencerButton);
    programDisplay.setBounds(displayX, displayY, displayW, displayH);
    addAndMakeVisible(programDisplay);

    setBounds(getX(), getY(), ControlTable::panelWidth, ControlTable::panelHeight);
}

EditorPanel::~EditorPanel()
{
    for (int e = 0; e < ControlTable::numEnvelopes; ++e)
        set.getEnvelope(e).removeChangeListener(this);
}

void EditorPanel::setScale(float newScale)
{
    scale = newScale;
    set.forEachControl([newScale](StsCont& c) { c.setScale(newScale); });
    for (int e = 0; e < ControlTable::numEnvelopes; ++e)
    {
        auto& env = set.getEnvelope(e);
        const auto area = ControlTable::envelopeArea(e);
        env.setScale(newScale);
        env.setBounds(scaled(area.getX(), newScale), scaled(area.getY(), newScale), scaled(area.getWidth(), newScale),
                      scaled(area.getHeight(), newScale));
    }
    sequencerButton.setFontHeight(12.0f * newScale);
    sequencerButton.setBounds(scaled(sequencerButtonX, newScale), scaled(sequencerButtonY, newScale),
                              scaled(sequencerButtonW, newScale), scaled(sequencerButtonH, newScale));
    programDisplay.setBounds(scaled(displayX, newScale), scaled(displayY, newScale), scaled(displayW, newScale),
                             scaled(displayH, newScale));
    programDisplay.setScale(newScale);
    programDisplay.repaint();
}

void EditorPanel::setControlValue(StsCont* control, int value)
{
    set.showValue(control, value);
}

void EditorPanel::setRepaintEnabled(bool shouldBeLive)
{
    set.setRepaintEnabled(shouldBeLive);
    gate.setLive(*this, shouldBeLive);
}

void EditorPanel::repaintPanel()
{
    gate.changed(*this);
}

void EditorPanel::requestSection(int section)
{
    if (!ControlTable::isZoomable(section))
        return;
    sectionRequestCode = ControlTable::sectionRequestBase + section;
    sendChangeMessage();
}

void EditorPanel::stsContMessage(int message, int, int sectionId)
{
    if (message == StsCont::rightClickMessage)
        requestSection(sectionId);
}

void EditorPanel::mouseDown(const juce::MouseEvent& e)
{
    if (e.mods.isRightButtonDown())
        requestSection(ControlTable::sectionAt(e.getPosition(), scale));
}

void EditorPanel::changeListenerCallback(juce::ChangeBroadcaster* source)
{
    const int number = set.envelopeNumberOf(source);
    if (number < 0)
        return;
    auto& env = set.getEnvelope(number);
    // Messages are coalesced: whatever the last one said, the drag steps before it count.
    set.requestStagesOf(env);
    if (env.takeRightClick())
        requestSection(ControlTable::envelopeSection(number));
}

void EditorPanel::paint(juce::Graphics& g)
{
    if (getWidth() <= 0 || getHeight() <= 0)
        return;
    if (background.getWidth() != getWidth() || background.getHeight() != getHeight() || backgroundScale != scale)
    {
        background = juce::Image(juce::Image::RGB, getWidth(), getHeight(), false);
        backgroundScale = scale;
        juce::Graphics bg(background);
        paintBackground(bg);
    }
    g.drawImageAt(background, 0, 0);
}

void EditorPanel::paintBackground(juce::Graphics& g) const
{
    const float s = scale;
    g.fillAll(juce::Colour(backgroundColour));
    const int cell = juce::jmax(1, scaled(tileCell, s));
    // Shrunk once, then copied into every cell.
    const auto cellTile = tile.rescaled(cell, cell, juce::Graphics::mediumResamplingQuality);
    for (int y = 0; y < getHeight(); y += cell)
        for (int x = 0; x < getWidth(); x += cell)
            g.drawImageAt(cellTile, x, y);

    const auto& sections = ControlTable::sections();
    g.setColour(juce::Colour(sectionColour));
    for (const auto& section : sections)
        g.fillRoundedRectangle(section.area.toFloat() * s, 2.0f * s);
    g.setColour(juce::Colour(sectionOutlineColour));
    for (const auto& section : sections)
        g.drawRoundedRectangle(section.area.toFloat() * s, 2.0f * s, s);

    g.setColour(juce::Colour(0xFFAAAAAA));
    g.setFont(ZarnelLookAndFeel::arial(12.0f * s, juce::Font::bold));
    g.drawText("FOUR-VOICE ANALOG SYNTHESIZER", subtitleArea * s, juce::Justification::centred, false);

    g.setColour(juce::Colours::white);
    g.setFont(ZarnelLookAndFeel::arial(14.0f * s, juce::Font::bold));
    for (const auto& section : sections)
        g.drawSingleLineText(section.name, (int)((float)(section.area.getX() + 8) * s),
                             (int)((float)(section.area.getY() + 16) * s));

    g.drawImage(logo, logoArea * s);
    g.drawImage(mark, markArea * s);

    if (s >= sidePiecesFromScale)
    {
        const float w = sideWidth * s, h = (float)ControlTable::panelHeight * s;
        g.drawImage(sideLeft, juce::Rectangle<float>(0.0f, 0.0f, w, h));
        g.drawImage(sideRight, juce::Rectangle<float>((float)getWidth() - w, 0.0f, w, h));
    }
}

} // namespace zarnel
