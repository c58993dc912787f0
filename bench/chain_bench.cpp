#include <benchmark/benchmark.h>

#include "representative_selection.h"
#include "simulator/simulator.h"

// One full recalculation by each chain; the club change and full tune chains move the
// club spinners first.
static void BM_Chain(benchmark::State& state, void (*chain)(TSimulator&)) {
    TSimulator sim = RepresentativeSelection();
    chain(sim);
    for (auto _ : state) {
        chain(sim);
        benchmark::DoNotOptimize(sim.Results.FinalStatus);
        benchmark::ClobberMemory();
    }
}
BENCHMARK_CAPTURE(BM_Chain, StatusCalculate, &StatusCalculate);
BENCHMARK_CAPTURE(BM_Chain, ClubChange, &ClubChange);
BENCHMARK_CAPTURE(BM_Chain, ClubFullTune, &ClubFullTune);

BENCHMARK_MAIN();
