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

// A list of `size` entries: -1..size-1, stored plus one.
void PutIndex(BitWriter& out, int32_t index, size_t size) {
    const bool valid = index >= 0 && static_cast<size_t>(index) < size;
    out.Put(valid ? static_cast<uint32_t>(index) + 1 : 0, static_cast<uint32_t>(size) + 1);
}
int32_t GetIndex(BitReader& in, size_t size) {
    return static_cast<int32_t>(in.Get(static_cast<uint32_t>(size) + 1)) - 1;
}

int32_t Held(int32_t value, int32_t max) {
    return value < 0 ? 0 : (value > max ? max : value);
}

int32_t ListOrNone(int32_t index, size_t size) {
    return index >= 0 && static_cast<size_t>(index) < size ? index : -1;
}

const TStatus& ClubLimit(int32_t club) {
    return ClubSets()[static_cast<size_t>(club)].ClubSlotLimit;
}

TCharaState HeldChara(int32_t c, const TCharaState& in) {
    TCharaState out;
    const size_t slots = CharaDef(c).Slots.size();
    for (size_t p = 0; p < slots; ++p) {
        out.Items[p] = ListOrNone(in.Items[p], EquipList(c, static_cast<int>(p)).size());
    }
    out.CharaCard1 = ListOrNone(in.CharaCard1, kCardKindCount);
    out.CharaCard2 = ListOrNone(in.CharaCard2, kCardKindCount);
    out.CharaCard3 = ListOrNone(in.CharaCard3, kCardKindCount);
    out.CaddieCard1 = ListOrNone(in.CaddieCard1, kCaddieCardKindCount);
    out.CaddieCard2 = ListOrNone(in.CaddieCard2, kCaddieCardKindCount);
    const TStatus counts = SlotUpCounts(in);
    for (int i = 0; i < kStatCount; ++i) {
        SlotUpField(out, i) = Held(StatField(counts, i), CharaSpinnerMax(i));
    }
    return out;
}

PlannedBuild Held(const PlannedBuild& in) {
    PlannedBuild out;
    out.Level = ListOrNone(in.Level, kLevelCount);
    out.TabIndex = ListOrNone(in.TabIndex, CharaCount);
    for (int32_t c = 0; c < CharaCount; ++c) {
        out.Chara[c] = HeldChara(c, in.Chara[c]);
    }
    out.Caddie = ListOrNone(in.Caddie, kCaddieCount);
    out.SpecialCard = ListOrNone(in.SpecialCard, kSpecialCardCount);
    out.Club = ListOrNone(in.Club, kClubCount);
    for (int32_t i = 0; i < kClubCount; ++i) {
        for (int k = 0; k < kStatCount; ++k) {
            StatField(out.ClubSlotUps[i], k) =
                Held(StatField(in.ClubSlotUps[i], k), StatField(ClubLimit(i), k));
        }
    }
    return out;
}

void PutChara(BitWriter& out, int32_t c, const TCharaState& chara) {
    const size_t slots = CharaDef(c).Slots.size();
    for (size_t p = 0; p < slots; ++p) {
        PutIndex(out, chara.Items[p], EquipList(c, static_cast<int>(p)).size());
    }
    PutIndex(out, chara.CharaCard1, kCardKindCount);
    PutIndex(out, chara.CharaCard2, kCardKindCount);
    PutIndex(out, chara.CharaCard3, kCardKindCount);
    PutIndex(out, chara.CaddieCard1, kCaddieCardKindCount);
    PutIndex(out, chara.CaddieCard2, kCaddieCardKindCount);
    const TStatus counts = SlotUpCounts(chara);
    for (int i = 0; i < kStatCount; ++i) {
        out.Put(static_cast<uint32_t>(StatField(counts, i)),
                static_cast<uint32_t>(CharaSpinnerMax(i)) + 1);
    }
}

