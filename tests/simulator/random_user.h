#pragma once

// A user who acts on the core at random, as the faces pass the actions on: picks in
// any list (the club list through the open list or by the keyboard), spinner steps,
// page changes, full tune and revert, each recorded in the history, and saves, which
// are no step. An error ends the action, as its message box would.

#include <cstdint>
#include <random>

#include "characters/roster.h"
#include "engine/errors.h"
#include "settings/settings_store.h"
#include "simulator/history.h"
#include "simulator/lists.h"
#include "simulator/persistence.h"
#include "simulator/simulator.h"

class RandomUser {
public:
    RandomUser(unsigned seed, SettingsStore& store) : random_(seed), store_(store) {}

    int Pick(int count) { return std::uniform_int_distribution<int>(0, count - 1)(random_); }

    // One change of the selection, recorded in `history`.
    void Change(TSimulator& sim, History& history) {
        const int kind = Pick(100);
        const int32_t tab = sim.State.TabIndex;
        const int stat = Pick(kStatCount);
        const int32_t step = Pick(3) != 0 ? 1 : -1;  // mostly up, so that counts reach limits
        if (kind < 40) {
            const ListRef list = AnyList(tab);
            const int32_t entry = Pick(EntryCount(sim, list));
            if (list.Kind == ListKind::Club) {
                Try([&] { OpenList(sim, list); });
            }
            Record(history, sim, [&](TSimulator& s) { PickEntry(s, list, entry); });
        } else if (kind < 46) {
            // The keyboard on the closed club list: no opening, no stored counts.
            const int32_t club = (sim.State.Club + kClubCount + step) % kClubCount;
            Record(history, sim, [&](TSimulator& s) { PickEntry(s, {ListKind::Club}, club); });
        } else if (kind < 70) {
            if (tab < 0 || tab >= CharaCount) {
                return;
            }
            const int32_t next = SlotUpField(sim.State.Chara[tab], stat) + step;
            if (next >= 0 && next <= CharaSpinnerMax(stat)) {
                Record(history, sim, [&](TSimulator& s) {
                    SlotUpField(s.State.Chara[tab], stat) = next;
                    ComboBox1Change(s);
                });
            }
        } else if (kind < 86) {
            const SpinnerModel& spinner = sim.State.ClubSpinners[stat];
            const int32_t next = spinner.Position + step;
            if (next >= 0 && next <= spinner.Max) {
                Record(history, sim, [&](TSimulator& s) {
                    s.State.ClubSpinners[stat].SetPosition(next);
                    ComboBox1Change(s);
                });
            }
        } else if (kind < 94) {
            const int32_t page = Pick(CharaCount);
            if (page != tab) {
                Record(history, sim, [&](TSimulator& s) {
                    s.State.TabIndex = page;
                    ComboBox1Change(s);
                });
            }
        } else if (kind < 98) {
            Record(history, sim, ClubFullTune);
        } else {
            Record(history, sim, [&](TSimulator& s) { FormCreate(s, store_); });
        }
    }

    // The save: no step, the current entry follows.
    void Save(TSimulator& sim, History& history) {
        Try([&] { Button1Click(sim, store_); });
        history.Follow(sim);
    }

private:
    // Any list, those of the shown page more often.
    ListRef AnyList(int32_t tab) {
        const std::vector<ListRef> lists = AllLists();
        for (;;) {
            const ListRef list = lists[static_cast<size_t>(Pick(static_cast<int>(lists.size())))];
            if (list.Chara < 0 || list.Chara == tab || Pick(4) == 0) {
                return list;
            }
        }
    }

    template <class F>
    static void Try(F&& f) {
        try {
            f();
        } catch (const ESimError&) {
        }
    }

    template <class Operation>
    static void Record(History& history, TSimulator& sim, Operation&& operation) {
        Try([&] { RecordChange(history, sim, operation); });
    }

    std::mt19937 random_;
    SettingsStore& store_;
};

// A selection reached the way a user reaches one: loaded, changed at random, saved and
// changed again, so that the PP since the save are not all zero.
inline TSimulator UsedSelection(unsigned seed, SettingsStore& store, int changes = 40) {
    TSimulator sim;
    RandomUser user(seed, store);
    History scratch(1);
    FormCreate(sim, store);
    for (int i = 0; i < changes; ++i) {
        user.Change(sim, scratch);
    }
    user.Save(sim, scratch);
    for (int i = 0; i < changes / 4; ++i) {
        user.Change(sim, scratch);
    }
    return sim;
}
