#include "characters/calc_chara.h"
#include "characters/cards.h"
#include "clubs/caddies.h"
#include "clubs/club_upgrades.h"
#include "clubs/clubs.h"
#include "engine/checked.h"
#include "engine/golf_formulas.h"
#include "engine/levels.h"
#include "engine/text_format.h"
#include "simulator/simulator.h"

namespace {

// A chain: the character, caddie, club-set and club-limit steps, the chain's own club
// step, and the final step.
void RunChain(TSimulator& sim, void (*clubStep)(TSimulator&)) {
    CalcChara(sim);
    CalcCaddie(sim);
    CalcClubSetting(sim);
    CalcClubLimit(sim);
    clubStep(sim);
    CalcLast(sim);
}

void SetPenaltyLabel(HintedLabel& label, int32_t shortfall, bool on) {
    if (on) {
        SetDecimalText(label.Text, "(", shortfall, ")");
    } else {
        label.Text.clear();
    }
    label.HintOn = on;
}

// The Season2 hint: the value the stat would have under the fixed limit 20.
void SetSeason2Hint(HintedLabel& label, int32_t value) {
    SetDecimalText(label.Hint, {}, value < 0 ? 0 : value, " (Season2)");
    label.HintOn = true;
}

}  // namespace

void StatusCalculate(TSimulator& sim) {
    RunChain(sim, CalcClub1);
}

void ClubChange(TSimulator& sim) {
    RunChain(sim, CalcClub2);
}

void ClubFullTune(TSimulator& sim) {
    RunChain(sim, CalcClub3);
}

void ComboBox1Change(TSimulator& sim) {
    StatusCalculate(sim);
}

void ComboBox2DropDown(TSimulator& sim) {
    const int32_t club = sim.State.Club;
    CheckRange(club, 0, kClubCount - 1);
    TStatus& counts = sim.State.ClubSlotUps[club];
    for (int i = 0; i < kStatCount; ++i) {
        StatField(counts, i) = sim.State.ClubSpinners[i].Position;
    }
}

void CalcLast(TSimulator& sim) {
    TSimResults& r = sim.Results;
    TDisplay& d = sim.Display;

    r.CharaTotal = (r.CharaBaseStatus + r.EquipStatus) + r.SlotUp;
    CalcSpecialCard(sim);
    r.StatusSum =
        r.CharaTotal + r.CaddieStatus + r.ClubBaseStatus + r.ClubSlotUp + r.SpecialCardStatus;

    const int32_t limit = PowerLimit(sim.State.Level);
    const TStatus& sum = r.StatusSum;
    const int32_t pow = sum.Pow;
    r.FinalStatus = sum;
    if (pow <= limit) {
        SetPenaltyLabel(d.ControlPenalty, 0, false);
        SetPenaltyLabel(d.AccuracyPenalty, 0, false);
    } else {
        const int32_t excess = PowerExcess(pow, limit);
        r.FinalStatus.Ctrl = AfterPenalty(sum.Ctrl, excess);
        r.FinalStatus.Exa = AfterPenalty(sum.Exa, excess);
        const int32_t shortfall = CheckedSub(limit, pow);
        SetPenaltyLabel(d.ControlPenalty, shortfall, true);
        SetPenaltyLabel(d.AccuracyPenalty, shortfall, true);
    }

    if (pow > 20) {
        const int32_t over = CheckedSub(pow, 20);
        SetSeason2Hint(d.Last[1], CheckedSub(sum.Ctrl, over));
        SetSeason2Hint(d.Last[2], CheckedSub(sum.Exa, over));
    } else {
        SetSeason2Hint(d.Last[1], sum.Ctrl);
        SetSeason2Hint(d.Last[2], sum.Exa);
    }

    for (int i = 0; i < kStatCount; ++i) {
        SetDecimalText(d.Last[i].Text, StatField(r.FinalStatus, i));
    }

    const int32_t distance = DriveDistance(r.FinalStatus.Pow, r.RingDistance, r.CaddieCardYard);
    SetDecimalText(d.DistanceNormalText, {}, distance, "y");
    SetDecimalText(d.DistancePowerText, {}, PowerShotDistance(distance, r.CaddieCardPowerYards, 1),
                   "y");
    SetDecimalText(d.DistancePower2Text, {}, PowerShotDistance(distance, r.CaddieCardPowerYards, 2),
                   "y");

    int32_t total = CheckedAdd(UpgradeCostPP(r.ClubSlotUp), r.CharaPPNeeded);
    CheckRange(sim.State.Club, 0, kClubCount - 1);
    total = CheckedSub(total, sim.State.ClubSavedPP[sim.State.Club]);
    SetDecimalText(d.TotalPPText, {}, total, " PP");
}
