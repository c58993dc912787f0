#include <string>

#include "characters/catalogue.h"
#include "characters/roster.h"
#include "form/form_table.h"

namespace form_table {

namespace {

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
        std::vector<std::string> items = Rows(EquipList(chara, position), &TEquipEntry::Text);
        const size_t entries = items.size();
        const std::string name =
            "ComboBox_" + std::string(def.Name) + std::string(WearSlotKey(slot));
        const int list =
            b.List(group, name, {40, top, 121, kListHeight}, RowsFor(entries), std::move(items),
                   On(BoundField::EquipItem, position, chara), caption, where + "ステータスUP装備");
        b[label].FocusControl = list;
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
    const CharaPageDisplay& shown = initial.Pages[chara];
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
        const int label = b.Caption(group, row.Caption, 8, row.Top + 3);
        const std::string name = "cb" + std::string(def.Name) + std::string(row.Key);
        const std::string_view section =
            row.Field == BoundField::CharaCard ? "キャラクターカード" : "キャディカード";
        const int list =
            b.List(group, name, {24, row.Top, 129, kCardListHeight}, row.Rows, *row.Items,
                   On(row.Field, row.Index, chara), row.Caption, where + std::string(section));
        b[list].Font = kCardListFont;
        b[label].FocusControl = list;
    }
}

void BuildSlotGroup(Builder& b, int page, int chara, const std::string& where) {
    const int group = b.Group(page, {}, "スロット強化", {224, 160, 169, 217});
    for (int j = 0; j < kStatCount; ++j) {
        const int top = 16 + j * kRowPitch;
        const std::string n = std::to_string(5 * chara + j + 1);
        const int label = b.Caption(group, kStatCaptions[j], 16, top + 4);
        b[label].FocusControl = b.Spinner(group, "UpDown" + n, "Edit" + n, 88, top,
                                          CharaSpinnerMax(j), On(BoundField::CharaSlotUp, j, chara),
                                          kStatCaptions[j], where + "スロット強化");
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
}  // namespace

void AddCharaPage(Builder& b, int pages, int chara) {
    const TCharaDef& def = CharaDef(chara);
    // The page control shows its pages below the 20-pixel tabs, inside its frame.
    const int page =
        b.Add(pages, WidgetKind::Page, "TabSheet" + std::to_string(chara + 1), {2, 20, 405, 387});
    b[page].Text = std::string(def.Caption);
    b[page].AccessibleName = std::string(def.Caption);
    const std::string where = std::string(def.Caption) + "のページ、";
    BuildEquipGroup(b, page, chara, where);
    BuildCardGroup(b, page, chara, where);
    BuildSlotGroup(b, page, chara, where);
}

}  // namespace form_table
