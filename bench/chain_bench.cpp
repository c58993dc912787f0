#include <benchmark/benchmark.h>

#include "simulator/simulator.h"
#include "representative_selection.h"

static void BM_StatusCalculate(benchmark::State& state) {
    TSimulator sim = RepresentativeSelection();
    StatusCalculate(sim);
    for (auto _ : state) {
        StatusCalculate(sim);
        benchmark::DoNotOptimize(sim.Results.FinalStatus);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_StatusCalculate);

// The club change and full tune chains, which move the club spinners first.
static void BM_ClubChange(benchmark::State& state) {
    TSimulator sim = RepresentativeSelection();
    ClubChange(sim);
    for (auto _ : state) {
        ClubChange(sim);
        benchmark::DoNotOptimize(sim.Results.FinalStatus);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_ClubChange);

static void BM_ClubFullTune(benchmark::State& state) {
    TSimulator sim = RepresentativeSelection();
    ClubFullTune(sim);
    for (auto _ : state) {
        ClubFullTune(sim);
        benchmark::DoNotOptimize(sim.Results.FinalStatus);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_ClubFullTune);

BENCHMARK_MAIN();
