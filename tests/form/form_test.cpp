#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <utility>

#include "characters/catalogue.h"
#include "characters/roster.h"
#include "form/binding.h"
#include "form/form.h"

namespace {

const std::vector<FormWidget>& Widgets() {
    return MainForm().Widgets;
}

bool IsControl(WidgetKind kind) {
    return kind == WidgetKind::List || kind == WidgetKind::Spinner || kind == WidgetKind::Button ||
           kind == WidgetKind::PageControl || kind == WidgetKind::Page;
}

// The page (roster position) a widget lies on, or -1.
int PageOf(int index) {
    int page = -1;
    for (int i = index; i >= 0; i = Widgets()[static_cast<size_t>(i)].Parent) {
        if (Widgets()[static_cast<size_t>(i)].Kind == WidgetKind::Page) {
            page = std::stoi(Widgets()[static_cast<size_t>(i)].Name.substr(8)) - 1;
        }
    }
    return page;
}

// The widest a widget can get: fitted lists up to their bound, labels by their text
// (not known here, so only their left edge counts).
int MaxWidth(const FormWidget& w) {
    return w.FitMaxWidth > 0 ? w.FitMaxWidth : w.Width;
}

}  // namespace

// The table is a tree in creation order: the form first, every parent before its
// children, pages only in the page control, every object name once.
TEST(FormTable, TreeInCreationOrderWithUniqueNames) {
    ASSERT_FALSE(Widgets().empty());
    EXPECT_EQ(Widgets()[0].Kind, WidgetKind::Form);
    EXPECT_EQ(Widgets()[0].Name, "Form1");
    std::set<std::string> names;
    for (size_t i = 1; i < Widgets().size(); ++i) {
        const FormWidget& w = Widgets()[i];
        ASSERT_GE(w.Parent, 0) << i;
        ASSERT_LT(w.Parent, static_cast<int>(i)) << w.Name;
        const WidgetKind parent = Widgets()[static_cast<size_t>(w.Parent)].Kind;
        EXPECT_EQ(w.Kind == WidgetKind::Page, parent == WidgetKind::PageControl) << w.Name;
        EXPECT_TRUE(parent == WidgetKind::Form || parent == WidgetKind::GroupBox ||
                    parent == WidgetKind::Page || parent == WidgetKind::PageControl)
            << w.Name;
        if (!w.Name.empty()) {
            EXPECT_TRUE(names.insert(w.Name).second) << "twice: " << w.Name;
            EXPECT_EQ(FindWidget(MainForm(), w.Name), static_cast<int>(i));
        }
        if (!w.EditName.empty()) {
            EXPECT_TRUE(names.insert(w.EditName).second) << "twice: " << w.EditName;
        }
    }
    EXPECT_EQ(FindWidget(MainForm(), "NoSuchWidget"), -1);
    // 190 lists, 55 spinners with their number boxes, 3 buttons, the named labels,
    // groups and pages of the window.
    EXPECT_EQ(std::count_if(Widgets().begin(), Widgets().end(),
                            [](const FormWidget& w) { return w.Kind == WidgetKind::List; }),
              4 + kEquipListCount + 5 * CharaCount);
    EXPECT_EQ(std::count_if(Widgets().begin(), Widgets().end(),
                            [](const FormWidget& w) { return w.Kind == WidgetKind::Spinner; }),
              5 * CharaCount + 5);
}

// Every widget lies inside its parent, and no two controls of one parent overlap.
TEST(FormTable, ControlsInsideTheirParentsWithoutOverlap) {
    std::map<int, std::vector<const FormWidget*>> controls;
    for (size_t i = 1; i < Widgets().size(); ++i) {
        const FormWidget& w = Widgets()[i];
        const FormWidget& parent = Widgets()[static_cast<size_t>(w.Parent)];
        EXPECT_GE(w.Left, 0) << w.Name;
        EXPECT_GE(w.Top, 0) << w.Name;
        EXPECT_LE(w.Left + MaxWidth(w), parent.Width) << w.Name << " " << w.Text;
        EXPECT_LE(w.Top + w.Height, parent.Height) << w.Name << " " << w.Text;
        if (w.Kind != WidgetKind::Label) {
            EXPECT_GT(w.Width, 0) << w.Name;
            EXPECT_GT(w.Height, 0) << w.Name;
        } else if (w.Anchor != LabelAnchor::Fixed) {
            EXPECT_EQ(w.Width, 0) << w.Name << " " << w.Text;
        }
        if (IsControl(w.Kind) && w.Kind != WidgetKind::Page) {
            controls[w.Parent].push_back(&w);
        }
    }
    for (const auto& [parent, list] : controls) {
        for (size_t a = 0; a < list.size(); ++a) {
            for (size_t b = a + 1; b < list.size(); ++b) {
                const FormWidget& p = *list[a];
                const FormWidget& q = *list[b];
                const bool apart = p.Left + MaxWidth(p) <= q.Left ||
                                   q.Left + MaxWidth(q) <= p.Left || p.Top + p.Height <= q.Top ||
                                   q.Top + q.Height <= p.Top;
                EXPECT_TRUE(apart) << p.Name << " overlaps " << q.Name;
            }
        }
    }
}

