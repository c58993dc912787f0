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

// A folder of the run's own, in memory where there is /dev/shm; removed at exit.
class TempFolder {
public:
    TempFolder() {
        const bool shm = std::filesystem::is_directory("/dev/shm");
        path_ = (shm ? std::filesystem::path("/dev/shm") : std::filesystem::temp_directory_path()) /
                "kestrel-fuzz-XXXXXX";
        if (mkdtemp(path_.data()) == nullptr) {
            std::perror("mkdtemp");
            abort();
        }
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

void Check(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "save and reload changed %s\n", what);
        abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const TempFolder folder;
    static const std::string input = folder.Path() + "/input.ini";
    static const std::string saved = folder.Path() + "/saved.ini";
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