TCharaState GetChara(BitReader& in, int32_t c) {
    TCharaState chara;
    const size_t slots = CharaDef(c).Slots.size();
    for (size_t p = 0; p < slots; ++p) {
        chara.Items[p] = GetIndex(in, EquipList(c, static_cast<int>(p)).size());
    }
    chara.CharaCard1 = GetIndex(in, kCardKindCount);
    chara.CharaCard2 = GetIndex(in, kCardKindCount);
    chara.CharaCard3 = GetIndex(in, kCardKindCount);
    chara.CaddieCard1 = GetIndex(in, kCaddieCardKindCount);
    chara.CaddieCard2 = GetIndex(in, kCaddieCardKindCount);
    for (int i = 0; i < kStatCount; ++i) {
        SlotUpField(chara, i) =
            static_cast<int32_t>(in.Get(static_cast<uint32_t>(CharaSpinnerMax(i)) + 1));
    }
    return chara;
}

}  // namespace

PlannedBuild BuildOf(const TSimState& state) {
    PlannedBuild build;
    build.Level = state.Level;
    build.TabIndex = state.TabIndex;
    build.Chara = state.Chara;
    build.Caddie = state.Caddie;
    build.SpecialCard = state.SpecialCard;
    build.Club = state.Club;
    build.ClubSlotUps = state.ClubSlotUps;
    if (state.Club >= 0 && state.Club < kClubCount) {
        for (int k = 0; k < kStatCount; ++k) {
            StatField(build.ClubSlotUps[state.Club], k) = state.ClubSpinners[k].Position;
        }
    }
    return Held(build);
}

std::string EncodeBuild(const PlannedBuild& raw) {
    const PlannedBuild build = Held(raw);
    BitWriter out;
    PutIndex(out, build.Level, kLevelCount);
    PutIndex(out, build.TabIndex, CharaCount);
    PutIndex(out, build.Caddie, kCaddieCount);
    PutIndex(out, build.SpecialCard, kSpecialCardCount);
    PutIndex(out, build.Club, kClubCount);
    for (int32_t c = 0; c < CharaCount; ++c) {
        const bool used = build.Chara[c] != TCharaState{};
        out.PutBit(used);
        if (used) {
            PutChara(out, c, build.Chara[c]);
        }
    }
    for (int32_t i = 0; i < kClubCount; ++i) {
        const bool used = build.ClubSlotUps[i] != TStatus{};
        out.PutBit(used);
        if (used) {
            for (int k = 0; k < kStatCount; ++k) {
                out.Put(static_cast<uint32_t>(StatField(build.ClubSlotUps[i], k)),
                        static_cast<uint32_t>(StatField(ClubLimit(i), k)) + 1);
            }
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
    build.Level = GetIndex(in, kLevelCount);
    build.TabIndex = GetIndex(in, CharaCount);
    build.Caddie = GetIndex(in, kCaddieCount);
    build.SpecialCard = GetIndex(in, kSpecialCardCount);
    build.Club = GetIndex(in, kClubCount);
    // A flag set over nothing but defaults is not what the encoder writes: each build
    // has exactly one code.
    for (int32_t c = 0; c < CharaCount; ++c) {
        if (in.GetBit()) {
            build.Chara[c] = GetChara(in, c);
            if (build.Chara[c] == TCharaState{}) {
                Damaged();
            }
        }
    }
    for (int32_t i = 0; i < kClubCount; ++i) {
        if (in.GetBit()) {
            for (int k = 0; k < kStatCount; ++k) {
                StatField(build.ClubSlotUps[i], k) = static_cast<int32_t>(
                    in.Get(static_cast<uint32_t>(StatField(ClubLimit(i), k)) + 1));
            }
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
    s.Level = build.Level;
    s.TabIndex = build.TabIndex;
    s.Chara = build.Chara;
    s.Caddie = build.Caddie;
    s.SpecialCard = build.SpecialCard;
    s.Club = build.Club;
    s.ClubSlotUps = build.ClubSlotUps;

    CalcClubSetting(sim);
    CalcClubLimit(sim);
    CheckRange(s.Club, 0, kClubCount - 1);
    for (int k = 0; k < kStatCount; ++k) {
        s.ClubSpinners[k].SetPosition(StatField(s.ClubSlotUps[s.Club], k));
    }
    StatusCalculate(sim);
}
