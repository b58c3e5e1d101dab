// Runs the benchmarks, then prints the pairs side by side as a Markdown table.

#include "AllocationCounter.h"

#include "support/SimulatedSynth.h"

#include <benchmark/benchmark.h>
#include <juce_events/juce_events.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <unistd.h>
#include <vector>

namespace
{

struct Result
{
    double seconds = 0.0; // per operation: the "ns" counter of batched runs, else per iteration
    std::map<std::string, double> counters;
};

class SummaryReporter : public benchmark::ConsoleReporter
{
public:
    SummaryReporter() : ConsoleReporter(isatty(fileno(stdout)) ? OO_Defaults : OO_Tabular) {}

    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const auto& run : runs)
        {
            if (run.run_type != Run::RT_Iteration || run.error_occurred || run.iterations <= 0)
                continue;
            Result r;
            r.seconds = run.real_accumulated_time / (double)run.iterations;
            for (const auto& [name, counter] : run.counters)
                r.counters[name] = counter.value;
            if (const auto ns = r.counters.find("ns"); ns != r.counters.end())
                r.seconds = ns->second * 1e-9;
            auto key = run.run_name.function_name;
            if (!run.run_name.args.empty())
                key += "/" + run.run_name.args;
            results[key].push_back(r);
        }
    }

    // The median of the repetitions, or nothing when the benchmark did not run.
    const Result* find(const std::string& key)
    {
        auto it = results.find(key);
        if (it == results.end() || it->second.empty())
            return nullptr;
        auto& all = it->second;
        std::sort(all.begin(), all.end(), [](const Result& a, const Result& b) { return a.seconds < b.seconds; });
        return &all[all.size() / 2];
    }

private:
    std::map<std::string, std::vector<Result>> results;
};

std::string timeText(double seconds)
{
    char text[32];
    if (seconds < 1e-6)
        std::snprintf(text, sizeof text, "%.1f ns", seconds * 1e9);
    else if (seconds < 1e-3)
        std::snprintf(text, sizeof text, "%.2f µs", seconds * 1e6);
    else
        std::snprintf(text, sizeof text, "%.2f ms", seconds * 1e3);
    return text;
}

std::string counterText(const Result& r, const std::string& name, const char* format = "%.2f")
{
    auto it = r.counters.find(name);
    if (it == r.counters.end())
        return "–";
    char text[32];
    std::snprintf(text, sizeof text, format, it->second);
    return text;
}

void row(const std::string& what, const Result* ours, const std::string& against, const Result* theirs,
         double theirSeconds, const std::string& allocations)
{
    if (ours == nullptr)
    {
        std::printf("| %s | not run | | | |\n", what.c_str());
        return;
    }
    const double reference = theirs != nullptr ? theirs->seconds : theirSeconds;
    std::string ratio = "–";
    if (reference > 0.0)
    {
        char text[32];
        std::snprintf(text, sizeof text, "%.1f", ours->seconds / reference);
        ratio = text;
    }
    std::printf("| %s | %s | %s: %s | %s | %s |\n", what.c_str(), timeText(ours->seconds).c_str(),
                against.c_str(), reference > 0.0 ? timeText(reference).c_str() : "not run", ratio.c_str(),
                allocations.c_str());
}

