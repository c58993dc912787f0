#pragma once

#include <gtest/gtest.h>

#include <ostream>

#include "simulator/simulator.h"

inline void PrintTo(const TStatus& s, std::ostream* os) {
    *os << "(" << s.Pow << ", " << s.Ctrl << ", " << s.Exa << ", " << s.Spin << ", " << s.Cur
        << ")";
}

inline TStatus SpinnerPositions(const TSimulator& sim) {
    TStatus s;
    for (int i = 0; i < kStatCount; ++i) {
        StatField(s, i) = sim.State.ClubSpinners[i].Position;
    }
    return s;
}

inline TStatus SpinnerBounds(const TSimulator& sim) {
    TStatus s;
    for (int i = 0; i < kStatCount; ++i) {
        StatField(s, i) = sim.State.ClubSpinners[i].Max;
    }
    return s;
}

// Every field of the selection, the results and the display values must agree.
inline void ExpectSameSim(const TSimulator& a, const TSimulator& b) {
#define KESTREL_SAME(field) EXPECT_EQ(a.field, b.field) << #field
    KESTREL_SAME(State.Level);
    KESTREL_SAME(State.TabIndex);
    KESTREL_SAME(State.Chara);
    KESTREL_SAME(State.SavedPP);
    KESTREL_SAME(State.Club);
    KESTREL_SAME(State.ClubSlotUps);
    KESTREL_SAME(State.ClubSavedPP);
    EXPECT_EQ(SpinnerPositions(a), SpinnerPositions(b)) << "club spinner positions";
    EXPECT_EQ(SpinnerBounds(a), SpinnerBounds(b)) << "club spinner bounds";
    KESTREL_SAME(State.Caddie);
    KESTREL_SAME(State.SpecialCard);

    KESTREL_SAME(Results.Level);
    KESTREL_SAME(Results.CharaBaseStatus);
    KESTREL_SAME(Results.EquipStatus);
    KESTREL_SAME(Results.SlotLimit);
    KESTREL_SAME(Results.SlotUp);
    KESTREL_SAME(Results.CharaPPTotal);
    KESTREL_SAME(Results.CharaPPNeeded);
    KESTREL_SAME(Results.RingDistance);
    KESTREL_SAME(Results.CaddieCardYard);
    KESTREL_SAME(Results.CaddieCardPowerYards);
    KESTREL_SAME(Results.CaddieStatus);
    KESTREL_SAME(Results.ClubBaseStatus);
    KESTREL_SAME(Results.ClubSlotLimit);
    KESTREL_SAME(Results.ClubSlotUp);
    KESTREL_SAME(Results.SpecialCardStatus);
    KESTREL_SAME(Results.CharaTotal);
    KESTREL_SAME(Results.StatusSum);
    KESTREL_SAME(Results.FinalStatus);
    EXPECT_TRUE(a.Results.SlotRecords == b.Results.SlotRecords) << "Results.SlotRecords";
    EXPECT_TRUE(a.Results.BodyBonus == b.Results.BodyBonus) << "Results.BodyBonus";

    for (int c = 0; c < CharaCount; ++c) {
        KESTREL_SAME(Display.Pages[c].SlotLimitText);
        KESTREL_SAME(Display.Pages[c].SpinnerHint);
        KESTREL_SAME(Display.Pages[c].PPNeededText);
        KESTREL_SAME(Display.Pages[c].PPTotalText);
        KESTREL_SAME(Display.Pages[c].TopEnabled);
        KESTREL_SAME(Display.Pages[c].PantsEnabled);
        KESTREL_SAME(Display.Pages[c].TopPantsEnabled);
        KESTREL_SAME(Display.Pages[c].WaistEnabled);
        KESTREL_SAME(Display.Pages[c].CharaCardItems);
        KESTREL_SAME(Display.Pages[c].CaddieCardItems);
    }
    KESTREL_SAME(Display.CaddieEffectText);
    KESTREL_SAME(Display.ClubBaseText);
    KESTREL_SAME(Display.ClubSlotText);
    KESTREL_SAME(Display.ClubSpinnerHint);
    KESTREL_SAME(Display.ClubPPNeededText);
    KESTREL_SAME(Display.ClubPPTotalText);
    for (int i = 0; i < kStatCount; ++i) {
        KESTREL_SAME(Display.Last[i].Text);
        KESTREL_SAME(Display.Last[i].Hint);
        KESTREL_SAME(Display.Last[i].HintOn);
    }
    for (auto label : {&TDisplay::ControlPenalty, &TDisplay::AccuracyPenalty}) {
        EXPECT_EQ((a.Display.*label).Text, (b.Display.*label).Text) << "penalty text";
        EXPECT_EQ((a.Display.*label).HintOn, (b.Display.*label).HintOn) << "penalty hint";
    }
    KESTREL_SAME(Display.DistanceNormalText);
    KESTREL_SAME(Display.DistancePowerText);
    KESTREL_SAME(Display.DistancePower2Text);
    KESTREL_SAME(Display.TotalPPText);
    KESTREL_SAME(Display.StatCaptionHint);
    KESTREL_SAME(Display.SaveButtonHint);
    KESTREL_SAME(Display.FullTuneHint);
#undef KESTREL_SAME
}
