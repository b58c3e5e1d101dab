#include "plugin/HostParameter.h"
#include "plugin/StateBlocks.h"
#include "plugin/ZarnelAudioProcessor.h"
#include "support/SynthRig.h"

#include "AllocationCounter.h"

#include "model/DSI_Program.h"
#include "model/DefaultProgram.h"
#include "model/ParDes.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

using namespace zarnel;

namespace
{

class ProcessorTest : public ::testing::Test
{
protected:
    std::vector<Bytes> synthReceived() const
    {
        std::vector<Bytes> out;
        for (const auto& e : rig.synth.received())
            out.push_back(e.bytes);
        return out;
    }

    juce::ScopedJuceInitialiser_GUI juce;
    test::SynthRig rig;
    ZarnelAudioProcessor processor{rig.folder.get(), rig.backend};
};

struct GestureRecorder : juce::AudioProcessorParameter::Listener
{
    void parameterValueChanged(int, float) override { ++valueChanges; }
    void parameterGestureChanged(int index, bool starting) override
    {
        events.push_back((starting ? 1 : -1) * (index + 1));
    }
    std::vector<int> events;
    int valueChanges = 0;
};

Bytes cc(int controller, int value)
{
    return {0xB0, (std::uint8_t)controller, (std::uint8_t)value};
}

} // namespace

TEST_F(ProcessorTest, ConstructionSendsNothingAndShowsTheInitialProgram)
{
    rig.synth.waitUntilIdle(200);
    juce::Thread::sleep(50);
    EXPECT_TRUE(rig.synth.received().empty());

    DSI_Program untitled;
    EXPECT_EQ(processor.getState().getCurrentProgram(), untitled.getData());
    EXPECT_FLOAT_EQ(processor.getParameter(2), 1.0f / 103.0f);
    EXPECT_EQ(processor.getParameterText(20), "148");
    EXPECT_EQ(processor.getProgramName(127), "Untitled        ");
}

TEST_F(ProcessorTest, HostParametersPresentTheTable)
{
    const auto& params = processor.getParameters();
    ASSERT_EQ(params.size(), 185);
    for (int i = 0; i < 185; ++i)
        EXPECT_EQ(params[i]->getName(100), ParDes::hostParameterName(i)) << i;

    auto* shape = processor.getHostParameter(2);
    EXPECT_EQ(shape->getNumSteps(), 104);
    EXPECT_EQ(shape->getText(1.0f, 100), "PW 99");
    EXPECT_EQ(shape->getText(0.0f, 100), "OFF");
    EXPECT_FLOAT_EQ(shape->getValueForText("PW 10"), 14.0f / 103.0f);
    EXPECT_EQ(processor.getHostParameter(101)->getText(120.0f / 250.0f, 100), "120 bpm");

    EXPECT_EQ(processor.getParameter(185), 0.0f);
    EXPECT_EQ(processor.getParameterName(185), "");
    EXPECT_EQ(processor.getParameterName(99), "");
}

TEST_F(ProcessorTest, HostValuesRoundToTheNearestStoredValue)
{
    struct Case
    {
        int index;
        float value;
        int stored;
    };
    const Case cases[] = {{2, 1.0f, 103}, {2, 0.5f, 52}, {101, 0.0f, 0}, {20, 1.0f, 164}, {4, 0.49f, 0}, {4, 0.51f, 1}};
    for (const auto& c : cases)
    {
        processor.setParameter(c.index, c.value);
        EXPECT_EQ(processor.getState().getCurrentByte(c.index), c.stored) << c.index << " " << c.value;
    }
    processor.setParameter(185, 1.0f);
    EXPECT_EQ(processor.getState().getCurrentByte(185), DefaultProgram::record()[185]);
}

TEST_F(ProcessorTest, HostAutomationReachesTheSynthOnce)
{
    processor.setParameter(20, 100.0f / 164.0f);
    processor.setParameter(20, 100.0f / 164.0f);
    ASSERT_TRUE(rig.synth.waitUntil([&] { return rig.synth.received().size() >= 4; }, 3000));
    juce::Thread::sleep(30);
    EXPECT_EQ(synthReceived(), (std::vector<Bytes>{cc(99, 0), cc(98, 15), cc(6, 0), cc(38, 100)}));
    EXPECT_EQ(rig.synth.editBuffer()[20], 100);
}

