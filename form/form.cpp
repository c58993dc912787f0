#include "form/form.h"

#include <array>
#include <utility>

#include "characters/cards.h"
#include "characters/catalogue.h"
#include "characters/roster.h"
#include "clubs/caddies.h"
#include "clubs/clubs.h"
#include "engine/display.h"
#include "engine/levels.h"
#include "form/binding.h"

namespace {

constexpr Rgb kWindowColour{224, 224, 255};
constexpr Rgb kRed{255, 0, 0};
constexpr Rgb kBlue{0, 0, 255};

constexpr FontSpec kWindowFont{FontFamily::UiGothic, 12, false};
// The red, bold PP and status figures.
constexpr FontSpec kFigureFont{FontFamily::PGothic, 15, true};
constexpr FontSpec kCardListFont{FontFamily::UiGothic, 11, false};
constexpr FontSpec kFinalCaptionFont{FontFamily::UiGothic, 13, false};

constexpr int kListHeight = 20;
constexpr int kCardListHeight = 19;
constexpr int kSpinnerWidth = 25 + 16;  // the number box and its arrows
constexpr int kRowPitch = 24;

constexpr std::array<std::string_view, kStatCount> kStatCaptions = {"パワー", "コントロール",
                                                                    "正確度", "スピン", "カーブ"};

// The PP-since-save and PP-total labels of each character page.
constexpr std::array<std::array<std::string_view, 2>, CharaCount> kPagePPLabels = {{
    {"Label32", "Label123"},
    {"Label47", "Label124"},
    {"Label49", "Label125"},
    {"Label51", "Label126"},
    {"Label65", "Label127"},
    {"Label107", "Label128"},
    {"Label121", "Label129"},
    {"Label163", "Label164"},
    {"Label201", "Label202"},
    {"Label310", "Label311"},
}};

constexpr std::string_view kPPNeededHint = "保存した状態からの必要PP";
constexpr std::string_view kPPTotalHint = "初期状態から現在までにかかったPP";

struct Place {
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
};

// How many rows a wear-slot list shows at once: the smallest of the window's row
// counts that holds every entry, at most 30.
int RowsFor(size_t entries) {
    for (int rows : {8, 10, 15, 20}) {
        if (entries <= static_cast<size_t>(rows)) {
            return rows;
        }
    }
    return 30;
}

// Appends widgets in creation order; a widget takes its parent's font unless given one.
class Builder {
public:
    FormDef Def;

    FormWidget& operator[](int index) { return Def.Widgets[static_cast<size_t>(index)]; }

    int Add(int parent, WidgetKind kind, std::string_view name, Place place) {
        FormWidget w;
        w.Kind = kind;
        w.Name = std::string(name);
        w.Parent = parent;
        w.Left = place.Left;
        w.Top = place.Top;
        w.Width = place.Width;
        w.Height = place.Height;
        if (parent >= 0) {
            w.Font = (*this)[parent].Font;
        }
        Def.Widgets.push_back(std::move(w));
        return static_cast<int>(Def.Widgets.size()) - 1;
    }

    int Group(int parent, std::string_view name, std::string_view caption, Place place) {
        const int i = Add(parent, WidgetKind::GroupBox, name, place);
        (*this)[i].Text = std::string(caption);
        return i;
    }

    // A label sized to its text, growing to the right from `left`.
    int Caption(int parent, std::string_view text, int left, int top) {
        const int i = Add(parent, WidgetKind::Label, {}, {left, top});
        (*this)[i].Text = std::string(text);
        return i;
    }

    // A caption in another font or colour than its parent's.
    int Caption(int parent, std::string_view text, int left, int top, Rgb colour,
                std::optional<FontSpec> font = std::nullopt) {
        const int i = Caption(parent, text, left, top);
        (*this)[i].TextColour = colour;
        if (font) {
            (*this)[i].Font = *font;
        }
        return i;
    }

    // A label that shows a display value; its initial text is the display's.
    int Output(int parent, std::string_view name, Binding bind, int left, int top,
               LabelAnchor anchor = LabelAnchor::Left, int width = 0) {
        const int i = Add(parent, WidgetKind::Label, name, {left, top, width, 0});
        FormWidget& w = (*this)[i];
        w.Anchor = anchor;
        w.Align = anchor == LabelAnchor::Right ? TextAlign::Right : TextAlign::Left;
        w.Bind = bind;
        static const TDisplay kInitial{};
        w.Text = *BoundText(kInitial, bind);
        return i;
    }

    int Figure(int parent, std::string_view name, Binding bind, int left, int top,
               LabelAnchor anchor, int width = 0, FontSpec font = kFigureFont) {
        const int i = Output(parent, name, bind, left, top, anchor, width);
        (*this)[i].Font = font;
        (*this)[i].TextColour = kRed;
        return i;
    }

