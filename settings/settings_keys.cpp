#include "settings/settings_keys.h"

#include "engine/checked.h"
#include "engine/errors.h"

namespace {

constexpr std::array<std::string_view, kStatCount> kSlotUpKeys = {
    "PowSlotUp", "CtrlSlotUp", "ExaSlotUp", "SpinSlotUp", "CurSlotUp"};
constexpr std::array<std::string_view, 3> kCharaCardKeys = {"CharaCard1", "CharaCard2",
                                                            "CharaCard3"};
constexpr std::array<std::string_view, 2> kCaddieCardKeys = {"CaddieCard1", "CaddieCard2"};

// The characters whose ring the layout without per-character ring keys covered.
constexpr int32_t kOlderRingCharaCount = 7;

int32_t& CharaCardField(TCharaState& c, int k) {
    return k == 0 ? c.CharaCard1 : (k == 1 ? c.CharaCard2 : c.CharaCard3);
}

int32_t& CaddieCardField(TCharaState& c, int k) {
    return k == 0 ? c.CaddieCard1 : c.CaddieCard2;
}

// A list takes a loaded index only when it names one of its entries.
int32_t ListIndex(int32_t value, int32_t listSize) {
    return value >= 0 && value < listSize ? value : -1;
}

std::string ClubSection(int32_t club) {
    return "Club" + std::to_string(club);
}

int32_t Apply(const SettingsKey& key, int32_t value) {
    switch (key.Rule) {
        case KeyRule::List:
            return ListIndex(value, key.Bound);
        case KeyRule::Spinner:
            if (value < -32768 || value > 32767) {
                throw ERangeError();
            }
            return value < 0 ? 0 : (value > key.Bound ? key.Bound : value);
        case KeyRule::Plain:
            break;
    }
    return value;
}

void ReadKeys(const IniFile& ini, std::span<const SettingsKey> keys, TSimState& state,
              WindowPosition& window) {
    for (const SettingsKey& key : keys) {
        key.Field(state, window, key.A, key.B) =
            Apply(key, ini.ReadInteger(key.Section, key.Key, 0));
    }
}

void WriteKeys(IniFile& ini, std::span<const SettingsKey> keys, const TSimState& state,
               const WindowPosition& window) {
    // The accessors are shared with reading and hand out references, so they work on
    // a copy here.
    TSimState s = state;
    WindowPosition w = window;
    for (const SettingsKey& key : keys) {
        const int32_t value =
            key.Written != nullptr ? key.Written(state, key.A) : key.Field(s, w, key.A, key.B);
        ini.WriteInteger(key.Section, key.Key, value);
    }
}

}  // namespace

SettingsKeys::SettingsKeys(const SettingsLayout& layout) : layout_(layout) {
    auto add = [this](std::string section, std::string_view key, KeyRule rule, int32_t bound, int a,
                      int b, auto field) {
        SettingsKey k;
        k.Section = std::move(section);
        k.Key = key;
        k.Rule = rule;
        k.Bound = bound;
        k.A = a;
        k.B = b;
        k.Field = field;
        keys_.push_back(std::move(k));
        return &keys_.back();
    };
    using S = TSimState;
    using W = WindowPosition;

    add("Window", "Left", KeyRule::Plain, 0, 0, 0, [](S&, W& w, int, int) -> int32_t& {
        return w.Left;
    })->WrittenOnClose = true;
    add("Window", "Top", KeyRule::Plain, 0, 0, 0, [](S&, W& w, int, int) -> int32_t& {
        return w.Top;
    })->WrittenOnClose = true;
    add("Character", "Level", KeyRule::List, layout.LevelCount, 0, 0,
        [](S& s, W&, int, int) -> int32_t& { return s.Level; });
    add("Character", "TabIndex", KeyRule::List, CharaCount, 0, 0,
        [](S& s, W&, int, int) -> int32_t& { return s.TabIndex; })
        ->WrittenOnClose = true;

    for (int c = 0; c < CharaCount; ++c) {
        const CharaSection& chara = layout.Charas[c];
        const std::string name(chara.Name);
        for (size_t p = 0; p < chara.SlotKeys.size(); ++p) {
            add(name, chara.SlotKeys[p], KeyRule::List, chara.SlotListSizes[p], c,
                static_cast<int>(p),
                [](S& s, W&, int a, int b) -> int32_t& { return s.Chara[a].Items[b]; });
        }
        for (int k = 0; k < 3; ++k) {
            add(name, kCharaCardKeys[k], KeyRule::List, layout.CardKindCount, c, k,
                [](S& s, W&, int a, int b) -> int32_t& { return CharaCardField(s.Chara[a], b); });
        }
        for (int k = 0; k < 2; ++k) {
            add(name, kCaddieCardKeys[k], KeyRule::List, layout.CaddieCardKindCount, c, k,
                [](S& s, W&, int a, int b) -> int32_t& { return CaddieCardField(s.Chara[a], b); });
        }
        for (int i = 0; i < kStatCount; ++i) {
            add(name, kSlotUpKeys[i], KeyRule::Spinner, CharaSpinnerMax(i), c, i,
                [](S& s, W&, int a, int b) -> int32_t& { return SlotUpField(s.Chara[a], b); });
        }
    }
    charaEnd_ = keys_.size();

    add("Caddie", "Caddie", KeyRule::List, layout.CaddieCount, 0, 0,
        [](S& s, W&, int, int) -> int32_t& { return s.Caddie; });
    add("SpecialCard", "SpecialCard", KeyRule::List, layout.SpecialCardCount, 0, 0,
        [](S& s, W&, int, int) -> int32_t& { return s.SpecialCard; });
    add("Club", "Club", KeyRule::List, kClubCount, 0, 0,
        [](S& s, W&, int, int) -> int32_t& { return s.Club; });
    for (int c = 0; c < CharaCount; ++c) {
        add(std::string(layout.Charas[c].Name), "SavedPP", KeyRule::Plain, 0, c, 0,
            [](S& s, W&, int a, int) -> int32_t& { return s.SavedPP[a]; })
            ->Written = [](const S& s, int a) { return UpgradeCostPP(SlotUpCounts(s.Chara[a])); };
    }
    clubStart_ = keys_.size();

    for (int club = 0; club < kClubCount; ++club) {
        const std::string section = ClubSection(club);
        for (int i = 0; i < kStatCount; ++i) {
            add(section, kSlotUpKeys[i], KeyRule::Plain, 0, club, i,
                [](S& s, W&, int a, int b) -> int32_t& { return StatField(s.ClubSlotUps[a], b); });
        }
        add(section, "SavedPP", KeyRule::Plain, 0, club, 0, [](S& s, W&, int a, int) -> int32_t& {
            return s.ClubSavedPP[a];
        })->Written = [](const S& s, int a) { return UpgradeCostPP(s.ClubSlotUps[a]); };
    }
}

