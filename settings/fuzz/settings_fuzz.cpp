// libFuzzer target: arbitrary bytes as the settings file, through the full load.
// Whatever loads without an error must also survive a save and the load that ends it
// unchanged: the file layer may neither lose nor invent any of our values.

#include <stdlib.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "engine/errors.h"
#include "simulator/persistence.h"
#include "simulator/simulator.h"

namespace {

std::string MakeFolder() {
    const bool shm = std::filesystem::is_directory("/dev/shm");
    std::string pattern =
        (shm ? std::filesystem::path("/dev/shm") : std::filesystem::temp_directory_path()) /
        "kestrel-fuzz-XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr) {
        std::perror("mkdtemp");
        abort();
    }
    return pattern;
}

void Check(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "save and reload changed %s\n", what);
        abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string folder = MakeFolder();
    static const std::string input = folder + "/input.ini";
    static const std::string saved = folder + "/saved.ini";
    {
        std::ofstream out(input, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }

    TSimulator sim;
    try {
        FormCreate(sim, input);
    } catch (const ESimError&) {
        return 0;  // a range error stops the load; that is its rule, not a fault
    }

    TSimState expected = sim.State;
    for (int k = 0; k < kStatCount; ++k) {
        StatField(expected.ClubSlotUps[expected.Club], k) = sim.State.ClubSpinners[k].Position;
    }
    const WindowPosition window = sim.Window;
    std::filesystem::remove(saved);
    try {
        Button1Click(sim, saved);
    } catch (const EIntOverflow&) {
        return 0;  // a stored count too large to price
    }
    const TSimState& s = sim.State;
    Check(s.Level == expected.Level, "the level");
    Check(s.TabIndex == expected.TabIndex, "the page");
    Check(s.Chara == expected.Chara, "a character");
    Check(s.Caddie == expected.Caddie && s.SpecialCard == expected.SpecialCard, "caddie/card");
    Check(s.Club == expected.Club, "the club");
    Check(s.ClubSlotUps == expected.ClubSlotUps, "the club counts");
    for (int k = 0; k < kStatCount; ++k) {
        Check(s.ClubSpinners[k].Position == StatField(expected.ClubSlotUps[s.Club], k),
              "a club spinner");
    }
    Check(sim.Window.Left == window.Left && sim.Window.Top == window.Top, "the window");
    return 0;
}
