#include "form/form.h"

#include <utility>

#include "characters/cards.h"
#include "characters/roster.h"
#include "clubs/caddies.h"
#include "clubs/clubs.h"
#include "engine/levels.h"
#include "form/form_table.h"

using namespace form_table;

namespace {

void BuildCharaGroup(Builder& b) {
    const int group = b.Group(0, "GroupBox1", "キャラ・装備", {8, 8, 425, 489});
    const int level = b.Caption(group, "レベル", 8, 16);
    b[level].FocusControl =
        b.List(group, "ComboBox1", {8, 32, 145, kListHeight}, 20, Rows(kLevelNames),
               On(BoundField::Level), "レベル", "キャラ・装備");
    const int chara = b.Caption(group, "キャラクター", 8, 56);
    const int pages = b.Add(group, WidgetKind::PageControl, "PageControl1", {8, 72, 409, 409});
    b[chara].FocusControl = pages;
    b[pages].Bind = On(BoundField::Page);
    b[pages].AccessibleName = "キャラクター";
    b[pages].AccessibleDescription = "キャラ・装備";
    for (const TCharaDef& def : Roster()) {
        AddCharaPage(b, pages, def.Index);
    }
}

void BuildSideGroups(Builder& b) {
    int group = b.Group(0, "gbSpecialCard", "スペシャルカード", {440, 8, 185, 65});
    b.List(group, "cbSpecialCard", {8, 24, 129, kListHeight}, 30, Rows(kSpecialCardTexts),
           On(BoundField::SpecialCard), "スペシャルカード");

    group = b.Group(0, "GroupBox3", "キャディ", {440, 80, 185, 89});
    b.List(group, "ComboBox3", {8, 16, 129, kListHeight}, 30, Rows(Caddies(), &CaddieDef::Name),
           On(BoundField::Caddie), "キャディ");
    const int effect = b.Output(group, "Label_CaddieEffect", On(BoundField::CaddieEffect), 8, 56);
    b[effect].TextColour = kBlue;

    group = b.Group(0, "GroupBox2", "クラブ", {440, 176, 185, 321});
    b.List(group, "ComboBox2", {8, 16, 145, kListHeight}, 40, Rows(ClubSets(), &ClubSet::Caption),
           On(BoundField::Club), "クラブ");
    const int fullTune = b.Button(group, "Button_ClubFullTune", "F", {158, 16, 19, 19},
                                  On(BoundField::FullTune), "フルチューン");
    b[fullTune].AccessibleDescription = "クラブ";
    for (int i = 0; i < kStatCount; ++i) {
        const int top = 48 + i * kRowPitch;
        const std::string n = std::to_string(i + 1);
        const int caption = b.Caption(group, kStatCaptions[i], 8, top + 4);
        const int base = b.Output(group, "Label_Club" + n, On(BoundField::ClubBase, i), 72, top + 4,
                                  LabelAnchor::Fixed, 17);
        b[base].Align = TextAlign::Center;
        b.Caption(group, "+", 96, top + 4);
        b[caption].FocusControl =
            b.Spinner(group, "UpDown_Club" + n, "Edit_Club" + n, 112, top, 10,
                      On(BoundField::ClubSlotUp, i), kStatCaptions[i], "クラブ強化");
        b.Output(group, "Label_ClubSlot" + n, On(BoundField::ClubSlot, i), 160, top + 8);
    }
    b.Caption(group, "クラブ強化に必要なPP", 24, 232, kBlue);
    const int needed =
        b.Figure(group, "Label30", On(BoundField::ClubPPNeeded), 88, 256, LabelAnchor::Right);
    b.StaticHint(needed, kPPNeededHint);
    const int total =
        b.Output(group, "Label122", On(BoundField::ClubPPTotal), 89, 280, LabelAnchor::Right);
    b.StaticHint(total, kPPTotalHint);
}

void BuildFinalGroup(Builder& b) {
    const int group = b.Group(0, "GroupBox14", "最終的なステータス", {8, 504, 617, 137});
    constexpr Rgb kCaptionColours[kStatCount] = {
        {255, 34, 0}, {255, 153, 0}, {0, 187, 0}, {0, 170, 255}, {136, 0, 255}};
    constexpr std::string_view kFinalNames[kStatCount] = {
        "Label_LastPow", "Label_LastCtrl", "Label_LastExa", "Label_LastSpin", "Label_LastCur"};
    for (int i = 0; i < kStatCount; ++i) {
        const int top = 16 + i * kRowPitch;
        const int caption = b.Caption(group, kStatCaptions[i], 24, top);
        FormWidget& w = b[caption];
        w.Name = "Label" + std::to_string(13 + i);
        w.Font = {FontFamily::UiGothic, 12, true};
        w.TextColour = kCaptionColours[i];
        w.Cursor = CursorKind::HelpWhenHinted;
        w.Bind = On(BoundField::StatCaption, i);

        const int value = b.Figure(group, kFinalNames[i], On(BoundField::LastStat, i), 112, top,
                                   LabelAnchor::Fixed, 25);
        b[value].Align = TextAlign::Right;
        b[value].Cursor = CursorKind::HelpWhenHinted;
    }
    const int penaltyTops[2] = {43, 66};
    for (int k = 0; k < 2; ++k) {
        const int penalty = b.Output(group, "Label" + std::to_string(18 + k),
                                     On(BoundField::Penalty, k), 144, penaltyTops[k]);
        b[penalty].Font = {FontFamily::PGothic, 12, false};
        b[penalty].Cursor = CursorKind::HelpWhenHinted;
    }

    b.Caption(group, "1Wの飛距離(通常)", 240, 16, kBlue, kFinalCaptionFont);
    const int power = b.Caption(group, "(パワー)", 240, 40, kBlue, kFinalCaptionFont);
    // The two captions stand side by side; where the first is wider than the 40 pixels
    // before the second, the second moves right instead of covering its last letter.
    const int power2 = b.Caption(group, "(パワー×2)", 280, 40, kBlue, kFinalCaptionFont);
    b[power2].LeftAfter = power;
    struct Distance {
        std::string_view Name;
        int Left;
        int Top;
        std::string_view Hint;
        BoundField Field;
    };
    constexpr Distance kDistances[] = {
        {"Label22", 360, 13, "1Wの飛距離(通常)", BoundField::DistanceNormal},
        {"Label23", 360, 38, "1Wの飛距離(パワー)", BoundField::DistancePower},
        {"Label174", 408, 38, "1Wの飛距離(パワー×2)", BoundField::DistancePower2},
    };
    for (const Distance& d : kDistances) {
        const int label = b.Figure(group, d.Name, On(d.Field), d.Left, d.Top, LabelAnchor::Fixed,
                                   35, {FontFamily::UiGothic, 15, true});
        b[label].Align = TextAlign::Center;
        b.StaticHint(label, d.Hint);
    }

    b.Caption(group, "キャラ強化+クラブ強化に必要なPP", 240, 80, kBlue, kFinalCaptionFont);
    const int total =
        b.Figure(group, "Label67", On(BoundField::TotalPP), 360, 104, LabelAnchor::Right);
    b.StaticHint(total, "キャラ+クラブの合計必要PP");

    b.Button(group, "Button1", "現在の設定を保存", {480, 24, 105, 33}, On(BoundField::Save),
             "現在の設定を保存");
    const int revert = b.Button(group, "Button2", "保存した状態に戻す", {480, 80, 105, 33},
                                On(BoundField::Revert), "保存した状態に戻す");
    b[revert].Hint = "設定を保存したときの状態に戻せます。";
}

FormDef BuildMainForm() {
    Builder b;
    const int form = b.Add(-1, WidgetKind::Form, "Form1", {0, 0, 633, 650});
    b[form].Text = "ケストレル ステータスシミュレータ";
    b[form].Font = kWindowFont;
    b[form].Background = kWindowColour;
    BuildCharaGroup(b);
    BuildSideGroups(b);
    BuildFinalGroup(b);
    return std::move(b.Def);
}

}  // namespace

std::string_view FontFamilyName(FontFamily family) {
    return family == FontFamily::PGothic ? kPGothicName : kUiGothicName;
}

const FormDef& MainForm() {
    static const FormDef form = BuildMainForm();
    return form;
}

int FindWidget(const FormDef& form, std::string_view name) {
    for (size_t i = 0; i < form.Widgets.size(); ++i) {
        if (form.Widgets[i].Name == name) {
            return static_cast<int>(i);
        }
    }
    return -1;
}
