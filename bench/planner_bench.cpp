#include <benchmark/benchmark.h>

#include "representative_selection.h"
#include "simulator/history.h"
#include "simulator/preview.h"
#include "simulator/simulator.h"

namespace {

TSimulator Settled() {
    TSimulator sim = RepresentativeSelection();
    ClubChange(sim);
    return sim;
}

// One entry's preview as a face asks for it while a list is open: a wear slot, the
// level and the club set (which previews through the list's opening and ClubChange).
void PreviewOneEntry(benchmark::State& state, ListRef list, int32_t entry) {
    const TSimulator sim = Settled();
    Previewer previewer;
    for (auto _ : state) {
        PreviewResult preview = previewer.Preview(sim, list, entry);
        benchmark::DoNotOptimize(preview);
    }
}
BENCHMARK_CAPTURE(PreviewOneEntry, equipment, ListRef{ListKind::EquipItem, 0, 3}, 2);
BENCHMARK_CAPTURE(PreviewOneEntry, level, ListRef{ListKind::Level, -1, 0}, 3);
BENCHMARK_CAPTURE(PreviewOneEntry, club, ListRef{ListKind::Club, -1, 0}, 21);

// The same without a previewer kept between entries: a fresh copy every time.
void BM_PreviewPickFreshCopy(benchmark::State& state) {
    const TSimulator sim = Settled();
    for (auto _ : state) {
        PreviewResult preview = PreviewPick(sim, {ListKind::Club, -1, 0}, 21);
        benchmark::DoNotOptimize(preview);
    }
}
BENCHMARK(BM_PreviewPickFreshCopy);

// A recorded spinner step, then its undo and redo, on a full history.
void BM_RecordUndoRedo(benchmark::State& state) {
    TSimulator sim = Settled();
    History history;
    history.Start(sim);
    for (size_t i = 0; i <= History::kDefaultSteps; ++i) {
        RecordChange(history, sim, [i](TSimulator& s) {
            s.State.Level = 1 + static_cast<int32_t>(i % 2);
            ComboBox1Change(s);
        });
    }
    int32_t level = sim.State.Level;
    for (auto _ : state) {
        level = level == 1 ? 2 : 1;
        RecordChange(history, sim, [level](TSimulator& s) {
            s.State.Level = level;
            ComboBox1Change(s);
        });
        history.Undo(sim);
        history.Redo(sim);
        benchmark::DoNotOptimize(sim.Display.TotalPPText);
    }
}
BENCHMARK(BM_RecordUndoRedo);

}  // namespace

BENCHMARK_MAIN();
