#include "SeqPanel.h"

#include "model/ParDes.h"
#include "plugin/ZarnelAudioProcessor.h"
#include "ui/look/AsyncMenu.h"
#include "ui/look/Pictures.h"
#include "ui/look/ZarnelLookAndFeel.h"

namespace zarnel
{

namespace
{
struct ControlRow
{
    int index;
    const char* caption;
    int type, minimum, maximum, displayKind;
    int x, y, width, height;   // the overview's place, as configure takes it
    int editX, editY;          // the editing layout's place; destinations other than the edited one leave the page
};

constexpr int menu = StsCont::menuBox, knob = StsCont::knob, switchRight = StsCont::switchRight;
const std::array<ControlRow, SeqPanel::numControls> controlRows{{
    {107, "Seq 1 Destination", menu, 0, 47, 400, 41, 56, 102, 32, 91, 62},
    {108, "Seq 2 Destination", menu, 0, 48, 4008, 41, 224, 102, 32, 91, 62},
    {109, "Seq 3 Destination", menu, 0, 47, 400, 41, 390, 102, 32, 91, 62},
    {110, "Seq 4 Destination", menu, 0, 48, 4010, 41, 550, 102, 32, 91, 62},
    {101, "Tempo", knob, 30, 250, 444, 811, 33, 65, 64, 926, 33},
    {102, "Clock Divide", menu, 0, 12, 92, 691, 132, 110, 32, 806, 25},
    {105, "Sequencer Trigger", menu, 0, 4, 94, 691, 92, 110, 32, 806, 62},
    {106, "Sequencer", switchRight, 0, 1, 333, 691, 68, 110, 16, 91, 40},
}};
constexpr int firstDestination = 107, onOffParameter = 106;
constexpr int offPage = -1500;

constexpr int trackX = 149, trackWidth = 522, trackHeight = 155;
constexpr std::array<int, SeqSteps::numTracks> trackY{2, 167, 332, 497};
const juce::Rectangle<int> editingArea(88, 100, 976, 522);
constexpr int thumbX = 220, thumbStep = 143, thumbY = 20, thumbWidth = 136, thumbHeight = 60;
constexpr std::array<int, SeqSteps::numTracks> editButtonY{91, 256, 421, 586};

const juce::Colour background(0xFF525252), circles(0xFF404040), section(0xFF303030);
const juce::Colour overviewOutline(0xFF151515), editingOutline(0xFFE4E4E4), editedSlot(0xFF2E3236);

int scaled(int v, float s)
{
    return (int)((float)v * s);
}

juce::Rectangle<int> scaled(juce::Rectangle<int> r, float s)
{
    return {scaled(r.getX(), s), scaled(r.getY(), s), scaled(r.getWidth(), s), scaled(r.getHeight(), s)};
}
} // namespace

SeqPanel::SeqPanel(ZarnelAudioProcessor& processor)
    : owner(processor), sideLeft(Pictures::get(Picture::panelSideLeft)), sideRight(Pictures::get(Picture::panelSideRight))
{
    setOpaque(true);
    for (auto* b : {&programButton, &okButton, &drawModeButton})
    {
        b->configure(0, 0, 60, 18, false);
        addChildComponent(*b);
    }
    okButton.addChangeListener(this);
    drawModeButton.addChangeListener(this);
    drawModeButton.setVisible(true);
    for (auto& b : editButtons)
    {
        b = std::make_unique<StsBut>("Edit", 0, StsBut::plain);
        b->configure(0, 0, 60, 18, false);
        b->addChangeListener(this);
        addChildComponent(*b);
    }

    for (size_t i = 0; i < controls.size(); ++i)
    {
        const auto& row = controlRows[i];
        auto& c = controls[i];
        c = std::make_unique<StsCont>(processor);
        c->configure(row.index, row.caption, row.x, row.y, row.width, row.height, row.minimum, row.maximum, row.type,
                     row.displayKind);
        c->setFillBackground(true);
        c->setBackgroundColour(juce::Colour(section));
        c->setOpaque(true);
        addAndMakeVisible(*c);
    }

    for (int k = 0; k < SeqSteps::numTracks; ++k)
    {
        auto& t = tracks[(size_t)k];
        t = std::make_unique<SeqClass>(processor, k);
        t->addListener(this);
        t->setLayout(trackX, trackY[(size_t)k], trackWidth, trackHeight);
        addAndMakeVisible(*t);
    }

    setSize(panelWidth, panelHeight);
    showOverview();
}

SeqPanel::~SeqPanel()
{
    for (auto& t : tracks)
        t->removeListener(this);
    okButton.removeChangeListener(this);
    drawModeButton.removeChangeListener(this);
    for (auto& b : editButtons)
        b->removeChangeListener(this);
}

StsCont* SeqPanel::getControl(int parameterIndex) const noexcept
{
    for (size_t i = 0; i < controls.size(); ++i)
        if (controlRows[i].index == parameterIndex)
            return controls[i].get();
    return nullptr;
}

//==== Layouts ========================================================================================

void SeqPanel::showOverview()
{
    editing = false;
    getControl(onOffParameter)->setCaption("Sequencer");
    for (size_t i = 0; i < controls.size(); ++i)
        controls[i]->setOrigin(controlRows[i].x, controlRows[i].y);
    programButton.setVisible(true);
    for (auto& b : editButtons)
        b->setVisible(true);
    okButton.setVisible(false);
    for (int k = 0; k < SeqSteps::numTracks; ++k)
    {
        tracks[(size_t)k]->setLayout(trackX, trackY[(size_t)k], trackWidth, trackHeight);
        tracks[(size_t)k]->setMode(SeqClass::overviewMode);
    }
    applyZoom();
    repaint();
}

void SeqPanel::showTrack(int track)
{
    track = juce::jlimit(0, SeqSteps::numTracks - 1, track);
    editedTrack = track;
    editing = true;
    programButton.setVisible(false);
    for (auto& b : editButtons)
        b->setVisible(false);
    okButton.setVisible(true);
    getControl(onOffParameter)->setCaption("");
    for (size_t i = 0; i < controls.size(); ++i)
    {
        const auto& row = controlRows[i];
        const bool destination = row.index >= firstDestination;
        if (!destination)
            controls[i]->setOrigin(row.editX, row.editY);
        else if (row.index == firstDestination + track)
            controls[i]->setOrigin(row.editX, row.editY);
        else
            controls[i]->setOrigin(offPage, row.y);
    }
    for (int k = 0; k < SeqSteps::numTracks; ++k)
    {
        auto& t = *tracks[(size_t)k];
        if (k == track)
        {
            t.setLayout(editingArea.getX(), editingArea.getY(), editingArea.getWidth(), editingArea.getHeight());
            t.setMode(SeqClass::editingMode);
        }
        else
        {
            t.setLayout(thumbX + thumbStep * k, thumbY, thumbWidth, thumbHeight);
            t.setMode(SeqClass::thumbnailMode);
        }
    }
    applyZoom();
    repaint();
}

void SeqPanel::setScale(float newScale)
{
    scale = newScale;
    applyZoom();
    repaint();
}

void SeqPanel::applyZoom()
{
    const float s = scale;
    for (auto& c : controls)
        c->setScale(s);
    for (auto& t : tracks)
        t->setScale(s);
    if (!editing)
    {
        programButton.setFontHeight(13.0f * s);
        programButton.setBounds(scaled({936, 20, 96, 24}, s));
        for (size_t k = 0; k < editButtons.size(); ++k)
        {
            editButtons[k]->setFontHeight(11.0f * s);
            editButtons[k]->setBounds(scaled({66, editButtonY[k], 60, 18}, s));
        }
        drawModeButton.setFontHeight(11.0f * s);
        drawModeButton.setBounds(scaled({811, 117, 60, 18}, s));
    }
    else
    {
        drawModeButton.setFontHeight(12.0f * s);
        drawModeButton.setBounds(scaled({992, 16, 64, 24}, s));
        okButton.setFontHeight(13.0f * s);
        okButton.setBounds(scaled({992, 50, 64, 24}, s));
    }
}

//==== Values =========================================================================================

void SeqPanel::setParameterValue(int parameterIndex, int value)
{
    auto* control = getControl(parameterIndex);
    if (control == nullptr)
        return;
    control->showValue(value);
    if (parameterIndex >= firstDestination)
        tracks[(size_t)(parameterIndex - firstDestination)]->setNoteDisplay(value);
}

void SeqPanel::setControlValue(StsCont* editorControl, int value)
{
    if (editorControl != nullptr)
        setParameterValue(editorControl->getParameterIndex(), value);
}

void SeqPanel::setStepValue(int track, int step, int value)
{
    if (track >= 0 && track < SeqSteps::numTracks)
        tracks[(size_t)track]->setStepValue(step, value);
}

void SeqPanel::refresh()
{
    const auto program = owner.getState().getCurrentProgram();
    for (size_t i = 0; i < controls.size(); ++i)
    {
        controls[i]->clearShownValue();
        setParameterValue(controlRows[i].index, program[(size_t)controlRows[i].index]);
    }
    for (int k = 0; k < SeqSteps::numTracks; ++k)
    {
        SeqClass::StepBytes bytes{};
        for (int step = 0; step < SeqSteps::numSteps; ++step)
            bytes[(size_t)step] = program[(size_t)SeqSteps::parameterIndex(k, step)];
        tracks[(size_t)k]->setSteps(bytes);
    }
}

//==== Events =========================================================================================

void SeqPanel::report(int code, int track)
{
    changeCode = code;
    changeTrack = track;
    sendChangeMessage();
}

void SeqPanel::seqClassMessage(int message, int track, int)
{
    if (message == SeqClass::editRequestMessage)
        report(editTrackCode, track);
}

void SeqPanel::stsbutChanged(StsBut* button)
{
    if (button == &okButton)
    {
        showOverview();
        report(overviewCode, changeTrack);
        return;
    }
    if (button == &drawModeButton)
    {
        AsyncMenu::show(createDrawModeMenu(), juce::PopupMenu::Options().withTargetComponent(&drawModeButton), *this,
                        [](SeqPanel& panel, int item) { panel.drawModeChosen(item); });
        return;
    }
    for (int k = 0; k < SeqSteps::numTracks; ++k)
        if (button == editButtons[(size_t)k].get())
            seqClassMessage(SeqClass::editRequestMessage, k, 0);
}

juce::PopupMenu SeqPanel::createDrawModeMenu() const
{
    const auto& first = *tracks[0];
    juce::PopupMenu m;
    m.addItem(slidersItem, "Sliders", true, first.getDrawMode() == SeqClass::sliders);
    m.addItem(penItem, "Pen", true, first.getDrawMode() == SeqClass::pen);
    m.addSeparator();
    m.addItem(quantizeItem, "Quantize", true, first.isQuantizing());
    return m;
}

void SeqPanel::drawModeChosen(int item)
{
    const bool quantize = !tracks[0]->isQuantizing();
    for (auto& t : tracks)
    {
        if (item == slidersItem)
            t->setDrawMode(SeqClass::sliders);
        else if (item == penItem)
            t->setDrawMode(SeqClass::pen);
        else if (item == quantizeItem)
            t->setQuantize(quantize);
    }
    repaint();
}

juce::String SeqPanel::getDrawModeText() const
{
    const auto& first = *tracks[0];
    return juce::String(first.getDrawMode() == SeqClass::pen ? "Pen" : "Sliders")
           + (first.isQuantizing() ? " + Quantize" : "");
}

//==== Painting =======================================================================================

void SeqPanel::paint(juce::Graphics& g)
{
    const float s = scale;
    g.fillAll(background);

    g.setColour(circles);
    float diameter = 170.0f, thickness = 25.5f;
    for (int i = 0; i < 5; ++i)
    {
        const float d = diameter * s;
        g.drawEllipse(740.0f * s - d / 2.0f, 500.0f * s - d / 2.0f, d, d, thickness * s);
        diameter *= 1.7f;
        thickness *= 1.7f;
    }

    const auto title = ZarnelLookAndFeel::arial(14.0f * s, juce::Font::bold);
    if (!editing)
    {
        juce::Array<juce::Rectangle<float>> boxes;
        boxes.add({34.0f * s, 1.0f, 850.0f * s, 158.0f * s});
        for (int y : {166, 331, 496})
            boxes.add({34.0f * s, (float)y * s, 660.0f * s, 158.0f * s});
        g.setColour(section);
        for (const auto& b : boxes)
            g.fillRoundedRectangle(b, 2.0f * s);
        g.setColour(overviewOutline);
        for (const auto& b : boxes)
            g.drawRoundedRectangle(b, 2.0f * s, s);
        g.setColour(juce::Colours::white);
        g.setFont(title);
        for (int k = 0; k < SeqSteps::numTracks; ++k)
            g.drawSingleLineText("SEQUENCER  " + juce::String(k + 1), scaled(47, s), scaled(18 + 165 * k, s));
    }
    else
    {
        const juce::Rectangle<float> top(78.0f * s, 2.0f, 992.0f * s, 84.0f * s), main(78.0f * s, 95.0f * s, 992.0f * s, 532.0f * s);
        g.setColour(section);
        g.fillRoundedRectangle(top, 10.0f * s);
        g.fillRoundedRectangle(main, 10.0f * s);
        g.setColour(editingOutline);
        g.drawRoundedRectangle(top, 10.0f * s, 2.0f * s);
        g.drawRoundedRectangle(main, 10.0f * s, 2.0f * s);
        g.setColour(juce::Colours::white);
        g.setFont(title);
        g.drawSingleLineText("SEQUENCER  " + juce::String(editedTrack + 1), scaled(91, s), scaled(18, s));
        g.setFont(ZarnelLookAndFeel::arial(11.0f * s));
        for (int k = 0; k < SeqSteps::numTracks; ++k)
            g.drawSingleLineText("SEQUENCER " + juce::String(k + 1), scaled(250 + thumbStep * k, s), scaled(16, s));
        g.setColour(editedSlot);
        g.fillRect(scaled({thumbX + thumbStep * editedTrack, thumbY, thumbWidth, 58}, s));
    }

    // The draw mode in force, under the button in the overview and above it while editing.
    g.setColour(juce::Colours::white.withAlpha(0.7f));
    g.setFont(ZarnelLookAndFeel::arial(10.0f * s));
    g.drawText(getDrawModeText(), editing ? scaled({982, 4, 84, 11}, s) : scaled({801, 137, 80, 12}, s),
               juce::Justification::centred, false);

    if (s >= 0.5f)
    {
        const float w = 28.0f * s, h = 700.0f * s;
        g.drawImage(sideLeft, juce::Rectangle<float>(0.0f, 0.0f, w, h));
        g.drawImage(sideRight, juce::Rectangle<float>((float)getWidth() - w, 0.0f, w, h));
    }
}

} // namespace zarnel
