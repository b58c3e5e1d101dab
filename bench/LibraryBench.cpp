// The program library at a size users reach: importing 100,000 programs with duplicate removal,
// and the name search filtering 100,000 entries, once per keystroke.

#include "library/LibraryStore.h"
#include "model/DSI_Program.h"

#include <benchmark/benchmark.h>

#include <random>

using namespace zarnel;

namespace
{

constexpr int entries = 100000;

// 100,000 records, every tenth a copy of an earlier one, names from a small vocabulary.
Bytes importFile()
{
    static const char* words[] = {"Warm", "Pad", "Bass", "Lead", "Sync", "Brass", "Keys", "Pluck", "Sweep", "Noise"};
    std::mt19937 random(7);
    Bytes out((size_t)entries * 256);
    for (int k = 0; k < entries; ++k)
    {
        auto* r = out.data() + (size_t)k * 256;
        if (k % 10 == 9)
        {
            std::copy_n(out.data() + (size_t)(random() % (unsigned)k) * 256, 256, r);
            continue;
        }
        for (int i = 0; i < 256; ++i)
            r[i] = (std::uint8_t)(random() & 0x7F);
        const juce::String name = juce::String(words[random() % 10]) + " " + words[random() % 10] + " " + juce::String(k % 100);
        DSI_Program::encodeName(name, r + DSI_Program::nameOffset);
        r[DSI_Program::categoryOffset] = (std::uint8_t)(random() % 26);
    }
    return out;
}

void BM_LibraryImport100k(benchmark::State& st)
{
    const auto file = importFile();
    int kept = 0;
    for (auto _ : st)
    {
        LibraryStore store;
        store.beginImport();
        kept = store.importRecords(file);
        store.mergeImport(true);
        benchmark::DoNotOptimize(store.getData().data());
    }
    st.counters["kept"] = kept;
    st.counters["goal_ms"] = 200;
}
BENCHMARK(BM_LibraryImport100k)->Unit(benchmark::kMillisecond);

void BM_LibrarySearchKeystroke100k(benchmark::State& st)
{
    LibraryStore store;
    store.replaceAll(importFile());
    // The keystrokes of typing "pad", and deleting them again.
    const char* typed[] = {"p", "pa", "pad", "pa", "p", ""};
    size_t k = 0;
    size_t rows = 0;
    for (auto _ : st)
    {
        store.setSearch(typed[k++ % 6]);
        store.rebuildView();
        rows += store.getView().size();
    }
    benchmark::DoNotOptimize(rows);
    st.counters["goal_ms"] = 10;
}
BENCHMARK(BM_LibrarySearchKeystroke100k)->Unit(benchmark::kMillisecond);

} // namespace
