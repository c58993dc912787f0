#pragma once

#include <random>
#include <string>
#include <vector>

#include "characters/roster.h"
#include "engine/errors.h"
#include "settings/settings_store.h"
#include "simulator/persistence.h"
#include "simulator/simulator.h"
#include "tests/simulator/random_user.h"
#include "tests/support/random_selection.h"

// The selections the planner tests start from.
struct PlannerStart {
    std::string Name;
    MemoryStore Store;
    TSimulator Sim;
    // Every list has a selection and every figure follows from the selection alone, so a
    // fresh simulator given the same selection shows the same.
    bool Plain = false;
};

// Settings files that put the window into its odd states: lists without a selection
// and no page shown, no club set, and PP baselines that make the recalculation
// overflow.
inline std::vector<std::string> OddSettingsTexts() {
    const std::string first(CharaDef(0).Name);
    return {
        "[Character]\nLevel=99\nTabIndex=42\n[Caddie]\nCaddie=77\n[SpecialCard]\n"
        "SpecialCard=-5\n[" +
            first + "]\nTop=999\nShoes=-3\nCharaCard2=40\n",
        "[Club]\nClub=99\nPowSlotUp=3\n",
        "[Character]\nTabIndex=0\n[" + first + "]\nPowSlotUp=5\nSavedPP=-2147483648\n",
        "[Club]\nClub=3\n[Club3]\nCtrlSlotUp=2\nSavedPP=2147483647\n",
    };
}

// Loads an odd file and recalculates as the next user actions would, until the chain
// leaves nothing more to change.
inline TSimulator LoadOdd(SettingsStore& store) {
    TSimulator sim;
    for (int run = 0; run < 3; ++run) {
        try {
            run == 0 ? FormCreate(sim, store) : StatusCalculate(sim);
        } catch (const ESimError&) {
        }
    }
    return sim;
}

// `used` selections reached by random use, `drawn` ones drawn at random (some lists
// without a selection) and the odd ones of a settings file.
inline std::vector<PlannerStart> PlannerStarts(int used, int drawn) {
    std::vector<PlannerStart> starts;
    for (int i = 0; i < used; ++i) {
        PlannerStart s{"used " + std::to_string(i), MemoryStore(), {}, true};
        s.Sim = UsedSelection(static_cast<unsigned>(1000 + i), s.Store);
        starts.push_back(std::move(s));
    }
    for (int i = 0; i < drawn; ++i) {
        PlannerStart s{"drawn " + std::to_string(i), MemoryStore(), {}, false};
        std::mt19937 rng(static_cast<unsigned>(2000 + i));
        FormCreate(s.Sim, s.Store);
        RandomSelection(rng, s.Sim);
        starts.push_back(std::move(s));
    }
    int odd = 0;
    for (const std::string& text : OddSettingsTexts()) {
        PlannerStart s{"odd " + std::to_string(odd++), MemoryStore("odd", text), {}, false};
        s.Sim = LoadOdd(s.Store);
        starts.push_back(std::move(s));
    }
    return starts;
}