    int List(int parent, std::string_view name, Place place, int rows,
             std::vector<std::string> items, Binding bind, std::string_view accessibleName,
             std::string_view where = {}) {
        const int i = Add(parent, WidgetKind::List, name, place);
        FormWidget& w = (*this)[i];
        w.Items = std::move(items);
        w.VisibleRows = rows;
        w.Bind = bind;
        w.AccessibleName = std::string(accessibleName);
        w.AccessibleDescription = std::string(where);
        return i;
    }

    int Spinner(int parent, std::string_view name, std::string_view editName, int left, int top,
                int max, Binding bind, std::string_view accessibleName, std::string_view where) {
        const int i =
            Add(parent, WidgetKind::Spinner, name, {left, top, kSpinnerWidth, kListHeight});
        FormWidget& w = (*this)[i];
        w.EditName = std::string(editName);
        w.Max = max;
        w.Text = std::string("0");  // the position when created
        w.Bind = bind;
        w.AccessibleName = std::string(accessibleName);
        w.AccessibleDescription = std::string(where);
        return i;
    }

    int Button(int parent, std::string_view name, std::string_view caption, Place place,
               Binding bind, std::string_view accessibleName) {
        const int i = Add(parent, WidgetKind::Button, name, place);
        FormWidget& w = (*this)[i];
        w.Text = std::string(caption);
        w.Cursor = CursorKind::PointingHand;
        w.Bind = bind;
        w.AccessibleName = std::string(accessibleName);
        return i;
    }