TEST_F(ProcessorTest, EditorEditsReachTheSynthAsNrpn)
{
    processor.setParameterFromEditor(20, 100, true, true);
    processor.setParameterFromEditor(20, 100, true, true);  // repeat: nothing
    processor.setParameterFromEditor(105, 3, true, true);   // shares NRPN 94 with index 99
    processor.setParameterFromEditor(106, 1, true, true);   // shares NRPN 101 with index 100
    processor.setParameterFromEditor(0, 30, true, false);   // not sent
    ASSERT_TRUE(rig.synth.waitUntil([&] { return rig.synth.received().size() >= 12; }, 3000));
    juce::Thread::sleep(30);
    EXPECT_EQ(synthReceived(), (std::vector<Bytes>{cc(99, 0), cc(98, 15), cc(6, 0), cc(38, 100),
                                                   cc(99, 0), cc(98, 94), cc(6, 0), cc(38, 3),
                                                   cc(99, 0), cc(98, 101), cc(6, 0), cc(38, 1)}));
    EXPECT_EQ(rig.synth.editBuffer()[20], 100);
    EXPECT_EQ(rig.synth.editBuffer()[105], 3);
    EXPECT_EQ(rig.synth.editBuffer()[106], 1);
    EXPECT_EQ(processor.getState().getCurrentByte(0), 30);
    EXPECT_FLOAT_EQ(processor.getParameter(0), 30.0f / 120.0f);
}

TEST_F(ProcessorTest, KnobMoveOnTheSynthBecomesAHostChangeWithoutEcho)
{
    GestureRecorder recorder;
    processor.getHostParameter(20)->addListener(&recorder);
    rig.synth.knobMove(20, 64);
    ASSERT_TRUE(rig.synth.waitUntilIdle(3000));
    processor.applyHardwareChanges();
    processor.getHostParameter(20)->removeListener(&recorder);

    EXPECT_EQ(processor.getState().getCurrentByte(20), 64);
    EXPECT_FLOAT_EQ(processor.getParameter(20), 64.0f / 164.0f);
    EXPECT_EQ(recorder.valueChanges, 1);
    juce::Thread::sleep(50);
    EXPECT_TRUE(rig.synth.received().empty()) << "nothing goes back to the synthesizer";
}

TEST_F(ProcessorTest, GesturesCloseAtOnceOrAfterTheTimer)
{
    GestureRecorder recorder;
    processor.getHostParameter(3)->addListener(&recorder);
    processor.getHostParameter(5)->addListener(&recorder);

    processor.setParameterFromEditor(3, 10, false, false);
    processor.setParameterFromEditor(3, 11, false, false);
    EXPECT_TRUE(processor.isGestureOpen(3));
    EXPECT_EQ(recorder.events, std::vector<int>{4});
    processor.timerCallback();
    EXPECT_FALSE(processor.isGestureOpen(3));
    EXPECT_EQ(recorder.events, (std::vector<int>{4, -4}));

    processor.setParameterFromEditor(5, 1, true, false);
    EXPECT_FALSE(processor.isGestureOpen(5));
    EXPECT_EQ(recorder.events, (std::vector<int>{4, -4, 6, -6}));

    // Indices without a host parameter still get their bytes and notifications.
    processor.setParameterFromEditor(190, 65, true, false);
    EXPECT_EQ(processor.getState().getCurrentByte(190), 65);
    processor.setParameterFromEditor(-1, 5, true, false);

    processor.getHostParameter(3)->removeListener(&recorder);
    processor.getHostParameter(5)->removeListener(&recorder);
}

TEST_F(ProcessorTest, ProgramsOfTheHostBank)
{
    EXPECT_EQ(processor.getNumPrograms(), 128);
    processor.changeProgramName(4, "My Lead");
    EXPECT_EQ(processor.getProgramName(4), "My Lead         ");
    EXPECT_EQ(processor.getCurrentProgram(), 4);
    EXPECT_EQ(processor.getState().getCurrentProgram(), processor.getState().getHostBankProgram(4));

    processor.setCurrentProgram(200);
    EXPECT_EQ(processor.getCurrentProgram(), 4);
}

