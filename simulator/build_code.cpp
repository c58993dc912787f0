#include "simulator/build_code.h"

#include <optional>

#include "characters/cards.h"
#include "characters/catalogue.h"
#include "clubs/caddies.h"
#include "clubs/club_upgrades.h"
#include "clubs/clubs.h"
#include "engine/checked.h"
#include "engine/levels.h"
#include "simulator/code_letters.h"
#include "simulator/simulator.h"

// Layout of version 1, every field an unsigned number of just enough bits for its
// range, most significant bit first; a list index is stored plus one, so that -1 is 0:
//   level, page, caddie, special card, club set
//   per character: 1 flag bit (not all defaults), then when set its wear slots in slot
//     order, the three character cards, the two caddie cards and the five spinners
//   per club set: 1 flag bit (any count above 0), then when set its five counts
// The bits fill base64 letters from the top; the last letter's unused bits are zero.

namespace {

using code_letters::BitReader;
using code_letters::BitWriter;
using code_letters::kAlphabet;

constexpr int kVersion = 1;

[[noreturn]] void Damaged() {
    throw EBuildCodeError(std::string(kBuildCodeDamaged));
}

// The values a field of a build can take, Min up to Max: a list index from -1 (no
// selection), stored plus one, or a count from 0.
struct FieldRange {
    int32_t Min = 0;
    int32_t Max = 0;

    uint32_t Count() const { return static_cast<uint32_t>(Max - Min) + 1; }
    // A list index the list does not have becomes -1; a count is held within the range,
    // where its spinner would put it.
    int32_t Bring(int32_t value) const {
        if (Min < 0) {
            return value >= Min && value <= Max ? value : -1;
        }
        return value < Min ? Min : (value > Max ? Max : value);
    }
    void Put(BitWriter& out, int32_t value) const {
        out.Put(static_cast<uint32_t>(value - Min), Count());
    }
    int32_t Get(BitReader& in) const { return static_cast<int32_t>(in.Get(Count())) + Min; }
};

FieldRange IndexRange(size_t size) {
    return {-1, static_cast<int32_t>(size) - 1};
}

// Every field of character c's state that a build carries, with its range: the wear
// slots in slot order, the three character cards, the two caddie cards, the five
// spinners.
template <class Visit>
void ForEachCharaField(int32_t c, TCharaState& chara, Visit&& visit) {
    const size_t slots = CharaDef(c).Slots.size();
    for (size_t p = 0; p < slots; ++p) {
        visit(chara.Items[p], IndexRange(EquipList(c, static_cast<int>(p)).size()));
    }
    visit(chara.CharaCard1, IndexRange(kCardKindCount));
    visit(chara.CharaCard2, IndexRange(kCardKindCount));
    visit(chara.CharaCard3, IndexRange(kCardKindCount));
    visit(chara.CaddieCard1, IndexRange(kCaddieCardKindCount));
    visit(chara.CaddieCard2, IndexRange(kCaddieCardKindCount));
    for (int i = 0; i < kStatCount; ++i) {
        visit(SlotUpField(chara, i), FieldRange{0, CharaSpinnerMax(i)});
    }
}

// The five counts of club set `club`, each from 0 up to that set's slot limit.
template <class Visit>
void ForEachClubCount(int32_t club, TStatus& counts, Visit&& visit) {
    const TStatus& limit = ClubSets()[static_cast<size_t>(club)].ClubSlotLimit;
    for (int k = 0; k < kStatCount; ++k) {
        visit(StatField(counts, k), FieldRange{0, StatField(limit, k)});
    }
}

// The fields a build shares with the selection; they have the same names in both.
template <class From, class To>
void CopyBuildFields(const From& from, To& to) {
    to.Level = from.Level;
    to.TabIndex = from.TabIndex;
    to.Chara = from.Chara;
    to.Caddie = from.Caddie;
    to.SpecialCard = from.SpecialCard;
    to.Club = from.Club;
    to.ClubSlotUps = from.ClubSlotUps;
}

PlannedBuild Held(const PlannedBuild& in) {
    PlannedBuild out = in;
    const auto bring = [](int32_t& value, FieldRange range) { value = range.Bring(value); };
    bring(out.Level, IndexRange(kLevelCount));
    bring(out.TabIndex, IndexRange(CharaCount));
    for (int32_t c = 0; c < CharaCount; ++c) {
        ForEachCharaField(c, out.Chara[c], bring);
        // Slots the character does not have are not part of a build.
        for (size_t p = CharaDef(c).Slots.size(); p < out.Chara[c].Items.size(); ++p) {
            out.Chara[c].Items[p] = TCharaState{}.Items[p];
        }
    }
    bring(out.Caddie, IndexRange(kCaddieCount));
    bring(out.SpecialCard, IndexRange(kSpecialCardCount));
    bring(out.Club, IndexRange(kClubCount));
    for (int32_t i = 0; i < kClubCount; ++i) {
        ForEachClubCount(i, out.ClubSlotUps[i], bring);
    }
    return out;
}

}  // namespace

