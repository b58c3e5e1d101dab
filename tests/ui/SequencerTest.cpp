#include "PanelTestSupport.h"

#include <gtest/gtest.h>

using namespace zarnel;
using test::mouseAt;

namespace
{

// The editor open on the simulated synthesizer, on its sequencer page.
class SequencerTest : public ::testing::Test, protected test::EditorRig
{
protected:
    SequencerTest()
    {
        main.showPage(MainComp::sequencerPage);
        settle();
    }


    SeqPanel& seq() { return main.getSequencerPanel(); }
    SeqClass& track(int k) { return seq().getTrack(k); }
    int stepOnSynth(int t, int s) { return rig.synth.editBuffer()[(size_t)SeqSteps::parameterIndex(t, s)]; }

    // Sets a step on the instrument and waits until the editor shows it.
    void stepFromInstrument(int t, int s, int value)
    {
        rig.synth.knobMove(SeqSteps::parameterIndex(t, s), value);
        ASSERT_TRUE(settleUntil([&] { return track(t).getShownValue(s) == value; }));
    }

    // A point in the middle of a step's column, at unscaled design height y (of 155).
    juce::Point<int> at(SeqClass& t, int step, float y)
    {
        return {step * t.getStepWidth() + t.getStepWidth() / 2, (int)(y * t.getVy())};
    }
    void click(SeqClass& t, juce::Point<int> p)
    {
        t.mouseDown(mouseAt(t, p.x, p.y));
        t.mouseUp(mouseAt(t, p.x, p.y));
    }
};

juce::Rectangle<int> scaledRect(int x, int y, int w, int h, float s)
{
    return {(int)((float)x * s), (int)((float)y * s), (int)((float)w * s), (int)((float)h * s)};
}

} // namespace

TEST_F(SequencerTest, PagesAndTheEditorPreview)
{
    for (const int width : {1191, 1429})
    {
        editor.setSize(width, width * 700 / 1191);
        const float s = main.getScale();
        EXPECT_TRUE(seq().isVisible());
        EXPECT_EQ(seq().getBounds(), main.getEditorArea());
        auto& preview = main.getEditorPanel();
        EXPECT_TRUE(preview.isVisible());
        EXPECT_EQ(preview.getBounds(), juce::Rectangle<int>((int)(700 * s), (int)(200 * s) + 23, (int)(456 * s), (int)(264 * s)));
        EXPECT_FLOAT_EQ(preview.getScale(), s * 456.0f / 1191.0f);
        EXPECT_GT(main.getIndexOfChildComponent(&preview), main.getIndexOfChildComponent(&seq()));
        EXPECT_GT(main.getIndexOfChildComponent(&main.getKeyboard()), main.getIndexOfChildComponent(&preview));
        EXPECT_LT(main.getIndexOfChildComponent(&main.getKeyboard()), main.getIndexOfChildComponent(&main.getSectionZoom()))
            << "the zoom covers the strip";
        for (int k = 0; k < 4; ++k)
            EXPECT_EQ(track(k).getBounds(), scaledRect(149, 2 + 165 * k, 522, 155, s)) << k;
    }
    editor.setSize(1191, 700);

    auto& program = seq().getProgramButton();
    program.mouseDown(mouseAt(program, 3, 3));
    program.mouseUp(mouseAt(program, 3, 3));
    EXPECT_EQ(main.getCurrentPage(), MainComp::editorPage);
    EXPECT_FALSE(seq().isVisible());
    EXPECT_EQ(main.getEditorPanel().getBounds(), main.getEditorArea());
    EXPECT_FLOAT_EQ(main.getEditorPanel().getScale(), 1.0f);

    auto& sequencer = main.getEditorPanel().getSequencerButton();
    sequencer.mouseDown(mouseAt(sequencer, 3, 3));
    sequencer.mouseUp(mouseAt(sequencer, 3, 3));
    EXPECT_EQ(main.getCurrentPage(), MainComp::sequencerPage);
    EXPECT_TRUE(seq().isVisible());
}