TEST(SampleRateIndex, Table)
{
    const std::pair<double, int> cases[] = {{44100, 0}, {48000, 1}, {88200, 2}, {96000, 3},
                                            {176400, 4}, {192000, 5}, {32000, 0}, {0, 0}};
    for (const auto& [rate, index] : cases)
        EXPECT_EQ(MidiCntrState::sampleRateIndexFor(rate), index) << rate;
}

TEST_F(ProcessorTest, LatencyOffsetFollowsTheSampleRate)
{
    processor.getState().setLatency(0, {10, 20, 30, 40, 50, 60, 70});
    processor.prepareToPlay(48000.0, 512);
    EXPECT_EQ(processor.getState().getLatencyOffset(), 20);
    processor.prepareToPlay(32000.0, 512);
    EXPECT_EQ(processor.getState().getLatencyOffset(), 10);
    processor.getState().setLatency(100, {10, 20, 30, 40, 50, 60, 70});
    EXPECT_EQ(processor.getState().getLatencyOffset(), 0);
}

//==== State ==========================================================================================

TEST_F(ProcessorTest, BankStateAfterConstruction)
{
    juce::MemoryBlock block;
    processor.getStateInformation(block);
    ASSERT_GE(block.getSize(), StateBlocks::bankBlockSize);
    const auto* bytes = static_cast<const char*>(block.getData());
    EXPECT_EQ(std::string(bytes, 25), "MophoPluginBankVersion100");
    DSI_Program untitled;
    const auto rec = untitled.getData();
    for (int slot = 0; slot < 128; ++slot)
        ASSERT_EQ(0, std::memcmp(bytes + 25 + slot * 256, rec.data(), 256)) << slot;
}

TEST_F(ProcessorTest, ProgramStateWritesTheEditedProgramIntoItsSlot)
{
    processor.setParameter(20, 1.0f);
    juce::MemoryBlock program;
    processor.getCurrentProgramStateInformation(program);
    ASSERT_EQ(program.getSize(), 285u);
    EXPECT_EQ(std::string(static_cast<const char*>(program.getData()), 29), "MophoPluginSettingsVersion100");
    EXPECT_EQ(processor.getState().getHostBankProgram(0)[20], 164);

    juce::MemoryBlock bank;
    processor.getStateInformation(bank);
    EXPECT_EQ(static_cast<const std::uint8_t*>(bank.getData())[25 + 20], 164);
}

TEST_F(ProcessorTest, WrongBlocksChangeNothing)
{
    const auto before = processor.getState().getHostBankData();
    const auto current = processor.getState().getCurrentProgram();

    juce::MemoryBlock program;
    processor.getCurrentProgramStateInformation(program);
    processor.setStateInformation(program.getData(), (int)program.getSize());
    juce::MemoryBlock bank;
    processor.getStateInformation(bank);
    processor.setCurrentProgramStateInformation(bank.getData(), (int)bank.getSize());
    processor.setStateInformation(bank.getData(), 32792);
    processor.setStateInformation(nullptr, 0);

    EXPECT_EQ(processor.getState().getHostBankData(), before);
    EXPECT_EQ(processor.getState().getCurrentProgram(), current);
}

TEST_F(ProcessorTest, ProjectReopenBringsBackTheEditedProgramAndNumber)
{
    processor.changeProgramName(9, "Slot Nine");
    processor.setParameter(20, 0.25f);
    juce::MemoryBlock saved;
    processor.getStateInformation(saved);

    test::SynthRig otherRig;
    ZarnelAudioProcessor reopened(otherRig.folder.get(), otherRig.backend);
    reopened.setStateInformation(saved.getData(), (int)saved.getSize());
    EXPECT_EQ(reopened.getCurrentProgram(), 9);
    EXPECT_EQ(reopened.getState().getCurrentProgram(), processor.getState().getCurrentProgram());
    EXPECT_EQ(reopened.getProgramName(9), "Slot Nine       ");

    // A plain bank block (as a preset file holds it) loads the bank alone, even with another
    // version text.
    ZarnelAudioProcessor plain(otherRig.folder.get().getChildFile("second"), otherRig.backend);
    auto bytes = StateBlocks::makeBankBlock(processor.getState().getHostBankData());
    std::memcpy(bytes.data() + 15, "Version999", 10);
    const auto currentBefore = plain.getState().getCurrentProgram();
    plain.setStateInformation(bytes.data(), (int)bytes.size());
    EXPECT_EQ(plain.getProgramName(9), "Slot Nine       ");
    EXPECT_EQ(plain.getState().getCurrentProgram(), currentBefore);
    EXPECT_EQ(plain.getCurrentProgram(), 0);
}