PlannedBuild BuildOf(const TSimState& state) {
    PlannedBuild build;
    CopyBuildFields(state, build);
    if (state.Club >= 0 && state.Club < kClubCount) {
        for (int k = 0; k < kStatCount; ++k) {
            StatField(build.ClubSlotUps[state.Club], k) = state.ClubSpinners[k].Position;
        }
    }
    return Held(build);
}

std::string EncodeBuild(const PlannedBuild& raw) {
    PlannedBuild build = Held(raw);
    BitWriter out;
    const auto put = [&out](int32_t& value, FieldRange range) { range.Put(out, value); };
    put(build.Level, IndexRange(kLevelCount));
    put(build.TabIndex, IndexRange(CharaCount));
    put(build.Caddie, IndexRange(kCaddieCount));
    put(build.SpecialCard, IndexRange(kSpecialCardCount));
    put(build.Club, IndexRange(kClubCount));
    for (int32_t c = 0; c < CharaCount; ++c) {
        const bool used = build.Chara[c] != TCharaState{};
        out.PutBit(used);
        if (used) {
            ForEachCharaField(c, build.Chara[c], put);
        }
    }
    for (int32_t i = 0; i < kClubCount; ++i) {
        const bool used = build.ClubSlotUps[i] != TStatus{};
        out.PutBit(used);
        if (used) {
            ForEachClubCount(i, build.ClubSlotUps[i], put);
        }
    }
    std::string code(1, kAlphabet[kVersion]);
    code += out.Finish();
    code += code_letters::CheckLetters(code);
    return code;
}

PlannedBuild DecodeBuild(std::string_view code) {
    if (!code_letters::Checked(code, 1)) {
        Damaged();
    }
    const std::string_view body = code.substr(0, code.size() - code_letters::kCheckLetters);
    if (code_letters::LetterValue(body[0]) != kVersion) {
        throw EBuildCodeError(std::string(kBuildCodeUnknownVersion));
    }

    BitReader in(body.substr(1), Damaged);
    PlannedBuild build;
    const auto get = [&in](int32_t& value, FieldRange range) { value = range.Get(in); };
    get(build.Level, IndexRange(kLevelCount));
    get(build.TabIndex, IndexRange(CharaCount));
    get(build.Caddie, IndexRange(kCaddieCount));
    get(build.SpecialCard, IndexRange(kSpecialCardCount));
    get(build.Club, IndexRange(kClubCount));
    // A flag set over nothing but defaults is not what the encoder writes: each build
    // has exactly one code.
    for (int32_t c = 0; c < CharaCount; ++c) {
        if (in.GetBit()) {
            ForEachCharaField(c, build.Chara[c], get);
            if (build.Chara[c] == TCharaState{}) {
                Damaged();
            }
        }
    }
    for (int32_t i = 0; i < kClubCount; ++i) {
        if (in.GetBit()) {
            ForEachClubCount(i, build.ClubSlotUps[i], get);
            if (build.ClubSlotUps[i] == TStatus{}) {
                Damaged();
            }
        }
    }
    in.ExpectEnd();
    return build;
}

void ShowBuild(TSimulator& sim, const PlannedBuild& build) {
    TSimState& s = sim.State;
    CopyBuildFields(build, s);

    CalcClubSetting(sim);
    CalcClubLimit(sim);
    CheckRange(s.Club, 0, kClubCount - 1);
    for (int k = 0; k < kStatCount; ++k) {
        s.ClubSpinners[k].SetPosition(StatField(s.ClubSlotUps[s.Club], k));
    }
    StatusCalculate(sim);
}

void PasteBuild(TSimulator& sim, std::string_view text) {
    std::string_view code = code_letters::Trimmed(text);
    if (const size_t hash = code.rfind('#'); hash != std::string_view::npos) {
        code = code.substr(hash + 1);
    }
    if (code.empty()) {
        throw ESimError(std::string(kNoBuildCode));
    }
    PlannedBuild build;
    try {
        build = DecodeBuild(code);
    } catch (const EBuildCodeError& error) {
        throw ESimError(std::string(error.what() == kBuildCodeUnknownVersion
                                        ? kPastedCodeUnknownVersion
                                        : kPastedCodeDamaged));
    }
    TSimulator shown = sim;
    ShowBuild(shown, build);
    sim = std::move(shown);
}
