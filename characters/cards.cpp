#include "characters/cards.h"

#include "engine/sim_record.h"

const std::array<std::string_view, kCardKindCount> kCardKindTexts = {
    "なし",
    "パワーS+1",
    "コントロールS+1",
    "正確度S+1",
    "スピンS+1",
    "カーブS+1",
    "正確度S+2",
    "カーブS+2",
    "パワーS+1 正確度S+1",
    "パワーS+2 正確度S+1",
    "パワーS+1 スピンS+1",
    "正確度S+1 カーブS+1",
    "正確度S+1 カーブS+2",
    "正確度S+2 カーブS+1",
    "カーブS+3",
};

const std::array<std::string_view, kCaddieCardKindCount> kCaddieCardKindTexts = {
    "なし", "飛距離+1y", "パワー時 飛距離+2y", "パワー時 飛距離+4y", "パワー時 飛距離+6y"};

const std::array<std::string_view, kSpecialCardCount> kSpecialCardTexts = {
    "なし", "パワー+1", "コントロール+1", "正確度+1", "スピン+1", "カーブ+1"};

namespace {

constexpr TStatus kCardKindSlots[kCardKindCount] = {
    MakeStatus(0, 0, 0, 0, 0), MakeStatus(1, 0, 0, 0, 0), MakeStatus(0, 1, 0, 0, 0),
    MakeStatus(0, 0, 1, 0, 0), MakeStatus(0, 0, 0, 1, 0), MakeStatus(0, 0, 0, 0, 1),
    MakeStatus(0, 0, 2, 0, 0), MakeStatus(0, 0, 0, 0, 2), MakeStatus(1, 0, 1, 0, 0),
    MakeStatus(2, 0, 1, 0, 0), MakeStatus(1, 0, 0, 1, 0), MakeStatus(0, 0, 1, 0, 1),
    MakeStatus(0, 0, 1, 0, 2), MakeStatus(0, 0, 2, 0, 1), MakeStatus(0, 0, 0, 0, 3),
};

constexpr TStatus kSpecialCards[kSpecialCardCount] = {
    MakeStatus(0, 0, 0, 0, 0), MakeStatus(1, 0, 0, 0, 0), MakeStatus(0, 1, 0, 0, 0),
    MakeStatus(0, 0, 1, 0, 0), MakeStatus(0, 0, 0, 1, 0), MakeStatus(0, 0, 0, 0, 1),
};

// Every list of a page's group gets the texts, in kind order.
template <size_t Lists, size_t N>
void FillLists(std::array<std::vector<std::string>, Lists>& lists,
               const std::array<std::string_view, N>& texts) {
    for (auto& items : lists) {
        items.assign(texts.begin(), texts.end());
    }
}

}  // namespace

TStatus CardKindStatus(int32_t kind) {
    if (kind < 0 || kind >= kCardKindCount) {
        return TStatus{};
    }
    return kCardKindSlots[kind];
}

TStatus CombineCharaCards(int32_t kind1, int32_t kind2, int32_t kind3) {
    return CardKindStatus(kind1) + CardKindStatus(kind2) + CardKindStatus(kind3);
}

CaddieCardEffect EvalCaddieCards(int32_t k1, int32_t k2) {
    CaddieCardEffect e;
    e.CaddieCardYard = (k1 == 1 || k2 == 1) ? 1 : 0;
    if (k1 == 4 || k2 == 4) {
        e.CaddieCardPowerYards = 6;
    } else if (k1 == 3 || k2 == 3) {
        e.CaddieCardPowerYards = 4;
    } else if (k1 == 2 || k2 == 2) {
        e.CaddieCardPowerYards = 2;
    }
    return e;
}

void FillCharaCardLists(TSimulator& sim) {
    for (int c = 0; c < CharaCount; ++c) {
        FillLists(sim.Display.Pages[c].CharaCardItems, kCardKindTexts);
        TCharaState& chara = sim.State.Chara[c];
        chara.CharaCard1 = chara.CharaCard2 = chara.CharaCard3 = 0;
    }
}

void FillCaddieCardLists(TSimulator& sim) {
    for (int c = 0; c < CharaCount; ++c) {
        FillLists(sim.Display.Pages[c].CaddieCardItems, kCaddieCardKindTexts);
        TCharaState& chara = sim.State.Chara[c];
        chara.CaddieCard1 = chara.CaddieCard2 = 0;
    }
}

TStatus SpecialCardStatus(int32_t index) {
    if (index < 0 || index >= kSpecialCardCount) {
        return TStatus{};
    }
    return kSpecialCards[index];
}

void CalcSpecialCard(TSimulator& sim) {
    const int32_t index = sim.State.SpecialCard;
    if (index >= 0 && index < kSpecialCardCount) {
        sim.Results.SpecialCardStatus = kSpecialCards[index];
    }
}
