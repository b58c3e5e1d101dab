// The editor on screen: opening it, painting it, a change from the synthesizer reaching its
// control, a stream of such changes, and an edit on screen reaching the MIDI device.

#include "BenchSupport.h"

#include "plugin/ZarnelAudioProcessor.h"
#include "plugin/ZarnelAudioProcessorEditor.h"
#include "platform/SettingsFolder.h"
#include "support/MessagePump.h"
#include "support/SynthRig.h"
#include "ui/UiTestSupport.h"
#include "ui/editor/EditorPanel.h"
#include "ui/main/MainComp.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <ctime>
#include <random>
#include <thread>

namespace zarnel::bench
{

namespace
{

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

double threadCpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return (double)t.tv_sec + (double)t.tv_nsec * 1e-9;
}

// A processor on the simulated synthesizer that has already opened its editor once, so that
// later openings show no about panel.
struct EditorRig
{
    EditorRig()
    {
        processor.getState().editorOpenedBefore = true;
        processor.getState().setCurrentProgram(processor.getState().getBankProgram(4, 0));
    }

    test::UiEnvironment ui;
    test::SynthRig rig;
    ZarnelAudioProcessor processor{rig.folder.get(), rig.backend};
};

// What a window paints into: JUCE's Linux windows keep an RGB image for opaque windows.
juce::Image canvasFor(juce::Component& c)
{
    return juce::Image(juce::Image::RGB, c.getWidth(), c.getHeight(), true, juce::SoftwareImageType());
}

// The editor at 1191 x 700, visible (off the desktop) so that its repaint requests are recorded,
// with somewhere to paint what they asked for.
struct RecordedEditor
{
    explicit RecordedEditor(ZarnelAudioProcessor& processor) : editor(processor)
    {
        editor.setSize(1191, 700);
        editor.setVisible(true);
        editor.setCachedComponentImage(recorder);
        canvas = canvasFor(editor);
        test::pumpMessages(200);
        recorder->take();
    }

    // Paints what was asked for since the last call; false when nothing was.
    bool paintRequested()
    {
        const auto area = recorder->take();
        if (area.isEmpty())
            return false;
        juce::Graphics g(canvas);
        g.reduceClipRegion(area);
        editor.paintEntireComponent(g, true);
        lastArea = area;
        return true;
    }

    ZarnelAudioProcessorEditor editor;
    test::RepaintRecorder* recorder = new test::RepaintRecorder(editor); // owned by the editor
    juce::Image canvas;
    juce::RectangleList<int> lastArea;
};

// The four controller messages of one NRPN, as the synthesizer sends a knob move.
void receiveKnobMove(MidiCntrState& state, int index, int value)
{
    const int nrpn = state.getTables().nrpn(index);
    const juce::MidiMessage parts[] = {juce::MidiMessage::controllerEvent(1, 99, nrpn / 128),
                                       juce::MidiMessage::controllerEvent(1, 98, nrpn % 128),
                                       juce::MidiMessage::controllerEvent(1, 6, value / 128),
                                       juce::MidiMessage::controllerEvent(1, 38, value % 128)};
    for (const auto& m : parts)
        state.handleIncomingMidiMessage(nullptr, m);
}

} // namespace

// From the host's request until the whole editor has been painted once, at 1191 x 700.
void BM_EditorOpen(benchmark::State& st)
{
    EditorRig r;
    double cpu = 0.0;
    for (auto _ : st)
    {
        const auto start = Clock::now();
        const double cpuStart = threadCpuSeconds();
        auto editor = std::make_unique<ZarnelAudioProcessorEditor>(r.processor);
        editor->setSize(1191, 700);
        auto image = canvasFor(*editor);
        {
            juce::Graphics g(image);
            editor->paintEntireComponent(g, true);
        }
        cpu += threadCpuSeconds() - cpuStart;
        st.SetIterationTime(secondsSince(start));
        editor.reset();
        test::pumpMessages(0);
    }
    st.counters["cpu_s"] = cpu / (double)st.iterations();
}

// The editor panel painted whole, with every control, at the reference size.
void BM_PanelRepaint(benchmark::State& st)
{
    EditorRig r;
    ZarnelAudioProcessorEditor editor(r.processor);
    editor.setSize(1191, 700);
    auto& panel = editor.getMainComp().getEditorPanel();
    auto image = canvasFor(panel);
    const double cpuStart = threadCpuSeconds();
    for (auto _ : st)
    {
        juce::Graphics g(image);
        panel.paintEntireComponent(g, true);
    }
    st.counters["cpu_s"] = (threadCpuSeconds() - cpuStart) / (double)st.iterations();
}

