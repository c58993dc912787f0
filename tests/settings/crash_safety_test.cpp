// A save killed at any moment must leave the settings file whole: byte for byte the
// content before that save or the content after it, and loadable.
//
// A child process saves two selections in turn, as fast as it can, on a file that also
// carries 10,000 lines of other sections (so that a write takes long enough to be hit).
// The test kills it with SIGKILL after a random delay, checks the file, and repeats.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <thread>

#include "simulator/persistence.h"
#include "simulator/simulator.h"
#include "temp_folder.h"

namespace {

constexpr int kKills = 220;

// Two selections that differ in every section the save writes.
void Select(TSimulator& sim, bool second) {
    TSimState& s = sim.State;
    s.Level = second ? 9 : 3;
    s.TabIndex = second ? 7 : 1;
    s.Chara[1].Items[0] = second ? 2 : 1;
    s.Chara[1].PowSlotUp = second ? 4 : 1;
    s.Chara[7].CtrlSlotUp = second ? 0 : 3;
    s.Caddie = second ? 12 : 4;
    s.SpecialCard = second ? 5 : 2;
    s.Club = second ? 30 : 11;
    ClubChange(sim);
    s.ClubSpinners[0].SetPosition(second ? 2 : 5);
    s.ClubSpinners[3].SetPosition(second ? 1 : 0);
    sim.Window = second ? WindowPosition{40, 60} : WindowPosition{200, 120};
    StatusCalculate(sim);
}

// Saves the two selections in turn until killed. Runs in the forked child: it never
// returns into the test framework.
[[noreturn]] void SaveForever(const std::string& path) {
    try {
        TSimulator sim;
        FormCreate(sim, path);
        for (bool second = false;; second = !second) {
            Select(sim, second);
            Button1Click(sim, path);
        }
    } catch (...) {
        _exit(3);
    }
}

std::string UnknownSections(int lines) {
    std::string text;
    for (int line = 0; line < lines; ++line) {
        text += line % 11 == 0
                    ? "[Other" + std::to_string(line / 11) + "]\n"
                    : "Key" + std::to_string(line % 11) + "=value " + std::to_string(line) + "\n";
    }
    return text;
}

bool IsTempFile(const std::filesystem::path& entry) {
    return entry.filename().string().starts_with(".") && entry.extension() == ".tmp";
}

}  // namespace

TEST(SaveCrashSafety, FileIsWholeAfterEveryKill) {
    TempFolder folder;
    const std::string path = folder.File("kestrel-simulator.ini");
    WriteBytes(path, UnknownSections(10000));

    // The two contents the file alternates between. A save also carries the counts of
    // the club set the other selection uses, so the pair settles after one full round.
    std::string contentA;
    std::string contentB;
    std::chrono::nanoseconds saveTime{};
    {
        TSimulator sim;
        FormCreate(sim, path);
        for (int round = 0; round < 3; ++round) {
            const std::string oldA = contentA;
            const std::string oldB = contentB;
            Select(sim, false);
            Button1Click(sim, path);
            contentA = ReadBytes(path);
            Select(sim, true);
            const auto start = std::chrono::steady_clock::now();
            Button1Click(sim, path);
            saveTime = std::chrono::steady_clock::now() - start;
            contentB = ReadBytes(path);
            if (round == 2) {
                ASSERT_TRUE(contentA == oldA && contentB == oldB)
                    << "saves of the same two selections must repeat their bytes";
            }
        }
    }
    ASSERT_NE(contentA, contentB);
    ASSERT_GT(contentA.size(), 100000u);

    // Delays spread over the child's start-up load and a few saves.
    const auto span = std::chrono::duration_cast<std::chrono::microseconds>(saveTime * 6);
    std::mt19937 random(20261208);
    std::uniform_int_distribution<int64_t> delay(0, std::max<int64_t>(span.count(), 2000));

    int changes = 0;
    int killsDuringWrite = 0;
    std::string previous = ReadBytes(path);
    for (int kill = 0; kill < kKills; ++kill) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            SaveForever(path);
        }
        std::this_thread::sleep_for(std::chrono::microseconds(delay(random)));
        ASSERT_EQ(::kill(child, SIGKILL), 0);
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the saving child ended on its own, status " << status;

        const std::string now = ReadBytes(path);
        ASSERT_TRUE(now == contentA || now == contentB)
            << "after kill " << kill << " the file holds " << now.size() << " bytes that are "
            << "neither of the two saved contents";
        changes += now != previous;
        previous = now;

        TSimulator loaded;
        ASSERT_NO_THROW(FormCreate(loaded, path)) << "after kill " << kill;
        EXPECT_EQ(loaded.State.Level, now == contentA ? 3 : 9);
        EXPECT_EQ(loaded.State.Club, now == contentA ? 11 : 30);

        // A write that was cut short leaves its temporary file; count it and clear it so
        // that the next one can be seen.
        for (const auto& entry : std::filesystem::directory_iterator(folder.Path())) {
            if (IsTempFile(entry.path())) {
                ++killsDuringWrite;
                std::filesystem::remove(entry.path());
            }
        }
    }
    // The kills must have fallen between saves and inside writes, or the test proved nothing.
    EXPECT_GT(changes, kKills / 10);
    EXPECT_GT(killsDuringWrite, 0);
    RecordProperty("ContentChanges", changes);
    RecordProperty("KillsDuringWrite", killsDuringWrite);
    std::printf("%d kills: content changed %d times, %d kills inside a write\n", kKills, changes,
                killsDuringWrite);
}
