// A change to a library of 100,000 programs (25.6 MB): what it costs the message thread now that
// the keeper's thread reads, merges and writes the file, against the write done at once on the
// message thread (as every change did before), and how long that write takes.

#include "library/LibraryKeeper.h"
#include "model/DSI_Program.h"
#include "support/TempFolder.h"

#include <benchmark/benchmark.h>
#include <juce_events/juce_events.h>

#include <limits>
#include <random>

using namespace zarnel;

namespace
{

constexpr int entries = 100000;

Bytes library()
{
    std::mt19937 random(11);
    Bytes out((size_t)entries * 256);
    for (int k = 0; k < entries; ++k)
    {
        auto* r = out.data() + (size_t)k * 256;
        for (int i = 0; i < 256; ++i)
            r[i] = (std::uint8_t)(random() & 0x7F);
        DSI_Program::encodeName("Prog " + juce::String(k), r + DSI_Program::nameOffset);
        r[DSI_Program::categoryOffset] = (std::uint8_t)(k % 26);
    }
    return out;
}

enum Change
{
    rename,
    remove
};

// Arguments: the change (rename in place, delete from the middle); 1 when the keeper's thread
// writes, 0 when the write is done at once on the message thread.
void BM_LibraryChange100k(benchmark::State& st)
{
    const juce::ScopedJuceInitialiser_GUI juceInit;
    const auto change = (Change)st.range(0);
    const bool onThread = st.range(1) != 0;
    test::TempFolder folder;
    LibraryStore store;
    store.replaceAll(library());
    double writeMs = 0.0;
    std::int64_t writes = 0;
    {
        LibraryKeeper keeper(store, folder.file("x4Lib.m_l"));
        keeper.setWriteInterval(0); // every change written at once, so every one is measured
        keeper.setBackgroundFrom(onThread ? 0 : std::numeric_limits<size_t>::max());
        keeper.changed();
        keeper.flush();
        int k = 0;
        for (auto _ : st)
        {
            if (change == rename)
                store.renameEntry(k % store.size(), k % 2 == 0 ? "Renamed" : "Again", k % 26);
            else
                store.removeEntry(store.size() / 2);
            keeper.changed();
            ++k;
            st.PauseTiming();
            if (!keeper.flush()) // the thread's write, and its result taken, untimed
                st.SkipWithError("the write failed");
            writeMs += keeper.getLastWriteMs();
            ++writes;
            st.ResumeTiming();
        }
    }
    st.counters["write_ms"] = writes > 0 ? writeMs / (double)writes : 0.0;
    st.counters["goal_ms"] = onThread ? 2 : 200;
}
BENCHMARK(BM_LibraryChange100k)
    ->ArgNames({"delete", "thread"})
    ->Args({rename, 1})
    ->Args({remove, 1})
    ->Args({rename, 0})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(20);

} // namespace
