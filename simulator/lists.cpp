#include "simulator/lists.h"

#include "characters/cards.h"
#include "characters/catalogue.h"
#include "characters/roster.h"
#include "clubs/caddies.h"
#include "engine/levels.h"
#include "simulator/simulator.h"

std::vector<TListRef> AllLists() {
    std::vector<TListRef> lists;
    lists.push_back({TListKind::Level, -1, 0});
    for (int32_t c = 0; c < CharaCount; ++c) {
        const auto slotCount = static_cast<int32_t>(CharaDef(c).Slots.size());
        for (int32_t k = 0; k < slotCount; ++k) {
            lists.push_back({TListKind::EquipItem, c, k});
        }
        for (int32_t k = 0; k < 3; ++k) {
            lists.push_back({TListKind::CharaCard, c, k});
        }
        for (int32_t k = 0; k < 2; ++k) {
            lists.push_back({TListKind::CaddieCard, c, k});
        }
    }
    lists.push_back({TListKind::SpecialCard, -1, 0});
    lists.push_back({TListKind::Caddie, -1, 0});
    lists.push_back({TListKind::Club, -1, 0});
    return lists;
}

int32_t EntryCount(const TSimulator& sim, TListRef list) {
    switch (list.Kind) {
        case TListKind::Level:
            return kLevelCount;
        case TListKind::EquipItem:
            return static_cast<int32_t>(EquipList(list.Chara, list.Index).size());
        case TListKind::CharaCard:
            return static_cast<int32_t>(
                sim.Display.Pages[list.Chara].CharaCardItems[list.Index].size());
        case TListKind::CaddieCard:
            return static_cast<int32_t>(
                sim.Display.Pages[list.Chara].CaddieCardItems[list.Index].size());
        case TListKind::SpecialCard:
            return kSpecialCardCount;
        case TListKind::Caddie:
            return kCaddieCount;
        case TListKind::Club:
            return kClubCount;
    }
    return 0;
}

namespace {

// The field behind a list, for a constant or a changeable selection alike.
template <class State>
auto SelectedField(State& state, TListRef list) -> decltype((state.Level)) {
    switch (list.Kind) {
        case TListKind::Level:
            return state.Level;
        case TListKind::EquipItem:
            return state.Chara[list.Chara].Items[list.Index];
        case TListKind::CharaCard: {
            auto& chara = state.Chara[list.Chara];
            return list.Index == 0 ? chara.CharaCard1
                                   : (list.Index == 1 ? chara.CharaCard2 : chara.CharaCard3);
        }
        case TListKind::CaddieCard: {
            auto& chara = state.Chara[list.Chara];
            return list.Index == 0 ? chara.CaddieCard1 : chara.CaddieCard2;
        }
        case TListKind::SpecialCard:
            return state.SpecialCard;
        case TListKind::Caddie:
            return state.Caddie;
        case TListKind::Club:
            break;
    }
    return state.Club;
}

}  // namespace

int32_t& SelectedEntry(TSimState& state, TListRef list) {
    return SelectedField(state, list);
}

int32_t SelectedEntry(const TSimState& state, TListRef list) {
    return SelectedField(state, list);
}

void OpenList(TSimulator& sim, TListRef list) {
    if (list.Kind == TListKind::Club) {
        ComboBox2DropDown(sim);
    }
}

void PickEntry(TSimulator& sim, TListRef list, int32_t entry) {
    SelectedEntry(sim.State, list) = entry;
    if (list.Kind == TListKind::Club) {
        ClubChange(sim);
    } else {
        ComboBox1Change(sim);
    }
}
