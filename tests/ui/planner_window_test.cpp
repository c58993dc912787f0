// The planner's keys and tips through the real window: undo and redo, build codes
// copied and pasted, and the preview beside the highlighted entry of an open list.

#include <QAbstractItemView>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QMenu>
#include <QScreen>
#include <QTest>
#include <string>
#include <vector>

#include "form/form.h"
#include "random_window_user.h"
#include "simulator/build_code.h"
#include "simulator/preview.h"
#include "ui/chara_tabs.h"
#include "ui_test_support.h"

namespace {

using Kind = RandomWindowUser::Kind;

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

// A selection with an outfit, cards, caddie, club set and counts, every list selected.
const char* const kStartFile =
    "[Window]\nLeft=0\nTop=0\n[Character]\nLevel=9\nTabIndex=0\n"
    "[Bastian]\nTop=4\nPants=7\nShoes=6\nHand=6\nHead1=7\nFace=5\nAcce=2\nRing=1\n"
    "CharaCard1=3\nCharaCard2=5\nCaddieCard1=1\nPowSlotUp=4\nCtrlSlotUp=3\n"
    "[Caddie]\nCaddie=3\n[SpecialCard]\nSpecialCard=1\n[Club]\nClub=21\n"
    "[Club21]\nPowSlotUp=2\nCtrlSlotUp=1\n";

// What the window's widgets hold, by object name: texts, each list's entry, rows and
// enabling, each spinner's bound, the shown page. With `visibleOnly`, only what can be
// seen: hidden pages keep what their last calculation wrote.
using Shown = QMap<QString, QString>;

Shown ShownOf(const TForm1& form, bool visibleOnly = false) {
    Shown shown;
    for (const QWidget* w : form.findChildren<QWidget*>()) {
        if (w->objectName().isEmpty() || (visibleOnly && !w->isVisibleTo(&form))) {
            continue;
        }
        if (const auto* label = qobject_cast<const QLabel*>(w)) {
            shown.insert(w->objectName(), label->text());
        } else if (const auto* edit = qobject_cast<const QLineEdit*>(w)) {
            shown.insert(w->objectName(), edit->text());
        } else if (const auto* spinner = qobject_cast<const QSpinBox*>(w)) {
            shown.insert(w->objectName(), QString::number(spinner->maximum()));
        } else if (const auto* list = qobject_cast<const QComboBox*>(w)) {
            QString rows = QStringLiteral("%1 %2").arg(list->currentIndex()).arg(list->isEnabled());
            for (int i = 0; i < list->count(); ++i) {
                rows += QLatin1Char('|') + list->itemText(i);
            }
            shown.insert(w->objectName(), rows);
        }
    }
    shown.insert(QStringLiteral("page"),
                 QString::number(Find<CharaPageControl>(form, "PageControl1")->ShownPage()));
    return shown;
}

testing::AssertionResult Same(const Shown& got, const Shown& expected) {
    for (auto it = expected.begin(); it != expected.end(); ++it) {
        if (got.value(it.key()) != it.value()) {
            return testing::AssertionFailure()
                   << it.key().toStdString() << " shows \"" << got.value(it.key()).toStdString()
                   << "\", expected \"" << it.value().toStdString() << "\"";
        }
    }
    if (got.size() != expected.size()) {
        return testing::AssertionFailure() << "another set of widgets";
    }
    return testing::AssertionSuccess();
}

// Actions, counting those that changed the selection.
int Act(RandomWindowUser& user, const TForm1& form, int actions) {
    int steps = 0;
    for (int i = 0; i < actions; ++i) {
        const TSimState before = form.Simulator().State;
        user.Act();
        steps += SameSelection(before, form.Simulator().State) ? 0 : 1;
    }
    return steps;
}

// Opens the window's context menu on a label, with the event a right click makes, and
// takes its entry `text`.
void TakeFromContextMenu(const TForm1& form, const QString& text) {
    QStringList entries;
    QTimer::singleShot(0, [&] {
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            QAction* taken = nullptr;
            for (QAction* action : menu->actions()) {
                entries << action->text();
                taken = action->text() == text ? action : taken;
            }
            menu->close();
            if (taken != nullptr) {
                taken->trigger();
            }
        }
    });
    auto* label = Find<QLabel>(form, "Label67");
    QContextMenuEvent click(QContextMenuEvent::Mouse, QPoint(2, 2),
                            label->mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(label, &click);
    QApplication::processEvents();
    EXPECT_EQ(entries, QStringList({"ビルドコードをコピー", "ビルドコードを貼り付け", "ビルド探索…",
                                    "持ち物…"}));
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

// A model of the history beside random actions (undo, redo, revert and codes among
// them): a step for each action that changes the selection. After each undo or redo
// the window holds exactly what it held at that step; at the end, undoing everything
// gives back the start and redoing everything the end. Without saves the PP baselines
// stay, so every text must come back.
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
        for (int i = 0; i < 220; ++i) {
            const TSimState before = form->Simulator().State;
            const Kind kind = user.Act();
            const Shown now = ShownOf(*form);
            if (kind == Kind::Undo || kind == Kind::Redo) {
                current = kind == Kind::Undo ? (current > 0 ? current - 1 : 0)
                                             : std::min(current + 1, steps.size() - 1);
                ASSERT_TRUE(Same(now, steps[current])) << "action " << i << "\n" << user.Recent();
            } else if (SameSelection(before, form->Simulator().State)) {
                steps[current] = now;
            } else {
                steps.resize(++current);
                steps.push_back(now);
            }
        }
        ASSERT_GT(current, 60u);
        for (size_t i = current; i > 0; --i) {
            user.Drive().Undo();
            ASSERT_TRUE(Same(ShownOf(*form), steps[i - 1])) << "undo back to step " << i - 1;
        }
        user.Drive().Undo();
        EXPECT_TRUE(Same(ShownOf(*form), steps[0]));
        for (size_t i = 1; i < steps.size(); ++i) {
            user.Drive().Redo(i % 2 == 0);
            ASSERT_TRUE(Same(ShownOf(*form), steps[i])) << "redo to step " << i;
        }
        user.Drive().Redo();
        EXPECT_TRUE(Same(ShownOf(*form), steps.back()));
        ExpectShowsCore(*form);
    }
}

