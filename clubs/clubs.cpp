#include "clubs/clubs.h"

#include "engine/sim_record.h"
#include "engine/text_format.h"

namespace {

// List order of ComboBox2: caption, base status, slot limits.
constexpr ClubSet kClubSets[kClubCount] = {
    {"スターターセット *", MakeStatus(6, 6, 4, 3, 3), MakeStatus(0, 1, 1, 0, 0)},
    {"ブリーズ", MakeStatus(7, 5, 4, 1, 3), MakeStatus(1, 7, 3, 2, 1)},
    {"ブリーズII", MakeStatus(8, 5, 4, 1, 3), MakeStatus(2, 7, 3, 1, 2)},
    {"ストレイトライン", MakeStatus(8, 5, 4, 1, 1), MakeStatus(3, 6, 4, 2, 2)},
    {"ハンマーヘッド *", MakeStatus(15, 2, 2, 1, 1), MakeStatus(0, 6, 9, 2, 3)},
    {"ファルコン", MakeStatus(10, 5, 3, 1, 2), MakeStatus(3, 7, 6, 2, 0)},
    {"ファルコン(限定)*", MakeStatus(10, 3, 4, 1, 1), MakeStatus(3, 6, 8, 4, 1)},
    {"グラナイト", MakeStatus(10, 5, 5, 1, 1), MakeStatus(2, 7, 3, 3, 2)},
    {"シルフィード", MakeStatus(8, 5, 4, 1, 2), MakeStatus(4, 6, 6, 3, 1)},
    {"グラナイトEX", MakeStatus(10, 5, 5, 2, 2), MakeStatus(4, 7, 6, 2, 2)},
    {"ミストラル", MakeStatus(7, 4, 4, 1, 2), MakeStatus(3, 7, 8, 2, 2)},
    {"スワロー", MakeStatus(8, 3, 3, 1, 3), MakeStatus(3, 9, 7, 2, 3)},
    {"オーロラ", MakeStatus(9, 6, 6, 4, 1), MakeStatus(4, 6, 6, 2, 1)},
    {"ティタン *", MakeStatus(14, 10, 2, 0, 0), MakeStatus(0, 0, 5, 2, 2)},
    {"シリウス", MakeStatus(10, 7, 5, 2, 2), MakeStatus(5, 5, 5, 3, 1)},
    {"ブレイズ *", MakeStatus(11, 4, 4, 3, 1), MakeStatus(3, 5, 7, 2, 2)},
    {"ルミナス", MakeStatus(8, 5, 6, 2, 2), MakeStatus(3, 6, 8, 1, 1)},
    {"フォレスト", MakeStatus(8, 8, 5, 1, 2), MakeStatus(2, 4, 5, 2, 2)},
    {"フォレストII", MakeStatus(8, 7, 5, 2, 1), MakeStatus(2, 5, 5, 2, 2)},
    {"フェザーライト *", MakeStatus(0, 9, 6, 1, 1), MakeStatus(0, 2, 1, 1, 1)},
    {"ヴァーミリオン", MakeStatus(10, 5, 5, 2, 2), MakeStatus(4, 8, 6, 4, 4)},
    {"アクアライン", MakeStatus(7, 7, 5, 2, 1), MakeStatus(3, 4, 5, 2, 1)},
    {"テンペスト", MakeStatus(8, 8, 6, 2, 3), MakeStatus(5, 4, 6, 1, 2)},
    {"セレスティア", MakeStatus(9, 6, 6, 1, 2), MakeStatus(4, 6, 8, 2, 2)},
    {"ライジングサン", MakeStatus(8, 5, 3, 1, 2), MakeStatus(5, 7, 7, 3, 1)},
    {"ムーンストーン", MakeStatus(7, 7, 7, 3, 1), MakeStatus(5, 5, 6, 3, 1)},
    {"アーク", MakeStatus(9, 6, 4, 1, 1), MakeStatus(6, 6, 6, 3, 3)},
    {"ノーブル", MakeStatus(6, 6, 3, 1, 1), MakeStatus(5, 5, 5, 2, 2)},
    {"プレシジョン *", MakeStatus(8, 12, 6, 2, 2), MakeStatus(2, 0, 2, 0, 0)},
    {"ボルケーノ", MakeStatus(12, 5, 3, 1, 1), MakeStatus(3, 7, 1, 2, 1)},
    {"サイクロン", MakeStatus(10, 6, 3, 1, 3), MakeStatus(4, 6, 5, 2, 3)},
    {"コメット", MakeStatus(8, 5, 2, 1, 2), MakeStatus(4, 6, 4, 2, 2)},
    {"ミラージュ", MakeStatus(10, 9, 8, 1, 1), MakeStatus(1, 3, 3, 4, 1)},
    {"エメラルド", MakeStatus(8, 7, 6, 3, 0), MakeStatus(3, 5, 5, 2, 2)},
    {"サンダーボルト", MakeStatus(10, 6, 2, 1, 0), MakeStatus(6, 6, 6, 4, 4)},
    {"サンダーボルトR", MakeStatus(10, 6, 2, 1, 0), MakeStatus(6, 6, 6, 5, 4)},
    {"ルミナスII", MakeStatus(8, 5, 6, 2, 2), MakeStatus(3, 7, 9, 2, 1)},
    {"フォレストIII", MakeStatus(8, 8, 5, 1, 2), MakeStatus(2, 4, 5, 2, 2)},
    {"ブラックホーク", MakeStatus(7, 6, 6, 1, 0), MakeStatus(7, 6, 5, 4, 3)},
    {"ウィスパー", MakeStatus(5, 7, 5, 2, 2), MakeStatus(5, 4, 3, 2, 1)},
    {"オリオン", MakeStatus(10, 7, 5, 1, 1), MakeStatus(5, 5, 5, 2, 2)},
    {"クラウン", MakeStatus(12, 12, 12, 6, 0), MakeStatus(3, 0, 0, 0, 0)},
};

}  // namespace

std::span<const ClubSet> ClubSets() {
    return kClubSets;
}

void CalcClubSetting(TSimulator& sim) {
    TSimResults& r = sim.Results;
    const int32_t club = sim.State.Club;
    if (club >= 0 && club < kClubCount) {
        r.ClubBaseStatus = kClubSets[club].ClubBaseStatus;
        r.ClubSlotLimit = kClubSets[club].ClubSlotLimit;
    }
    // Without a selected set the labels are rewritten from the records that stayed.
    TDisplay& d = sim.Display;
    for (int i = 0; i < kStatCount; ++i) {
        SetDecimalText(d.ClubBaseText[i], StatField(r.ClubBaseStatus, i));
    }
    for (int i = 0; i < kStatCount; ++i) {
        SetDecimalText(d.ClubSlotText[i], "/", StatField(r.ClubSlotLimit, i), {});
    }
}
