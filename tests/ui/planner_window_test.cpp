// The planner's keys and tips through the real window: undo and redo, build codes
// copied and pasted, and the preview beside the highlighted entry of an open list.

#include <QAbstractItemView>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QMenu>
#include <QScreen>
#include <QTest>
#include <optional>
#include <string>
#include <vector>

#include "characters/roster.h"
#include "form/form.h"
#include "random_window_user.h"
#include "settings/ini_file.h"
#include "simulator/build_code.h"
#include "simulator/history.h"
#include "simulator/preview.h"
#include "ui/chara_tabs.h"
#include "ui_test_support.h"

namespace {

QString Q(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// A selection with an outfit, cards, caddie, club set and counts, every list selected.
const char* const kStartFile = R"([Window]
Left=0
Top=0
[Character]
Level=9
TabIndex=0
[Bastian]
Top=4
Pants=7
Shoes=6
Hand=6
Head1=7
Face=5
Acce=2
Ring=1
CharaCard1=3
CharaCard2=5
CaddieCard1=1
PowSlotUp=4
CtrlSlotUp=3
[Caddie]
Caddie=3
[SpecialCard]
SpecialCard=1
[Club]
Club=21
[Club21]
PowSlotUp=2
CtrlSlotUp=1
)";

// Everything the window holds in its widgets, by object name: every label's and number
// box's text, every list's entry, rows and enabling, every spinner's bounds, and the
// shown page; with `visibleOnly`, only what can be seen (the hidden pages keep what
// their last calculation wrote).
using Shown = QMap<QString, QString>;

Shown ShownOf(const TForm1& form, bool visibleOnly = false) {
    Shown shown;
    for (const QLabel* label : form.findChildren<QLabel*>()) {
        if (!label->objectName().isEmpty() && (!visibleOnly || label->isVisibleTo(&form))) {
            shown.insert(label->objectName(), label->text());
        }
    }
    for (const QLineEdit* edit : form.findChildren<QLineEdit*>()) {
        if (!edit->objectName().isEmpty() && (!visibleOnly || edit->isVisibleTo(&form))) {
            shown.insert(edit->objectName(), edit->text());
        }
    }
    for (const QComboBox* list : form.findChildren<QComboBox*>()) {
        if (visibleOnly && !list->isVisibleTo(&form)) {
            continue;
        }
        QString rows;
        for (int i = 0; i < list->count(); ++i) {
            rows += list->itemText(i) + QLatin1Char('|');
        }
        shown.insert(
            list->objectName(),
            QStringLiteral("%1 %2 %3").arg(list->currentIndex()).arg(list->isEnabled()).arg(rows));
    }
    for (const QSpinBox* spinner : form.findChildren<QSpinBox*>()) {
        if (visibleOnly && !spinner->isVisibleTo(&form)) {
            continue;
        }
        shown.insert(spinner->objectName(), QString::number(spinner->maximum()));
    }
    shown.insert(QStringLiteral("page"),
                 QString::number(Find<TCharaPageControl>(form, "PageControl1")->ShownPage()));
    return shown;
}

// The first difference, for a failure's message.
std::string FirstDifference(const Shown& got, const Shown& expected) {
    for (auto it = expected.begin(); it != expected.end(); ++it) {
        if (got.value(it.key()) != it.value()) {
            return it.key().toStdString() + " shows \"" + got.value(it.key()).toStdString() +
                   "\", expected \"" + it.value().toStdString() + "\"";
        }
    }
    return got.size() == expected.size() ? "none" : "another set of widgets";
}

#define EXPECT_SHOWN(got, expected) \
    EXPECT_TRUE((got) == (expected)) << FirstDifference((got), (expected))
#define ASSERT_SHOWN(got, expected) \
    ASSERT_TRUE((got) == (expected)) << FirstDifference((got), (expected))

std::unique_ptr<TForm1> ActiveWindow(const TempSettings& settings) {
    auto form = ShownWindow(settings);
    form->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(form.get()));
    return form;
}

