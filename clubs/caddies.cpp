#include "clubs/caddies.h"

#include "engine/sim_record.h"

namespace {

// List order of ComboBox3. A trailing " *" is part of the name only.
constexpr CaddieDef kCaddies[kCaddieCount] = {
    {"なし", MakeStatus(0, 0, 0, 0, 0), ""},
    {"ミレイ *", MakeStatus(0, 1, 0, 0, 0), "効果： コントロール+1"},
    {"ゴンザ *", MakeStatus(2, 0, 0, 0, 0), "効果： パワー+2"},
    {"ルル *", MakeStatus(0, 0, 0, 2, 0), "効果： スピン+2"},
    {"サクラ", MakeStatus(0, 0, 2, 0, 0), "効果： 正確度+2"},
    {"ヒバナ", MakeStatus(0, 0, 0, 0, 2), "効果： カーブ+2"},
    {"ダイモン *", MakeStatus(2, 2, 0, 0, 0), "効果： パワー+2 コントロール+2"},
    {"ツムギ", MakeStatus(0, 0, 0, 1, 1), "効果： スピン+1 カーブ+1"},
    {"コハル *", MakeStatus(0, 2, 2, 0, 0), "効果： コントロール+2 正確度+2"},
    {"タケル", MakeStatus(2, 0, 2, 0, 0), "効果： パワー+2 正確度+2"},
    {"シズク *", MakeStatus(0, 1, 0, 10, 0), "効果： コントロール+1 スピン+10"},
    {"アオイ", MakeStatus(0, 2, 0, 0, 0), "効果： コントロール+2"},
    {"ミナト", MakeStatus(0, 2, 0, 0, 0), "効果： コントロール+2"},
    {"ヨイチ *", MakeStatus(0, 1, 0, 2, 2), "効果： コント+1 スピン+2 カーブ+2"},
    {"カリン", MakeStatus(0, 1, 0, 5, 0), "効果： コントロール+1 スピン+5"},
};

}  // namespace

std::span<const CaddieDef> Caddies() {
    return kCaddies;
}

void CalcCaddie(TSimulator& sim) {
    const int32_t index = sim.State.Caddie;
    if (index < 0 || index >= kCaddieCount) {
        return;  // no caddie selected: the last caddie's effect and text stay
    }
    sim.Results.CaddieStatus = kCaddies[index].Effect;
    sim.Display.CaddieEffectText.assign(kCaddies[index].EffectText);
}