//==== MIDI routing ===================================================================================

namespace
{

class RoutingTest : public ProcessorTest
{
protected:
    juce::AudioBuffer<float> audio{2, 512};
    juce::MidiBuffer midi;

    void block()
    {
        processor.processBlock(audio, midi);
    }
};

} // namespace

TEST_F(RoutingTest, AudioPassesThrough)
{
    processor.prepareToPlay(44100.0, 512);
    for (int ch = 0; ch < 2; ++ch)
        for (int i = 0; i < 512; ++i)
            audio.setSample(ch, i, (float)(i % 7) * 0.1f - 0.3f);
    juce::AudioBuffer<float> copy(audio);
    block();
    for (int ch = 0; ch < 2; ++ch)
        for (int i = 0; i < 512; ++i)
            ASSERT_EQ(audio.getSample(ch, i), copy.getSample(ch, i));
}

TEST_F(RoutingTest, HostMidiIsForwardedExceptNrpnPartsAndProgramChanges)
{
    processor.prepareToPlay(44100.0, 512);
    midi.addEvent(juce::MidiMessage::noteOn(1, 60, (juce::uint8)90), 0);
    midi.addEvent(juce::MidiMessage::controllerEvent(1, 99, 1), 1);
    midi.addEvent(juce::MidiMessage::controllerEvent(1, 7, 100), 2);
    midi.addEvent(juce::MidiMessage::programChange(1, 5), 3);
    midi.addEvent(juce::MidiMessage::noteOff(1, 60), 4);
    block();
    EXPECT_TRUE(midi.isEmpty()) << "host MIDI does not come back to the host";

    ASSERT_TRUE(rig.synth.waitUntil([&] { return rig.synth.received().size() >= 3; }, 3000));
    juce::Thread::sleep(30);
    EXPECT_EQ(synthReceived(), (std::vector<Bytes>{{0x90, 60, 90}, {0xB0, 7, 100}, {0x80, 60, 0}}));

    std::vector<std::uint32_t> codes;
    std::uint32_t code;
    while (processor.getState().popNotification(code))
        codes.push_back(code);
    EXPECT_EQ(codes, (std::vector<std::uint32_t>{Notification::noteOn(1, 60, 90), Notification::controlChange(1, 99, 1),
                                                  Notification::controlChange(1, 7, 100),
                                                  Notification::programChange(1, 5), Notification::noteOff(1, 60)}));
}

TEST_F(RoutingTest, LatencyDelaysEveryEvent)
{
    processor.getState().setLatency(0, {250, 250, 250, 250, 250, 250, 0});
    processor.prepareToPlay(44100.0, 512);

    for (int position : {0, 1})
    {
        rig.synth.clearLogs();
        midi.clear();
        midi.addEvent(juce::MidiMessage::noteOn(1, 60 + position, (juce::uint8)90), position);
        const auto start = juce::Time::getMillisecondCounterHiRes();
        block();
        ASSERT_TRUE(rig.synth.waitUntil([&] { return !rig.synth.received().empty(); }, 3000));
        EXPECT_GE(juce::Time::getMillisecondCounterHiRes() - start, 240.0) << position;
    }
}

TEST_F(RoutingTest, ThruMessagesSpreadOverTheBlock)
{
    processor.prepareToPlay(44100.0, 512);
    processor.getState().thruToHost = true;
    rig.synth.noteOn(60, 100);
    ASSERT_TRUE(rig.synth.waitUntilIdle(3000));
    juce::Thread::sleep(20);
    rig.synth.noteOff(60);
    ASSERT_TRUE(rig.synth.waitUntilIdle(3000));

    block();
    std::vector<std::pair<Bytes, int>> got;
    for (const auto m : midi)
        got.emplace_back(Bytes(m.data, m.data + m.numBytes), m.samplePosition);
    ASSERT_EQ(got.size(), 2u);
    EXPECT_EQ(got[0], (std::pair<Bytes, int>{{0x90, 60, 100}, 0}));
    EXPECT_EQ(got[1].first, (Bytes{0x80, 60, 0}));
    EXPECT_GT(got[1].second, 256);
    EXPECT_LE(got[1].second, 511);

    midi.clear();
    block();
    EXPECT_TRUE(midi.isEmpty());
}

