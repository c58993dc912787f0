#pragma once

// How GoogleTest prints the simulator's records, so that one EXPECT_EQ on a whole
// record shows every field of both sides when they differ.

#include <gtest/gtest.h>

#include <ostream>
#include <string_view>

#include "simulator/simulator.h"

namespace sim_print {

template <class T>
void Field(std::ostream* os, std::string_view name, const T& value) {
    *os << name << '=' << testing::PrintToString(value) << ' ';
}

}  // namespace sim_print

inline void PrintTo(const TStatus& s, std::ostream* os) {
    *os << '(' << s.Pow << ", " << s.Ctrl << ", " << s.Exa << ", " << s.Spin << ", " << s.Cur
        << ')';
}

inline void PrintTo(const SpinnerModel& s, std::ostream* os) {
    *os << s.Position << '/' << s.Max;
}

inline void PrintTo(const TCharaState& c, std::ostream* os) {
    using sim_print::Field;
    *os << "{ ";
    Field(os, "Items", c.Items);
    Field(os, "CharaCards", std::array{c.CharaCard1, c.CharaCard2, c.CharaCard3});
    Field(os, "CaddieCards", std::array{c.CaddieCard1, c.CaddieCard2});
    Field(os, "SlotUps", SlotUpCounts(c));
    *os << '}';
}

inline void PrintTo(const TSimState& s, std::ostream* os) {
    using sim_print::Field;
    *os << "{ ";
    Field(os, "Level", s.Level);
    Field(os, "TabIndex", s.TabIndex);
    Field(os, "Chara", s.Chara);
    Field(os, "SavedPP", s.SavedPP);
    Field(os, "Club", s.Club);
    Field(os, "ClubSlotUps", s.ClubSlotUps);
    Field(os, "ClubSavedPP", s.ClubSavedPP);
    Field(os, "ClubSpinners", s.ClubSpinners);
    Field(os, "Caddie", s.Caddie);
    Field(os, "SpecialCard", s.SpecialCard);
    *os << '}';
}

inline void PrintTo(const TEquipBonus& b, std::ostream* os) {
    PrintTo(b.StatusBonus, os);
    *os << '+';
    PrintTo(b.SlotBonus, os);
}

inline void PrintTo(const TSimResults& r, std::ostream* os) {
    using sim_print::Field;
    *os << "{ ";
    Field(os, "Level", r.Level);
    Field(os, "CharaBaseStatus", r.CharaBaseStatus);
    Field(os, "EquipStatus", r.EquipStatus);
    Field(os, "SlotLimit", r.SlotLimit);
    Field(os, "SlotUp", r.SlotUp);
    Field(os, "CharaPPTotal", r.CharaPPTotal);
    Field(os, "CharaPPNeeded", r.CharaPPNeeded);
    Field(os, "RingDistance", r.RingDistance);
    Field(os, "CaddieCardYard", r.CaddieCardYard);
    Field(os, "CaddieCardPowerYards", r.CaddieCardPowerYards);
    Field(os, "CaddieStatus", r.CaddieStatus);
    Field(os, "ClubBaseStatus", r.ClubBaseStatus);
    Field(os, "ClubSlotLimit", r.ClubSlotLimit);
    Field(os, "ClubSlotUp", r.ClubSlotUp);
    Field(os, "SpecialCardStatus", r.SpecialCardStatus);
    Field(os, "CharaTotal", r.CharaTotal);
    Field(os, "StatusSum", r.StatusSum);
    Field(os, "FinalStatus", r.FinalStatus);
    Field(os, "SlotRecords", r.SlotRecords);
    Field(os, "BodyBonus", r.BodyBonus);
    *os << '}';
}

inline void PrintTo(const HintedLabel& l, std::ostream* os) {
    *os << testing::PrintToString(l.Text) << (l.HintOn ? " hint on " : " hint off ")
        << testing::PrintToString(l.Hint);
}

inline void PrintTo(const CharaPageDisplay& p, std::ostream* os) {
    using sim_print::Field;
    *os << "{ ";
    Field(os, "SlotLimitText", p.SlotLimitText);
    Field(os, "SpinnerHint", p.SpinnerHint);
    Field(os, "PPNeededText", p.PPNeededText);
    Field(os, "PPTotalText", p.PPTotalText);
    Field(os, "Enabled",
          std::array{p.TopEnabled, p.PantsEnabled, p.TopPantsEnabled, p.WaistEnabled});
    Field(os, "CharaCardItems", p.CharaCardItems);
    Field(os, "CaddieCardItems", p.CaddieCardItems);
    *os << '}';
}

inline void PrintTo(const TDisplay& d, std::ostream* os) {
    using sim_print::Field;
    *os << "{ ";
    Field(os, "Pages", d.Pages);
    Field(os, "CaddieEffectText", d.CaddieEffectText);
    Field(os, "ClubBaseText", d.ClubBaseText);
    Field(os, "ClubSlotText", d.ClubSlotText);
    Field(os, "ClubSpinnerHint", d.ClubSpinnerHint);
    Field(os, "ClubPPNeededText", d.ClubPPNeededText);
    Field(os, "ClubPPTotalText", d.ClubPPTotalText);
    Field(os, "Last", d.Last);
    Field(os, "ControlPenalty", d.ControlPenalty);
    Field(os, "AccuracyPenalty", d.AccuracyPenalty);
    Field(os, "Distances",
          std::array{d.DistanceNormalText, d.DistancePowerText, d.DistancePower2Text});
    Field(os, "TotalPPText", d.TotalPPText);
    Field(os, "StatCaptionHint", d.StatCaptionHint);
    Field(os, "SaveButtonHint", d.SaveButtonHint);
    Field(os, "FullTuneHint", d.FullTuneHint);
    Field(os, "HintTiming", std::array{d.HintPauseMs, d.HintHidePauseMs});
    *os << '}';
}

inline void PrintTo(const WindowPosition& w, std::ostream* os) {
    *os << '(' << w.Left << ", " << w.Top << ')';
}

inline void PrintTo(const TSimulator& sim, std::ostream* os) {
    using sim_print::Field;
    *os << "{ ";
    Field(os, "State", sim.State);
    Field(os, "Results", sim.Results);
    Field(os, "Display", sim.Display);
    Field(os, "Window", sim.Window);
    *os << '}';
}
