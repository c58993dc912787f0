#include "simulator/build_code.h"

#include <bit>
#include <optional>

#include "characters/cards.h"
#include "characters/catalogue.h"
#include "clubs/caddies.h"
#include "clubs/club_upgrades.h"
#include "clubs/clubs.h"
#include "engine/checked.h"
#include "engine/levels.h"
#include "simulator/simulator.h"

// Layout of version 1, every field an unsigned number of just enough bits for its
// range, most significant bit first; a list index is stored plus one, so that -1 is 0:
//   level, page, caddie, special card, club set
//   per character: 1 flag bit (not all defaults), then when set its wear slots in slot
//     order, the three character cards, the two caddie cards and the five spinners
//   per club set: 1 flag bit (any count above 0), then when set its five counts
// The bits fill base64 letters from the top; the last letter's unused bits are zero.

namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_";
constexpr int kVersion = 1;
constexpr size_t kCheckLetters = 4;

int LetterValue(char letter) {
    if (letter >= 'A' && letter <= 'Z') {
        return letter - 'A';
    }
    if (letter >= 'a' && letter <= 'z') {
        return letter - 'a' + 26;
    }
    if (letter >= '0' && letter <= '9') {
        return letter - '0' + 52;
    }
    if (letter == '-') {
        return 62;
    }
    if (letter == '_') {
        return 63;
    }
    return -1;
}

// CRC-24 (polynomial 0x864CFB, start 0xB704CE): it finds every error burst of up to 24
// bits, so any one changed letter, even in the check letters themselves.
uint32_t Crc24(std::string_view text) {
    uint32_t crc = 0xB704CE;
    for (const char c : text) {
        crc ^= static_cast<uint32_t>(static_cast<unsigned char>(c)) << 16;
        for (int i = 0; i < 8; ++i) {
            crc <<= 1;
            if ((crc & 0x1000000) != 0) {
                crc ^= 0x1864CFB;
            }
        }
    }
    return crc & 0xFFFFFF;
}

std::string CheckLetters(std::string_view text) {
    const uint32_t crc = Crc24(text);
    std::string letters;
    for (int shift = 18; shift >= 0; shift -= 6) {
        letters += kAlphabet[(crc >> shift) & 63];
    }
    return letters;
}

// Bits for a value in 0..count-1.
int Width(uint32_t count) {
    return count <= 1 ? 0 : std::bit_width(count - 1);
}

class BitWriter {
public:
    void Put(uint32_t value, uint32_t count) {
        for (int bit = Width(count) - 1; bit >= 0; --bit) {
            PutBit(((value >> bit) & 1) != 0);
        }
    }
    void PutBit(bool bit) {
        pending_ = (pending_ << 1) | (bit ? 1 : 0);
        if (++pendingBits_ == 6) {
            text_ += kAlphabet[pending_];
            pending_ = 0;
            pendingBits_ = 0;
        }
    }
    std::string Finish() {
        if (pendingBits_ > 0) {
            text_ += kAlphabet[pending_ << (6 - pendingBits_)];
        }
        return text_;
    }

private:
    std::string text_;
    uint32_t pending_ = 0;
    int pendingBits_ = 0;
};

[[noreturn]] void Damaged() {
    throw EBuildCodeError(std::string(kBuildCodeDamaged));
}

class BitReader {
public:
    explicit BitReader(std::string_view letters) : letters_(letters) {}

    // A value in 0..count-1; anything at or above count is damage.
    uint32_t Get(uint32_t count) {
        uint32_t value = 0;
        for (int bit = Width(count); bit > 0; --bit) {
            value = (value << 1) | (GetBit() ? 1 : 0);
        }
        if (value >= count) {
            Damaged();
        }
        return value;
    }
    bool GetBit() {
        if (position_ >= letters_.size() * 6) {
            Damaged();
        }
        const int letter = LetterValue(letters_[position_ / 6]);
        const int shift = 5 - static_cast<int>(position_ % 6);
        ++position_;
        return ((letter >> shift) & 1) != 0;
    }
    // The code must end in the letter of the last bit, with zeros after it.
    void ExpectEnd() {
        if ((position_ + 5) / 6 != letters_.size()) {
            Damaged();
        }
        while (position_ % 6 != 0) {
            if (GetBit()) {
                Damaged();
            }
        }
    }

private:
    std::string_view letters_;
    size_t position_ = 0;
};

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
    code += CheckLetters(code);
    return code;
}

PlannedBuild DecodeBuild(std::string_view code) {
    if (code.size() < 1 + kCheckLetters) {
        Damaged();
    }
    for (const char c : code) {
        if (LetterValue(c) < 0) {
            Damaged();
        }
    }
    const std::string_view body = code.substr(0, code.size() - kCheckLetters);
    if (CheckLetters(body) != code.substr(body.size())) {
        Damaged();
    }
    if (LetterValue(body[0]) != kVersion) {
        throw EBuildCodeError(std::string(kBuildCodeUnknownVersion));
    }

    BitReader in(body.substr(1));
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

namespace {

// Blanks a pasted text may carry around its code: ASCII white space, the no-break space
// and the ideographic space of a Japanese input method.
std::string_view Trimmed(std::string_view text) {
    constexpr std::string_view kBlanks[] = {" ", "\t", "\r", "\n", "\v", "\f", "\u00a0", "\u3000"};
    for (bool trimmed = true; trimmed;) {
        trimmed = false;
        for (const std::string_view blank : kBlanks) {
            if (text.starts_with(blank)) {
                text.remove_prefix(blank.size());
                trimmed = true;
            }
            if (text.ends_with(blank)) {
                text.remove_suffix(blank.size());
                trimmed = true;
            }
        }
    }
    return text;
}

}  // namespace

void PasteBuild(TSimulator& sim, std::string_view text) {
    std::string_view code = Trimmed(text);
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