void SettingsKeys::Read(const IniFile& ini, TSimState& state, WindowPosition& window) const {
    const std::span<const SettingsKey> keys(keys_);
    ReadKeys(ini, keys.first(charaEnd_), state, window);
    ReadOlderRing(ini, state);
    ReadKeys(ini, keys.subspan(charaEnd_), state, window);
    ReadOlderClub(ini, state);
}

void SettingsKeys::WriteSelection(IniFile& ini, const TSimState& state,
                                  const WindowPosition& window) const {
    WriteKeys(ini, std::span<const SettingsKey>(keys_).first(clubStart_), state, window);
}

void SettingsKeys::WriteClubSections(IniFile& ini, const TSimState& state) const {
    WriteKeys(ini, std::span<const SettingsKey>(keys_).subspan(clubStart_), state, {});
}

void SettingsKeys::WriteOnClose(IniFile& ini, const TSimState& state,
                                const WindowPosition& window) const {
    for (const SettingsKey& key : std::span<const SettingsKey>(keys_).first(clubStart_)) {
        if (key.WrittenOnClose) {
            WriteKeys(ini, std::span<const SettingsKey>(&key, 1), state, window);
        }
    }
}

// The older ring layout: one boolean for the first seven characters' ring, used only
// when the first character has no ring key of its own.
void SettingsKeys::ReadOlderRing(const IniFile& ini, TSimState& state) const {
    const CharaSection& first = layout_.Charas[0];
    if (first.RingPosition < 0 ||
        ini.HasKey(first.Name, first.SlotKeys[static_cast<size_t>(first.RingPosition)])) {
        return;
    }
    const int32_t def = ini.ReadBool("Character", "CrimsonRing", false) ? 1 : 0;
    for (int32_t c = 0; c < kOlderRingCharaCount; ++c) {
        const CharaSection& chara = layout_.Charas[c];
        const int pos = chara.RingPosition;
        if (pos < 0) {
            continue;
        }
        const auto p = static_cast<size_t>(pos);
        state.Chara[c].Items[p] =
            ListIndex(ini.ReadInteger(chara.Name, chara.SlotKeys[p], def), chara.SlotListSizes[p]);
    }
}

// The older club layout kept only the selected club's counts, in [Club].
void SettingsKeys::ReadOlderClub(const IniFile& ini, TSimState& state) const {
    if (ini.HasSection(ClubSection(0))) {
        return;
    }
    CheckRange(state.Club, 0, kClubCount - 1);
    for (int k = 0; k < kStatCount; ++k) {
        StatField(state.ClubSlotUps[state.Club], k) = ini.ReadInteger("Club", kSlotUpKeys[k], 0);
    }
}
