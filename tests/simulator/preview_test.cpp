#include "simulator/preview.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "form/binding.h"
#include "form/form.h"
#include "tests/simulator/planner_starts.h"
#include "tests/support/sim_print.h"

namespace {

// The final group's figures that a preview names, as the labels show them.
std::vector<std::string> PreviewedLabels(const TDisplay& d) {
    return {d.Last[0].Text, d.Last[1].Text,        d.Last[2].Text,      d.Last[3].Text,
            d.Last[4].Text, d.ControlPenalty.Text, d.DistanceNormalText};
}

std::string Describe(ListRef list, int32_t entry) {
    return "list " + std::to_string(static_cast<int>(list.Kind)) + "/" +
           std::to_string(list.Chara) + "/" + std::to_string(list.Index) + " entry " +
           std::to_string(entry);
}

// Every entry of every list on one selection: the preview is what the window shows
// after really picking the entry (through the open list, recorded as the face records
// it), and undoing that pick gives the selection and displays back.
void CheckEveryEntry(const TSimulator& sim, int& failingPicks) {
    Previewer previewer;
    for (const ListRef list : AllLists()) {
        const int32_t entries = EntryCount(sim, list);
        for (int32_t entry = 0; entry < entries; ++entry) {
            SCOPED_TRACE(Describe(list, entry));
            const PreviewResult preview = previewer.Preview(sim, list, entry);

            TSimulator live = sim;
            History history;
            history.Start(live);
            try {
                OpenList(live, list);
            } catch (const ESimError&) {
            }
            std::string error;
            try {
                RecordChange(history, live, [&](TSimulator& s) { PickEntry(s, list, entry); });
            } catch (const ESimError& e) {
                error = e.what();
            }

            if (!error.empty()) {
                ++failingPicks;
                EXPECT_EQ(preview.Error, error);
                EXPECT_TRUE(preview.Lines.empty());
            } else {
                ASSERT_EQ(preview.Error, "");
                EXPECT_EQ(live.Display.ControlPenalty.Text, live.Display.AccuracyPenalty.Text);
                const std::vector<std::string> before = PreviewedLabels(sim.Display);
                const std::vector<std::string> after = PreviewedLabels(live.Display);
                size_t line = 0;
                for (size_t f = 0; f < before.size(); ++f) {
                    if (before[f] == after[f]) {
                        continue;
                    }
                    ASSERT_LT(line, preview.Lines.size()) << "figure " << f << " not previewed";
                    EXPECT_EQ(static_cast<size_t>(preview.Lines[line].Figure), f);
                    EXPECT_EQ(preview.Lines[line].Old, before[f]);
                    EXPECT_EQ(preview.Lines[line].New, after[f]);
                    ++line;
                }
                EXPECT_EQ(line, preview.Lines.size()) << "a figure that does not change";
            }

            if (history.UndoSteps() == 1) {
                try {
                    history.Undo(live);
                } catch (const ESimError&) {
                }
            }
            ASSERT_EQ(live.State, sim.State);
            ASSERT_EQ(live.Display, sim.Display);
        }
    }
}

}  // namespace

// The preview of every entry of every list agrees with really picking it, on selections
// reached by random use, drawn at random and the odd ones a settings file gives, where
// picks fail.
TEST(Preview, EveryEntryShowsWhatPickingItChanges) {
    int failingPicks = 0;
    for (const PlannerStart& start : PlannerStarts(4, 4)) {
        SCOPED_TRACE(start.Name);
        CheckEveryEntry(start.Sim, failingPicks);
    }
    EXPECT_GT(failingPicks, 0) << "no selection made a pick fail";
}

// The wording: one line per figure, the penalty's empty label as "なし", the error's
// message as its message box says it.
TEST(Preview, Text) {
    PreviewResult preview;
    EXPECT_EQ(PreviewText(preview), "変化なし");
    preview.Lines = {{PreviewFigure::Pow, "32", "34"},
                     {PreviewFigure::Cur, "9", "8"},
                     {PreviewFigure::Penalty, "", "(-2)"},
                     {PreviewFigure::DistanceNormal, "264y", "268y"}};
    EXPECT_EQ(PreviewText(preview),
              "パワー 32 → 34\nカーブ 9 → 8\nペナルティ(コントロール・正確度) なし → (-2)\n"
              "1Wの飛距離(通常) 264y → 268y");
    preview.Error = "範囲チェックエラー";
    EXPECT_EQ(PreviewText(preview), "範囲チェックエラー.");
}

// The form's list widgets and the core's lists are the same lists: each list widget
// names one list of AllLists() and every list is named once; the widget shows the field
// that a pick sets; a list whose rows are fixed has as many rows as entries.
TEST(Lists, EveryListWidgetOfTheFormIsOneListOfTheCore) {
    TSimulator sim;
    StatusCalculate(sim);
    std::vector<ListRef> named;
    for (const FormWidget& w : MainForm().Widgets) {
        const std::optional<ListRef> list = ListOfBinding(w.Bind);
        ASSERT_EQ(list.has_value(), w.Kind == WidgetKind::List) << w.Name;
        if (!list) {
            continue;
        }
        named.push_back(*list);
        EXPECT_EQ(BoundValue(sim.State, w.Bind), &SelectedEntry(sim.State, *list)) << w.Name;
        if (BoundItems(sim.Display, w.Bind) == nullptr) {
            EXPECT_EQ(EntryCount(sim, *list), static_cast<int32_t>(w.Items.size())) << w.Name;
        }
    }
    std::vector<ListRef> all = AllLists();
    const auto order = [](ListRef a, ListRef b) {
        return std::tuple(a.Kind, a.Chara, a.Index) < std::tuple(b.Kind, b.Chara, b.Index);
    };
    std::sort(named.begin(), named.end(), order);
    std::sort(all.begin(), all.end(), order);
    EXPECT_TRUE(named == all) << named.size() << " list widgets, " << all.size() << " lists";
}