// What one bank change (0x19, once per received bank) costs the bank page in category view: the
// rows gathered again from all eight banks under the model lock, then the page painted whole.
void BM_BankPageRelist(benchmark::State& st)
{
    EditorRig r;
    ZarnelAudioProcessorEditor editor(r.processor);
    editor.setSize(1191, 700);
    auto& main = editor.getMainComp();
    main.toggleBankPage(true);
    auto& page = main.getBankPage();
    page.stsbutChanged(&page.getCategoryButton(3));
    auto image = canvasFor(page);
    const double cpuStart = threadCpuSeconds();
    for (auto _ : st)
    {
        page.relist();
        juce::Graphics g(image);
        page.paintEntireComponent(g, true);
    }
    st.counters["cpu_s"] = (threadCpuSeconds() - cpuStart) / (double)st.iterations();
}

// A knob move arriving from the synthesizer until its control is painted: the MIDI input, the
// processor's change callback, the notification, the control, the repaint of what it asked for.
// The message loop runs as it would; the area asked to repaint is recorded.
void BM_ChangeToRepaint(benchmark::State& st)
{
    EditorRig r;
    RecordedEditor shown(r.processor);
    auto* control = shown.editor.getMainComp().getEditorPanel().getControl(21);

    double areaPixels = 0.0, cpu = 0.0;
    std::int64_t moves = 0;
    for (auto _ : st)
    {
        const int value = (int)(moves % 100) + 10;
        const auto start = Clock::now();
        const double cpuStart = threadCpuSeconds();
        receiveKnobMove(r.processor.getState(), 21, value);
        while (control->getShownValue() != value)
            if (!juce::dispatchNextMessageOnSystemQueue(true) && secondsSince(start) > 2.0)
                break;
        shown.paintRequested();
        st.SetIterationTime(secondsSince(start));
        cpu += threadCpuSeconds() - cpuStart;
        if (control->getShownValue() != value)
        {
            st.SkipWithError("the change did not arrive");
            break;
        }
        for (const auto& part : shown.lastArea)
            areaPixels += (double)(part.getWidth() * part.getHeight());
        ++moves;
    }
    if (moves > 0)
    {
        st.counters["area_px"] = areaPixels / (double)moves;
        st.counters["cpu_s"] = cpu / (double)moves;
        st.counters["window_px"] = 1191.0 * 700.0;
        st.counters["control_px"] = (double)(control->getWidth() * control->getHeight());
    }
}

// A thousand knob moves a second from the synthesizer, delivered by a thread of their own as the
// MIDI input does, for a second; the message thread handles them and repaints what they asked
// for at 60 frames a second. Busy is its processor time over the wall time.
void BM_KnobStream(benchmark::State& st)
{
    EditorRig r;
    RecordedEditor shown(r.processor);

    constexpr int movesPerSecond = 1000;
    static constexpr int knobs[] = {20, 21, 25, 26, 28, 29, 30, 31, 32, 42, 44, 101};
    const auto valueOfMove = [](int i) { return 40 + (i / (int)std::size(knobs)) % 60; };
    double busy = 0.0;
    int delivered = 0;
    for (auto _ : st)
    {
        std::atomic<bool> done{false};
        std::thread input([&] {
            const auto start = Clock::now();
            for (int i = 0; i < movesPerSecond; ++i)
            {
                std::this_thread::sleep_until(start + std::chrono::microseconds(i * 1000000 / movesPerSecond));
                const int index = knobs[(size_t)i % std::size(knobs)];
                receiveKnobMove(r.processor.getState(), index, valueOfMove(i));
            }
            done = true;
        });

        // Frames come from a timer, as a window's repaints do; between messages the thread sleeps
        // in the message loop itself.
        struct Frames : juce::Timer
        {
            std::function<void()> tick;
            void timerCallback() override { tick(); }
        } frames;
        const auto start = Clock::now();
        const double cpuStart = threadCpuSeconds();
        bool finished = false;
        frames.tick = [&] {
            shown.paintRequested();
            finished = done && secondsSince(start) >= 1.0;
        };
        frames.startTimerHz(60);
        while (!finished)
            juce::dispatchNextMessageOnSystemQueue(false);
        frames.stopTimer();
        const double wall = secondsSince(start);
        const double cpu = threadCpuSeconds() - cpuStart;
        input.join();
        // Every knob shows the last value it was sent: nothing was dropped on the way.
        test::pumpMessages(50);
        auto& panel = shown.editor.getMainComp().getEditorPanel();
        for (int i = movesPerSecond - (int)std::size(knobs); i < movesPerSecond; ++i)
            if (panel.getControl(knobs[(size_t)i % std::size(knobs)])->getShownValue() != valueOfMove(i))
            {
                st.SkipWithError("a knob move was lost");
                return;
            }
        st.SetIterationTime(wall);
        busy += cpu / wall;
        delivered += movesPerSecond;
    }
    st.counters["busy_percent"] = 100.0 * busy / (double)st.iterations();
    st.counters["moves"] = (double)delivered / (double)st.iterations();
}