void printSummary(SummaryReporter& r)
{
    std::printf("\n| measurement | Zarnel X4 Editor | reference | ratio | heap allocations |\n");
    std::printf("| --- | --- | --- | --- | --- |\n");

    const auto allocs = [](const Result* res, const char* per) {
        return res != nullptr ? counterText(*res, "allocs", "%.3f") + " per " + per : std::string("–");
    };

    const auto* block = r.find("BM_ProcessBlock_Zarnel/0");
    row("processBlock, 512 samples stereo, clock running, no MIDI", block, "empty processor",
        r.find("BM_ProcessBlock_Empty/0"), 0.0, allocs(block, "block"));

    const auto* busy = r.find("BM_ProcessBlock_Zarnel/64");
    row("processBlock as above, 64 host events forwarded 10 ms late", busy, "empty processor, same events",
        r.find("BM_ProcessBlock_Empty/64"), 0.0, allocs(busy, "block"));

    const auto* automated = r.find("BM_ProcessBlock_Automation");
    row("processBlock after 16 host parameter changes on the audio thread, sent 10 ms late", automated,
        "empty processor", r.find("BM_ProcessBlock_Empty/0"), 0.0, allocs(automated, "block"));

    const auto* call = r.find("BM_EditorEdit_Call");
    row("setParameterFromEditor(20, v, true, true), the call", call, "the same 3 bytes scheduled directly",
        r.find("BM_EditorEdit_Schedule"), 0.0, allocs(call, "call"));

    const auto* endToEnd = r.find("BM_EditorEdit_EndToEnd");
    row("edit until the synthesizer applied it (end to end), mean", endToEnd, "3 bytes on a DIN wire", nullptr,
        3 * zarnel::test::SimulatedSynth::dinMsPerByte * 1e-3, "–");
    if (endToEnd != nullptr)
        std::printf("| the same, median / 99th percentile / worst | %s / %s / %s µs | – | – | – |\n",
                    counterText(*endToEnd, "p50_us", "%.0f").c_str(), counterText(*endToEnd, "p99_us", "%.0f").c_str(),
                    counterText(*endToEnd, "max_us", "%.0f").c_str());

    if (const auto* bank = r.find("BM_BankReceive"))
    {
        std::printf("| 128-program bank receive, DIN speed, 5 ms answer delay, virtual time | %s ms | wire bound: "
                    "%s ms | %s | – |\n",
                    counterText(*bank, "virtual_ms", "%.1f").c_str(), counterText(*bank, "bound_ms", "%.1f").c_str(),
                    counterText(*bank, "ratio", "%.3f").c_str());
        std::printf("| the same transfer, wall clock | %s | – | – | – |\n", timeText(bank->seconds).c_str());
    }
    else
    {
        std::printf("| 128-program bank receive | not run | | | |\n");
    }
    for (const char* delay : {"5", "200"})
        if (const auto* lossy = r.find(std::string("BM_BankReceiveLostDumps/") + delay))
            std::printf("| 512-program receive, 1 %% of dumps lost, DIN speed, %s ms answer delay, virtual time | %s ms "
                        "(time-out learned: %s ms, late answers: %s) | wire bound: %s ms; goal: 1.05 | %s | – |\n",
                        delay, counterText(*lossy, "virtual_ms", "%.1f").c_str(),
                        counterText(*lossy, "timeout_ms", "%.0f").c_str(), counterText(*lossy, "late", "%.0f").c_str(),
                        counterText(*lossy, "bound_ms", "%.1f").c_str(), counterText(*lossy, "ratio", "%.3f").c_str());

    if (const auto* transmit = r.find("BM_BankTransmit"))
    {
        std::printf("| 128-program bank transmit, DIN speed, virtual time | %s ms | wire and storing time: %s ms | %s "
                    "| – |\n",
                    counterText(*transmit, "virtual_ms", "%.1f").c_str(),
                    counterText(*transmit, "bound_ms", "%.1f").c_str(), counterText(*transmit, "ratio", "%.3f").c_str());
        std::printf("| one transmit step on the message thread, median / worst | %s / %s ms | goal: a frame, 16.7 ms "
                    "| – | – |\n",
                    counterText(*transmit, "step_p50_ms", "%.3f").c_str(),
                    counterText(*transmit, "step_max_ms", "%.3f").c_str());
    }

    for (const char* size : {"1", "64", "512", "4096"})
        if (const auto* timing = r.find(std::string("BM_HostNoteTiming/") + size))
            std::printf("| forwarded host notes, blocks of %s, host calls late by up to 2 ms, DIN wire, virtual time: "
                        "timing error / note length error | %s / %s ms | every event of a block due at its call "
                        "(before): %s / %s ms; goal: %s ms | – | – |\n",
                        size, counterText(*timing, "timing_ms", "%.3f").c_str(),
                        counterText(*timing, "length_ms", "%.3f").c_str(),
                        counterText(*timing, "before_timing_ms", "%.1f").c_str(),
                        counterText(*timing, "before_length_ms", "%.1f").c_str(),
                        counterText(*timing, "goal_ms", "%.3f").c_str());
    if (const auto* sender = r.find("BM_HostNoteTiming_Sender"))
        std::printf("| the same through the processor and the MIDI sender in real time, blocks of 512 | %s / %s ms | "
                    "– | – | – |\n",
                    counterText(*sender, "timing_ms", "%.3f").c_str(), counterText(*sender, "length_ms", "%.3f").c_str());

    // The MIDI clock against the host's beat, in samples.
    const auto clockRow = [&](const std::string& what, const char* key) {
        if (const auto* res = r.find(key))
            std::printf("| MIDI clock, %s: clocks a beat (fewest–most) / worst distance from the host's 1/24 beat / "
                        "spacing | %s–%s / %s samples / %s–%s samples | goal: 24 / 1 sample; the host's 1/24 beats "
                        "%s–%s samples apart | – | %s per block |\n",
                        what.c_str(), counterText(*res, "per_beat_min", "%.0f").c_str(),
                        counterText(*res, "per_beat_max", "%.0f").c_str(),
                        counterText(*res, "worst_samples", "%.2f").c_str(),
                        counterText(*res, "spacing_min", "%.0f").c_str(), counterText(*res, "spacing_max", "%.0f").c_str(),
                        counterText(*res, "due_spacing_min", "%.0f").c_str(),
                        counterText(*res, "due_spacing_max", "%.0f").c_str(),
                        counterText(*res, "allocs", "%.3f").c_str());
    };
    for (const char* size : {"1", "64", "512", "4096"})
        clockRow(std::string("tempo ramp 120 to 140 bpm over 16 beats, 32 beats, blocks of ") + size,
                 (std::string("BM_ClockRamp/") + size).c_str());
    for (const char* size : {"64", "512", "4096"})
        clockRow(std::string("one-bar loop at 120 bpm played 8 times, wrapped inside blocks of ") + size,
                 (std::string("BM_ClockLoop/") + size + "/0").c_str());
    clockRow("the same loop, blocks of 512 ended at the loop end", "BM_ClockLoop/512/1");

    row("construct + destroy the processor (temp settings, virtual MIDI)", r.find("BM_Instance_Zarnel"),
        "empty processor", r.find("BM_Instance_Empty"), 0.0, "–");

    // The editor, each against its goal.
    // Wall time, and the processor time of the thread doing the work: on a loaded machine the
    // first waits for the processor, the second is what the editor costs.
    const auto goalRow = [&](const std::string& what, const char* key, double goalSeconds) {
        const auto* res = r.find(key);
        std::string withCpu = what;
        if (res != nullptr)
            if (const auto cpu = res->counters.find("cpu_s"); cpu != res->counters.end())
                withCpu += " (processor time " + timeText(cpu->second) + ")";
        row(withCpu, res, "goal", nullptr, goalSeconds, "–");
    };
    goalRow("opening the editor until its first full paint, 1191 x 700", "BM_EditorOpen", 50e-3);
    goalRow("a full repaint of the editor panel, 1191 x 700", "BM_PanelRepaint", 8e-3);
    goalRow("the bank page in category view listed again and painted whole, 1191 x 700", "BM_BankPageRelist", 16.7e-3);
    const auto* change = r.find("BM_ChangeToRepaint");
    goalRow("a knob move from the synthesizer until its control is repainted", "BM_ChangeToRepaint", 0.5e-3);
    if (change != nullptr)
        std::printf("| the area it repaints | %s px | the knob: %s px, the window: %s px | – | – |\n",
                    counterText(*change, "area_px", "%.0f").c_str(), counterText(*change, "control_px", "%.0f").c_str(),
                    counterText(*change, "window_px", "%.0f").c_str());
    if (const auto* stream = r.find("BM_KnobStream"))
        std::printf("| 1,000 knob moves a second from the synthesizer: message thread busy | %s %% | goal: 10 %% | – | – |\n",
                    counterText(*stream, "busy_percent", "%.1f").c_str());
    const auto* panel = r.find("BM_EditToDevice_Panel");
    const auto* other = r.find("BM_EditToDevice_OtherThread");
    if (panel != nullptr)
        std::printf("| an edit on screen until its bytes reach the MIDI device, median / 99th percentile / worst | "
                    "%s / %s / %s µs | the same bytes from a thread that may not wake the sender: %s / %s / %s µs; "
                    "goal: 99th percentile 100 µs | – | – |\n",
                    counterText(*panel, "p50_us", "%.0f").c_str(), counterText(*panel, "p99_us", "%.0f").c_str(),
                    counterText(*panel, "max_us", "%.0f").c_str(),
                    other != nullptr ? counterText(*other, "p50_us", "%.0f").c_str() : "–",
                    other != nullptr ? counterText(*other, "p99_us", "%.0f").c_str() : "–",
                    other != nullptr ? counterText(*other, "max_us", "%.0f").c_str() : "–");

    if (zarnel::bench::haveAllocationStack())
    {
        std::printf("\nFirst allocation seen inside a counted scope:\n");
        zarnel::bench::printAllocationStack(stdout);
    }
}

} // namespace

int main(int argc, char** argv)
{
    zarnel::bench::warmUpAllocationCounter();
    juce::ScopedJuceInitialiser_GUI juceInit;

    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;

    SummaryReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    printSummary(reporter);
    benchmark::Shutdown();
    return 0;
}
