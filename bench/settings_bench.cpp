#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "simulator/persistence.h"
#include "simulator/simulator.h"

// One save with its final load, on a settings file in the system's temporary folder that
// holds our own sections plus `range(0)` extra lines of sections this program does not
// know (ten keys to a section), which every save must carry along.
static void BM_SaveWithFinalLoad(benchmark::State& state) {
    std::string folder = (std::filesystem::temp_directory_path() / "kestrel-bench-XXXXXX").string();
    if (mkdtemp(folder.data()) == nullptr) {
        state.SkipWithError("mkdtemp failed");
        return;
    }
    const std::string path = folder + "/kestrel.ini";
    {
        std::ofstream out(path);
        const auto extra = state.range(0);
        for (int64_t line = 0; line < extra; ++line) {
            if (line % 11 == 0) {
                out << "[Unknown" << line / 11 << "]\n";
            } else {
                out << "Key" << line % 11 << "=value " << line << "\n";
            }
        }
    }
    TSimulator sim;
    FormCreate(sim, path);
    sim.State.Chara[0].PowSlotUp = 12;
    sim.State.Club = 20;
    ClubChange(sim);
    Button1Click(sim, path);  // our sections now exist; every further save replaces them
    for (auto _ : state) {
        Button1Click(sim, path);
    }
    state.counters["file_bytes"] = static_cast<double>(std::filesystem::file_size(path));
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_SaveWithFinalLoad)
    ->Arg(0)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
