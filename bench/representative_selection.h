#pragma once

#include <string>

#include "simulator/persistence.h"
#include "simulator/simulator.h"

// A selection where every list and spinner is used: every wear slot, card, caddie,
// club set and special card is chosen.
inline TSimulator RepresentativeSelection() {
    TSimulator sim;
    sim.State.Level = 12;
    sim.State.TabIndex = 0;
    for (int32_t i = 0; i < CharaCount; ++i) {
        auto& c = sim.State.Chara[i];
        // Slots 0..2 are Top, Pants and TopPants for everyone: half the characters wear
        // separates, the other half a one-piece outfit. Entry 1 exists in every list.
        const bool outfit = i % 2 == 1;
        c.Items[0] = outfit ? 0 : 1;
        c.Items[1] = outfit ? 0 : 1;
        c.Items[2] = outfit ? 1 : 0;
        for (int k = 3; k < kMaxWearSlots; ++k) {
            c.Items[k] = 1;
        }
        c.CharaCard1 = 9;
        c.CharaCard2 = 8;
        c.CharaCard3 = 14;
        c.CaddieCard1 = 1;
        c.CaddieCard2 = 4;
        c.PowSlotUp = 14;
        c.CtrlSlotUp = 3;
        c.ExaSlotUp = 2;
        c.SpinSlotUp = 1;
        c.CurSlotUp = 1;
    }
    sim.State.Caddie = 10;
    sim.State.SpecialCard = 1;
    sim.State.Club = 20;
    sim.State.ClubSlotUps[20] = MakeStatus(4, 8, 6, 4, 4);
    for (int i = 0; i < kStatCount; ++i) {
        sim.State.ClubSpinners[i].Position = StatField(sim.State.ClubSlotUps[20], i);
    }
    return sim;
}

// Saves that selection as a settings file: a full file to measure the program on.
inline void WriteFullSettingsFile(const std::string& path) {
    TSimulator sim = RepresentativeSelection();
    ClubChange(sim);
    Button1Click(sim, path);
}