TEST_F(RoutingTest, ProcessBlockDoesNotAllocate)
{
    processor.prepareToPlay(44100.0, 512);
    processor.getState().thruToHost = true;
    processor.getState().setLatency(0, {5, 5, 5, 5, 5, 5, 0});
    midi.ensureSize(4096);

    for (int round = 0; round < 50; ++round)
    {
        midi.clear();
        for (int i = 0; i < 32; ++i)
            midi.addEvent(juce::MidiMessage::noteOn(1, 40 + i, (juce::uint8)90), i * 8);
        rig.synth.noteOn(70, 80);
        rig.synth.waitUntilIdle(1000);

        size_t allocations;
        {
            test::AllocationCounter counter;
            block();
            allocations = counter.count();
        }
        ASSERT_EQ(allocations, 0u) << "round " << round;
    }
}

namespace
{

struct FakePlayHead : juce::AudioPlayHead
{
    juce::Optional<PositionInfo> getPosition() const override { return info; }
    PositionInfo info;
};

} // namespace

TEST_F(RoutingTest, ClockFollowsTheHostTransportWithTheLatencyOffset)
{
    FakePlayHead head;
    processor.setPlayHead(&head);
    processor.getState().clockOutEnabled = true;
    processor.getState().setLatency(0, {150, 150, 150, 150, 150, 150, 0});
    processor.prepareToPlay(44100.0, 512);

    // Stopped at 1.1 quarter notes, then playing from there.
    head.info.setBpm(120.0);
    head.info.setPpqPosition(1.1);
    block();
    block();
    head.info.setIsPlaying(true);
    const double perSample = 2.0 / 44100.0;
    const auto start = juce::Time::getMillisecondCounterHiRes();
    for (int k = 0; k < 40; ++k)
    {
        head.info.setPpqPosition(1.1 + k * 512 * perSample);
        block();
    }

    auto count = [&](int status) {
        int n = 0;
        for (const auto& e : rig.synth.received())
            n += e.bytes.size() == 1 && e.bytes[0] == status;
        return n;
    };
    ASSERT_TRUE(rig.synth.waitUntil([&] { return count(0xF8) >= 20; }, 5000));
    const auto elapsed = juce::Time::getMillisecondCounterHiRes() - start;
    EXPECT_GE(elapsed, 150.0 - 1.0) << "the clock waits for the latency offset";

    // Each block reads its own position: the first relocates to 1.1 quarter notes (five
    // sixteenths), then continue follows once.
    std::vector<Bytes> transport;
    for (const auto& e : rig.synth.received())
        if (e.bytes[0] != 0xF8)
            transport.push_back(e.bytes);
    EXPECT_EQ(transport, (std::vector<Bytes>{{0xFC}, {0xF2, 5, 0}, {0xFB}}));
    processor.setPlayHead(nullptr);
}

