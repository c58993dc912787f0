// A long seeded run of random user actions through the real window: lists on every
// page (by keyboard and through the open list), tabs, spinners, the club list both
// ways, full tune, save and revert. After every action the window must show what the
// core holds; at the end the saved file must load back to the window's selection,
// and after a warm-up the process must not keep growing.
//
// KESTREL_SOAK_ACTIONS (default 2000) and KESTREL_SOAK_SEED (default 20261208) set the
// length and the seed; a failure names the seed and the last actions.

#include <unistd.h>

#include <QElapsedTimer>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <fstream>
#include <random>
#include <string>

#include "simulator/persistence.h"
#include "ui_test_support.h"
#include "window_driver.h"

#if defined(__SANITIZE_ADDRESS__)
#define KESTREL_UNDER_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define KESTREL_UNDER_ASAN 1
#endif
#endif

namespace {

long EnvNumber(const char* name, long fallback) {
    const char* text = std::getenv(name);
    return text != nullptr && *text != '\0' ? std::strtol(text, nullptr, 10) : fallback;
}

// Resident set size of this process in bytes.
long ResidentBytes() {
    std::ifstream statm("/proc/self/statm");
    long size = 0;
    long resident = 0;
    statm >> size >> resident;
    return resident * sysconf(_SC_PAGESIZE);
}

class Soak {
public:
    Soak(TForm1& form, unsigned seed) : drive_(form), random_(seed) {}

    // One random action, named in the log of recent actions.
    void Act() {
        const int page = drive_.CurrentPage();
        const int kind = Pick(100);
        if (kind < 28) {
            QComboBox* list = Any(drive_.PageLists(page));
            Log("keyboard on " + Name(list));
            WindowDriver::PickByKeyboard(list, Pick(3) != 0);
        } else if (kind < 38) {
            QComboBox* list = Any(drive_.PageLists(page));
            const int index = Pick(list->count());
            Log("open " + Name(list) + " pick " + std::to_string(index));
            WindowDriver::PickInOpenList(list, index);
        } else if (kind < 44) {
            QComboBox* list = Any(drive_.OtherLists());
            if (Pick(2) == 0) {
                Log("keyboard on " + Name(list));
                WindowDriver::PickByKeyboard(list, Pick(2) == 0);
            } else {
                const int index = Pick(list->count());
                Log("open " + Name(list) + " pick " + std::to_string(index));
                WindowDriver::PickInOpenList(list, index);
            }
        } else if (kind < 49) {
            const int index = Pick(drive_.ClubList()->count());
            Log("open club list pick " + std::to_string(index));
            WindowDriver::PickInOpenList(drive_.ClubList(), index);
        } else if (kind < 53) {
            Log("keyboard on club list");
            WindowDriver::PickByKeyboard(drive_.ClubList(), Pick(2) == 0);
        } else if (kind < 61) {
            const int tab = Pick(CharaCount);
            Log("tab " + std::to_string(tab));
            drive_.ClickTab(tab);
        } else if (kind < 85) {
            QSpinBox* spinner = Any(drive_.PageSpinners(page));
            const bool up = Pick(3) != 0;  // mostly up, so that counts reach their limits
            Log(std::string(up ? "up on " : "down on ") + Name(spinner));
            WindowDriver::Step(spinner, up);
        } else if (kind < 95) {
            QSpinBox* spinner = Any(drive_.ClubSpinners());
            const bool up = Pick(3) != 0;
            Log(std::string(up ? "up on " : "down on ") + Name(spinner));
            WindowDriver::Step(spinner, up);
        } else if (kind < 97) {
            Log("full tune");
            WindowDriver::Click(drive_.FullTuneButton());
        } else if (kind < 99) {
            Log("save");
            WindowDriver::Click(drive_.SaveButton());
        } else {
            Log("revert");
            WindowDriver::Click(drive_.RevertButton());
        }
        WindowDriver::Settle();
    }

