#include <gtest/gtest.h>

#include <set>
#include <string>
#include <string_view>

#include "clubs/caddies.h"
#include "clubs/clubs.h"
#include "engine/errors.h"
#include "simulator/simulator.h"
#include "tests/clubs/club_spinners.h"

namespace {

bool EndsWith(std::string_view s, std::string_view tail) {
    return s.size() >= tail.size() && s.substr(s.size() - tail.size()) == tail;
}

// Reads an effect text such as "効果： コントロール+1 スピン+10" back into points.
TStatus ParseEffectText(std::string_view text) {
    constexpr std::string_view kHead = "効果： ";
    constexpr std::pair<std::string_view, int> kNames[] = {{"パワー", 0}, {"コントロール", 1},
                                                           {"コント", 1}, {"正確度", 2},
                                                           {"スピン", 3}, {"カーブ", 4}};
    TStatus s;
    if (text.empty()) {
        return s;
    }
    EXPECT_TRUE(text.starts_with(kHead)) << text;
    text.remove_prefix(kHead.size());
    while (!text.empty()) {
        const auto end = text.find(' ');
        const std::string_view item = text.substr(0, end);
        const auto plus = item.find('+');
        bool known = false;
        for (const auto& [name, stat] : kNames) {
            if (item.substr(0, plus) == name) {
                StatField(s, stat) += std::stoi(std::string(item.substr(plus + 1)));
                known = true;
            }
        }
        EXPECT_TRUE(known) << item;
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
    }
    return s;
}

TSimulator Calculated(int32_t caddie, int32_t special) {
    TSimulator sim;
    sim.State.Caddie = caddie;
    sim.State.SpecialCard = special;
    StatusCalculate(sim);
    return sim;
}

}  // namespace

// Each caddie's effect text states exactly the points it adds.
TEST(CaddieTable, EffectTextsMatchTheirPoints) {
    ASSERT_EQ(Caddies().size(), size_t{kCaddieCount});
    for (const CaddieDef& c : Caddies()) {
        EXPECT_EQ(ParseEffectText(c.EffectText), c.Effect) << c.Name;
    }
}

// Names: "なし" first, all distinct, the marker exactly on entries 1, 2, 3, 6, 8, 10, 13.
TEST(CaddieTable, NamesAreDistinctAndMarked) {
    const std::set<int> marked = {1, 2, 3, 6, 8, 10, 13};
    std::set<std::string_view> names;
    for (int i = 0; i < kCaddieCount; ++i) {
        const std::string_view name = Caddies()[i].Name;
        names.insert(name);
        EXPECT_EQ(EndsWith(name, " *"), marked.count(i) == 1) << i;
    }
    EXPECT_EQ(names.size(), size_t{kCaddieCount});
    EXPECT_EQ(Caddies()[0].Name, "なし");
}

// The caddie step: the selected caddie's points reach the final status, its text the label.
TEST(CaddieStep, SelectedCaddieReachesTheFinalStatus) {
    const TSimulator none = Calculated(0, 0);
    EXPECT_EQ(none.Results.CaddieStatus, TStatus{});
    EXPECT_EQ(none.Display.CaddieEffectText, "");

    const TSimulator spin = Calculated(10, 0);
    EXPECT_EQ(spin.Display.CaddieEffectText, "効果： コントロール+1 スピン+10");
    EXPECT_EQ(spin.Results.FinalStatus.Spin, none.Results.FinalStatus.Spin + 10);

    // Two power points: four yards on every distance.
    const TSimulator power = Calculated(2, 0);
    EXPECT_EQ(std::stoi(power.Display.DistanceNormalText),
              std::stoi(none.Display.DistanceNormalText) + 4);
}

// An index outside a lookup table keeps the previous run's result and text.
TEST(LookupOutsideTable, CaddieAndSpecialCardKeepThePreviousResults) {
    const TSimulator fresh = Calculated(-1, 6);
    EXPECT_EQ(fresh.Display.CaddieEffectText, "キャディの効果");
    EXPECT_EQ(fresh.Results.CaddieStatus, TStatus{});
    EXPECT_EQ(fresh.Results.SpecialCardStatus, TStatus{});

    TSimulator sim = Calculated(14, 4);
    const TStatus final = sim.Results.FinalStatus;
    for (int32_t bad : {-1, 15, 1000}) {
        sim.State.Caddie = bad;
        sim.State.SpecialCard = bad < 0 ? bad : bad - 9;  // -1, 6, 991
        StatusCalculate(sim);
        EXPECT_EQ(sim.Results.CaddieStatus, MakeStatus(0, 1, 0, 5, 0));
        EXPECT_EQ(sim.Display.CaddieEffectText, "効果： コントロール+1 スピン+5");
        EXPECT_EQ(sim.Results.SpecialCardStatus, MakeStatus(0, 0, 0, 1, 0));
        EXPECT_EQ(sim.Results.FinalStatus, final);
    }
}

