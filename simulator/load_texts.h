#pragma once

#include <array>
#include <string_view>

#include "engine/status.h"

// Help texts that the load sets: the final-status captions Label13 .. Label17, Button1
// and the full-tune button; CR breaks the lines.
constexpr std::array<std::string_view, kStatCount> kStatCaptionHints = {
    "パワーが1増えるごとに、ウッドの飛距離が2y増えます。\r"
    "レベルによって決まっている値(ルーキーなら20)を超えると、\r"
    "1増えるごとにコントロールと正確度が1ずつ減ります。",
    "コントロールが大きいほど、パワーゲージの動きが遅くなります。\r"
    "(＝ケストレルを狙いやすくなります。)",
    "正確度が大きいほど、パワーゲージのピンク色の部分の幅が広くなります。\r"
    "(＝ケストレルミス時のずれが小さくなります。)",
    "スピンが大きいほど、打点を縦方向に大きくずらすことができます。\r"
    "(＝弾道の高低や、パワースピンの転がる距離に影響します。\r"
    " ハヤテバックスピンには7が最適と言われています。)",
    "カーブが大きいほど、打点を横方向に大きくずらすことができます。\r"
    "(＝フェードやドローのかかり方に影響します。)",
};
constexpr std::string_view kSaveButtonHint =
    "現在の設定を保存します。\r自分のキャラに合わせて保存しておくと便利です。";
constexpr std::string_view kFullTuneHint =
    "クラブフルチューンボタン\r(クラブの残りスロット分をすべて上げます)";

// The application's hint timing, in ms: shown after the pause, hidden after the other.
constexpr int kHintPauseMs = 50;
constexpr int kHintHidePauseMs = 3000;
