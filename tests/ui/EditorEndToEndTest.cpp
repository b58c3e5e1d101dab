#include "PanelTestSupport.h"

#include "plugin/HostParameter.h"

#include <gtest/gtest.h>

using namespace zarnel;
using test::mouseAt;

namespace
{

// The editor open on a processor whose MIDI ports reach the simulated synthesizer.
class EditorEndToEndTest : public ::testing::Test, protected test::EditorRig
{
protected:
    EditorEndToEndTest() { settle(); }
};

} // namespace

TEST_F(EditorEndToEndTest, AKnobOnTheInstrumentMovesThePanelTheZoomAndTheHost)
{
    auto* resonance = panel().getControl(21);
    resonance->mouseDown(mouseAt(*resonance, 3, 3, test::rightButton()));
    ASSERT_TRUE(settleUntil([&] { return main.getSectionZoom().isVisible(); }));

    struct Case
    {
        int index, value;
        bool inZoom;
    };
    const Case cases[] = {{21, 90, true}, {29, 17, true}, {101, 200, false}, {25, 200, true}, {95, 1, false}};
    for (const auto& c : cases)
    {
        rig.synth.knobMove(c.index, c.value);
        ASSERT_TRUE(settleUntil([&] { return panel().getControl(c.index)->getShownValue() == c.value; })) << c.index;
        const int maximum = processor.getState().getTables().maximum(c.index);
        EXPECT_FLOAT_EQ(processor.getHostParameter(c.index)->getValue(), (float)c.value / (float)maximum) << c.index;
        auto* twin = main.getSectionZoom().getControl(c.index);
        if (c.inZoom)
            EXPECT_EQ(twin->getShownValue(), c.value) << c.index;
        else
            EXPECT_NE(twin->getShownValue(), c.value) << c.index;
    }
    EXPECT_EQ(main.getSectionZoom().getEnvelope(0).getStageValue(1), 17.0f);
    EXPECT_EQ(panel().getEnvelope(0).getStageValue(1), 17.0f);
}

TEST_F(EditorEndToEndTest, AProgramDumpRefreshesEveryControl)
{
    ProgramSysex::Record record = rig.synth.editBuffer();
    juce::Random random(5);
    const auto& tables = processor.getState().getTables();
    for (int i = 0; i < ControlTable::numSlots; ++i)
        record[(size_t)i] = (std::uint8_t)(tables.minimum(i) + random.nextInt(tables.maximum(i) - tables.minimum(i) + 1));
    rig.synth.setEditBuffer(record);
    rig.synth.sendEditBufferDump();
    ASSERT_TRUE(settleUntil([&] { return processor.getState().getCurrentProgram() == record; }));
    settle();
    for (const auto& row : ControlTable::rows())
        EXPECT_EQ(panel().getControl(row.index)->getShownValue(),
                  juce::jlimit(row.minimum, row.maximum, (int)record[(size_t)row.index]))
            << row.index;
    for (int e = 0; e < ControlTable::numEnvelopes; ++e)
        for (int stage = 0; stage < ControlTable::numStages; ++stage)
            EXPECT_EQ(panel().getEnvelope(e).getStageValue(stage),
                      (float)record[(size_t)ControlTable::envelopeParameters(e)[(size_t)stage]]);
}

TEST_F(EditorEndToEndTest, APanelDragReachesTheInstrumentAsNrpn)
{
    auto* cutoff = panel().getControl(20);
    main.parameterChanged(20, 60);
    rig.synth.clearLogs();
    cutoff->mouseDown(mouseAt(*cutoff, 30, 30));
    cutoff->mouseDrag(mouseAt(*cutoff, 30, 5)); // 25 pixels up
    cutoff->mouseUp(mouseAt(*cutoff, 30, 5));
    ASSERT_TRUE(settleUntil([&] { return rig.synth.editBuffer()[20] == 85; }));
    EXPECT_EQ(cutoff->getShownValue(), 85) << "the panel shows what came back";

    bool sawNrpn = false;
    for (const auto& entry : rig.synth.received())
        sawNrpn = sawNrpn || (entry.bytes.size() == 3 && (entry.bytes[0] & 0xF0) == 0xB0 && entry.bytes[1] == 99);
    EXPECT_TRUE(sawNrpn);

    // The envelope's handle, dragged, reaches it too.
    auto& env = panel().getEnvelope(1);
    const auto corner = EnvelopeShape::corners(env.getStages())[1].toInt();
    const int attackBefore = (int)env.getStageValue(0);
    env.mouseDown(mouseAt(env, corner.x, corner.y));
    env.mouseDrag(mouseAt(env, corner.x + 15, corner.y));
    ASSERT_TRUE(settleUntil([&] { return rig.synth.editBuffer()[36] == attackBefore + 10; }));
}

// Dragged away and back before the first step's echo: the control still shows the value it
// left, and the echo must not leave it, the program or the instrument at the step between.
TEST_F(EditorEndToEndTest, ADragBackBeforeTheEchoEndsWhereThePointerIs)
{
    auto* cutoff = panel().getControl(20);
    main.parameterChanged(20, 60);
    cutoff->mouseDown(mouseAt(*cutoff, 30, 30));
    cutoff->mouseDrag(mouseAt(*cutoff, 40, 30));
    cutoff->mouseDrag(mouseAt(*cutoff, 30, 30));
    cutoff->mouseUp(mouseAt(*cutoff, 30, 30));

    main.parameterChanged(36, 30);
    auto& env = panel().getEnvelope(1);
    const auto corner = EnvelopeShape::corners(env.getStages())[1].toInt();
    env.mouseDown(mouseAt(env, corner.x, corner.y));
    env.mouseDrag(mouseAt(env, corner.x + 15, corner.y));
    env.dispatchPendingMessages(); // the attack's step is asked for
    env.mouseDrag(mouseAt(env, corner.x, corner.y));
    env.dispatchPendingMessages();

    ASSERT_TRUE(settleUntil([&] { return rig.synth.editBuffer()[20] == 60 && rig.synth.editBuffer()[36] == 30; }));
    settle();
    EXPECT_EQ(processor.getState().getCurrentByte(20), 60);
    EXPECT_EQ(cutoff->getShownValue(), 60);
    EXPECT_EQ(processor.getState().getCurrentByte(36), 30);
    EXPECT_EQ(env.getStageValue(0), 30.0f);
}