// Each page is made from its roster entry: one list per wear slot with that slot's
// rows, named for the character and the slot, bound to the slot's position.
TEST(FormPages, WearSlotListsFollowTheRoster) {
    for (const TCharaDef& def : Roster()) {
        const int page = FindWidget(MainForm(), "TabSheet" + std::to_string(def.Index + 1));
        ASSERT_GE(page, 0);
        EXPECT_EQ(Widgets()[static_cast<size_t>(page)].Text, def.Caption);
        std::set<int> positions;
        std::vector<std::string> rowCaptions;
        for (size_t i = 0; i < Widgets().size(); ++i) {
            const FormWidget& w = Widgets()[i];
            if (w.Bind.Field != BoundField::EquipItem || w.Bind.Chara != def.Index) {
                continue;
            }
            EXPECT_EQ(PageOf(static_cast<int>(i)), def.Index) << w.Name;
            const TWearSlot slot = def.Slots[static_cast<size_t>(w.Bind.Index)];
            EXPECT_EQ(w.Name, "ComboBox_" + std::string(def.Name) + std::string(WearSlotKey(slot)));
            EXPECT_EQ(w.AccessibleName, WearSlotCaption(slot)) << w.Name;
            const auto entries = EquipList(def.Index, w.Bind.Index);
            ASSERT_EQ(w.Items.size(), entries.size()) << w.Name;
            for (size_t k = 0; k < entries.size(); ++k) {
                EXPECT_EQ(w.Items[k], entries[k].Text) << w.Name;
            }
            EXPECT_GE(w.VisibleRows, std::min<int>(static_cast<int>(entries.size()), 30)) << w.Name;
            EXPECT_TRUE(positions.insert(w.Bind.Index).second) << w.Name;
            rowCaptions.push_back(w.AccessibleName);
        }
        EXPECT_EQ(positions.size(), def.Slots.size()) << def.Name;
        // Top to bottom in the page order, not in the settings order.
        ASSERT_EQ(rowCaptions.size(), def.PageRows.size());
        for (size_t k = 0; k < rowCaptions.size(); ++k) {
            EXPECT_EQ(rowCaptions[k], WearSlotCaption(def.PageRows[k])) << def.Name << " " << k;
        }
    }
}

// Every input widget reads and writes a field of its own: writing a distinct value
// through each binding, every binding reads back its own value.
TEST(FormBindings, InputsBindDistinctSelectionFields) {
    TSimState state;
    std::set<const int32_t*> fields;
    std::vector<std::pair<Binding, int32_t>> written;
    int32_t value = 1;
    for (const FormWidget& w : Widgets()) {
        const int32_t* field = BoundValue(state, w.Bind);
        const bool input = w.Kind == WidgetKind::List || w.Kind == WidgetKind::Spinner ||
                           w.Kind == WidgetKind::PageControl;
        EXPECT_EQ(field != nullptr, input) << w.Name;
        if (field == nullptr) {
            continue;
        }
        EXPECT_TRUE(fields.insert(field).second) << w.Name << " shares its field";
        const auto* begin = reinterpret_cast<const char*>(&state);
        const auto* at = reinterpret_cast<const char*>(field);
        EXPECT_TRUE(at >= begin && at < begin + sizeof state) << w.Name;
        const int32_t v = w.Kind == WidgetKind::Spinner ? value % (w.Max + 1) : value;
        SetBoundValue(state, w.Bind, v);
        written.emplace_back(w.Bind, v);
        ++value;
        EXPECT_NE(OperationOnChange(w.Bind), UserOperation::None) << w.Name;
    }
    for (const auto& [bind, v] : written) {
        EXPECT_EQ(*BoundValue(state, bind), v) << FieldName(bind.Field);
    }
    // A club spinner clamps as the spinner does; its bound is the one it shows.
    const Binding clubPower{BoundField::ClubSlotUp, -1, 0};
    SetBoundValue(state, clubPower, 99);
    EXPECT_EQ(*BoundValue(state, clubPower), state.ClubSpinners[0].Max);
    EXPECT_EQ(BoundMax(state, clubPower), &state.ClubSpinners[0].Max);
    SetBoundValue(state, clubPower, -5);
    EXPECT_EQ(*BoundValue(state, clubPower), 0);
}