// More than 200 steps are kept: a spinner stepped up and down 231 times comes back to
// its start after 231 undos, through every state between.
TEST(UndoKeys, KeepMoreThanTwoHundredSteps) {
    TempSettings settings;
    settings.Write(kStartFile);
    auto form = ActiveWindow(settings);
    WindowDriver drive(*form);
    QSpinBox* spinner = drive.PageSpinners(0)[2];
    const Shown start = ShownOf(*form);
    for (int i = 0; i < 231; ++i) {
        WindowDriver::Step(spinner, i % 2 == 0);
    }
    WindowDriver::Settle();
    const Shown up = ShownOf(*form);
    ASSERT_FALSE(Same(start, up));
    for (int left = 230; left >= 0; --left) {
        drive.Undo();
        ASSERT_TRUE(Same(ShownOf(*form), left % 2 == 0 ? start : up)) << left << " steps left";
    }
    drive.Undo();
    EXPECT_TRUE(Same(ShownOf(*form), start));
}

// A save is no step: undoing after it never touches the saved file nor its baselines;
// undoing back to the saved selection shows what the save showed; undoing past it
// shows what a window on the saved file shows once given that selection.
TEST(UndoKeys, ASaveIsNoStepAndItsFileStays) {
    TempSettings settings;
    settings.Write(kStartFile);
    auto form = ActiveWindow(settings);
    MessageBoxCloser boxes;
    RandomWindowUser user(*form, 7,
                          {.Saves = false, .Reverts = false, .Undo = false, .Codes = false});
    const TSimState start = form->Simulator().State;
    const int stepsBefore = Act(user, *form, 30);
    WindowDriver::Click(user.Drive().SaveButton());
    WindowDriver::Settle();
    const std::string saved = settings.Read();
    const Shown afterSave = ShownOf(*form);
    const TSimState savedState = form->Simulator().State;
    const int stepsAfter = Act(user, *form, 15);
    ASSERT_GT(stepsBefore, 10);
    ASSERT_GT(stepsAfter, 5);
    const Shown end = ShownOf(*form);

    for (int i = 0; i < stepsAfter; ++i) {
        user.Drive().Undo();
    }
    EXPECT_TRUE(Same(ShownOf(*form), afterSave));
    EXPECT_EQ(form->Simulator().State, savedState);
    for (int i = 0; i < stepsBefore; ++i) {
        user.Drive().Undo();
    }
    EXPECT_TRUE(SameSelection(form->Simulator().State, start));
    EXPECT_EQ(form->Simulator().State.SavedPP, savedState.SavedPP);
    EXPECT_EQ(form->Simulator().State.ClubSavedPP, savedState.ClubSavedPP);
    EXPECT_EQ(settings.Read(), saved);

    user.Drive().CopyCode();
    TempSettings copy;
    copy.Write(saved);
    auto second = ActiveWindow(copy);
    WindowDriver(*second).PasteCode();
    EXPECT_TRUE(Same(ShownOf(*second, true), ShownOf(*form, true)));
    EXPECT_EQ(second->Simulator().State, form->Simulator().State);
    second.reset();

    for (int i = 0; i < stepsBefore + stepsAfter; ++i) {
        user.Drive().Redo();
    }
    EXPECT_TRUE(Same(ShownOf(*form), end));
    EXPECT_EQ(settings.Read(), saved);
}