// The special card adds its point through the final step; power lengthens every shot.
TEST(SpecialCard, PointEntersTheFinalStatus) {
    const TSimulator none = Calculated(0, 0);
    const TSimulator spin = Calculated(0, 4);
    TStatus expected = none.Results.FinalStatus;
    expected.Spin += 1;
    EXPECT_EQ(spin.Results.FinalStatus, expected);
    EXPECT_EQ(spin.Display.DistancePowerText, none.Display.DistancePowerText);

    // At the power limit the power card costs one control and one accuracy.
    TSimulator sim;
    sim.State.Club = 4;  // base power 15
    ClubChange(sim);
    sim.State.Level = sim.Results.StatusSum.Pow - 20;  // summed power equals the limit
    ASSERT_GE(sim.State.Level, 0);
    ASSERT_LE(sim.State.Level, 13);
    StatusCalculate(sim);
    const TStatus at = sim.Results.FinalStatus;
    ASSERT_EQ(sim.Display.ControlPenalty.Text, "");
    sim.State.SpecialCard = 1;
    StatusCalculate(sim);
    EXPECT_EQ(sim.Results.FinalStatus,
              MakeStatus(at.Pow + 1, at.Ctrl - 1, at.Exa - 1, at.Spin, at.Cur));
    EXPECT_EQ(sim.Display.ControlPenalty.Text, "(-1)");
    EXPECT_EQ(sim.Display.AccuracyPenalty.Text, "(-1)");
    EXPECT_EQ(std::stoi(sim.Display.DistanceNormalText),
              (at.Pow + 1 - 15) * 2 + 230 + sim.Results.RingDistance + sim.Results.CaddieCardYard);
}

// Captions: 42 distinct texts, markers exactly where the list has them.
TEST(ClubTable, CaptionsAreDistinctAndMarked) {
    ASSERT_EQ(ClubSets().size(), size_t{kClubCount});
    const std::set<int> spaced = {0, 4, 13, 15, 19, 28};
    std::set<std::string_view> captions;
    for (int i = 0; i < kClubCount; ++i) {
        const std::string_view c = ClubSets()[i].Caption;
        captions.insert(c);
        EXPECT_EQ(EndsWith(c, " *"), spaced.count(i) == 1) << i;
        EXPECT_EQ(EndsWith(c, ")*"), i == 6) << i;
    }
    EXPECT_EQ(captions.size(), size_t{kClubCount});
}

// No slot limit lies outside 0..9: the spinners and the price can never overflow.
TEST(ClubTable, SlotLimitsStayWithinNine) {
    for (const ClubSet& set : ClubSets()) {
        for (int i = 0; i < kStatCount; ++i) {
            EXPECT_GE(StatField(set.ClubSlotLimit, i), 0) << set.Caption;
            EXPECT_LE(StatField(set.ClubSlotLimit, i), 9) << set.Caption;
        }
    }
    EXPECT_EQ(ClubSets()[34].ClubBaseStatus, ClubSets()[35].ClubBaseStatus);
}

// The club step shows the set's base values and limits; with no set the labels stay.
TEST(ClubSetting, LabelsFollowTheSelectedSet) {
    TSimulator sim;
    sim.State.Club = 41;
    ClubChange(sim);
    const std::array<std::string, kStatCount> base{"12", "12", "12", "6", "0"};
    const std::array<std::string, kStatCount> slots{"/3", "/0", "/0", "/0", "/0"};
    EXPECT_EQ(sim.Display.ClubBaseText, base);
    EXPECT_EQ(sim.Display.ClubSlotText, slots);

    sim.State.Club = 19;
    ClubChange(sim);
    EXPECT_EQ(sim.Display.ClubBaseText[0], "0");

    sim.State.Club = 41;
    ClubChange(sim);
    sim.State.Club = -1;
    EXPECT_THROW(StatusCalculate(sim), ERangeError);
    EXPECT_EQ(sim.Display.ClubBaseText, base);
    EXPECT_EQ(sim.Display.ClubSlotText, slots);
    EXPECT_EQ(sim.Results.ClubBaseStatus, MakeStatus(12, 12, 12, 6, 0));
}