// The same selection, results and display values; the window position may differ.
bool SameShownSimulator(const TSimulator& a, const TSimulator& b) {
    return a.State == b.State && a.Results == b.Results && a.Display == b.Display;
}

}  // namespace

// A model of the history beside random actions: a step for every action that changes
// the selection, none for the others, Ctrl+Z and Ctrl+Y (or Ctrl+Shift+Z) move in it.
// After each undo or redo the window shows exactly what it showed when it was at that
// step; at the end, undoing everything gives back the start and redoing everything the
// end. Without saves the PP baselines stay, so every text must come back.
TEST(UndoKeys, FollowAModelOfStepsThroughRandomActions) {
    for (const unsigned seed : {11u, 12u}) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        TempSettings settings;
        settings.Write(kStartFile);
        auto form = ActiveWindow(settings);
        MessageBoxCloser boxes;
        RandomWindowUser user(*form, seed, {.Saves = false});
        std::vector<Shown> steps{ShownOf(*form)};
        size_t current = 0;
        TSimState before = form->Simulator().State;
        for (int i = 0; i < 220; ++i) {
            const RandomWindowUser::Kind kind = user.Act();
            const Shown now = ShownOf(*form);
            const TSimState& state = form->Simulator().State;
            if (kind == RandomWindowUser::Kind::Undo || kind == RandomWindowUser::Kind::Redo) {
                if (kind == RandomWindowUser::Kind::Undo && current > 0) {
                    --current;
                } else if (kind == RandomWindowUser::Kind::Redo && current + 1 < steps.size()) {
                    ++current;
                }
                ASSERT_SHOWN(now, steps[current]) << "after action " << i << "\n" << user.Recent();
            } else if (SameSelection(before, state)) {
                steps[current] = now;
            } else {
                steps.resize(current + 1);
                steps.push_back(now);
                ++current;
            }
            before = state;
        }
        ASSERT_GT(current, 60u);
        const Shown end = ShownOf(*form);
        for (size_t i = current; i > 0; --i) {
            user.Drive().Undo();
            ASSERT_SHOWN(ShownOf(*form), steps[i - 1]) << "undo back to step " << i - 1;
        }
        user.Drive().Undo();
        EXPECT_SHOWN(ShownOf(*form), steps[0]);
        for (size_t i = 1; i < steps.size(); ++i) {
            user.Drive().Redo(i % 2 == 0);
            ASSERT_SHOWN(ShownOf(*form), steps[i]) << "redo to step " << i;
        }
        user.Drive().Redo();
        EXPECT_SHOWN(ShownOf(*form), steps.back());
        ExpectShowsCore(*form);
    }
}

// More than 200 steps are kept: a spinner stepped up and down 230 times comes back to
// its start after 230 undos, through every state between.
TEST(UndoKeys, KeepMoreThanTwoHundredSteps) {
    TempSettings settings;
    settings.Write(kStartFile);
    auto form = ActiveWindow(settings);
    WindowDriver drive(*form);
    QSpinBox* spinner = drive.PageSpinners(0)[2];
    const Shown start = ShownOf(*form);
    WindowDriver::Step(spinner, true);
    const Shown up = ShownOf(*form);
    ASSERT_FALSE(start == up);
    for (int i = 1; i < 230; ++i) {
        WindowDriver::Step(spinner, i % 2 == 0);
    }
    for (int i = 229; i >= 0; --i) {
        drive.Undo();
        ASSERT_SHOWN(ShownOf(*form), i % 2 == 0 ? start : up) << "undo " << 230 - i;
    }
    drive.Undo();
    EXPECT_SHOWN(ShownOf(*form), start);
}