TEST_F(SequencerTest, EditThumbnailsAndOk)
{
    auto& edit = seq().getEditButton(2);
    edit.mouseDown(mouseAt(edit, 3, 3));
    edit.mouseUp(mouseAt(edit, 3, 3));
    EXPECT_EQ(seq().getChangeCode(), 501);
    EXPECT_EQ(seq().getChangeTrack(), 2) << "tracks are numbered from 0";
    settle();

    const auto expectEditing = [&](int edited) {
        EXPECT_TRUE(seq().isEditing());
        EXPECT_FALSE(main.getEditorPanel().isVisible());
        EXPECT_FALSE(seq().getProgramButton().isVisible());
        EXPECT_TRUE(seq().getOkButton().isVisible());
        EXPECT_EQ(seq().getControl(106)->getCaption(), "");
        for (int k = 0; k < 4; ++k)
        {
            if (k == edited)
            {
                EXPECT_EQ(track(k).getMode(), SeqClass::editingMode);
                EXPECT_EQ(track(k).getBounds(), juce::Rectangle<int>(88, 100, 976, 522));
                EXPECT_EQ(seq().getControl(107 + k)->getX(), 91);
            }
            else
            {
                EXPECT_EQ(track(k).getMode(), SeqClass::thumbnailMode) << k;
                EXPECT_EQ(track(k).getBounds(), juce::Rectangle<int>(220 + 143 * k, 20, 136, 60)) << k;
                EXPECT_EQ(seq().getControl(107 + k)->getX(), -1500) << k;
            }
        }
    };
    expectEditing(2);

    // A click on a thumbnail edits that track and changes no step.
    const auto before = processor.getState().getCurrentProgram();
    track(1).mouseDown(mouseAt(track(1), 60, 40));
    track(1).mouseUp(mouseAt(track(1), 60, 40));
    EXPECT_EQ(seq().getChangeCode(), 501);
    EXPECT_EQ(seq().getChangeTrack(), 1);
    settle();
    expectEditing(1);
    EXPECT_EQ(processor.getState().getCurrentProgram(), before);

    auto& ok = seq().getOkButton();
    ok.mouseDown(mouseAt(ok, 3, 3));
    ok.mouseUp(mouseAt(ok, 3, 3));
    EXPECT_EQ(seq().getChangeCode(), 500);
    settle();
    EXPECT_FALSE(seq().isEditing());
    EXPECT_TRUE(main.getEditorPanel().isVisible());
    EXPECT_EQ(seq().getControl(106)->getCaption(), "Sequencer");
    for (int k = 0; k < 4; ++k)
    {
        EXPECT_EQ(track(k).getMode(), SeqClass::overviewMode);
        EXPECT_EQ(track(k).getBounds(), juce::Rectangle<int>(149, 2 + 165 * k, 522, 155));
    }
}

TEST_F(SequencerTest, DrawModeMenu)
{
    const auto ticks = [&] {
        std::vector<bool> t;
        const auto menu = seq().createDrawModeMenu();
        for (juce::PopupMenu::MenuItemIterator it(menu); it.next();)
            if (!it.getItem().isSeparator)
                t.push_back(it.getItem().isTicked);
        return t;
    };
    EXPECT_EQ(ticks(), (std::vector<bool>{true, false, false}));
    seq().drawModeChosen(SeqPanel::penItem);
    for (int k = 0; k < 4; ++k)
        EXPECT_EQ(track(k).getDrawMode(), SeqClass::pen);
    EXPECT_EQ(ticks(), (std::vector<bool>{false, true, false}));

    // Quantize follows track 0, whatever the others were.
    track(0).setQuantize(true);
    track(2).setQuantize(true);
    seq().drawModeChosen(SeqPanel::quantizeItem);
    for (int k = 0; k < 4; ++k)
        EXPECT_FALSE(track(k).isQuantizing()) << k;
    seq().drawModeChosen(SeqPanel::quantizeItem);
    for (int k = 0; k < 4; ++k)
        EXPECT_TRUE(track(k).isQuantizing()) << k;
    EXPECT_EQ(ticks(), (std::vector<bool>{false, true, true}));
    seq().drawModeChosen(0); // dismissed
    EXPECT_TRUE(track(3).isQuantizing());
}

TEST_F(SequencerTest, TopBoxClicksReachTheInstrument)
{
    for (const bool quantize : {false, true})
    {
        auto& t = track(1);
        t.setQuantize(quantize);
        stepFromInstrument(1, 5, 60);
        // Each click reaches the instrument and comes back as what the step shows.
        for (const int expected : {126, 127, 60, 126})
        {
            click(t, at(t, 5, 8.0f));
            ASSERT_TRUE(settleUntil([&] { return stepOnSynth(1, 5) == expected && t.getShownValue(5) == expected; }))
                << "quantize " << quantize << ": " << expected << " expected, instrument has " << stepOnSynth(1, 5);
        }
    }
}