TEST_F(ProcessorTest, ReportedValuesComingBackAfterTheNextProgramChangeAreIgnored)
{
    // Programs 1 and 2 of the host bank differ in every parameter that can.
    auto& state = processor.getState();
    const auto& tables = state.getTables();
    ProgramSysex::Record one = state.getHostBankProgram(1), two = one;
    for (int i = 0; i < ZarnelAudioProcessor::numHostParameters; ++i)
    {
        one[(size_t)i] = (std::uint8_t)(tables.maximum(i) / 3);
        two[(size_t)i] = (std::uint8_t)(tables.maximum(i) * 2 / 3);
    }
    state.setHostBankProgram(1, one);
    state.setHostBankProgram(2, two);

    struct Reports : juce::AudioProcessorParameter::Listener
    {
        void parameterValueChanged(int index, float value) override { values.emplace_back(index, value); }
        void parameterGestureChanged(int, bool) override {}
        std::vector<std::pair<int, float>> values;
    } reports;
    for (int i = 0; i < ZarnelAudioProcessor::numHostParameters; ++i)
        processor.getHostParameter(i)->addListener(&reports);

    processor.setCurrentProgram(1);
    processor.timerCallback(); // the host hears program 1's values
    ASSERT_EQ(reports.values.size(), (size_t)ZarnelAudioProcessor::numHostParameters);
    processor.setCurrentProgram(2);

    // The host hands them back as automation with its next block.
    for (const auto& [index, value] : reports.values)
        processor.getHostParameter(index)->setValue(value);
    const auto current = state.getCurrentProgram();
    for (int i = 0; i < ZarnelAudioProcessor::numHostParameters; ++i)
        ASSERT_EQ(current[(size_t)i], two[(size_t)i]) << "parameter " << i;

    // Real automation afterwards still works, also to a value program 1 had.
    processor.getHostParameter(20)->setValue(reports.values[20].second);
    EXPECT_EQ(state.getCurrentByte(20), one[20]);

    // A report long past is no echo: automation to its value is taken.
    processor.setCurrentProgram(1);
    processor.timerCallback();
    const auto reportOf4 = reports.values.back().first == 4 ? reports.values.back().second : processor.getParameter(4);
    juce::Thread::sleep((int)ZarnelAudioProcessor::echoWindowMs + 100);
    processor.setCurrentProgram(2);
    processor.getHostParameter(4)->setValue(reportOf4);
    EXPECT_EQ(state.getCurrentByte(4), one[4]);

    for (int i = 0; i < ZarnelAudioProcessor::numHostParameters; ++i)
        processor.getHostParameter(i)->removeListener(&reports);
}

TEST_F(ProcessorTest, AutomationNeverWaitsForAnEditBeingSent)
{
    // The message thread is inside the NRPN sender (an edit) and is held there: the host's
    // automation on the audio thread goes on, and reaches the synthesizer with the next block.
    processor.prepareToPlay(44100.0, 512);
    constexpr int holdMs = 1000;
    std::atomic<bool> held{false};
    std::thread editor([&] {
        const juce::ScopedLock sl(processor.getState().getNrpnSendLock());
        held = true;
        juce::Thread::sleep(holdMs);
    });
    while (!held)
        juce::Thread::yield();

    const auto start = juce::Time::getMillisecondCounterHiRes();
    for (int index : {20, 21, 22})
        processor.getHostParameter(index)->setValue(0.5f);
    const auto elapsed = juce::Time::getMillisecondCounterHiRes() - start;
    editor.join();
    EXPECT_LT(elapsed, holdMs / 2) << "automation waited for the sender";

    juce::AudioBuffer<float> audio(2, 512);
    juce::MidiBuffer midi;
    processor.processBlock(audio, midi);
    const auto current = processor.getState().getCurrentProgram();
    ASSERT_TRUE(rig.synth.waitUntil(
        [&] {
            const auto edit = rig.synth.editBuffer();
            return edit[20] == current[20] && edit[21] == current[21] && edit[22] == current[22];
        },
        3000));
}

TEST_F(ProcessorTest, HostParametersNeverWaitForTheModelLock)
{
    // Another thread holds the lock around banks and records for a while (a long copy, say):
    // the host's audio thread reads and writes parameters regardless.
    constexpr int holdMs = 1000;
    std::atomic<bool> held{false};
    std::thread holder([&] {
        const juce::ScopedLock sl(processor.getState().getModelLock());
        held = true;
        juce::Thread::sleep(holdMs);
    });
    while (!held)
        juce::Thread::yield();

    const auto start = juce::Time::getMillisecondCounterHiRes();
    for (int i = 0; i < ZarnelAudioProcessor::numHostParameters; ++i)
    {
        auto* p = processor.getHostParameter(i);
        const float target = p->getValue() > 0.5f ? 0.0f : 1.0f;
        p->setValue(target);
        if (processor.getState().getTables().maximum(i) > 0)
            EXPECT_EQ(p->getValue(), target) << i;
    }
    const auto elapsed = juce::Time::getMillisecondCounterHiRes() - start;
    holder.join();
    EXPECT_LT(elapsed, holdMs / 2) << "the parameter calls waited for the lock";
}