// A save is no step: undoing after it keeps the file as saved and its PP baselines,
// undoing back to the saved selection shows just what the save showed, and undoing
// past it shows what a fresh load of that selection over the saved file shows.
TEST(UndoKeys, ASaveIsNoStepAndItsFileStays) {
    TempSettings settings;
    settings.Write(kStartFile);
    auto form = ActiveWindow(settings);
    MessageBoxCloser boxes;
    RandomWindowUser user(*form, 7,
                          {.Saves = false, .Reverts = false, .Undo = false, .Codes = false});
    const auto act = [&](int actions) {
        int steps = 0;
        for (int i = 0; i < actions; ++i) {
            const TSimState before = form->Simulator().State;
            user.Act();
            steps += SameSelection(before, form->Simulator().State) ? 0 : 1;
        }
        return steps;
    };
    const TSimState start = form->Simulator().State;
    const int stepsBefore = act(30);
    WindowDriver::Click(user.Drive().SaveButton());
    WindowDriver::Settle();
    const std::string saved = settings.Read();
    const Shown afterSave = ShownOf(*form);
    const TSimState savedState = form->Simulator().State;
    const int stepsAfter = act(15);
    ASSERT_GT(stepsBefore, 10);
    ASSERT_GT(stepsAfter, 5);
    const Shown end = ShownOf(*form);

    for (int i = 0; i < stepsAfter; ++i) {
        user.Drive().Undo();
    }
    EXPECT_SHOWN(ShownOf(*form), afterSave);
    EXPECT_EQ(form->Simulator().State, savedState);
    for (int i = 0; i < stepsBefore; ++i) {
        user.Drive().Undo();
    }
    EXPECT_TRUE(SameSelection(form->Simulator().State, start));
    EXPECT_EQ(form->Simulator().State.SavedPP, savedState.SavedPP);
    EXPECT_EQ(form->Simulator().State.ClubSavedPP, savedState.ClubSavedPP);
    EXPECT_EQ(settings.Read(), saved);

    // The start's selection, figured against the save's baselines: what a second
    // window on the saved file shows once it is given that selection.
    user.Drive().CopyCode();
    TempSettings copy;
    copy.Write(saved);
    auto second = ActiveWindow(copy);
    WindowDriver(*second).PasteCode();
    EXPECT_SHOWN(ShownOf(*second, true), ShownOf(*form, true));
    EXPECT_EQ(second->Simulator().State, form->Simulator().State);
    second.reset();

    for (int i = 0; i < stepsBefore + stepsAfter; ++i) {
        user.Drive().Redo();
    }
    EXPECT_SHOWN(ShownOf(*form), end);
    EXPECT_EQ(settings.Read(), saved);
}

namespace {

// Copies the window's code with the keys or through the context menu.
void Copy(WindowDriver& drive, const TForm1& form, bool byMenu);
void Paste(WindowDriver& drive, const TForm1& form, bool byMenu);

// Opens the window's context menu on a label, with the event a right click makes, and
// takes the entry `text` in it; fails when the menu lacks it.
void TakeFromContextMenu(const TForm1& form, const QString& text) {
    bool taken = false;
    QStringList entries;
    QTimer::singleShot(0, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (menu == nullptr) {
            return;
        }
        for (QAction* action : menu->actions()) {
            entries << action->text();
        }
        for (QAction* action : menu->actions()) {
            if (action->text() == text) {
                taken = true;
                menu->close();
                action->trigger();
                return;
            }
        }
        menu->close();
    });
    auto* label = Find<QLabel>(form, "Label67");
    QContextMenuEvent click(QContextMenuEvent::Mouse, QPoint(2, 2),
                            label->mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(label, &click);
    QApplication::processEvents();
    EXPECT_TRUE(taken) << "the context menu held: " << entries.join(", ").toStdString();
    EXPECT_EQ(entries, QStringList({"ビルドコードをコピー", "ビルドコードを貼り付け"}));
}

void Copy(WindowDriver& drive, const TForm1& form, bool byMenu) {
    if (byMenu) {
        TakeFromContextMenu(form, QStringLiteral("ビルドコードをコピー"));
    } else {
        drive.CopyCode();
    }
}

void Paste(WindowDriver& drive, const TForm1& form, bool byMenu) {
    if (byMenu) {
        TakeFromContextMenu(form, QStringLiteral("ビルドコードを貼り付け"));
    } else {
        drive.PasteCode();
    }
    WindowDriver::Settle();
}

}  // namespace

