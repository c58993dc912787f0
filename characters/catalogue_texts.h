#pragma once

#include <span>
#include <string_view>

#include "characters/roster.h"

// The entry texts of every wear-slot list, in index order: the index is what a
// character's Items hold and what the settings file stores, so the order is binding.
// Each character's lists stand in its slot order. Every text states the entry's whole
// value; catalogue.cpp reads the records from it. Included by catalogue.cpp only.
namespace catalogue_texts {

// clang-format off

using enum TWearSlot;

struct ListTexts {
    TWearSlot Slot;
    std::span<const std::string_view> Texts;
};

// Bastian
inline constexpr std::string_view kBastianTop[] = {
    "なし",
    "正確度S+2 *",
    "パワーS+1 *",
    "パワーS+2 *",
    "パワー+1/S+2 *",
    "パワーS+3 *",
    "パワー+1 *",
    "パワー+1/S+3 *",
    "パワー+2",
    "パワー+2/S+1",
};
inline constexpr std::string_view kBastianPants[] = {
    "なし",
    "コントロールS+2 *",
    "コントロールS+3 *",
    "コントロール+1/S+3",
    "コントロール+1 *",
    "コントロール+1/S+2 *",
    "コントロール+3",
    "コントロール+2/S+2",
};
inline constexpr std::string_view kBastianTopPants[] = {
    "なし",
    "パワー+1/S+2・コント+1/S+3",
    "パワー+1/S+1・コント+1/S+2",
    "パワー+2/S+1・コント+2/S+2",
    "パワー+1/S+2・コント+2/S+2",
};
inline constexpr std::string_view kBastianShoes[] = {
    "なし",
    "パワー+1 *",
    "パワー+2 *",
    "正確度+1 *",
    "正確度+1/S+1",
    "パワーS+2 *",
    "パワー+1・正確度+1",
    "パワー+1/S+1",
    "パワー+1・スピン+1",
    "パワーS+1・正確度+1",
    "パワー+1・カーブ+1",
    "パワー+1・カーブS+1",
    "パワー+1・スピンS+1",
    "パワーS+1・カーブ+1",
};
inline constexpr std::string_view kBastianHand[] = {
    "なし",
    "カーブ+1 *",
    "カーブ+1/S+1",
    "カーブS+1 *",
    "スピン+1 *",
    "スピン+1/S+1",
    "スピン+1・カーブ+1",
    "正確度+1",
};
inline constexpr std::string_view kBastianHead1[] = {
    "なし",
    "スピン+1 *",
    "スピン+1/S+1 *",
    "カーブ+1/S+1",
    "スピン+1/S+1・カーブ+1/S+1",
    "カーブS+1 *",
    "カーブ+1/S+2",
    "スピン+1・カーブ+1",
    "カーブS+2 *",
    "スピンS+1・カーブS+1 *",
    "正確度+1・スピン+2",
    "正確度+1・カーブ+1/S+1 *",
    "正確度+1・スピン+1/S+1 *",
    "スピンS+1 *",
    "カーブ+1 *",
    "スピン+2/S+1",
    "スピン+3",
    "スピン+1/S+2",
    "スピン+1/S+1・カーブ+1",
    "正確度+1・スピンS+2・カーブS+1",
    "スピン+1・カーブ+1/S+1",
    "正確度+1・スピンS+1・カーブS+1",
    "正確度+1・スピンS+2",
    "正確度S+1・スピン+1/S+1",
};
inline constexpr std::string_view kBastianHead2[] = {
    "なし",
    "カーブ+1",
    "スピン+1",
    "正確度+1・スピン+1",
};
inline constexpr std::string_view kBastianFace[] = {
    "なし",
    "正確度+1/S+1",
    "パワー+1/S+1",
    "正確度S+1 *",
    "正確度+1 *",
    "正確度+2",
    "スピンS+1 *",
    "スピン+1 *",
    "カーブ+10 *",
    "カーブ+1 *",
    "カーブS+1 *",
};
inline constexpr std::string_view kBastianHoho[] = {
    "なし",
    "正確度+1 *",
};
inline constexpr std::string_view kBastianEar[] = {
    "なし",
    "全ステータス+1",
    "全ステータスS+1",
};
inline constexpr std::string_view kBastianBack[] = {
    "なし",
    "正確度+1 *",
};
inline constexpr std::string_view kBastianShippo[] = {
    "なし",
    "正確度+1 *",
};
inline constexpr std::string_view kBastianAcce[] = {
    "なし",
    "正確度+1 *",
    "正確度+1・カーブS+1",
    "正確度+1・スピンS+1",
};
inline constexpr std::string_view kBastianRing[] = {
    "なし",
    "クリムゾン(飛距離+4y)",
    "パワー+1",
    "コントロール+1",
    "正確度+1",
    "スピン+1",
    "カーブ+1",
    "正確度+2",
    "スピン+2",
    "カーブ+2",
    "飛距離+2y",
    "全ステータスS+1",
};
inline constexpr ListTexts kBastianLists[] = {
    {Top, kBastianTop},
    {Pants, kBastianPants},
    {TopPants, kBastianTopPants},
    {Shoes, kBastianShoes},
    {Hand, kBastianHand},
    {Head1, kBastianHead1},
    {Head2, kBastianHead2},
    {Face, kBastianFace},
    {Hoho, kBastianHoho},
    {Ear, kBastianEar},
    {Back, kBastianBack},
    {Shippo, kBastianShippo},
    {Acce, kBastianAcce},
    {Ring, kBastianRing},
};

// Noemi
inline constexpr std::string_view kNoemiTop[] = {
    "なし",
    "正確度S+2 *",
    "パワーS+2 *",
    "パワー+1/S+2",
    "パワーS+3 *",
    "パワー+1 *",
    "パワー+2",
    "パワー+1/S+1 *",
    "パワー+2/S+1",
};
inline constexpr std::string_view kNoemiPants[] = {
    "なし",
    "コントロールS+3 *",
    "コントロール+1/S+3",
    "コントロール+1 *",
    "コントロール+3",
    "コントロール+2/S+2",
    "コントロールS+2 *",
};
inline constexpr std::string_view kNoemiTopPants[] = {
    "なし",
    "パワーS+1 *",
    "パワー+1/S+2",
    "パワー+1/S+2・コント+1/S+3",
    "パワー+1/S+1・コント+1/S+2",
    "パワー+1/S+1 *",
    "パワーS+3 *",
    "パワーS+2 *",
    "パワー+2/S+1・コント+2/S+2",
    "パワーS+3・コントS+3 *",
    "パワー+1/S+2・コント+2/S+2",
    "パワーS+2・コントS+3 *",
    "パワーS+3・コントS+4 *",
    "パワー+1/S+2・コントS+4",
};
inline constexpr std::string_view kNoemiWaist[] = {
    "なし",
    "コントロール+1/S+3",
    "コントロール+2/S+2",
};
inline constexpr std::string_view kNoemiShoes[] = {
    "なし",
    "パワー+1 *",
    "パワー+2 *",
    "正確度+1 *",
    "正確度+1/S+1",
    "正確度S+1 *",
    "パワーS+1・カーブS+1 *",
    "パワー+1・スピン+1",
    "パワー+1・正確度+1",
    "パワー+1・スピンS+1",
    "パワーS+1・スピンS+1 *",
    "パワー+1・カーブ+1",
    "正確度+1・カーブ+1",
    "正確度+1・スピン+1",
    "正確度+1/S+2",
    "パワー+1・カーブS+1",
    "パワー+1/S+1",
    "パワーS+1・スピン+1",
};
inline constexpr std::string_view kNoemiHand[] = {
    "なし",
    "カーブ+1 *",
    "スピン+1",
    "スピンS+1・カーブS+1",
    "スピン+1・カーブ+1",
    "スピン+1・カーブS+1",
    "スピンS+1・カーブ+1",
    "カーブ+1/S+1",
    "スピン+1/S+1",
};
inline constexpr std::string_view kNoemiHead[] = {
    "なし",
    "スピン+1 *",
    "スピン+1/S+1 *",
    "カーブ+1/S+1 *",
    "カーブS+1 *",
    "スピン+1/S+1・カーブ+1/S+1",
    "カーブ+1/S+2",
    "正確度+1",
    "パワー+2 *",
    "スピンS+2 *",
    "カーブS+2 *",
    "スピン+1・カーブ+1",
    "スピンS+1・カーブS+1 *",
    "正確度+1・スピン+2",
    "正確度+1・カーブ+1/S+1 *",
    "スピン+1/S+2",
    "正確度+1・スピン+1/S+1 *",
    "スピン+1/S+1・カーブ+1",
    "スピン+1・カーブ+1/S+1",
    "スピンS+1 *",
    "カーブ+1 *",
    "スピン+2/S+1",
    "カーブ+2/S+1",
    "スピン+3",
    "正確度+1・スピンS+1・カーブS+1",
    "正確度+1・スピンS+2",
    "正確度S+1・スピン+1/S+1",
    "スピン+1/S+1・カーブS+1",
    "スピンS+2・カーブS+1",
    "スピンS+1・カーブS+2",
};
inline constexpr std::string_view kNoemiFace[] = {
    "なし",
    "正確度+1 *",
    "正確度+1/S+1",
    "パワー+1/S+1",
    "正確度S+1 *",
    "正確度+2",
    "スピンS+1 *",
    "スピン+1 *",
    "カーブ+10 *",
    "カーブ+1 *",
    "カーブS+1 *",
};
inline constexpr std::string_view kNoemiHoho[] = {
    "なし",
    "正確度+1 *",
    "正確度S+1",
};
inline constexpr std::string_view kNoemiEar[] = {
    "なし",
    "全ステータス+1",
    "全ステータスS+1",
};
inline constexpr std::string_view kNoemiBack[] = {
    "なし",
    "正確度+1 *",
};
inline constexpr std::string_view kNoemiShippo[] = {
    "なし",
    "正確度+1 *",
};
inline constexpr std::string_view kNoemiAcce[] = {
    "なし",
    "正確度+1 *",
    "正確度+1・カーブS+1",
    "正確度+1・スピンS+1",
};
inline constexpr std::string_view kNoemiRing[] = {
    "なし",
    "クリムゾン(飛距離+4y)",
    "パワー+1",
    "コントロール+1",
    "正確度+1",
    "スピン+1",
    "カーブ+1",
    "正確度+2",
    "スピン+2",
    "カーブ+2",
    "飛距離+2y",
    "全ステータスS+1",
};
inline constexpr ListTexts kNoemiLists[] = {
    {Top, kNoemiTop},
    {Pants, kNoemiPants},
    {TopPants, kNoemiTopPants},
    {Waist, kNoemiWaist},
    {Shoes, kNoemiShoes},
    {Hand, kNoemiHand},
    {Head, kNoemiHead},
    {Face, kNoemiFace},
    {Hoho, kNoemiHoho},
    {Ear, kNoemiEar},
    {Back, kNoemiBack},
    {Shippo, kNoemiShippo},
    {Acce, kNoemiAcce},
    {Ring, kNoemiRing},
};

// Tatsuro
inline constexpr std::string_view kTatsuroTop[] = {
    "なし",
    "パワーS+3 *",
    "パワー+1/S+2 *",
    "パワー+1 *",
    "パワー+2/S+2",
    "正確度S+2 *",
    "パワー+2/S+1",
    "パワー+1/S+2・スピン+1/S+1",
    "パワーS+2 *",
    "パワー+1/S+1 *",
};
inline constexpr std::string_view kTatsuroPants[] = {
    "なし",
    "コントロールS+3 *",
    "コントロール+1/S+3 *",
    "コントロール+1/S+4 *",
    "コントロールS+4 *",
    "コントロールS+5 *",
    "コントロール+1 *",
    "コントロール+2/S+2",
    "コントロール+2/S+3",
};
inline constexpr std::string_view kTatsuroTopPants[] = {
    "なし",
    "パワー+1/S+2・コント+1/S+4",
    "パワー+1/S+1・コント+1/S+3",
    "パワー+2/S+1・コント+2/S+3",
    "パワー+1/S+2・コント+3/S+2",
};
inline constexpr std::string_view kTatsuroShoes[] = {
    "なし",
    "パワー+1 *",
    "パワー+2",
    "正確度+1 *",
    "正確度+1/S+1 *",
    "コントロール+1",
    "コントロール+1・正確度+1",
    "コントロールS+1 *",
    "パワーS+1・コントロール+1",
};
inline constexpr std::string_view kTatsuroHand[] = {
    "なし",
    "カーブ+1 *",
    "スピン+1",
    "カーブS+1 *",
    "カーブ+1/S+1",
    "スピン+1/S+1",
    "スピン+1・カーブ+1",
};
inline constexpr std::string_view kTatsuroHead[] = {
    "なし",
    "カーブ+1/S+1 *",
    "カーブS+2 *",
    "スピン+1/S+1",
    "カーブS+1 *",
    "スピン+1 *",
    "スピン+1・カーブ+1",
    "正確度+1・スピン+2",
    "正確度+1・カーブ+1/S+1 *",
    "正確度+1・スピン+1/S+1 *",
    "正確度+1/S+1",
    "スピンS+1 *",
    "カーブ+1 *",
    "スピン+3",
    "スピン+1/S+1・カーブ+1",
    "スピン+2/S+1",
    "正確度+1・スピンS+2",
    "スピン+1/S+2",
    "正確度S+1・スピン+1/S+1",
};
inline constexpr std::string_view kTatsuroFace1[] = {
    "なし",
    "正確度+1/S+1",
    "パワー+1/S+1",
    "正確度S+1 *",
    "パワーS+1 *",
    "正確度+1 *",
    "正確度+2",
    "スピンS+1 *",
    "スピン+1 *",
    "カーブ+10 *",
    "カーブ+1 *",
    "カーブS+1 *",
};
inline constexpr std::string_view kTatsuroFace2[] = {
    "なし",
    "コントロールS+1",
};
inline constexpr std::string_view kTatsuroFace3[] = {
    "なし",
    "正確度+1",
    "スピン+1・カーブ+1/S+1",
};
inline constexpr std::string_view kTatsuroHoho[] = {
    "なし",
    "正確度+1 *",
};
inline constexpr std::string_view kTatsuroGun[] = {
    "なし",
    "正確度+1・カーブ+1",
    "正確度+1・スピン+1",
};
inline constexpr std::string_view kTatsuroEar[] = {
    "なし",
    "全ステータス+1",
    "全ステータスS+1",
};
inline constexpr std::string_view kTatsuroBack[] = {
    "なし",
    "正確度+1 *",
};
inline constexpr std::string_view kTatsuroShippo[] = {
    "なし",
    "正確度+1 *",
};
inline constexpr std::string_view kTatsuroRing[] = {
    "なし",
    "クリムゾン(飛距離+4y)",
    "パワー+1",
    "コントロール+1",
    "正確度+1",
    "スピン+1",
    "カーブ+1",
    "正確度+2",
    "スピン+2",
    "カーブ+2",
    "飛距離+2y",
    "全ステータスS+1",
};
inline constexpr ListTexts kTatsuroLists[] = {
    {Top, kTatsuroTop},
    {Pants, kTatsuroPants},
    {TopPants, kTatsuroTopPants},
    {Shoes, kTatsuroShoes},
    {Hand, kTatsuroHand},
    {Head, kTatsuroHead},
    {Face1, kTatsuroFace1},
    {Face2, kTatsuroFace2},
    {Face3, kTatsuroFace3},
    {Hoho, kTatsuroHoho},
    {Gun, kTatsuroGun},
    {Ear, kTatsuroEar},
    {Back, kTatsuroBack},
    {Shippo, kTatsuroShippo},
    {Ring, kTatsuroRing},
};

// Rosalind
inline constexpr std::string_view kRosalindTop[] = {
    "なし",
    "パワーS+3 *",
    "パワー+1/S+2",
    "パワー+1 *",
    "パワー+2/S+1",
    "正確度S+2 *",
    "パワーS+2 *",
};
inline constexpr std::string_view kRosalindPants[] = {
    "なし",
    "コントロールS+3 *",
    "コントロール+1/S+3",
    "コントロール+1 *",
    "コントロール+2/S+2",
    "コントロールS+2 *",
};
inline constexpr std::string_view kRosalindTopPants[] = {
    "なし",
    "パワー+1/S+2・コント+1/S+3",
    "パワー+1/S+1・コント+1/S+2",
    "パワーS+2・コントS+3 *",
    "パワー+1/S+2・コント+2/S+2",
    "パワー+1/S+2・コント+1/S+2",
    "パワー+2/S+1・コント+2/S+2",
    "パワーS+3・コントS+3 *",
    "パワー+1/S+2・コントS+4",
};
inline constexpr std::string_view kRosalindShoes[] = {
    "なし",
    "パワー+1 *",
    "パワー+2 *",
    "正確度+1 *",
    "コントロール+1",
    "コントロール+1・正確度+1",
    "正確度S+1 *",
    "コントロール+1・カーブ+1",
    "コントロール+1・スピンS+1",
    "コントロール+1・カーブS+1",
    "コントロール+1・スピン+1",
    "パワー+1・正確度+1",
    "コントロールS+1・スピンS+1",
};
inline constexpr std::string_view kRosalindHead[] = {
    "なし",
    "スピンS+2 *",
    "スピン+1/S+1",
    "カーブ+1/S+1",
    "スピン+1・カーブ+1/S+1",
    "カーブS+2 *",
    "カーブS+1 *",
    "カーブ+1/S+2",
    "スピン+2",
    "スピンS+1・カーブS+1 *",
    "正確度+1・スピン+2",
    "正確度+1・カーブ+1/S+1 *",
    "正確度+1・スピン+1/S+1 *",
    "スピン+1・カーブ+1",
    "スピンS+1 *",
    "スピン+1 *",
    "カーブ+1 *",
    "スピン+1/S+1・カーブ+1",
    "スピン+3",
    "スピン+1/S+2",
    "正確度+1・スピンS+2",
    "正確度S+1・スピン+1/S+1",
    "正確度+1・スピンS+1・カーブS+1",
    "スピン+1/S+1・カーブS+1",
    "スピンS+2・カーブS+1",
    "スピンS+1・カーブS+2",
};
inline constexpr std::string_view kRosalindFace[] = {
    "なし",
    "正確度+1/S+1",
    "正確度+1 *",
    "パワー+1/S+1",
    "正確度S+1 *",
    "正確度+2",
    "スピンS+1 *",
    "スピン+1 *",
    "カーブ+10 *",
    "カーブ+1 *",
    "カーブS+1 *",
};
inline constexpr std::string_view kRosalindHand[] = {
    "なし",
    "スピン+1 *",
    "カーブ+1 *",
    "カーブ+1/S+1",
    "スピン+1/S+1",
    "スピンS+1・カーブS+1",
    "スピン+1・カーブ+1",
    "スピン+1・カーブS+1",
    "スピンS+1・カーブ+1",
};
inline constexpr std::string_view kRosalindHoho[] = {
    "なし",
    "コントロール+1",
};
inline constexpr std::string_view kRosalindHoho2[] = {
    "なし",
    "正確度+1 *",
    "正確度S+1",
};
inline constexpr std::string_view kRosalindEar[] = {
    "なし",
    "全ステータス+1",
    "全ステータスS+1",
};
inline constexpr std::string_view kRosalindBack[] = {
    "なし",
    "正確度+1 *",
};
inline constexpr std::string_view kRosalindShippo[] = {
    "なし",
    "正確度+1 *",
};
inline constexpr std::string_view kRosalindAcce[] = {
    "なし",
    "正確度+1 *",
    "正確度+1・スピンS+1",
    "正確度+1・カーブS+1",
};
inline constexpr std::string_view kRosalindRing[] = {
    "なし",
    "クリムゾン(飛距離+4y)",
    "パワー+1",
    "コントロール+1",
    "正確度+1",
    "スピン+1",
    "カーブ+1",
    "正確度+2",
    "スピン+2",
    "カーブ+2",
    "飛距離+2y",
    "全ステータスS+1",
};
inline constexpr ListTexts kRosalindLists[] = {
    {Top, kRosalindTop},
    {Pants, kRosalindPants},
    {TopPants, kRosalindTopPants},
    {Shoes, kRosalindShoes},
    {Head, kRosalindHead},
    {Face, kRosalindFace},
    {Hand, kRosalindHand},
    {Hoho, kRosalindHoho},
    {Hoho2, kRosalindHoho2},
    {Ear, kRosalindEar},
    {Back, kRosalindBack},
    {Shippo, kRosalindShippo},
    {Acce, kRosalindAcce},
    {Ring, kRosalindRing},
};

// Gordo
inline constexpr std::string_view kGordoTop[] = {
    "なし",
    "パワーS+3 *",
    "パワー+1/S+2",
    "パワー+1 *",
    "パワー+1・正確度+2",
    "パワー+2/S+1",
    "正確度S+2 *",
    "パワーS+2 *",
};
inline constexpr std::string_view kGordoPants[] = {
    "なし",
    "コントロールS+3 *",
    "コントロール+1/S+3",
    "コントロール+1 *",
    "コントロール+2/S+2",
    "コントロールS+2 *",
};
inline constexpr std::string_view kGordoTopPants[] = {
    "なし",
    "パワー+1/S+2・コント+1/S+3",
    "パワー+1/S+1・コント+1/S+2",
    "パワー+2/S+1・コント+2/S+2",
};
inline constexpr std::string_view kGordoShoes[] = {
    "なし",
    "パワー+2 *",
    "正確度+1 *",
    "コントロール+1",
    "コントロール+1・正確度+1",
    "パワー+1・コントロール+1",
    "パワー+1 *",
    "パワー+1/S+1",
    "パワーS+1・コントロール+1",
    "正確度S+1 *",
};
inline constexpr std::string_view kGordoHand[] = {
    "なし",
    "スピン+1 *",
    "カーブ+1 *",
    "カーブS+1 *",
    "カーブ+1/S+1",
    "スピン+1/S+1",
    "スピン+1・カーブ+1",
};
inline constexpr std::string_view kGordoHead[] = {
    "なし",
    "カーブ+1/S+1",
    "スピン+1/S+1",
    "カーブS+2 *",
    "カーブS+1 *",
    "カーブ+1/S+2",
    "スピン+1・カーブ+1",
    "正確度+1・スピン+2",
    "正確度+1・カーブ+1/S+1 *",
    "正確度+1・スピン+1/S+1 *",
    "スピンS+1 *",
    "スピン+1・カーブ+1/S+1",
    "スピン+1 *",
    "カーブ+1 *",
    "スピン+2/S+1",
    "スピン+3",
    "正確度+1・スピン+1/S+2",
    "正確度+1・カーブ+1/S+2",
    "スピン+1/S+1・カーブ+1",
    "正確度+1・スピンS+2",
    "スピン+1/S+2",
    "正確度S+1・スピン+1/S+1",
    "スピンS+2 *",
};
inline constexpr std::string_view kGordoFace[] = {
    "なし",
    "正確度+1/S+1",
    "正確度S+2 *",
    "スピン+1・カーブ+1/S+1",
    "スピン+1/S+1",
    "パワー+1/S+1",
    "正確度S+1 *",
    "パワーS+1 *",
    "正確度+1 *",
    "正確度+2",
    "スピンS+1 *",
    "スピン+1 *",
    "カーブ+10 *",
    "カーブ+1 *",
    "カーブS+1 *",
};
inline constexpr std::string_view kGordoHoho[] = {
    "なし",
    "正確度+1 *",
};
inline constexpr std::string_view kGordoMouth[] = {
    "なし",
    "スピン+1",
};
inline constexpr std::string_view kGordoArm[] = {
    "なし",
    "カーブS+2 *",
    "スピンS+2 *",
};
inline constexpr std::string_view kGordoKey[] = {
    "なし",
    "正確度+1 スピン+1",
};
inline constexpr std::string_view kGordoEar[] = {
    "なし",
    "全ステータス+1",
    "全ステータスS+1",
};
inline constexpr std::string_view kGordoBack[] = {
    "なし",
    "正確度+1 *",
};
inline constexpr std::string_view kGordoShippo[] = {
    "なし",
    "正確度+1 *",
};
inline constexpr std::string_view kGordoRing[] = {
    "なし",
    "クリムゾン(飛距離+4y)",
    "パワー+1",
    "コントロール+1",
    "正確度+1",
    "スピン+1",
    "カーブ+1",
    "正確度+2",
    "スピン+2",
    "カーブ+2",
    "飛距離+2y",
    "全ステータスS+1",
};
inline constexpr ListTexts kGordoLists[] = {
    {Top, kGordoTop},
    {Pants, kGordoPants},
    {TopPants, kGordoTopPants},
    {Shoes, kGordoShoes},
    {Hand, kGordoHand},
    {Head, kGordoHead},
    {Face, kGordoFace},
    {Hoho, kGordoHoho},
    {Mouth, kGordoMouth},
    {Arm, kGordoArm},
    {Key, kGordoKey},
    {Ear, kGordoEar},
    {Back, kGordoBack},
    {Shippo, kGordoShippo},
    {Ring, kGordoRing},
};

// Pino
inline constexpr std::string_view kPinoTop[] = {
    "なし",
    "パワーS+3 *",
    "パワー+1/S+2 *",
    "パワーS+2 *",
    "パワー+1 *",
    "正確度S+2 *",
    "パワー+2/S+1",
};
inline constexpr std::string_view kPinoPants[] = {
    "なし",
    "コントロールS+3 *",
    "コントロール+1/S+3*",
    "正確度+1 *",
    "コントロール+2/S+2",
    "コントロールS+2 *",
    "コントロールS+4 *",
    "コントロールS+3・正確度+1*",
};
inline constexpr std::string_view kPinoTopPants[] = {
    "なし",
    "パワー+1/S+2",
    "パワーS+3 *",
    "パワー+1/S+2・コント+1/S+3",
    "パワー+1/S+1・コント+1/S+2",
    "パワー+2/S+1・コント+2/S+2",
    "パワーS+3・コントS+3 *",
    "パワー+1/S+2・コント+2/S+2",
    "パワーS+2・コントS+3 *",
    "パワー+1/S+2・コントS+4",
};
inline constexpr std::string_view kPinoWaist[] = {
    "なし",
    "コントロール+1/S+3",
};
inline constexpr std::string_view kPinoShoes[] = {
    "なし",
    "パワー+2 *",
    "正確度+1 *",
    "正確度+1/S+2",
    "正確度+2/S+1",
    "正確度S+2 *",
    "パワー+2・スピンS+1 *",
    "パワー+1・正確度+2",
    "パワーS+1・正確度+2/S+1",
    "パワーS+1・正確度+1/S+1",
    "パワー+1/S+1 *",
    "パワーS+1・正確度+2",
    "パワーS+2・正確度+1",
    "パワー+1・正確度+1/S+1",
    "正確度+2 *",
    "パワーS+1・正確度+1",
    "正確度+1/S+1",
    "パワーS+1・正確度S+1 *",
    "パワー+1・正確度S+2",
    "パワー+1/S+1・正確度S+1",
    "正確度S+3",
    "パワーS+1・正確度S+2",
};
inline constexpr std::string_view kPinoHand[] = {
    "なし",
    "スピン+1",
    "カーブ+1 *",
    "スピンS+1 *",
    "カーブS+1",
    "カーブ+1/S+1",
    "スピン+1/S+1",
    "スピンS+1・カーブS+1",
    "スピン+1・カーブ+1",
    "正確度+1・スピン+1",
    "スピン+2",
    "スピン+1・カーブS+1",
};
inline constexpr std::string_view kPinoHead1[] = {
    "なし",
    "スピンS+2 *",
    "スピン+1/S+1",
    "カーブ+1/S+1",
    "カーブS+2 *",
    "スピン+1/S+1・カーブ+1/S+1",
    "カーブ+1/S+2",
    "カーブS+1 *",
    "スピンS+1・カーブS+1 *",
    "正確度+1・スピン+2",
    "正確度+1・カーブ+1/S+1 *",
    "正確度+1・スピン+1",
    "スピン+1/S+2",
    "正確度+1・スピン+1/S+1 *",
    "スピン+1・カーブ+1",
    "スピン+1/S+1・カーブ+1",
    "スピン+1・カーブ+1/S+1",
    "スピンS+1 *",
    "スピン+1 *",
    "カーブ+1 *",
    "正確度+1・カーブ+2",
    "スピン+3",
    "正確度+1・スピンS+1・カーブS+1",
    "正確度+1・スピンS+2",
    "正確度S+1・スピン+1/S+1",
    "カーブ+2 *",
    "スピン+1/S+1・カーブS+1",
    "スピンS+2・カーブS+1",
    "スピンS+1・カーブS+2",
};
inline constexpr std::string_view kPinoHead2[] = {
    "なし",
    "カーブS+2 *",
    "カーブ+1/S+1",
    "スピン+1・カーブ+1",
};
inline constexpr std::string_view kPinoFace[] = {
    "なし",
    "正確度+1/S+1",
    "パワー+1/S+1",
    "正確度S+1 *",
    "正確度+1 *",
    "正確度+2",
    "スピンS+1 *",
    "スピン+1 *",
    "カーブ+10 *",
    "正確度+1・スピン+1",
    "カーブ+1 *",
    "カーブS+1 *",
};
inline constexpr std::string_view kPinoHoho[] = {
    "なし",
    "正確度+1 *",
    "正確度S+1",
};
inline constexpr std::string_view kPinoEar[] = {
    "なし",
    "正確度+1/S+1",
    "全ステータス+1",
    "全ステータスS+1",
};
inline constexpr std::string_view kPinoBack[] = {
    "なし",
    "正確度+1 *",
};
inline constexpr std::string_view kPinoShippo[] = {
    "なし",
    "正確度+1 *",
};
inline constexpr std::string_view kPinoAcce[] = {
    "なし",
    "正確度+1 *",
    "正確度+1・スピンS+1",
    "正確度+1・カーブS+1",
};
inline constexpr std::string_view kPinoRing[] = {
    "なし",
    "クリムゾン(飛距離+4y)",
    "パワー+1",
    "コントロール+1",
    "正確度+1",
    "スピン+1",
    "カーブ+1",
    "正確度+2",
    "スピン+2",
    "カーブ+2",
    "飛距離+2y",
    "全ステータスS+1",
};
inline constexpr ListTexts kPinoLists[] = {
    {Top, kPinoTop},
    {Pants, kPinoPants},
    {TopPants, kPinoTopPants},
    {Waist, kPinoWaist},
    {Shoes, kPinoShoes},
    {Hand, kPinoHand},
    {Head1, kPinoHead1},
    {Head2, kPinoHead2},
    {Face, kPinoFace},
    {Hoho, kPinoHoho},
    {Ear, kPinoEar},
    {Back, kPinoBack},
    {Shippo, kPinoShippo},
    {Acce, kPinoAcce},
    {Ring, kPinoRing},
};

// Lilou
inline constexpr std::string_view kLilouTop[] = {
    "なし",
    "パワーS+3 *",
    "パワー+1/S+2",
    "パワー+1 *",
    "正確度S+2 *",
    "パワー+2/S+1",
    "パワーS+2 *",
};
inline constexpr std::string_view kLilouPants[] = {
    "なし",
    "コントロールS+3 *",
    "コントロール+1/S+3",
    "コントロール+1 *",
    "コントロール+2/S+2",
    "コントロールS+2 *",
};
inline constexpr std::string_view kLilouTopPants[] = {
    "なし",
    "パワーS+3・コントS+3 *",
    "パワー+1/S+2・コント+1/S+3",
    "パワー+1/S+1・コント+1/S+2",
    "パワーS+2・コントS+3 *",
    "パワー+1/S+2・コント+2/S+2",
    "パワー+1/S+2・コント+1/S+2",
    "パワー+2/S+1・コント+2/S+2",
    "パワー+1/S+2・コントS+4",
};
inline constexpr std::string_view kLilouShoes[] = {
    "なし",
    "パワー+2 *",
    "コントロール+1 *",
    "正確度+1 *",
    "コントロール+1・正確度+1",
    "正確度S+1 *",
    "コントロールS+1 *",
    "コントロール+1・スピン+1",
    "コントロール+1・スピンS+1",
    "コントロール+1・カーブS+1",
    "パワーS+2",
    "コントロール+1・カーブ+1",
    "コントロール+1・正確度S+1",
    "パワー+1・正確度+1",
};
inline constexpr std::string_view kLilouHand[] = {
    "なし",
    "カーブ+1 *",
    "スピン+1",
    "スピンS+1・カーブS+1",
    "スピン+1・カーブ+1",
    "カーブ+1/S+1",
    "スピン+1/S+1",
    "スピン+1・カーブS+1",
};
inline constexpr std::string_view kLilouHead[] = {
    "なし",
    "スピン+1/S+1",
    "スピンS+2 *",
    "カーブS+2 *",
    "カーブ+1/S+1",
    "カーブ+1/S+2",
    "カーブS+1 *",
    "スピンS+1・カーブS+1 *",
    "正確度+1・スピン+2",
    "正確度+1・カーブ+1/S+1 *",
    "スピン+1/S+2",
    "正確度+1・スピン+1/S+1 *",
    "スピンS+1 *",
    "スピン+1 *",
    "カーブ+1 *",
    "スピン+2/S+1",
    "カーブ+2/S+1",
    "スピン+3",
    "スピン+1/S+1・カーブ+1",
    "スピン+1・カーブ+1/S+1",
    "スピン+1・カーブ+1",
    "正確度+1・スピンS+1・カーブS+1",
    "正確度+1・スピンS+2",
    "正確度S+1・スピン+1/S+1",
    "スピン+1/S+1・カーブS+1",
    "スピンS+2・カーブS+1",
    "スピンS+1・カーブS+2",
};
inline constexpr std::string_view kLilouHead2[] = {
    "なし",
    "スピン+1・カーブ+1/S+1",
    "スピン+1/S+1",
};
inline constexpr std::string_view kLilouFace[] = {
    "なし",
    "正確度+1/S+1",
    "正確度+1 *",
    "パワー+1/S+1",
    "正確度S+1 *",
    "正確度+2",
    "スピンS+1 *",
    "スピン+1 *",
    "カーブ+10 *",
    "カーブ+1 *",
    "カーブS+1 *",
};
inline constexpr std::string_view kLilouHoho[] = {
    "なし",
    "正確度+1 *",
    "正確度S+1",
};
inline constexpr std::string_view kLilouEar[] = {
    "なし",
    "全ステータス+1",
    "全ステータスS+1",
};
inline constexpr std::string_view kLilouBack[] = {
    "なし",
    "正確度+1 *",
};
inline constexpr std::string_view kLilouShippo[] = {
    "なし",
    "正確度+1 *",
};
inline constexpr std::string_view kLilouAcce[] = {
    "なし",
    "正確度+1・カーブ+1",
    "正確度+1・スピン+1",
};
inline constexpr std::string_view kLilouRing[] = {
    "なし",
    "クリムゾン(飛距離+4y)",
    "パワー+1",
    "コントロール+1",
    "正確度+1",
    "スピン+1",
    "カーブ+1",
    "正確度+2",
    "スピン+2",
    "カーブ+2",
    "飛距離+2y",
    "全ステータスS+1",
};
inline constexpr ListTexts kLilouLists[] = {
    {Top, kLilouTop},
    {Pants, kLilouPants},
    {TopPants, kLilouTopPants},
    {Shoes, kLilouShoes},
    {Hand, kLilouHand},
    {Head, kLilouHead},
    {Head2, kLilouHead2},
    {Face, kLilouFace},
    {Hoho, kLilouHoho},
    {Ear, kLilouEar},
    {Back, kLilouBack},
    {Shippo, kLilouShippo},
    {Acce, kLilouAcce},
    {Ring, kLilouRing},
};

// Corvin
inline constexpr std::string_view kCorvinTop[] = {
    "なし",
    "パワーS+3 *",
    "パワー+1/S+2 *",
    "正確度S+2 *",
    "パワーS+2 *",
    "パワー+2/S+1",
};
inline constexpr std::string_view kCorvinPants[] = {
    "なし",
    "コントロールS+3 *",
    "コントロール+1/S+3",
    "コントロールS+2 *",
};
inline constexpr std::string_view kCorvinTopPants[] = {
    "なし",
    "パワーS+3・コントS+3 *",
    "パワー+1/S+2・コント+1/S+3",
    "パワー+2/S+2・コント+2/S+2",
    "パワー+1/S+2・コント+2/S+2",
    "パワーS+3・コントロールS+4 *",
};
inline constexpr std::string_view kCorvinShoes[] = {
    "なし",
    "パワーS+2 *",
    "スピン+1",
    "スピンS+1 *",
    "正確度+1 *",
    "正確度S+1 *",
    "正確度+1/S+1",
    "パワーS+1 *",
    "カーブS+1 *",
    "カーブ+1",
    "パワー+1・スピン+1",
    "正確度+1・スピン+1",
    "パワー+1/S+1",
    "正確度+1・スピンS+1",
    "正確度+1・カーブS+1",
    "パワー+1・カーブ+1",
    "正確度+1・カーブ+1",
    "正確度S+1・スピン+1",
    "パワーS+1・カーブ+1",
};
inline constexpr std::string_view kCorvinHand[] = {
    "なし",
    "スピン+1 *",
    "カーブ+1 *",
    "カーブ+1/S+1",
    "スピン+1/S+1",
    "スピン+1・カーブ+1",
    "正確度+1・スピン+1",
    "スピンS+1",
    "カーブS+1 *",
};
inline constexpr std::string_view kCorvinHead[] = {
    "なし",
    "カーブS+2 *",
    "スピンS+2 *",
    "スピン+1/S+1",
    "正確度+1・スピン+2",
    "正確度+1・カーブ+1/S+1 *",
    "正確度+1・スピン+1/S+1 *",
    "スピン+1・カーブ+1",
    "スピンS+1 *",
    "カーブ+1/S+1",
    "カーブ+1/S+2",
    "スピン+1 *",
    "カーブ+1 *",
    "スピン+1/S+1・カーブ+1",
    "スピン+1・カーブ+1/S+1",
    "スピン+3",
    "スピン+1/S+2",
    "正確度+1・スピンS+2",
    "正確度+1・スピンS+1・カーブS+1",
    "正確度+1・カーブS+2",
    "正確度S+1・スピン+1/S+1",
    "カーブS+1 *",
};
inline constexpr std::string_view kCorvinFace[] = {
    "なし",
    "正確度+1/S+1",
    "正確度+1 *",
    "正確度S+1 *",
    "パワーS+1 *",
    "正確度+2",
    "パワー+1 *",
    "スピンS+1 *",
    "スピン+1 *",
    "正確度S+2 *",
    "カーブ+10 *",
    "カーブ+1 *",
    "カーブS+1 *",
};
inline constexpr std::string_view kCorvinHoho[] = {
    "なし",
    "正確度+1 *",
    "正確度+1/S+1",
};
inline constexpr std::string_view kCorvinArm[] = {
    "なし",
    "スピン+1",
};
inline constexpr std::string_view kCorvinEar[] = {
    "なし",
    "全ステータス+1",
    "全ステータスS+1",
};
inline constexpr std::string_view kCorvinBack[] = {
    "なし",
    "正確度+1 *",
};
inline constexpr std::string_view kCorvinShippo[] = {
    "なし",
    "正確度+1 *",
};
inline constexpr std::string_view kCorvinAcce[] = {
    "なし",
    "正確度+1・スピンS+1",
};
inline constexpr std::string_view kCorvinRing[] = {
    "なし",
    "クリムゾン(飛距離+4y)",
    "パワー+1",
    "コントロール+1",
    "正確度+1",
    "スピン+1",
    "カーブ+1",
    "正確度+2",
    "スピン+2",
    "カーブ+2",
    "飛距離+2y",
    "全ステータスS+1",
};
inline constexpr ListTexts kCorvinLists[] = {
    {Top, kCorvinTop},
    {Pants, kCorvinPants},
    {TopPants, kCorvinTopPants},
    {Shoes, kCorvinShoes},
    {Hand, kCorvinHand},
    {Head, kCorvinHead},
    {Face, kCorvinFace},
    {Hoho, kCorvinHoho},
    {Arm, kCorvinArm},
    {Ear, kCorvinEar},
    {Back, kCorvinBack},
    {Shippo, kCorvinShippo},
    {Acce, kCorvinAcce},
    {Ring, kCorvinRing},
};

// Ysolde
inline constexpr std::string_view kYsoldeTop[] = {
    "なし",
    "パワー+1/S+2",
    "パワーS+2 *",
    "パワーS+3 *",
};
inline constexpr std::string_view kYsoldePants[] = {
    "なし",
    "コントロール+1/S+3",
    "コントロールS+3 *",
};
inline constexpr std::string_view kYsoldeTopPants[] = {
    "なし",
    "パワー+1/S+2・コント+1/S+3",
    "パワーS+2・コントロールS+3 *",
    "パワーS+3・コントロールS+3 *",
    "パワーS+2・コントロールS+2 *",
    "パワーS+1・コントロールS+1 *",
    "パワー+1/S+2・コントS+4",
};
inline constexpr std::string_view kYsoldeShoes[] = {
    "なし",
    "カーブ+1",
    "スピン+1",
    "パワーS+1 *",
    "パワーS+2 *",
    "パワーS+1・カーブ+1",
    "パワーS+1・スピン+1",
    "正確度+1・スピン+1",
    "スピンS+1 *",
    "パワー+1/S+1",
    "正確度+1・カーブ+1",
    "正確度+1・スピンS+1",
    "正確度+1・カーブS+1",
    "正確度S+1 *",
    "カーブS+1 *",
    "正確度+1 *",
    "パワー+1・カーブ+1",
    "パワー+1・スピン+1",
    "パワーS+1・スピンS+1",
};
inline constexpr std::string_view kYsoldeHand[] = {
    "なし",
    "カーブ+1",
    "スピン+1",
    "スピン+1・カーブ+1",
    "カーブ+1/S+1",
    "スピン+1/S+1",
    "正確度S+1・スピン+1",
    "カーブS+1 *",
    "スピンS+1 *",
    "スピン+1・カーブS+1",
    "スピンS+1・カーブS+1",
};
inline constexpr std::string_view kYsoldeHead[] = {
    "なし",
    "カーブ+1/S+1",
    "スピン+1/S+1",
    "カーブS+1 *",
    "正確度+1・スピン+2",
    "正確度+1・スピン+1/S+1",
    "スピン+1・カーブ+1",
    "スピンS+1・カーブS+1 *",
    "スピン+1/S+1・カーブ+1",
    "スピン+1・カーブ+1/S+1",
    "正確度+1・スピンS+1・カーブS+1",
    "カーブ+1/S+2",
    "正確度+1・スピンS+2",
    "スピン+1/S+2",
    "スピンS+1 *",
    "正確度+1・カーブ+2",
    "正確度S+1・スピン+1/S+1",
    "カーブS+2 *",
    "スピン+1/S+1・カーブS+1",
    "スピンS+2・カーブS+1",
    "スピンS+1・カーブS+2",
};
inline constexpr std::string_view kYsoldeFace[] = {
    "なし",
    "正確度+1 *",
    "正確度+2",
    "カーブ+10 *",
    "カーブ+1 *",
    "正確度+1/S+1",
    "スピン+1 *",
    "スピンS+1 *",
    "カーブS+1 *",
};
inline constexpr std::string_view kYsoldeHoho[] = {
    "なし",
    "正確度+1 *",
    "正確度S+1",
};
inline constexpr std::string_view kYsoldeEar[] = {
    "なし",
    "全ステータス+1",
    "全ステータスS+1",
};
inline constexpr std::string_view kYsoldeBack[] = {
    "なし",
    "正確度+1 *",
};
inline constexpr std::string_view kYsoldeShippo[] = {
    "なし",
    "正確度+1 *",
};
inline constexpr std::string_view kYsoldeRing[] = {
    "なし",
    "クリムゾン(飛距離+4y)",
    "パワー+1",
    "コントロール+1",
    "正確度+1",
    "スピン+1",
    "カーブ+1",
    "正確度+2",
    "スピン+2",
    "カーブ+2",
    "飛距離+2y",
    "全ステータスS+1",
};
inline constexpr ListTexts kYsoldeLists[] = {
    {Top, kYsoldeTop},
    {Pants, kYsoldePants},
    {TopPants, kYsoldeTopPants},
    {Shoes, kYsoldeShoes},
    {Hand, kYsoldeHand},
    {Head, kYsoldeHead},
    {Face, kYsoldeFace},
    {Hoho, kYsoldeHoho},
    {Ear, kYsoldeEar},
    {Back, kYsoldeBack},
    {Shippo, kYsoldeShippo},
    {Ring, kYsoldeRing},
};

// Wren
inline constexpr std::string_view kWrenTop[] = {
    "なし",
    "パワーS+2 *",
    "パワー+1/S+2",
};
inline constexpr std::string_view kWrenPants[] = {
    "なし",
    "コントロールS+3 *",
    "コントロール+1/S+3",
};
inline constexpr std::string_view kWrenTopPants[] = {
    "なし",
    "パワー+1/S+2・コント+1/S+3",
};
inline constexpr std::string_view kWrenShoes[] = {
    "なし",
    "パワーS+2 *",
    "パワーS+1・スピンS+1",
    "パワーS+1・カーブS+1",
};
inline constexpr std::string_view kWrenHand[] = {
    "なし",
    "カーブ+1 *",
    "スピン+1",
    "カーブS+1",
};
inline constexpr std::string_view kWrenHead[] = {
    "なし",
    "スピンS+1 *",
    "スピン+1・カーブ+1",
    "スピン+1/S+1",
    "スピン+1・カーブ+1/S+1",
    "スピン+1/S+1・カーブ+1",
    "カーブ+1/S+1",
    "正確度+1・スピンS+2",
};
inline constexpr std::string_view kWrenHoho[] = {
    "なし",
    "正確度+1 *",
};
inline constexpr std::string_view kWrenBack[] = {
    "なし",
    "正確度+1 *",
};
inline constexpr std::string_view kWrenRing[] = {
    "なし",
    "クリムゾン(飛距離+4y)",
    "パワー+1",
    "コントロール+1",
    "正確度+1",
    "スピン+1",
    "カーブ+1",
    "正確度+2",
    "スピン+2",
    "カーブ+2",
    "飛距離+2y",
    "全ステータスS+1",
};
inline constexpr ListTexts kWrenLists[] = {
    {Top, kWrenTop},
    {Pants, kWrenPants},
    {TopPants, kWrenTopPants},
    {Shoes, kWrenShoes},
    {Hand, kWrenHand},
    {Head, kWrenHead},
    {Hoho, kWrenHoho},
    {Back, kWrenBack},
    {Ring, kWrenRing},
};

// Roster order.
inline constexpr std::span<const ListTexts> kCharaLists[] = {
    kBastianLists,
    kNoemiLists,
    kTatsuroLists,
    kRosalindLists,
    kGordoLists,
    kPinoLists,
    kLilouLists,
    kCorvinLists,
    kYsoldeLists,
    kWrenLists,
};

// clang-format on

}  // namespace catalogue_texts