// Every output label shows a display text of its own and starts with the text a fresh
// display holds; hints, rows and enable flags are bound once each.
TEST(FormBindings, OutputsBindDistinctDisplayValues) {
    const TDisplay display;
    std::set<const void*> bound;
    int texts = 0;
    for (const FormWidget& w : Widgets()) {
        if (const std::string* text = BoundText(display, w.Bind)) {
            EXPECT_EQ(w.Kind, WidgetKind::Label) << w.Name;
            EXPECT_EQ(w.Text, *text) << w.Name;
            EXPECT_FALSE(w.Name.empty());
            EXPECT_TRUE(bound.insert(text).second) << w.Name;
            ++texts;
        }
        const BoundHint hint = BoundHintOf(display, w.Bind);
        if (hint.Text != nullptr) {
            EXPECT_TRUE(bound.insert(hint.Text).second) << w.Name;
            EXPECT_TRUE(w.Hint.empty()) << w.Name << " has a fixed and a changing hint";
            EXPECT_NE(w.Cursor, CursorKind::Help) << w.Name;
        }
        EXPECT_EQ(w.Cursor == CursorKind::HelpWhenHinted,
                  hint.Text != nullptr && w.Kind == WidgetKind::Label)
            << w.Name;
        if (const auto* items = BoundItems(display, w.Bind)) {
            EXPECT_EQ(w.Items, *items) << w.Name;
            EXPECT_TRUE(bound.insert(items).second) << w.Name;
        }
        // The body-slot lists, and only they, switch on and off and explain why.
        const bool* enabled = BoundEnabled(display, w.Bind);
        EXPECT_EQ(enabled != nullptr, w.Kind == WidgetKind::List && !w.Hint.empty()) << w.Name;
        if (enabled != nullptr) {
            EXPECT_TRUE(bound.insert(enabled).second) << w.Name;
        }
    }
    // Per page: five slot limits and two PP figures; then the caddie effect, five club
    // values, five club limits, two club PP figures, five final values, two penalties,
    // three distances and the total.
    EXPECT_EQ(texts, CharaCount * 7 + 1 + 5 + 5 + 2 + 5 + 2 + 3 + 1);
}

// A screen reader can tell every control apart: each has a name, and no two have the
// same name and description.
TEST(FormAccessibility, EveryControlNamedDistinctly) {
    std::set<std::pair<std::string, std::string>> seen;
    for (const FormWidget& w : Widgets()) {
        if (!IsControl(w.Kind)) {
            continue;
        }
        EXPECT_FALSE(w.AccessibleName.empty()) << w.Name;
        EXPECT_TRUE(seen.insert({w.AccessibleName, w.AccessibleDescription}).second)
            << w.Name << ": " << w.AccessibleName << " / " << w.AccessibleDescription;
    }
}

// A caption that labels a control for a screen reader labels one control, on the
// same parent, with the control's own accessible name.
TEST(FormAccessibility, CaptionsLabelControlsByTheirName) {
    std::set<int> labelled;
    for (const FormWidget& w : Widgets()) {
        if (w.FocusControl < 0) {
            continue;
        }
        ASSERT_LT(w.FocusControl, static_cast<int>(Widgets().size()));
        const FormWidget& control = Widgets()[static_cast<size_t>(w.FocusControl)];
        EXPECT_EQ(w.Kind, WidgetKind::Label) << w.Text;
        EXPECT_TRUE(IsControl(control.Kind)) << control.Name;
        EXPECT_EQ(w.Parent, control.Parent) << control.Name;
        EXPECT_EQ(w.Text, control.AccessibleName) << control.Name;
        EXPECT_TRUE(labelled.insert(w.FocusControl).second) << control.Name << " labelled twice";
    }
    // Every list and spinner on a page, the level list, the page control and the club
    // spinners.
    EXPECT_EQ(labelled.size(), static_cast<size_t>(kEquipListCount + 10 * CharaCount + 2 + 5));
}

// On a page, a list's or spinner's accessible name is the caption left of it on its row,
// and its description names the page's character first.
TEST(FormAccessibility, PageControlsNamedByTheirRowCaption) {
    int checked = 0;
    for (size_t i = 0; i < Widgets().size(); ++i) {
        const FormWidget& w = Widgets()[i];
        const int page = PageOf(static_cast<int>(i));
        if ((w.Kind != WidgetKind::List && w.Kind != WidgetKind::Spinner) || page < 0) {
            continue;
        }
        bool captioned = false;
        for (const FormWidget& label : Widgets()) {
            if (label.Kind == WidgetKind::Label && label.Parent == w.Parent && label.Name.empty() &&
                label.Left < w.Left && label.Top >= w.Top && label.Top < w.Top + w.Height) {
                EXPECT_EQ(label.Text, w.AccessibleName) << w.Name;
                EXPECT_EQ(label.FocusControl, static_cast<int>(i)) << w.Name;
                captioned = true;
            }
        }
        EXPECT_TRUE(captioned) << w.Name;
        EXPECT_EQ(
            w.AccessibleDescription.rfind(std::string(CharaDef(page).Caption) + "のページ、", 0),
            0u)
            << w.Name;
        ++checked;
    }
    EXPECT_EQ(checked, kEquipListCount + 10 * CharaCount);
}

// The JSON text is deterministic and holds no raw control characters; its content is
// checked where a JSON parser is at hand (test_ui).
TEST(FormJsonText, DeterministicAndEscaped) {
    const std::string json = FormJson();
    EXPECT_EQ(json, FormJson());
    EXPECT_TRUE(std::none_of(json.begin(), json.end(),
                             [](char ch) { return static_cast<unsigned char>(ch) < 0x20; }));
}