// A copied code pasted into a fresh window shows what loading that selection from a
// file shows, every text and every value of the core; the paste is one step.
TEST(BuildCodeKeys, PasteShowsWhatLoadingTheSelectionShows) {
    for (int round = 0; round < 4; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        const bool byMenu = round % 2 == 1;
        TempSettings source;
        source.Write(kStartFile);
        auto form = ActiveWindow(source);
        MessageBoxCloser boxes;
        RandomWindowUser user(*form, 100 + static_cast<unsigned>(round),
                              {.Saves = false, .Codes = false});
        for (int i = 0; i < 40; ++i) {
            user.Act();
        }
        Copy(user.Drive(), *form, byMenu);
        const QString code = QGuiApplication::clipboard()->text();
        ASSERT_EQ(code.toStdString(), EncodeBuild(form->Simulator().State));

        // The same selection in a file with no PP baselines, loaded over a first load.
        WindowDriver::Click(user.Drive().SaveButton());
        {
            TIniFile ini(source.Path());
            for (int32_t c = 0; c < CharaCount; ++c) {
                ini.WriteInteger(CharaDef(c).Name, "SavedPP", 0);
            }
            for (int32_t i = 0; i < kClubCount; ++i) {
                ini.WriteInteger("Club" + std::to_string(i), "SavedPP", 0);
            }
            ini.UpdateFile();
        }
        TempSettings loadedFile;
        auto loaded = ActiveWindow(loadedFile);
        loadedFile.Write(source.Read());
        WindowDriver::Click(WindowDriver(*loaded).RevertButton());

        TempSettings pastedFile;
        auto pasted = ActiveWindow(pastedFile);
        WindowDriver pasting(*pasted);
        const Shown fresh = ShownOf(*pasted);
        const int boxesBefore = boxes.Closed();
        // Blanks and line breaks around a copied code do not matter.
        QGuiApplication::clipboard()->setText(QStringLiteral("\n  ") + code +
                                              QStringLiteral(" \n"));
        Paste(pasting, *pasted, byMenu);
        EXPECT_SHOWN(ShownOf(*pasted), ShownOf(*loaded));
        EXPECT_TRUE(SameShownSimulator(pasted->Simulator(), loaded->Simulator()));
        EXPECT_EQ(boxes.Closed(), boxesBefore);

        pasting.Undo();
        EXPECT_SHOWN(ShownOf(*pasted), fresh);
        pasting.Redo();
        EXPECT_SHOWN(ShownOf(*pasted), ShownOf(*loaded));
    }
}

// A text that is no whole code shows why in the window's error box and changes
// nothing: not the selection, not a text, not the history.
TEST(BuildCodeKeys, ABadCodeChangesNothingAndSaysWhy) {
    TempSettings settings;
    settings.Write(kStartFile);
    auto form = ActiveWindow(settings);
    WindowDriver drive(*form);
    const Shown start = ShownOf(*form);
    WindowDriver::Step(drive.ClubSpinners()[1], true);
    drive.ClickTab(4);
    WindowDriver::Settle();
    const Shown changed = ShownOf(*form);
    ASSERT_FALSE(changed == start);
    drive.CopyCode();
    const std::string good = QGuiApplication::clipboard()->text().toStdString();

    struct Bad {
        std::string Text;
        QString Message;
    };
    const QString damaged = QStringLiteral("クリップボードのビルドコードが壊れています.");
    std::vector<Bad> bad{{"", QStringLiteral("クリップボードにビルドコードがありません.")},
                         {" \n\t ", QStringLiteral("クリップボードにビルドコードがありません.")},
                         {"ビルド", damaged},
                         {"https://example.invalid/", damaged},
                         {good.substr(0, good.size() - 1), damaged},
                         {good + "A", damaged},
                         {std::string(100000, 'A'), damaged}};
    for (size_t at = 0; at < good.size(); at += 1 + good.size() / 6) {
        std::string changedLetter = good;
        changedLetter[at] = changedLetter[at] == 'B' ? 'C' : 'B';
        bad.push_back({changedLetter, damaged});
    }
    const TSimulator before = form->Simulator();
    for (size_t i = 0; i < bad.size(); ++i) {
        SCOPED_TRACE("bad code " + std::to_string(i));
        QGuiApplication::clipboard()->setText(Q(bad[i].Text));
        MessageBoxAnswer answer;
        Paste(drive, *form, i == 2);
        ASSERT_TRUE(answer.Seen());
        EXPECT_EQ(answer.Text, bad[i].Message);
        EXPECT_EQ(answer.Caption, QStringLiteral("Kestrel Status Simulator"));
        EXPECT_EQ(answer.Icon, QMessageBox::Critical);
        EXPECT_EQ(form->Simulator(), before);
        EXPECT_SHOWN(ShownOf(*form), changed);
    }
    // The history holds the two changes and nothing of the failed pastes.
    drive.Undo();
    drive.Undo();
    EXPECT_SHOWN(ShownOf(*form), start);
    drive.Redo();
    drive.Redo();
    EXPECT_SHOWN(ShownOf(*form), changed);
}

