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

#include "search/holdings_text.h"
#include "simulator/holdings_form.h"
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

struct KillFigures {
    int Changes = 0;           // kills after which the file held other bytes than before
    int KillsDuringWrite = 0;  // kills that left a temporary file: inside a write
};

// Forks a child that runs `saveForever` (it never returns), kills it after a random
// delay within `span`, lets `check` look at the file's bytes, and repeats kKills times.
template <class SaveForever, class Check>
KillFigures KillWhileSaving(const TempFolder& folder, const std::string& path,
                            std::chrono::microseconds span, SaveForever&& saveForever,
                            Check&& check) {
    std::mt19937 random(20261208);
    std::uniform_int_distribution<int64_t> delay(0, std::max<int64_t>(span.count(), 2000));
    KillFigures figures;
    std::string previous = ReadBytes(path);
    for (int kill = 0; kill < kKills; ++kill) {
        const pid_t child = fork();
        if (child < 0) {
            ADD_FAILURE() << "fork failed";
            return figures;
        }
        if (child == 0) {
            try {
                saveForever();
            } catch (...) {
            }
            _exit(3);  // never into the test framework
        }
        std::this_thread::sleep_for(std::chrono::microseconds(delay(random)));
        EXPECT_EQ(::kill(child, SIGKILL), 0);
        int status = 0;
        EXPECT_EQ(waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFSIGNALED(status)) << "the saving child ended on its own, status " << status;

        const std::string now = ReadBytes(path);
        check(now, kill);
        if (::testing::Test::HasFatalFailure()) {
            return figures;
        }
        figures.Changes += now != previous;
        previous = now;

        // A write that was cut short leaves its temporary file; count it and clear it so
        // that the next one can be seen.
        for (const auto& entry : std::filesystem::directory_iterator(folder.Path())) {
            if (IsTempFile(entry.path())) {
                ++figures.KillsDuringWrite;
                std::filesystem::remove(entry.path());
            }
        }
    }
    return figures;
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
    const KillFigures figures = KillWhileSaving(
        folder, path, span, [&path] { SaveForever(path); },
        [&](const std::string& now, int kill) {
            ASSERT_TRUE(now == contentA || now == contentB)
                << "after kill " << kill << " the file holds " << now.size()
                << " bytes that are neither of the two saved contents";
            TSimulator loaded;
            ASSERT_NO_THROW(FormCreate(loaded, path)) << "after kill " << kill;
            EXPECT_EQ(loaded.State.Level, now == contentA ? 3 : 9);
            EXPECT_EQ(loaded.State.Club, now == contentA ? 11 : 30);
        });
    const int changes = figures.Changes;
    const int killsDuringWrite = figures.KillsDuringWrite;
    // The kills must have fallen between saves and inside writes, or the test proved nothing.
    EXPECT_GT(changes, kKills / 10);
    EXPECT_GT(killsDuringWrite, 0);
    RecordProperty("ContentChanges", changes);
    RecordProperty("KillsDuringWrite", killsDuringWrite);
    std::printf("%d kills: content changed %d times, %d kills inside a write\n", kKills, changes,
                killsDuringWrite);
}

// The holdings file is written as the settings file is: after a kill at any moment it
// holds the holdings of one save or of the other, and reads without a fault.
TEST(SaveCrashSafety, HoldingsFileIsWholeAfterEveryKill) {
    TempFolder folder;
    const std::string path = HoldingsFilePath(folder.File("kestrel-simulator.ini"));
    THoldings first = HoldingsOfAll(false);
    THoldings second;
    for (const HoldingsList& list : HoldingsDialogForm().Pages[3].Lists) {
        SetEntryOwned(first, list, 1, true);
        SetEntryOwned(second, list, 1, false);
    }
    const std::string textA = HoldingsFileText(first);
    const std::string textB = HoldingsFileText(second);
    ASSERT_NE(textA, textB);
    HoldingsFile file{path};
    SaveHoldingsFile(file, first);
    const auto start = std::chrono::steady_clock::now();
    SaveHoldingsFile(file, second);
    const auto saveTime = std::chrono::steady_clock::now() - start;

    // A save of this small file is quick: the delays span many, and at least 10 ms, so
    // that a busy machine's slow start of the child still leaves saves to interrupt.
    const auto span = std::max(std::chrono::duration_cast<std::chrono::microseconds>(saveTime * 20),
                               std::chrono::microseconds(10000));
    const KillFigures figures = KillWhileSaving(
        folder, path, span,
        [&] {
            HoldingsFile child{path};
            for (bool odd = false;; odd = !odd) {
                SaveHoldingsFile(child, odd ? second : first);
            }
        },
        [&](const std::string& now, int kill) {
            ASSERT_TRUE(now == textA || now == textB)
                << "after kill " << kill << " the holdings file holds " << now.size()
                << " bytes that are neither of the two saved contents";
            const HoldingsFile loaded = LoadHoldingsFile(path);
            ASSERT_EQ(loaded.Problem, "") << "after kill " << kill;
            EXPECT_EQ(loaded.Holdings, now == textA ? first : second);
        });
    EXPECT_GT(figures.Changes, kKills / 10);
    EXPECT_GT(figures.KillsDuringWrite, 0);
    std::printf("%d kills of the holdings' save: content changed %d times, %d inside a write\n",
                kKills, figures.Changes, figures.KillsDuringWrite);
}