// A code copied by key or context menu is the core's code of the selection. Pasted into
// a fresh window by key or menu, with blanks around it or as a share link, it shows what
// the core's paste shows, without a message, as one step.
TEST(BuildCodeKeys, CopyAndPasteAreTheCoresAsOneStep) {
    for (int round = 0; round < 4; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        const bool byMenu = round % 2 == 1;
        TempSettings source;
        source.Write(kStartFile);
        auto form = ActiveWindow(source);
        MessageBoxCloser boxes;
        RandomWindowUser user(*form, 100 + static_cast<unsigned>(round),
                              {.Saves = false, .Codes = false});
        Act(user, *form, 40);
        if (byMenu) {
            TakeFromContextMenu(*form, QStringLiteral("ビルドコードをコピー"));
        } else {
            user.Drive().CopyCode();
        }
        const QString code = QGuiApplication::clipboard()->text();
        ASSERT_EQ(code.toStdString(), EncodeBuild(form->Simulator().State));

        TempSettings pastedFile;
        auto pasted = ActiveWindow(pastedFile);
        WindowDriver pasting(*pasted);
        const Shown fresh = ShownOf(*pasted);
        const QString text = round < 2
                                 ? QStringLiteral("\n  ") + code + QStringLiteral(" \n")
                                 : QStringLiteral("file:///home/me/kestrel-simulator.html#") + code;
        TSimulator expected = pasted->Simulator();
        PasteBuild(expected, text.toStdString());
        const int boxesBefore = boxes.Closed();
        QGuiApplication::clipboard()->setText(text);
        Paste(pasting, *pasted, byMenu);
        EXPECT_EQ(pasted->Simulator(), expected);
        ExpectShowsCore(*pasted);
        EXPECT_EQ(boxes.Closed(), boxesBefore);
        const Shown shown = ShownOf(*pasted);
        pasting.Undo();
        EXPECT_TRUE(Same(ShownOf(*pasted), fresh));
        pasting.Redo();
        EXPECT_TRUE(Same(ShownOf(*pasted), shown));
    }
}

// A text that is no whole code says why in the window's error box (which text for which
// fault is the core's) and changes nothing: not the selection, not a text, not the
// history.
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
    drive.CopyCode();
    std::string oneLetter = QGuiApplication::clipboard()->text().toStdString();
    oneLetter[oneLetter.size() / 2] ^= 1;

    const QString none = QStringLiteral("クリップボードにビルドコードがありません.");
    const QString damaged = QStringLiteral("クリップボードのビルドコードが壊れています.");
    const std::pair<std::string, QString> bad[] = {
        {" \n\t ", none}, {"ビルド", damaged}, {oneLetter, damaged}};
    const TSimulator before = form->Simulator();
    for (size_t i = 0; i < std::size(bad); ++i) {
        SCOPED_TRACE("bad code " + std::to_string(i));
        QGuiApplication::clipboard()->setText(Q(bad[i].first));
        MessageBoxAnswer answer;
        Paste(drive, *form, i == 1);
        ASSERT_TRUE(answer.Seen());
        EXPECT_EQ(answer.Text, bad[i].second);
        EXPECT_EQ(answer.Caption, QStringLiteral("Kestrel Status Simulator"));
        EXPECT_EQ(answer.Icon, QMessageBox::Critical);
        EXPECT_EQ(form->Simulator(), before);
        EXPECT_TRUE(Same(ShownOf(*form), changed));
    }
    // The history holds the two changes and nothing of the failed pastes.
    drive.Undo();
    drive.Undo();
    EXPECT_TRUE(Same(ShownOf(*form), start));
}

