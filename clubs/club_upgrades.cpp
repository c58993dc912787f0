#include "clubs/club_upgrades.h"

#include "engine/checked.h"
#include "engine/sim_record.h"
#include "engine/text_format.h"

// The window answers every change of a club number box with StatusCalculate, so a
// spinner that a step moves from code would start an inner recalculation before the
// step goes on. We never run that inner chain: the rest of the current chain
// recomputes every output it would write from the final positions. Its only lasting
// trace is its failure. With the built-in tables nothing in it can overflow, so it
// fails only when no club set is selected: its club step reads the positions and then
// meets the range check of the per-club baseline, and that error also ends the step
// that moved the spinner. MovedWithoutClub reproduces exactly that.

namespace {

bool IsClubIndex(int32_t club) {
    return club >= 0 && club < kClubCount;
}

void ReadClubSpinners(TSimulator& sim) {
    for (int i = 0; i < kStatCount; ++i) {
        StatField(sim.Results.ClubSlotUp, i) = sim.State.ClubSpinners[i].Position;
    }
}

// The inner recalculation after a move from code, where it leaves a trace.
void MovedWithoutClub(TSimulator& sim) {
    if (!IsClubIndex(sim.State.Club)) {
        ReadClubSpinners(sim);
        CheckRange(sim.State.Club, 0, kClubCount - 1);
    }
}

bool MoveSpinner(SpinnerModel& spinner, int32_t position) {
    const int32_t before = spinner.Position;
    spinner.SetPosition(position);
    return spinner.Position != before;
}

}  // namespace

void CalcClubLimit(TSimulator& sim) {
    auto& spinners = sim.State.ClubSpinners;
    const TStatus& limit = sim.Results.ClubSlotLimit;
    bool moved = false;
    for (int i = 0; i < kStatCount; ++i) {
        if (spinners[i].Position > StatField(limit, i)) {
            moved |= MoveSpinner(spinners[i], StatField(limit, i));
        }
    }
    for (int i = 0; i < kStatCount; ++i) {
        const int32_t before = spinners[i].Position;
        spinners[i].SetMax(StatField(limit, i));
        moved |= spinners[i].Position != before;
    }
    // The inner run started by the first move lowers the remaining spinners and sets
    // every bound itself before its club step fails, so the failure comes last here.
    if (moved) {
        MovedWithoutClub(sim);
    }
}

void CalcClub1(TSimulator& sim) {
    ReadClubSpinners(sim);
    const TStatus& up = sim.Results.ClubSlotUp;
    const int32_t total = UpgradeCostPP(up);
    CheckRange(sim.State.Club, 0, kClubCount - 1);
    const int32_t needed = CheckedSub(total, sim.State.ClubSavedPP[sim.State.Club]);

    TDisplay& d = sim.Display;
    SetDecimalText(d.ClubPPNeededText, {}, needed, " PP");
    SetDecimalText(d.ClubPPTotalText, "(", total, " PP)");
    for (int i = 0; i < kStatCount; ++i) {
        SetUpgradeHint(d.ClubSpinnerHint[i], NextUpgradePrice(i, StatField(up, i)));
    }
}

void CalcClub2(TSimulator& sim) {
    const int32_t club = sim.State.Club;
    CheckRange(club, 0, kClubCount - 1);
    // The bounds are already the new set's limits, so an edited count above a limit
    // comes back as the limit.
    const TStatus& counts = sim.State.ClubSlotUps[club];
    for (int i = 0; i < kStatCount; ++i) {
        sim.State.ClubSpinners[i].SetPosition(StatField(counts, i));
    }
    CalcClub1(sim);
}

void CalcClub3(TSimulator& sim) {
    const TStatus& limit = sim.Results.ClubSlotLimit;
    for (int i = 0; i < kStatCount; ++i) {
        if (MoveSpinner(sim.State.ClubSpinners[i], StatField(limit, i))) {
            MovedWithoutClub(sim);
        }
    }
    CalcClub1(sim);
}