namespace {

// The list of the core that a list of the window shows.
TListRef ListOfWidget(const QComboBox* list) {
    const FormDef& form = MainForm();
    const Binding bind =
        form.Widgets[static_cast<size_t>(FindWidget(form, list->objectName().toStdString()))].Bind;
    switch (bind.Field) {
        case BoundField::Level:
            return {TListKind::Level, -1, 0};
        case BoundField::EquipItem:
            return {TListKind::EquipItem, bind.Chara, bind.Index};
        case BoundField::CharaCard:
            return {TListKind::CharaCard, bind.Chara, bind.Index};
        case BoundField::CaddieCard:
            return {TListKind::CaddieCard, bind.Chara, bind.Index};
        case BoundField::SpecialCard:
            return {TListKind::SpecialCard, -1, 0};
        case BoundField::Caddie:
            return {TListKind::Caddie, -1, 0};
        default:
            return {TListKind::Club, -1, 0};
    }
}

QLabel* Tip() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->objectName() == QLatin1String("EntryTip")) {
            return static_cast<QLabel*>(widget);
        }
    }
    return nullptr;
}

// The labels of a preview's figure.
QStringList FigureLabels(TPreviewFigure figure) {
    switch (figure) {
        case TPreviewFigure::Penalty:
            return {"Label18", "Label19"};
        case TPreviewFigure::DistanceNormal:
            return {"Label22"};
        default: {
            const char* finals[] = {"Label_LastPow", "Label_LastCtrl", "Label_LastExa",
                                    "Label_LastSpin", "Label_LastCur"};
            return {finals[static_cast<size_t>(figure)]};
        }
    }
}

}  // namespace