    // A hint that never changes; the widget explains itself with the help cursor.
    void StaticHint(int i, std::string_view hint) {
        (*this)[i].Hint = std::string(hint);
        (*this)[i].Cursor = CursorKind::Help;
    }
};

template <class Texts>
std::vector<std::string> Rows(const Texts& texts) {
    std::vector<std::string> rows;
    for (const auto& text : texts) {
        rows.emplace_back(text);
    }
    return rows;
}

Binding On(BoundField field, int index = 0, int chara = -1) {
    return {field, static_cast<int8_t>(chara), static_cast<int8_t>(index)};
}

void BuildEquipGroup(Builder& b, int page, int chara, const std::string& where) {
    const TCharaDef& def = CharaDef(chara);
    const int group = b.Group(page, {}, "ステータスUP装備", {8, 0, 209, 377});
    int top = 16;
    for (TWearSlot slot : def.PageRows) {
        const int position = *SlotPosition(chara, slot);
        const std::string_view caption = WearSlotCaption(slot);
        const int label = b.Caption(group, caption, 8, top + 4);
        if (!def.CaptionHints[position].empty()) {
            b.StaticHint(label, def.CaptionHints[position]);
        }
        std::vector<std::string> items;
        for (const TEquipEntry& entry : EquipList(chara, position)) {
            items.emplace_back(entry.Text);
        }
        const size_t entries = items.size();
        const std::string name =
            "ComboBox_" + std::string(def.Name) + std::string(WearSlotKey(slot));
        const int list =
            b.List(group, name, {40, top, 121, kListHeight}, RowsFor(entries), std::move(items),
                   On(BoundField::EquipItem, position, chara), caption, where + "ステータスUP装備");
        b[list].FitMaxWidth = 161;
        b[list].FitExtra = 28;
        switch (slot) {
            case TWearSlot::Top:
            case TWearSlot::Pants:
                b.StaticHint(list, kSeparatesHint);
                break;
            case TWearSlot::TopPants:
                b.StaticHint(list, kOutfitHint);
                break;
            case TWearSlot::Waist:
                b.StaticHint(list, kWaistHint);
                break;
            default:
                break;
        }
        top += kRowPitch;
    }
}

void BuildCardGroup(Builder& b, int page, int chara, const std::string& where) {
    const TCharaDef& def = CharaDef(chara);
    const int group = b.Group(page, def.CardGroupName, "カード", {224, 0, 169, 153});
    const TDisplay initial{};
    const TCharaPageDisplay& shown = initial.Pages[chara];
    struct CardRow {
        std::string_view Key;
        std::string_view Caption;
        int Top;
        int Rows;
        BoundField Field;
        int Index;
        const std::vector<std::string>* Items;
    };
    const CardRow rows[] = {
        {"CharaCard1", "上", 28, 30, BoundField::CharaCard, 0, &shown.CharaCardItems[0]},
        {"CharaCard2", "下", 48, 30, BoundField::CharaCard, 1, &shown.CharaCardItems[1]},
        {"CharaCard3", "頭", 68, 30, BoundField::CharaCard, 2, &shown.CharaCardItems[2]},
        {"CaddieCard1", "上", 104, 15, BoundField::CaddieCard, 0, &shown.CaddieCardItems[0]},
        {"CaddieCard2", "靴", 124, 15, BoundField::CaddieCard, 1, &shown.CaddieCardItems[1]},
    };
    b.Caption(group, "キャラクターカード", 8, 14);
    b.Caption(group, "キャディカード", 8, 90);
    for (const CardRow& row : rows) {
        b.Caption(group, row.Caption, 8, row.Top + 3);
        const std::string name = "cb" + std::string(def.Name) + std::string(row.Key);
        const std::string_view section =
            row.Field == BoundField::CharaCard ? "キャラクターカード" : "キャディカード";
        const int list =
            b.List(group, name, {24, row.Top, 129, kCardListHeight}, row.Rows, *row.Items,
                   On(row.Field, row.Index, chara), row.Caption, where + std::string(section));
        b[list].Font = kCardListFont;
    }
}

void BuildSlotGroup(Builder& b, int page, int chara, const std::string& where) {
    const int group = b.Group(page, {}, "スロット強化", {224, 160, 169, 217});
    for (int j = 0; j < kStatCount; ++j) {
        const int top = 16 + j * kRowPitch;
        const std::string n = std::to_string(5 * chara + j + 1);
        b.Caption(group, kStatCaptions[j], 16, top + 4);
        b.Spinner(group, "UpDown" + n, "Edit" + n, 88, top, CharaSpinnerMax(j),
                  On(BoundField::CharaSlotUp, j, chara), kStatCaptions[j], where + "スロット強化");
        b.Output(group, "Label_S" + n, On(BoundField::SlotLimit, j, chara), 136, top + 8);
    }
    b.Caption(group, "キャラ強化に必要なPP", 16, 144, kBlue);
    const int needed =
        b.Figure(group, kPagePPLabels[chara][0], On(BoundField::CharaPPNeeded, 0, chara), 80, 168,
                 LabelAnchor::Right);
    b.StaticHint(needed, kPPNeededHint);
    const int total = b.Output(group, kPagePPLabels[chara][1],
                               On(BoundField::CharaPPTotal, 0, chara), 80, 192, LabelAnchor::Right);
    b.StaticHint(total, kPPTotalHint);
}

void BuildCharaGroup(Builder& b) {
    const int group = b.Group(0, "GroupBox1", "キャラ・装備", {8, 8, 425, 489});
    b.Caption(group, "レベル", 8, 16);
    b.List(group, "ComboBox1", {8, 32, 145, kListHeight}, 20, Rows(kLevelNames),
           On(BoundField::Level), "レベル", "キャラ・装備");
    b.Caption(group, "キャラクター", 8, 56);
    const int pages = b.Add(group, WidgetKind::PageControl, "PageControl1", {8, 72, 409, 409});
    b[pages].Bind = On(BoundField::Page);
    b[pages].AccessibleName = "キャラクター";
    b[pages].AccessibleDescription = "キャラ・装備";
    for (const TCharaDef& def : Roster()) {
        const int c = def.Index;
        // The page control shows its pages below the 20-pixel tabs, inside its frame.
        const int page =
            b.Add(pages, WidgetKind::Page, "TabSheet" + std::to_string(c + 1), {2, 20, 405, 387});
        b[page].Text = std::string(def.Caption);
        b[page].AccessibleName = std::string(def.Caption);
        const std::string where = std::string(def.Caption) + "のページ、";
        BuildEquipGroup(b, page, c, where);
        BuildCardGroup(b, page, c, where);
        BuildSlotGroup(b, page, c, where);
    }
}

void BuildSideGroups(Builder& b) {
    int group = b.Group(0, "gbSpecialCard", "スペシャルカード", {440, 8, 185, 65});
    b.List(group, "cbSpecialCard", {8, 24, 129, kListHeight}, 30, Rows(kSpecialCardTexts),
           On(BoundField::SpecialCard), "スペシャルカード");

    group = b.Group(0, "GroupBox3", "キャディ", {440, 80, 185, 89});
    std::vector<std::string> caddies;
    for (const TCaddie& caddie : Caddies()) {
        caddies.emplace_back(caddie.Name);
    }
    b.List(group, "ComboBox3", {8, 16, 129, kListHeight}, 30, std::move(caddies),
           On(BoundField::Caddie), "キャディ");
    const int effect = b.Output(group, "Label_CaddieEffect", On(BoundField::CaddieEffect), 8, 56);
    b[effect].TextColour = kBlue;

    group = b.Group(0, "GroupBox2", "クラブ", {440, 176, 185, 321});
    std::vector<std::string> clubs;
    for (const TClubSet& set : ClubSets()) {
        clubs.emplace_back(set.Caption);
    }
    b.List(group, "ComboBox2", {8, 16, 145, kListHeight}, 40, std::move(clubs),
           On(BoundField::Club), "クラブ");
    const int fullTune = b.Button(group, "Button_ClubFullTune", "F", {158, 16, 19, 19},
                                  On(BoundField::FullTune), "フルチューン");
    b[fullTune].AccessibleDescription = "クラブ";
    for (int i = 0; i < kStatCount; ++i) {
        const int top = 48 + i * kRowPitch;
        const std::string n = std::to_string(i + 1);
        b.Caption(group, kStatCaptions[i], 8, top + 4);
        const int base = b.Output(group, "Label_Club" + n, On(BoundField::ClubBase, i), 72, top + 4,
                                  LabelAnchor::Fixed, 17);
        b[base].Align = TextAlign::Center;
        b.Caption(group, "+", 96, top + 4);
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
