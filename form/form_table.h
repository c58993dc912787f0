#pragma once

// What form.cpp and chara_pages_form.cpp share to write the main window's table: the
// window's looks and sizes, and a builder that appends widgets in creation order.

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "engine/display.h"
#include "engine/status.h"
#include "form/binding.h"
#include "form/form.h"

namespace form_table {

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

constexpr std::string_view kPPNeededHint = "保存した状態からの必要PP";
constexpr std::string_view kPPTotalHint = "初期状態から現在までにかかったPP";

struct Place {
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
};

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

// The list rows of a table: its texts, or the member `text` of each of its entries.
template <class Table, class Text = std::identity>
std::vector<std::string> Rows(const Table& table, Text text = {}) {
    std::vector<std::string> rows;
    for (const auto& entry : table) {
        rows.emplace_back(std::invoke(text, entry));
    }
    return rows;
}

// The binding to `field`, item `index`, on the page of `chara` (-1: none).
inline Binding On(BoundField field, int index = 0, int chara = -1) {
    return {field, static_cast<int8_t>(chara), static_cast<int8_t>(index)};
}

// Adds page `chara` (roster position) to the page control `pages`: its equipment,
// card and slot-upgrade groups.
void AddCharaPage(Builder& b, int pages, int chara);

}  // namespace form_table