namespace {

QLabel* Tip() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->objectName() == QLatin1String("EntryTip")) {
            return static_cast<QLabel*>(widget);
        }
    }
    return nullptr;
}

}  // namespace

// While a list is open, the highlighted entry shows beside it the core's preview of its
// pick (which the core's tests hold against a real pick), worked out on what the window
// holds after the opening, and the window and its core stay as they were; the tip
// follows the arrow keys and goes with the list. Ctrl+Z then undoes the pick.
TEST(PreviewTip, TheHighlightedEntryShowsTheCoresPreview) {
    TempSettings settings;
    settings.Write(kStartFile);
    auto form = ActiveWindow(settings);
    MessageBoxCloser boxes;
    RandomWindowUser user(*form, 31, {.Saves = false, .Undo = false, .Codes = false});
    WindowDriver& drive = user.Drive();
    int previews = 0;
    int changing = 0;
    for (int round = 0; round < 6; ++round) {
        Act(user, *form, 15);
        std::vector<QComboBox*> lists = drive.PageLists(drive.CurrentPage());
        lists.insert(lists.end(), drive.OtherLists().begin(), drive.OtherLists().end());
        lists.push_back(drive.ClubList());
        for (QComboBox* list : lists) {
            if (!list->isEnabled() || (list != drive.ClubList() && user.Pick(3) != 0)) {
                continue;
            }
            SCOPED_TRACE(list->objectName().toStdString());
            const FormDef& def = MainForm();
            const ListRef ref =
                *ListOfBinding(def.Widgets[FindWidget(def, list->objectName().toStdString())].Bind);
            const Shown closed = ShownOf(*form);
            const TSimState beforeOpening = form->Simulator().State;
            QTest::mousePress(list, Qt::LeftButton);
            QAbstractItemView* view = list->view();
            ASSERT_TRUE(view->isVisible());
            const TSimulator opened = form->Simulator();
            const auto expectTipFor = [&](int entry) {
                QApplication::processEvents();
                QLabel* tip = Tip();
                ASSERT_TRUE(tip != nullptr && tip->isVisible());
                EXPECT_EQ(tip->text(), Q(PreviewText(PreviewPick(opened, ref, entry))));
                // Beside the open list at the entry's height, or moved up as far as the
                // bottom of the screen needs.
                const QRect frame(view->window()->mapToGlobal(QPoint(0, 0)),
                                  view->window()->size());
                const int rowTop =
                    view->viewport()
                        ->mapToGlobal(view->visualRect(view->model()->index(entry, 0)).topLeft())
                        .y();
                const int bottom =
                    std::min(tip->screen()->availableGeometry().bottom(), frame.bottom());
                EXPECT_TRUE(tip->x() > frame.right() || tip->geometry().right() < frame.left());
                EXPECT_TRUE(
                    tip->y() == rowTop ||
                    (tip->y() < rowTop && tip->geometry().bottom() >= std::max(rowTop, bottom)))
                    << tip->y() << " for an entry at " << rowTop;
                ++previews;
            };
            const int count = list->count();
            for (int k = 0; k < std::min(count, 10); ++k) {
                const int entry = count <= 10 ? k : user.Pick(count);
                view->setCurrentIndex(view->model()->index(entry, 0));
                expectTipFor(entry);
            }
            ASSERT_EQ(form->Simulator(), opened);
            ASSERT_TRUE(Same(ShownOf(*form), closed));

            const int entry = user.Pick(count);
            view->setCurrentIndex(view->model()->index(entry == 0 ? 1 : entry - 1, 0));
            QTest::keyClick(view, entry == 0 ? Qt::Key_Up : Qt::Key_Down);
            ASSERT_EQ(view->currentIndex().row(), entry);
            expectTipFor(entry);

            changing += PreviewPick(opened, ref, entry).Lines.empty() ? 0 : 1;
            QTest::keyClick(view, Qt::Key_Return);
            QApplication::processEvents();
            EXPECT_FALSE(Tip()->isVisible());
            if (!SameSelection(beforeOpening, form->Simulator().State)) {
                drive.Undo();
                EXPECT_TRUE(Same(ShownOf(*form), closed));
            }
        }
    }
    EXPECT_GT(previews, 150);
    EXPECT_GT(changing, 5);
}
