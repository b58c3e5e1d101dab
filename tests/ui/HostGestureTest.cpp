#include "PanelTestSupport.h"

#include "plugin/HostParameter.h"
#include "ui/editor/ControlTable.h"
#include "ui/editor/EditorPanel.h"
#include "ui/sequencer/SeqClass.h"
#include "ui/sequencer/SeqPanel.h"
#include "ui/widgets/StsCont.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

using namespace zarnel;
using test::mouseAt;

namespace
{

// The host's side of the gestures: +(index + 1) at a begin, -(index + 1) at an end.
struct GestureLog : juce::AudioProcessorParameter::Listener
{
    GestureLog(ZarnelAudioProcessor& p, std::vector<int> watched) : processor(p), indices(std::move(watched))
    {
        for (const int i : indices)
            processor.getHostParameter(i)->addListener(this);
    }
    ~GestureLog() override
    {
        for (const int i : indices)
            processor.getHostParameter(i)->removeListener(this);
    }
    void parameterValueChanged(int, float) override {}
    void parameterGestureChanged(int index, bool starting) override
    {
        events.push_back((starting ? 1 : -1) * (index + 1));
    }

    ZarnelAudioProcessor& processor;
    std::vector<int> indices;
    std::vector<int> events;
};

// What the window system says while a button is held: the processor's look for held gestures
// whose widget never heard the button go up reads it.
struct ButtonHeld
{
    ButtonHeld() { juce::ModifierKeys::currentModifiers = test::leftButton(); }
    ~ButtonHeld() { release(); }
    void release() { juce::ModifierKeys::currentModifiers = juce::ModifierKeys(); }
};

// A mouse gesture on one widget: press, the k-th move, release.
struct Drag
{
    const char* what;
    int index;
    std::function<void()> down;
    std::function<void(int k)> move;
    std::function<void()> up;
};

constexpr int knobIndex = 20;
constexpr int stepIndex = 120 + 2; // track 1, step 3

struct HostGestureTest : ::testing::Test, test::PanelRig
{
    HostGestureTest()
    {
        knob.configure(knobIndex, "Frequency", 42, 205, 65, 64, 0, 164, StsCont::knob, 222);
        track.setLayout(0, 0, 522, 155);
    }

    // A pause of about 600 ms: the gesture timer's three looks.
    void pause()
    {
        for (int i = 0; i < 3; ++i)
            processor.timerCallback();
    }

    Drag knobDrag(StsCont& c)
    {
        return {"knob", c.getParameterIndex(), [&c] { c.mouseDown(mouseAt(c, 30, 30)); },
                [&c](int k) { c.mouseDrag(mouseAt(c, 30 + 5 * k, 30)); },
                [&c] { c.mouseUp(mouseAt(c, 30, 30)); }};
    }
    // The attack handle, wherever the envelope's stages put it.
    Drag envelopeDrag(Envel& env)
    {
        const auto at = (EnvelopeShape::corners(env.getStages())[1] * env.getScale()).toInt();
        return {"envelope", ControlTable::envelopeParameters(env.getEnvelopeNumber())[0],
                [&env, at] { env.mouseDown(mouseAt(env, at.x, at.y)); },
                [&env, at](int k)
                {
                    env.mouseDrag(mouseAt(env, at.x + 6 * k, at.y));
                    env.dispatchPendingMessages(); // its owner's callback, as the message loop runs it
                },
                [&env, at] { env.mouseUp(mouseAt(env, at.x, at.y)); }};
    }
    // The middle of the third step's bar.
    Drag stepDrag(SeqClass& t)
    {
        const int x = t.getStepWidth() * 2 + t.getStepWidth() / 2, y = t.getHeight() * 2 / 3;
        return {"sequencer step", SeqSteps::parameterIndex(t.getTrackNumber(), 2),
                [&t, x, y] { t.mouseDown(mouseAt(t, x, y)); },
                [&t, x, y](int k) { t.mouseDrag(mouseAt(t, x, y - 10 * k)); },
                [&t, x, y] { t.mouseUp(mouseAt(t, x, y)); }};
    }

    StsCont knob{processor};
    EditorPanel panel{processor};
    SeqClass track{processor, 0};
};

} // namespace

TEST_F(HostGestureTest, ADragThatPausesIsOneGestureFromMouseDownToMouseUp)
{
    for (const auto& drag : {knobDrag(knob), envelopeDrag(panel.getEnvelope(0)), stepDrag(track)})
    {
        SCOPED_TRACE(drag.what);
        const int before = processor.getState().getCurrentByte(drag.index);
        const auto steps = processor.getHistory().getHistory().getNumUndoSteps();
        GestureLog log(processor, {drag.index});
        {
            ButtonHeld button;
            drag.down();
            EXPECT_EQ(log.events, std::vector<int>{drag.index + 1}) << "begun at mouse down";
            drag.move(1);
            pause();
            drag.move(2);
            pause();
            drag.move(3);
            pause();
            EXPECT_EQ(log.events, std::vector<int>{drag.index + 1}) << "the pauses end nothing";
            button.release();
            drag.up();
        }
        EXPECT_EQ(log.events, (std::vector<int>{drag.index + 1, -(drag.index + 1)})) << "ended at mouse up";
        EXPECT_FALSE(processor.isGestureOpen(drag.index));
        EXPECT_NE(processor.getState().getCurrentByte(drag.index), before) << "the drag changed the value";
        pause();
        EXPECT_EQ(log.events.size(), 2u);
        EXPECT_EQ(processor.getHistory().getHistory().getNumUndoSteps(), steps + 1) << "one undo step";
    }
}

