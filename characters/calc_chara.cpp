#include "characters/calc_chara.h"

#include "engine/levels.h"
#include "engine/simulator.h"

void CalcChara(TSimulator& sim) {
    if (IsLevel(sim.State.Level)) {
        sim.Results.Level = sim.State.Level;
    }
    const int32_t tab = sim.State.TabIndex;
    if (tab < 0 || tab >= CharaCount) {
        return;
    }
    sim.Results.CharaBaseStatus = CharaDef(tab).CharaBaseStatus;
}