// The echo of the first step is shown before the envelope's change message for the step back is
// handled: the step back still counts.
TEST_F(EditorEndToEndTest, AnEchoShownBeforeTheEnvelopesCallbackDoesNotHideTheStepBack)
{
    main.parameterChanged(36, 30);
    auto& env = panel().getEnvelope(1);
    const auto corner = EnvelopeShape::corners(env.getStages())[1].toInt();
    env.mouseDown(mouseAt(env, corner.x, corner.y));
    env.mouseDrag(mouseAt(env, corner.x + 15, corner.y));
    env.dispatchPendingMessages();
    const int stepped = (int)env.getStageValue(0);
    ASSERT_NE(stepped, 30);
    env.mouseDrag(mouseAt(env, corner.x, corner.y));
    main.parameterChanged(36, stepped); // the first step's echo
    env.dispatchPendingMessages();

    ASSERT_TRUE(settleUntil([&] { return rig.synth.editBuffer()[36] == 30; }));
    settle();
    EXPECT_EQ(processor.getState().getCurrentByte(36), 30);
    EXPECT_EQ(env.getStageValue(0), 30.0f);
}

TEST_F(EditorEndToEndTest, ABytePastItsRangeIsShownClampedAndKeptUntilEdited)
{
    // Seen in the field: a sub-oscillator level of 183 on a 0..127 parameter.
    auto record = rig.synth.editBuffer();
    record[5] = 183;
    record[29] = 200; // the filter envelope's decay: shown by the knob and the envelope alike
    record[101] = 10;  // the tempo, below its minimum
    rig.synth.setEditBuffer(record);
    rig.synth.sendEditBufferDump();
    ASSERT_TRUE(settleUntil([&] { return processor.getState().getCurrentByte(5) == 183; }));
    settle();

    EXPECT_EQ(panel().getControl(5)->getShownValue(), 127);
    EXPECT_EQ(panel().getControl(5)->getValueText(), "127");
    EXPECT_EQ(panel().getEnvelope(0).getStageValue(1), 127.0f);
    auto* host = processor.getHostParameter(5);
    EXPECT_FLOAT_EQ(host->getValue(), 1.0f);
    EXPECT_EQ(processor.getParameterText(5), "127");
    const auto& tables = processor.getState().getTables();
    auto* tempo = processor.getHostParameter(101);
    EXPECT_FLOAT_EQ(tempo->getValue(), (float)tables.minimum(101) / (float)tables.maximum(101));

    // The host sending the value back, a repaint, the zoom: nothing changes the byte.
    host->setValue(host->getValue());
    tempo->setValue(tempo->getValue());
    main.refreshAllControls();
    main.openSectionZoom(7);
    main.closeSectionZoom();
    settle();
    EXPECT_EQ(processor.getState().getCurrentByte(5), 183);
    EXPECT_EQ(processor.getState().getCurrentByte(29), 200);
    EXPECT_EQ(processor.getState().getCurrentByte(101), 10);

    // Sent back, the program is the one that came.
    rig.synth.setEditBuffer({});
    processor.getState().sendEditBuffer(processor.getState().getCurrentProgram());
    ASSERT_TRUE(settleUntil([&] { return rig.synth.counters().editBufferDumpsReceived > 0; }));
    EXPECT_EQ(rig.synth.editBuffer(), record);

    // An edit replaces it.
    auto* level = panel().getControl(5);
    level->mouseDown(mouseAt(*level, 30, 30));
    level->mouseDrag(mouseAt(*level, 30, 37));
    settle();
    EXPECT_EQ(processor.getState().getCurrentByte(5), 120);
    EXPECT_EQ(level->getShownValue(), 120);
}

TEST_F(EditorEndToEndTest, AChangeRepaintsOnlyWhatShowsIt)
{
    editor.setVisible(true);
    auto* recorder = new test::RepaintRecorder(editor);
    editor.setCachedComponentImage(recorder);
    settle();
    const auto inEditor = [&](juce::Component& c) { return editor.getLocalArea(&c, c.getLocalBounds()); };

    struct Case
    {
        int index, value;
        int envelope; // -1: none shows it
    };
    const Case cases[] = {{21, 90, -1}, {30, 100, 0}, {101, 140, -1}};
    for (const auto& c : cases)
    {
        recorder->take();
        main.parameterChanged(c.index, c.value);
        juce::RectangleList<int> expected(inEditor(*panel().getControl(c.index)));
        if (c.envelope >= 0)
            expected.add(inEditor(panel().getEnvelope(c.envelope)));
        const auto asked = recorder->take();
        const auto pixels = [](const juce::RectangleList<int>& list) {
            int n = 0;
            for (const auto& r : list)
                n += r.getWidth() * r.getHeight();
            return n;
        };
        for (const auto& part : asked)
            EXPECT_TRUE(expected.containsRectangle(part)) << c.index << ": nothing but what shows it";
        EXPECT_EQ(pixels(asked), pixels(expected)) << c.index << ": all of what shows it";
    }
    main.parameterChanged(21, 90);
    EXPECT_EQ(recorder->getRequests(), 0) << "the value it shows already: nothing";
    editor.setVisible(false);
}