TEST_F(HostGestureTest, ATopBoxClickEndsItsGestureAtMouseUp)
{
    GestureLog log(processor, {stepIndex});
    ButtonHeld button;
    track.mouseDown(mouseAt(track, 74, 5));
    EXPECT_EQ(processor.getState().getCurrentByte(stepIndex), SeqSteps::resetCode);
    pause();
    EXPECT_EQ(log.events, std::vector<int>{stepIndex + 1});
    button.release();
    track.mouseUp(mouseAt(track, 74, 5));
    EXPECT_EQ(log.events, (std::vector<int>{stepIndex + 1, -(stepIndex + 1)}));
}

TEST_F(HostGestureTest, EditsWithoutAMouseButtonCloseOnTheTimer)
{
    struct Case
    {
        const char* what;
        int index;
        std::function<void()> edit;
    };
    const Case cases[] = {
        {"knob key", knobIndex, [&] { knob.keyPressed(juce::KeyPress(juce::KeyPress::upKey)); }},
        {"knob wheel", knobIndex, [&] { knob.mouseWheelMove(mouseAt(knob, 30, 30), test::wheel(1.0f)); }},
        {"screen reader", knobIndex,
         [&]
         {
             const auto handler = knob.createAccessibilityHandler();
             handler->getValueInterface()->setValue(knob.getPendingValue() + 3);
         }},
        {"step wheel", stepIndex, [&] { track.mouseWheelMove(mouseAt(track, 74, 100), test::wheel(1.0f)); }},
    };
    for (const auto& c : cases)
    {
        GestureLog log(processor, {c.index});
        c.edit();
        c.edit();
        EXPECT_EQ(log.events, std::vector<int>{c.index + 1}) << c.what;
        processor.timerCallback();
        EXPECT_EQ(log.events, (std::vector<int>{c.index + 1, -(c.index + 1)})) << c.what;
    }
}

TEST_F(HostGestureTest, ClosingTheEditorMidDragEndsTheGesture)
{
    auto editor = std::make_unique<ZarnelAudioProcessorEditor>(processor);
    test::pumpMessages(20);
    auto& main = editor->getMainComp();
    const Drag drags[] = {knobDrag(*main.getEditorPanel().getControl(knobIndex)),
                          envelopeDrag(main.getEditorPanel().getEnvelope(1)),
                          stepDrag(main.getSequencerPanel().getTrack(1))};
    std::vector<int> indices;
    for (const auto& d : drags)
        indices.push_back(d.index);
    GestureLog log(processor, indices);
    ButtonHeld button;
    for (const auto& d : drags)
    {
        d.down();
        d.move(1);
    }
    pause();
    ASSERT_EQ(log.events.size(), 3u);
    editor.reset();
    EXPECT_EQ(log.events.size(), 6u);
    for (const auto& d : drags)
        EXPECT_FALSE(processor.isGestureOpen(d.index)) << d.what;
}

TEST_F(HostGestureTest, AHeldGestureEndsOnceNoButtonIsDown)
{
    // A widget taken away under the mouse never hears the button go up.
    GestureLog log(processor, {knobIndex});
    ButtonHeld button;
    knob.mouseDown(mouseAt(knob, 30, 30));
    knob.mouseDrag(mouseAt(knob, 40, 30));
    pause();
    EXPECT_TRUE(processor.isGestureOpen(knobIndex));
    button.release();
    processor.timerCallback();
    EXPECT_FALSE(processor.isGestureOpen(knobIndex));
    EXPECT_EQ(log.events, (std::vector<int>{knobIndex + 1, -(knobIndex + 1)}));
    knob.mouseUp(mouseAt(knob, 40, 30)); // late: ends nothing more
    EXPECT_EQ(log.events.size(), 2u);
}

TEST_F(HostGestureTest, NoGestureIsHeldWhileComparing)
{
    processor.setComparing(true);
    GestureLog log(processor, {knobIndex});
    ButtonHeld button;
    knob.mouseDown(mouseAt(knob, 30, 30));
    EXPECT_FALSE(knob.isHoldingGesture());
    EXPECT_TRUE(log.events.empty());
    knob.mouseUp(mouseAt(knob, 30, 30));
    processor.setComparing(false);
}

TEST_F(HostGestureTest, TheEnvelopesValueTextGoesAtMouseUp)
{
    auto& env = panel.getEnvelope(0);
    env.mouseDown(mouseAt(env, 16, 16));
    env.mouseDrag(mouseAt(env, 22, 16));
    EXPECT_TRUE(env.isShowingValue());
    env.mouseUp(mouseAt(env, 22, 16));
    EXPECT_FALSE(env.isShowingValue());
    EXPECT_EQ(processor.getState().getCurrentByte(ControlTable::envelopeParameters(0)[0]), 4)
        << "the last step reached the control before the release";
}