TEST_F(SequencerTest, DraggingInEachDrawMode)
{
    auto& t = track(0);
    for (int s = 0; s < 4; ++s)
        stepFromInstrument(0, s, 10);

    // Sliders: the step where the drag began, whatever the pointer crosses.
    const auto start = at(t, 1, 100.0f);
    t.mouseDown(mouseAt(t, start.x, start.y));
    for (const auto& p : {at(t, 1, 87.0f), at(t, 2, 60.0f)})
        t.mouseDrag(mouseAt(t, p.x, p.y));
    t.mouseUp(mouseAt(t, start.x, start.y));
    ASSERT_TRUE(settleUntil([&] { return stepOnSynth(0, 1) == 88; }));
    EXPECT_EQ(stepOnSynth(0, 2), 10);
    EXPECT_EQ(t.getShownValue(1), 88);

    // Pen: every step under the pointer; with quantize, even values.
    seq().drawModeChosen(SeqPanel::penItem);
    seq().drawModeChosen(SeqPanel::quantizeItem);
    t.mouseDown(mouseAt(t, start.x, start.y));
    for (const auto& p : {at(t, 2, 87.0f), at(t, 3, 23.0f)})
        t.mouseDrag(mouseAt(t, p.x, p.y));
    t.mouseUp(mouseAt(t, start.x, start.y));
    ASSERT_TRUE(settleUntil([&] { return stepOnSynth(0, 2) == 60 && stepOnSynth(0, 3) == 124; }));
}

TEST_F(SequencerTest, AStepChangedOnTheInstrumentCanBeDraggedBackToItsOldValue)
{
    auto& t = track(3);
    // A program whose step is 0 is loaded; then the instrument changes the step.
    auto record = processor.getState().getCurrentProgram();
    record[(size_t)SeqSteps::parameterIndex(3, 7)] = 0;
    processor.getState().setCurrentProgram(record);
    main.refreshAllControls();
    stepFromInstrument(3, 7, 90);
    const auto p = at(t, 7, 148.0f); // value 0
    t.mouseDown(mouseAt(t, p.x, p.y - 20));
    t.mouseDrag(mouseAt(t, p.x, p.y));
    t.mouseUp(mouseAt(t, p.x, p.y));
    ASSERT_TRUE(settleUntil([&] { return stepOnSynth(3, 7) == 0; }));
    EXPECT_EQ(t.getShownValue(7), 0);
}

TEST_F(SequencerTest, AStepEditReachesTheInstrumentAsItsParameter)
{
    // Parameter 120 + 16 t + s: the instrument, which maps NRPNs to parameters itself, changes
    // that step and nothing else.
    for (const auto& [t, s] : {std::pair(0, 0), std::pair(2, 9), std::pair(3, 15)})
    {
        stepFromInstrument(t, s, 60);
        const auto before = rig.synth.editBuffer();
        const auto p = at(track(t), s, 80.0f);
        track(t).mouseWheelMove(mouseAt(track(t), p.x, p.y), test::wheel(1.0f));
        ASSERT_TRUE(settleUntil([&] { return stepOnSynth(t, s) == 61; })) << t << " " << s;
        auto expected = before;
        expected[(size_t)SeqSteps::parameterIndex(t, s)] = 61;
        EXPECT_EQ(rig.synth.editBuffer(), expected);
    }
    main.parameterChanged(183, 98);
    EXPECT_EQ(track(3).getShownValue(15), 98);
}

TEST_F(SequencerTest, DestinationsSwitchNoteNamesAndOtherParametersChangeNothing)
{
    main.parameterChanged(108, 2);
    EXPECT_TRUE(track(1).isNoteDisplay());
    EXPECT_EQ(seq().getControl(108)->getShownValue(), 2);
    main.parameterChanged(136 + 4, 27);
    EXPECT_EQ(track(1).getLabel(4), "C#+1");
    main.parameterChanged(108, 0);
    EXPECT_FALSE(track(1).isNoteDisplay());
    EXPECT_EQ(track(1).getLabel(4), "27");

    main.parameterChanged(101, 140);
    EXPECT_EQ(seq().getControl(101)->getValueText(), "140 bpm");

    // A byte past 127 in a loaded program shows "OFF".
    auto record = processor.getState().getCurrentProgram();
    record[120] = 200;
    processor.getState().setCurrentProgram(record);
    main.refreshAllControls();
    EXPECT_EQ(track(0).getShownValue(0), 127);
    EXPECT_EQ(track(0).getLabel(0), "OFF");

    // Index 95 reaches the panel and changes nothing there.
    juce::Image before = seq().createComponentSnapshot(seq().getLocalBounds());
    main.parameterChanged(95, 1);
    juce::Image after = seq().createComponentSnapshot(seq().getLocalBounds());
    for (int y = 0; y < before.getHeight(); y += 7)
        for (int x = 0; x < before.getWidth(); x += 7)
            ASSERT_EQ(before.getPixelAt(x, y), after.getPixelAt(x, y)) << x << ", " << y;
}
