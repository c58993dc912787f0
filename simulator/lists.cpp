#include "simulator/lists.h"

#include "characters/cards.h"
#include "characters/catalogue.h"
#include "characters/roster.h"
#include "clubs/caddies.h"
#include "engine/levels.h"
#include "simulator/simulator.h"

std::optional<ListRef> ListOfBinding(const Binding& bind) {
    switch (bind.Field) {
        case BoundField::Level:
            return ListRef{ListKind::Level, -1, 0};
        case BoundField::EquipItem:
            return ListRef{ListKind::EquipItem, bind.Chara, bind.Index};
        case BoundField::CharaCard:
            return ListRef{ListKind::CharaCard, bind.Chara, bind.Index};
        case BoundField::CaddieCard:
            return ListRef{ListKind::CaddieCard, bind.Chara, bind.Index};
        case BoundField::SpecialCard:
            return ListRef{ListKind::SpecialCard, -1, 0};
        case BoundField::Caddie:
            return ListRef{ListKind::Caddie, -1, 0};
        case BoundField::Club:
            return ListRef{ListKind::Club, -1, 0};
        default:
            return std::nullopt;
    }
}

std::vector<ListRef> AllLists() {
    std::vector<ListRef> lists;
    lists.push_back({ListKind::Level, -1, 0});
    for (int32_t c = 0; c < CharaCount; ++c) {
        const auto slotCount = static_cast<int32_t>(CharaDef(c).Slots.size());
        for (int32_t k = 0; k < slotCount; ++k) {
            lists.push_back({ListKind::EquipItem, c, k});
        }
        for (int32_t k = 0; k < 3; ++k) {
            lists.push_back({ListKind::CharaCard, c, k});
        }
        for (int32_t k = 0; k < 2; ++k) {
            lists.push_back({ListKind::CaddieCard, c, k});
        }
    }
    lists.push_back({ListKind::SpecialCard, -1, 0});
    lists.push_back({ListKind::Caddie, -1, 0});
    lists.push_back({ListKind::Club, -1, 0});
    return lists;
}

int32_t EntryCount(const TSimulator& sim, ListRef list) {
    switch (list.Kind) {
        case ListKind::Level:
            return kLevelCount;
        case ListKind::EquipItem:
            return static_cast<int32_t>(EquipList(list.Chara, list.Index).size());
        case ListKind::CharaCard:
            return static_cast<int32_t>(
                sim.Display.Pages[list.Chara].CharaCardItems[list.Index].size());
        case ListKind::CaddieCard:
            return static_cast<int32_t>(
                sim.Display.Pages[list.Chara].CaddieCardItems[list.Index].size());
        case ListKind::SpecialCard:
            return kSpecialCardCount;
        case ListKind::Caddie:
            return kCaddieCount;
        case ListKind::Club:
            return kClubCount;
    }
    return 0;
}

namespace {

// The field behind a list, for a constant or a changeable selection alike.
template <class State>
auto SelectedField(State& state, ListRef list) -> decltype((state.Level)) {
    switch (list.Kind) {
        case ListKind::Level:
            return state.Level;
        case ListKind::EquipItem:
            return state.Chara[list.Chara].Items[list.Index];
        case ListKind::CharaCard: {
            auto& chara = state.Chara[list.Chara];
            return list.Index == 0 ? chara.CharaCard1
                                   : (list.Index == 1 ? chara.CharaCard2 : chara.CharaCard3);
        }
        case ListKind::CaddieCard: {
            auto& chara = state.Chara[list.Chara];
            return list.Index == 0 ? chara.CaddieCard1 : chara.CaddieCard2;
        }
        case ListKind::SpecialCard:
            return state.SpecialCard;
        case ListKind::Caddie:
            return state.Caddie;
        case ListKind::Club:
            break;
    }
    return state.Club;
}

}  // namespace

int32_t& SelectedEntry(TSimState& state, ListRef list) {
    return SelectedField(state, list);
}

int32_t SelectedEntry(const TSimState& state, ListRef list) {
    return SelectedField(state, list);
}

void OpenList(TSimulator& sim, ListRef list) {
    if (list.Kind == ListKind::Club) {
        ComboBox2DropDown(sim);
    }
}

void PickEntry(TSimulator& sim, ListRef list, int32_t entry) {
    SelectedEntry(sim.State, list) = entry;
    if (list.Kind == ListKind::Club) {
        ClubChange(sim);
    } else {
        ComboBox1Change(sim);
    }
}