// The far end of a MIDI device that notes when each controller 38 (the last part of an NRPN)
// was handed to it, so that the one who sent it can sleep meanwhile, as an idle message thread does.
class DeviceClock : public test::VirtualMidiBackend::FarSide
{
public:
    void receivedFromPlugin(const juce::MidiMessage& m) override
    {
        if (!m.isController() || m.getControllerNumber() != 38)
            return;
        const auto now = Clock::now();
        {
            const std::lock_guard<std::mutex> lock(mutex);
            lastArrival = now;
            ++arrivals;
        }
        arrived.notify_all();
    }

    // Waits for the arrival after `count`; its time, or nothing after a second.
    std::optional<Clock::time_point> waitForArrival(int count)
    {
        std::unique_lock<std::mutex> lock(mutex);
        if (!arrived.wait_for(lock, std::chrono::seconds(1), [&] { return arrivals > count; }))
            return std::nullopt;
        return lastArrival;
    }

    int count()
    {
        const std::lock_guard<std::mutex> lock(mutex);
        return arrivals;
    }

private:
    std::mutex mutex;
    std::condition_variable arrived;
    Clock::time_point lastArrival;
    int arrivals = 0;
};

// An edit on screen (a panel control asking for a value, as a drag does) until its last byte is
// handed to the MIDI device; and, for reference, the same controller bytes scheduled from a
// thread that may not wake the sender, which finds them at its next 1 ms pass. The sender sleeps
// until the device has them; a random pause before each edit keeps the edits from locking onto
// the sender's passes.
void runToDevice(benchmark::State& st, bool fromPanel)
{
    constexpr int edits = 3000;
    test::UiEnvironment ui;
    test::TempFolder folder;
    test::VirtualMidiBackend backend;
    DeviceClock device;
    backend.addDevice(test::SynthRig::deviceName, &device);
    const auto ports = MIDI_PORTS_Control::formatPortFile({test::SynthRig::deviceName, test::SynthRig::deviceName, "NONE"});
    folder.file(SettingsFolder::portFileName).replaceWithData(ports.getData(), ports.getSize());
    ZarnelAudioProcessor processor(folder.get(), backend);
    auto& state = processor.getState();
    processor.prepareToPlay(sampleRate, blockSize);
    EditorPanel panel(processor);
    auto* control = panel.getControl(20);

    std::vector<double> latencies;
    const auto measure = [&] {
        std::minstd_rand random(1);
        std::uniform_int_distribution<int> pauseUs(0, 1000);
        for (int call = 0; call < edits; ++call)
        {
            std::this_thread::sleep_for(std::chrono::microseconds(pauseUs(random)));
            const int value = call % 2 == 0 ? 100 : 101;
            const int before = device.count();
            const auto start = Clock::now();
            if (fromPanel)
                control->requestValue(value);
            else
                state.sendParameterNrpn(state.getTables().nrpn(20), value, 0, sampleRate);
            const auto arrival = device.waitForArrival(before);
            if (!arrival)
                return false;
            latencies.push_back(std::chrono::duration<double>(*arrival - start).count());
            if (fromPanel)
                panel.setControlValue(control, value); // the echo, so that the next request differs
            if (call % 512 == 511)
            {
                std::uint32_t code;
                while (state.popNotification(code))
                {
                }
            }
        }
        return true;
    };

    for (auto _ : st)
    {
        latencies.clear();
        bool ok = true;
        if (fromPanel)
            ok = measure();
        else
            std::thread([&] { ok = measure(); }).join();
        if (!ok)
        {
            st.SkipWithError("an edit did not arrive");
            return;
        }
        double total = 0.0;
        for (double l : latencies)
            total += l;
        st.SetIterationTime(total / (double)latencies.size());
    }
    std::sort(latencies.begin(), latencies.end());
    const auto at = [&](double q) { return latencies[(size_t)(q * (double)(latencies.size() - 1))] * 1e6; };
    st.counters["p50_us"] = at(0.5);
    st.counters["p99_us"] = at(0.99);
    st.counters["max_us"] = latencies.back() * 1e6;
}

void BM_EditToDevice_Panel(benchmark::State& st)
{
    runToDevice(st, true);
}

void BM_EditToDevice_OtherThread(benchmark::State& st)
{
    runToDevice(st, false);
}

BENCHMARK(BM_EditorOpen)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_PanelRepaint)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BankPageRelist)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ChangeToRepaint)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_KnobStream)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_EditToDevice_Panel)->UseManualTime()->Unit(benchmark::kMicrosecond)->Iterations(1);
BENCHMARK(BM_EditToDevice_OtherThread)->UseManualTime()->Unit(benchmark::kMicrosecond)->Iterations(1);

} // namespace zarnel::bench