// While a list is open, the entry under the highlight shows beside it the core's
// preview of its pick, computed on what the window holds after the opening, and the
// window and its core stay as they were. Then the pick itself: every figure the tip
// named shows its new value, every other stays, and one Ctrl+Z gives back the start.
TEST(PreviewTip, TheHighlightedEntryShowsTheCoresPreviewAndThePickAgrees) {
    TempSettings settings;
    settings.Write(kStartFile);
    auto form = ActiveWindow(settings);
    MessageBoxCloser boxes;
    RandomWindowUser user(*form, 31, {.Saves = false, .Undo = false, .Codes = false});
    WindowDriver& drive = user.Drive();
    int previews = 0;
    int changing = 0;
    for (int round = 0; round < 6; ++round) {
        for (int i = 0; i < 15; ++i) {
            user.Act();
        }
        std::vector<QComboBox*> lists = drive.PageLists(drive.CurrentPage());
        lists.insert(lists.end(), drive.OtherLists().begin(), drive.OtherLists().end());
        lists.push_back(drive.ClubList());
        for (QComboBox* list : lists) {
            if (!list->isEnabled() || (list != drive.ClubList() && user.Pick(3) != 0)) {
                continue;
            }
            SCOPED_TRACE(list->objectName().toStdString());
            const TListRef ref = ListOfWidget(list);
            const Shown closed = ShownOf(*form);
            const TSimState beforeOpening = form->Simulator().State;
            QTest::mousePress(list, Qt::LeftButton);
            QAbstractItemView* view = list->view();
            ASSERT_TRUE(view->isVisible());
            const TSimulator opened = form->Simulator();
            const auto highlight = [&](int entry) {
                view->setCurrentIndex(view->model()->index(entry, list->modelColumn()));
            };
            const auto expectTipFor = [&](int entry) {
                QApplication::processEvents();
                QLabel* tip = Tip();
                ASSERT_NE(tip, nullptr);
                ASSERT_TRUE(tip->isVisible());
                EXPECT_EQ(tip->text(), Q(PreviewText(PreviewPick(opened, ref, entry))));
                // Beside the open list, at the entry's height, or moved up just as far as
                // the screen's bottom needs.
                const QRect frame(view->window()->mapToGlobal(QPoint(0, 0)),
                                  view->window()->size());
                const QRect row =
                    view->visualRect(view->model()->index(entry, list->modelColumn()));
                const QPoint rowTop = view->viewport()->mapToGlobal(row.topLeft());
                EXPECT_TRUE(tip->geometry().left() > frame.right() ||
                            tip->geometry().right() < frame.left());
                const QRect screen = tip->screen()->availableGeometry();
                EXPECT_TRUE(tip->y() == rowTop.y() ||
                            (tip->y() < rowTop.y() && tip->geometry().bottom() >= rowTop.y() &&
                             tip->geometry().bottom() >= std::min(screen.bottom(), frame.bottom())))
                    << tip->y() << " for an entry at " << rowTop.y();
                ++previews;
            };
            const int count = list->count();
            for (int k = 0; k < std::min(count, 10); ++k) {
                const int entry = count <= 10 ? k : user.Pick(count);
                highlight(entry);
                expectTipFor(entry);
            }
            ASSERT_TRUE(SameShownSimulator(form->Simulator(), opened));
            ASSERT_SHOWN(ShownOf(*form), closed);

            // The keyboard moves the highlight; the tip follows it and stays.
            const int entry = user.Pick(count);
            highlight(entry == 0 ? 1 : entry - 1);
            QTest::keyClick(view, entry == 0 ? Qt::Key_Up : Qt::Key_Down);
            ASSERT_EQ(view->currentIndex().row(), entry);
            expectTipFor(entry);

            const TPreview preview = PreviewPick(opened, ref, entry);
            MessageBoxAnswer answer;
            QTest::keyClick(view, Qt::Key_Return);
            QApplication::processEvents();
            EXPECT_FALSE(view->isVisible());
            EXPECT_FALSE(Tip()->isVisible());
            const Shown picked = ShownOf(*form);
            EXPECT_EQ(answer.Seen(), !preview.Error.empty());
            if (!preview.Error.empty()) {
                EXPECT_EQ(answer.Text, Q(preview.Error + "."));
            } else {
                for (int f = 0; f <= static_cast<int>(TPreviewFigure::DistanceNormal); ++f) {
                    const auto figure = static_cast<TPreviewFigure>(f);
                    std::optional<TPreviewLine> line;
                    for (const TPreviewLine& l : preview.Lines) {
                        if (l.Figure == figure) {
                            line = l;
                        }
                    }
                    for (const QString& label : FigureLabels(figure)) {
                        EXPECT_EQ(closed[label], line ? Q(line->Old) : picked[label])
                            << label.toStdString();
                        EXPECT_EQ(picked[label], line ? Q(line->New) : closed[label])
                            << label.toStdString();
                    }
                }
                changing += preview.Lines.empty() ? 0 : 1;
            }
            if (!SameSelection(beforeOpening, form->Simulator().State)) {
                drive.Undo();
                EXPECT_SHOWN(ShownOf(*form), closed);
                EXPECT_TRUE(SameSelection(form->Simulator().State, beforeOpening));
            }
        }
    }
    EXPECT_GT(previews, 150);
    EXPECT_GT(changing, 5);
}