    // Visits every page and opens every list once, so that what the window creates on
    // first use (the lists' drop-down windows, glyphs of every text) exists before
    // memory is measured.
    void VisitEverything() {
        for (int page = 0; page < CharaCount; ++page) {
            drive_.ClickTab(page);
            for (QComboBox* list : drive_.PageLists(page)) {
                WindowDriver::PickInOpenList(list, list->currentIndex());
            }
            WindowDriver::Settle();
        }
        for (QComboBox* list : drive_.OtherLists()) {
            WindowDriver::PickInOpenList(list, list->currentIndex());
        }
        WindowDriver::PickInOpenList(drive_.ClubList(), drive_.ClubList()->currentIndex());
        drive_.ClickTab(0);
        WindowDriver::Settle();
    }

    std::string Recent() const {
        std::string text;
        for (const std::string& action : recent_) {
            text += "  " + action + "\n";
        }
        return text;
    }

private:
    int Pick(int count) { return std::uniform_int_distribution<int>(0, count - 1)(random_); }

    template <class T>
    T* Any(const std::vector<T*>& widgets) {
        return widgets[static_cast<size_t>(Pick(static_cast<int>(widgets.size())))];
    }

    static std::string Name(const QWidget* widget) { return widget->objectName().toStdString(); }
    void Log(std::string action) {
        recent_.push_back(std::move(action));
        if (recent_.size() > 12) {
            recent_.pop_front();
        }
    }

    WindowDriver drive_;
    std::mt19937 random_;
    std::deque<std::string> recent_;
};

}  // namespace

TEST(Soak, RandomUserActionsThroughTheWindow) {
    const long actions = EnvNumber("KESTREL_SOAK_ACTIONS", 2000);
    const auto seed = static_cast<unsigned>(EnvNumber("KESTREL_SOAK_SEED", 20261208));
    const long warmUp = actions / 4;

    QuietOffscreenWarnings();
    TempSettings settings;
    settings.Write("[Notes]\nMine=keep me\n");
    auto form = ShownWindow(settings);
    MessageBoxCloser boxes;
    Soak soak(*form, seed);
    const CoreMirror mirror(*form);

    QElapsedTimer clock;
    clock.start();
    soak.VisitEverything();
    long residentAfterWarmUp = 0;
    for (long done = 0; done < actions; ++done) {
        if (done == warmUp) {
            residentAfterWarmUp = ResidentBytes();
        }
        soak.Act();
        const std::vector<std::string> differences = mirror.Differences();
        ASSERT_TRUE(differences.empty()) << "seed " << seed << ", after action " << done + 1
                                         << ": " << differences.front() << "\nthe last actions:\n"
                                         << soak.Recent();
    }
    const long residentAtEnd = ResidentBytes();
    const double seconds = static_cast<double>(clock.elapsed()) / 1000.0;
    std::printf("%ld actions in %.1f s (%.0f us each), seed %u, %d message boxes; resident "
                "%.1f MB after warm-up, %.1f MB at the end\n",
                actions, seconds, seconds * 1e6 / static_cast<double>(actions), seed,
                boxes.Closed(), static_cast<double>(residentAfterWarmUp) / 1048576.0,
                static_cast<double>(residentAtEnd) / 1048576.0);

    // Whatever the window holds, a save must bring it back whole, with the user's own
    // section kept.
    WindowDriver::Click(WindowDriver(*form).SaveButton());
    WindowDriver::Settle();
    TSimulator loaded;
    FormCreate(loaded, settings.Path());
    EXPECT_EQ(loaded.State.Level, form->Simulator().State.Level);
    EXPECT_EQ(loaded.State.Chara, form->Simulator().State.Chara);
    EXPECT_EQ(loaded.State.Club, form->Simulator().State.Club);
    EXPECT_EQ(loaded.State.ClubSlotUps, form->Simulator().State.ClubSlotUps);
    EXPECT_EQ(loaded.State.Caddie, form->Simulator().State.Caddie);
    EXPECT_EQ(loaded.State.SpecialCard, form->Simulator().State.SpecialCard);
    EXPECT_NE(settings.Read().find("[Notes]\nMine=keep me\n"), std::string::npos);

#ifndef KESTREL_UNDER_ASAN
    // The sanitizer build keeps freed memory in quarantine, so only the plain build can
    // tell a leak from the allocator's bookkeeping.
    EXPECT_LT(residentAtEnd - residentAfterWarmUp, 1L << 20)
        << "resident memory grew by " << residentAtEnd - residentAfterWarmUp << " bytes";
#endif
}
