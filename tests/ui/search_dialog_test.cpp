// The build search's dialog through the real window: opened by its key and by the
// window's context menu, the query of its controls searched off the window's thread and
// shown as the search answers it, an answer applied as one step that shows exactly the
// answer's figures, the empty answer explained, and a search cancelled.

#include <QApplication>
#include <QCheckBox>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QListWidget>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <chrono>
#include <thread>

#include "characters/roster.h"
#include "search/search.h"
#include "search_dialog_support.h"
#include "ui/qt_text.h"
#include "ui/search_curve.h"

namespace {

// Takes the entry "ビルド探索…" of the window's context menu, opened as a right click on
// a label opens it; gives the menu's entries.
QStringList OpenByMenu(const TForm1& form) {
    QStringList entries;
    QTimer::singleShot(0, [&] {
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            QAction* taken = nullptr;
            for (QAction* action : menu->actions()) {
                entries << action->text();
                taken = action->text() == QStringLiteral("ビルド探索…") ? action : taken;
            }
            menu->close();
            if (taken != nullptr) {
                taken->trigger();
            }
        }
    });
    auto* label = Find<QLabel>(form, "Label22");
    QContextMenuEvent click(QContextMenuEvent::Mouse, QPoint(2, 2),
                            label->mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(label, &click);
    QApplication::processEvents();
    return entries;
}

// Sets the dialog's controls to `query` (on the shown character) the way a user does.
void Describe(SearchDialog& dialog, const SearchQuery& query) {
    QTest::mouseClick(Find<QPushButton>(dialog, "SearchFreeNone"), Qt::LeftButton);
    for (int part = 0; part < kSearchPartCount; ++part) {
        if (query.Free[static_cast<size_t>(part)]) {
            Find<QCheckBox>(dialog, "SearchFree_" + Q(SearchPartName(part)))->click();
        }
    }
    for (int m = 0; m < kMinimumCount; ++m) {
        const QString name = Q(MinimumName(m));
        Find<QCheckBox>(dialog, "SearchMinOn_" + name)->setChecked(query.Min[m].has_value());
        Find<QSpinBox>(dialog, "SearchMin_" + name)->setValue(query.Min[m].value_or(0));
    }
    Find<QCheckBox>(dialog, "SearchNoPenalty")->setChecked(query.NoPenalty);
    Find<QCheckBox>(dialog, "SearchBudgetOn")->setChecked(query.Budget.has_value());
    Find<QSpinBox>(dialog, "SearchBudget")->setValue(query.Budget.value_or(0));
    Find<QComboBox>(dialog, "SearchObjective")->setCurrentIndex(static_cast<int>(query.Objective));
    Find<QSpinBox>(dialog, "SearchResults")->setValue(query.Results);
}

// A row of the answer table as the player sees it (the columns of holdings only
// within them).
QStringList Row(const QTableWidget& table, int row) {
    QStringList cells;
    for (int c = 0; c < table.columnCount(); ++c) {
        if (table.isColumnHidden(c)) {
            continue;
        }
        cells << table.item(row, c)->text();
    }
    return cells;
}

// The figures of a build as the table's columns hold them, after rank and character.
QStringList FigureCells(const BuildFigures& f) {
    QStringList cells;
    for (int i = 0; i < kStatCount; ++i) {
        cells << QString::number(StatField(f.Final, i));
    }
    cells << QString::number(f.Final.Pow + f.Final.Ctrl + f.Final.Exa + f.Final.Spin + f.Final.Cur)
          << (f.Penalty < 0 ? QStringLiteral("(%1)").arg(f.Penalty) : QString());
    for (const int32_t d : f.Distances) {
        cells << QStringLiteral("%1y").arg(d);
    }
    return cells << QStringLiteral("%1 PP").arg(f.PP);
}

void DoubleClickRow(QTableWidget& table, int row) {
    const QPoint at = table.visualItemRect(table.item(row, SearchDialog::kPPColumn)).center();
    // The view takes a double-click only on the row its press picked.
    QTest::mouseClick(table.viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(table.viewport(), Qt::LeftButton, {}, at);
    QApplication::processEvents();
}

}  // namespace

// Ctrl+F and the context menu's entry beside the build-code entries open the one dialog;
// its wear-slot boxes are the rows of the chosen character's page, and for every
// character, every kind of slot, each told apart.
TEST_F(SearchDialogWindow, OpensByKeyAndMenuWithTheChosenCharactersSlots) {
    EXPECT_TRUE(dialog->isVisible());
    dialog->close();
    EXPECT_EQ(OpenByMenu(*form), QStringList({"ビルドコードをコピー", "ビルドコードを貼り付け",
                                              "ビルド探索…", "持ち物…"}));
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(form->findChildren<SearchDialog*>().size(), 1);

    const auto shownSlots = [&] {
        QStringList captions;
        for (int part = 0; part < kWearPartCount; ++part) {
            auto* box = Find<QCheckBox>(*dialog, "SearchFree_" + Q(SearchPartName(part)));
            if (box->isVisibleTo(dialog)) {
                captions << box->text();
            }
        }
        return captions;
    };
    auto* character = Find<QComboBox>(*dialog, "SearchCharacter");
    ASSERT_EQ(character->count(), CharaCount + 2);
    for (int entry = 0; entry < character->count(); ++entry) {
        character->setCurrentIndex(entry);
        const int chara = entry == 0 ? 0 : entry - 1;
        if (entry <= CharaCount) {
            EXPECT_EQ(character->itemText(entry).contains(Q(CharaDef(chara).Caption)), true);
            QStringList rows;
            for (const TWearSlot slot : CharaDef(chara).PageRows) {
                rows << Q(WearSlotCaption(slot));
            }
            const QStringList shown = shownSlots();
            EXPECT_EQ(shown.size(), rows.size()) << entry;
            EXPECT_EQ(QSet<QString>(shown.begin(), shown.end()),
                      QSet<QString>(rows.begin(), rows.end()))
                << entry;
        } else {  // every part, each with a caption of its own
            const QStringList shown = shownSlots();
            EXPECT_EQ(QSet<QString>(shown.begin(), shown.end()).size(), kWearPartCount);
        }
        EXPECT_NO_THROW(ValidateQuery(dialog->Query())) << entry;
    }
    // "すべて" and "なし" set every part, shown or not.
    Click("SearchFreeNone");
    EXPECT_EQ(dialog->Query().Free, (std::array<bool, kSearchPartCount>{}));
    Click("SearchFreeAll");
    EXPECT_EQ(dialog->Query().Free, SearchQuery::AllFree());
}

// Over queries of every objective, with minimums and a budget, most parts kept: the
// table holds the current selection and then exactly what RunSearch answers for the
// window's selection; the query the controls describe is the one meant. A double-click
// (or "適用", or a step of the curve) shows the build in the window as one step whose
// figures are the answer's, and Ctrl+Z brings back the selection before it.
TEST_F(SearchDialogWindow, ShowsTheSearchsAnswersAndAppliesOneAsOneStep) {
    MessageBoxCloser boxes;
    auto* table = Find<QTableWidget>(*dialog, "SearchAnswers");
    auto* curve = Find<CurvePlot>(*dialog, "SearchCurve");
    WindowDriver drive(*form);

    const auto freed = [](std::initializer_list<int> parts) {
        std::array<bool, kSearchPartCount> free{};
        for (const int part : parts) {
            free[static_cast<size_t>(part)] = true;
        }
        return free;
    };
    const int head1 = static_cast<int>(TWearSlot::Head1);
    const int face = static_cast<int>(TWearSlot::Face);
    std::vector<SearchQuery> queries;
    for (int objective = 0; objective < kObjectiveCount; ++objective) {
        SearchQuery q;
        q.Objective = static_cast<SearchObjective>(objective);
        q.Free = objective % 3 == 0 ? freed({head1, face, kPartCaddie, kPartSlotUp})
                 : objective % 3 == 1
                     ? freed({kPartSpecialCard, kPartCharaCard1, kPartClubSlotUp + 1})
                     : freed({face, kPartCaddieCard1, kPartSlotUp + 3, kPartSlotUp + 4});
        q.NoPenalty = objective % 2 == 0;
        q.Results = 3 + objective * 4;
        if (objective % 4 == 1) {
            q.Budget = 35000 + 10000 * objective;
        }
        if (objective >= 5) {
            q.Min[static_cast<size_t>(objective - 5)] = 5;
        }
        queries.push_back(q);
    }

    int applied = 0;
    for (size_t i = 0; i < queries.size(); ++i) {
        SCOPED_TRACE("query " + std::to_string(i));
        const SearchQuery& query = queries[i];
        Describe(*dialog, query);
        const SearchResult expected = RunSearch(form->Simulator(), query);
        Search();
        ASSERT_NE(dialog->Shown(), nullptr);
        ASSERT_FALSE(expected.Answers.empty());

        ASSERT_EQ(table->rowCount(), 1 + static_cast<int>(expected.Answers.size()));
        EXPECT_EQ(Row(*table, 0), QStringList({"現在", "バスチ"}) + FigureCells(expected.Current)
                                      << QString() << QString());
        for (size_t k = 0; k < expected.Answers.size(); ++k) {
            const SearchAnswer& a = expected.Answers[k];
            QStringList texts;
            for (const std::string& text : a.ChangeTexts) {
                texts << Q(text);
            }
            if (texts.isEmpty()) {
                texts << QStringLiteral("変更なし");
            }
            const int row = static_cast<int>(k) + 1;
            EXPECT_EQ(Row(*table, row),
                      QStringList({QString::number(k + 1), Q(CharaDef(a.Build.TabIndex).Caption)}) +
                              FigureCells(a.Figures)
                          << QString::number(a.Changes) << texts.join(" / "));
            EXPECT_EQ(table->item(row, 0)->toolTip(), texts.join('\n'));
        }
        // The first answer is picked, its changes listed below the table.
        auto* changes = Find<QListWidget>(*dialog, "SearchChanges");
        const SearchAnswer& first = expected.Answers[0];
        ASSERT_EQ(changes->count(),
                  1 + std::max<int>(1, static_cast<int>(first.ChangeTexts.size())));
        for (size_t k = 0; k < first.ChangeTexts.size(); ++k) {
            EXPECT_EQ(changes->item(static_cast<int>(k) + 1)->text(), Q(first.ChangeTexts[k]));
        }
        EXPECT_EQ(curve->StepCount(), static_cast<int>(expected.Curve.size()));
        EXPECT_EQ(query.Objective == SearchObjective::LeastPP, expected.Curve.empty());

        // Apply: by double-click on the last answer, by "適用" on the first, or by a click
        // on the curve's last step and "適用".
        const TSimState before = form->Simulator().State;
        const SearchAnswer* answer = nullptr;
        if (i % 3 == 0) {
            DoubleClickRow(*table, table->rowCount() - 1);
            answer = &expected.Answers.back();
        } else if (i % 3 == 1 || expected.Curve.empty()) {
            Click("SearchApply");
            answer = &first;
        } else {
            const int step = curve->StepCount() - 1;
            QTest::mouseClick(curve, Qt::LeftButton, {}, curve->StepPoint(step));
            EXPECT_EQ(curve->Picked(), step);
            Click("SearchApply");
            answer = &expected.Curve.back().Answer;
        }
        QApplication::processEvents();
        EXPECT_EQ(FiguresOf(form->Simulator()), answer->Figures);
        EXPECT_EQ(BuildOf(form->Simulator().State), answer->Build);
        EXPECT_EQ(form->Simulator().State.SavedPP, before.SavedPP);
        ExpectShowsCore(*form);
        if (!SameSelection(before, form->Simulator().State)) {
            ++applied;
            drive.Undo();
            EXPECT_TRUE(SameSelection(form->Simulator().State, before));
            ExpectShowsCore(*form);
        }
    }
    EXPECT_GE(applied, 6);
    EXPECT_EQ(boxes.Closed(), 0);
}

// When no build meets every minimum, the table holds the current selection alone and
// the message says so, then gives the core's reasons; a later answer hides it.
TEST_F(SearchDialogWindow, SaysWhyNothingFits) {
    SearchQuery query;
    query.Free = {};
    query.Free[static_cast<size_t>(TWearSlot::Face)] = true;
    query.Free[kPartCaddie] = true;
    query.Min[1] = 60;
    query.Min[3] = 5;
    query.Min[kMinDistance] = 400;
    Describe(*dialog, query);
    const SearchResult expected = RunSearch(form->Simulator(), query);
    ASSERT_TRUE(expected.Answers.empty());
    Search();

    EXPECT_EQ(Find<QTableWidget>(*dialog, "SearchAnswers")->rowCount(), 1);
    auto* message = Find<QLabel>(*dialog, "SearchMessage");
    EXPECT_TRUE(message->isVisibleTo(dialog));
    QStringList lines{QStringLiteral("条件をすべて満たすビルドはありません。")};
    for (const std::string& line : ReasonLines(expected)) {
        lines << (lines.size() == 1 ? QString() : QStringLiteral("・")) + Q(line);
    }
    ASSERT_EQ(lines.size(), 5);
    EXPECT_EQ(message->text(), lines.join('\n'));
    EXPECT_FALSE(Find<QPushButton>(*dialog, "SearchApply")->isEnabled());

    query.Min = {};
    Describe(*dialog, query);
    Search();
    EXPECT_FALSE(message->isVisibleTo(dialog));
}

// A long search runs beside the window: the window stays usable, past 200 ms the
// progress shows, "中止" stops it and the dialog says so; closing the window during a
// search ends it without waiting for the search to finish by itself.
TEST_F(SearchDialogWindow, ALongSearchShowsProgressAndCancels) {
    WindowDriver drive(*form);
    // A search that goes on until it is cancelled, or 10 s.
    const auto endless = [](const TSimulator&, const SearchQuery&, const SearchControl* control) {
        SearchResult result;
        const auto start = std::chrono::steady_clock::now();
        while (std::chrono::steady_clock::now() - start < std::chrono::seconds(10)) {
            control->Progress(0.5);
            if (control->Cancelled()) {
                result.Cancelled = true;
                return result;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return result;
    };
    dialog->SetRunner(endless);
    auto* progress = Find<QProgressBar>(*dialog, "SearchProgress");
    auto* run = Find<QPushButton>(*dialog, "SearchRun");
    auto* cancel = Find<QPushButton>(*dialog, "SearchCancel");
    EXPECT_FALSE(cancel->isEnabled());
    const auto started = std::chrono::steady_clock::now();
    Click("SearchRun");
    ASSERT_TRUE(dialog->Searching());
    EXPECT_FALSE(run->isEnabled());
    QTest::qWait(60);
    if (std::chrono::steady_clock::now() - started < std::chrono::milliseconds(180)) {
        EXPECT_FALSE(progress->isVisibleTo(dialog));
    }
    QTest::qWait(250);
    EXPECT_TRUE(progress->isVisibleTo(dialog));
    EXPECT_EQ(progress->value(), 500);

    const TSimState before = form->Simulator().State;
    WindowDriver::Step(drive.PageSpinners(0)[2], true);
    EXPECT_FALSE(SameSelection(before, form->Simulator().State));
    EXPECT_TRUE(dialog->Searching());

    const auto start = std::chrono::steady_clock::now();
    QTest::mouseClick(cancel, Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !dialog->Searching(); }, 2000));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
    EXPECT_EQ(TextOf(*dialog, "SearchStatus"), QStringLiteral("探索を中止しました。"));
    EXPECT_FALSE(progress->isVisibleTo(dialog));
    EXPECT_TRUE(run->isEnabled());
    EXPECT_FALSE(cancel->isEnabled());
    EXPECT_EQ(dialog->Shown(), nullptr);

    // The window goes while a search runs.
    Click("SearchRun");
    ASSERT_TRUE(dialog->Searching());
    const auto closing = std::chrono::steady_clock::now();
    form.reset();
    EXPECT_LT(std::chrono::steady_clock::now() - closing, std::chrono::seconds(2));
}

// A long search shows the best answers found so far while it runs, marked as not yet
// proved, and the player may already pick one; the ended search says its answers are
// proved best; a stopped one keeps what it found, saying it is not proved.
TEST_F(SearchDialogWindow, ALongSearchShowsItsAnswersSoFar) {
    auto* table = Find<QTableWidget>(*dialog, "SearchAnswers");
    SearchQuery small;
    small.Free.fill(false);
    small.Free[kPartSpecialCard] = true;
    small.Free[kPartCaddie] = true;
    small.Results = 4;
    const SearchResult real = RunSearch(form->Simulator(), small);
    ASSERT_EQ(real.Answers.size(), 4u);
    // Tells the first two answers, then all four, then ends (or is stopped).
    const auto slow = [&real](const TSimulator&, const SearchQuery&, const SearchControl* control) {
        SearchResult soFar = real;
        soFar.Proved = false;
        for (const size_t count : {2, 4}) {
            soFar.Answers.resize(count, real.Answers.back());
            std::copy_n(real.Answers.begin(), count, soFar.Answers.begin());
            control->Found(soFar);
            for (int wait = 0; wait < 40; ++wait) {
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
                if (control->Cancelled()) {
                    soFar.Cancelled = true;
                    return soFar;
                }
            }
        }
        return real;
    };
    dialog->SetRunner(slow);
    Click("SearchRun");
    ASSERT_TRUE(QTest::qWaitFor([&] { return table->rowCount() == 3; }, 2000));
    EXPECT_TRUE(dialog->Searching());
    EXPECT_EQ(TextOf(*dialog, "SearchStatus"),
              QStringLiteral("探索中… これまでの候補 2 件 (まだ最適とは限りません)"));
    table->selectRow(2);
    ASSERT_TRUE(QTest::qWaitFor([&] { return table->rowCount() == 5; }, 2000));
    EXPECT_EQ(table->selectedItems().front()->row(), 2);  // the pick stays
    ASSERT_TRUE(QTest::qWaitFor([&] { return !dialog->Searching(); }, 3000));
    EXPECT_TRUE(TextOf(*dialog, "SearchStatus").endsWith(QStringLiteral("最適を確認済み")));

    Click("SearchRun");
    ASSERT_TRUE(QTest::qWaitFor([&] { return table->rowCount() == 3; }, 2000));
    Click("SearchCancel");
    ASSERT_TRUE(QTest::qWaitFor([&] { return !dialog->Searching(); }, 2000));
    EXPECT_EQ(TextOf(*dialog, "SearchStatus"),
              QStringLiteral("探索を中止しました。見つけた候補 2 件は最適とは限りません。"));
    EXPECT_EQ(table->rowCount(), 3);
    ASSERT_NE(dialog->Shown(), nullptr);
    EXPECT_EQ(dialog->Shown()->Answers.size(), 2u);
}
