#include <QAbstractItemView>
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

#include "characters/roster.h"
#include "engine/status.h"
#include "ui_test_support.h"

namespace {

int Number(const QString& text) {
    return text.split(' ').first().remove('(').toInt();
}

// The club set with the limits 3, 0, 0, 0, 0 and base 12, 12, 12, 6, 0.
constexpr int kLastClub = 41;

void PickLastClubByKey(const TForm1& form) {
    auto* clubs = Find<QComboBox>(form, "ComboBox2");
    clubs->setFocus();
    QTest::keyClick(clubs, Qt::Key_End);
    ASSERT_EQ(clubs->currentIndex(), kLastClub);
}

}  // namespace

// A pick in a wear-slot list recomputes: the power limit, the outfit lock and the finals.
TEST(Wiring, TopPickOnTheFirstPage) {
    TempSettings settings;
    auto form = ShownWindow(settings);
    const QString powerBefore = TextOf(*form, "Label_LastPow");
    EXPECT_EQ(TextOf(*form, "Label_S1"), "/0");
    EXPECT_TRUE(Find<QWidget>(*form, "ComboBox_BastianTopPants")->isEnabled());

    // Entry 4 is "パワー+1/S+2 *".
    PickWithMouse(Find<QComboBox>(*form, "ComboBox_BastianTop"), 4);
    EXPECT_EQ(Find<QComboBox>(*form, "ComboBox_BastianTop")->currentIndex(), 4);
    EXPECT_EQ(TextOf(*form, "Label_S1"), "/2");
    EXPECT_FALSE(Find<QWidget>(*form, "ComboBox_BastianTopPants")->isEnabled());
    EXPECT_EQ(Number(TextOf(*form, "Label_LastPow")), Number(powerBefore) + 1);
    ExpectShowsCore(*form);

    // Back to "なし": the outfit list opens again.
    PickWithMouse(Find<QComboBox>(*form, "ComboBox_BastianTop"), 0);
    EXPECT_TRUE(Find<QWidget>(*form, "ComboBox_BastianTopPants")->isEnabled());
    EXPECT_EQ(TextOf(*form, "Label_LastPow"), powerBefore);
}

// A tab click makes that character active: the finals switch to it at once.
TEST(Wiring, TabClickSwitchesTheFinals) {
    TempSettings settings;
    auto form = ShownWindow(settings);
    const TStatus first = CharaDef(0).CharaBaseStatus;
    const TStatus third = CharaDef(2).CharaBaseStatus;
    const int powerBefore = Number(TextOf(*form, "Label_LastPow"));
    const int spinBefore = Number(TextOf(*form, "Label_LastSpin"));

    ClickTab(*form, 2);
    EXPECT_EQ(form->Simulator().State.TabIndex, 2);
    EXPECT_TRUE(Find<QWidget>(*form, "TabSheet3")->isVisible());
    EXPECT_FALSE(Find<QWidget>(*form, "TabSheet1")->isVisible());
    EXPECT_EQ(Number(TextOf(*form, "Label_LastPow")), powerBefore + third.Pow - first.Pow);
    EXPECT_EQ(Number(TextOf(*form, "Label_LastSpin")), spinBefore + third.Spin - first.Spin);
    ExpectShowsCore(*form);
}

// One step of a spinner changes its count by one; at a limit it changes nothing.
TEST(Wiring, SpinnerStepsByOneAndStopsAtItsLimits) {
    TempSettings settings;
    auto form = ShownWindow(settings);
    auto* power = Find<QSpinBox>(*form, "UpDown1");
    ClickUpArrow(power);
    EXPECT_EQ(TextOf(*form, "Edit1"), "1");
    EXPECT_EQ(TextOf(*form, "Label32"), "2100 PP");
    EXPECT_EQ(TextOf(*form, "Label123"), "(2100 PP)");
    EXPECT_EQ(power->toolTip(), "次上げるのに\n  4200 PP");
    ExpectShowsCore(*form);

    // The lower limit.
    ClickDownArrow(power);
    EXPECT_EQ(TextOf(*form, "Edit1"), "0");
    QMap<QString, QString> before = Outputs(*form);
    ClickDownArrow(power);
    EXPECT_EQ(Outputs(*form), before);
    EXPECT_EQ(form->Simulator().State.Chara[0].PowSlotUp, 0);

    // The upper limit of a control spinner is 20.
    auto* control = Find<QSpinBox>(*form, "UpDown2");
    Find<QLineEdit>(*form, "Edit2")->setFocus();
    for (int i = 0; i < 20; ++i) {
        QTest::keyClick(Find<QLineEdit>(*form, "Edit2"), Qt::Key_Up);
    }
    EXPECT_EQ(TextOf(*form, "Edit2"), "20");
    before = Outputs(*form);
    ClickUpArrow(control);
    QTest::keyClick(Find<QLineEdit>(*form, "Edit2"), Qt::Key_Up);
    EXPECT_EQ(Outputs(*form), before);
    EXPECT_EQ(form->Simulator().State.Chara[0].CtrlSlotUp, 20);
}

// Opening the club list stores the club counts and recomputes nothing.
TEST(Wiring, OpeningTheClubListStoresWithoutRecomputing) {
    TempSettings settings;
    auto form = ShownWindow(settings);
    PickLastClubByKey(*form);
    ClickUpArrow(Find<QSpinBox>(*form, "UpDown_Club1"));
    EXPECT_EQ(TextOf(*form, "Edit_Club1"), "1");
    EXPECT_EQ(form->Simulator().State.ClubSlotUps[kLastClub].Pow, 0);

    auto* clubs = Find<QComboBox>(*form, "ComboBox2");
    const QMap<QString, QString> before = Outputs(*form);
    const TSimResults results = form->Simulator().Results;
    QTest::keyClick(clubs, Qt::Key_F4);
    ASSERT_TRUE(clubs->view()->isVisible());
    QTest::keyClick(clubs->view(), Qt::Key_Escape);
    EXPECT_FALSE(clubs->view()->isVisible());
    EXPECT_EQ(form->Simulator().State.ClubSlotUps[kLastClub], MakeStatus(1, 0, 0, 0, 0));
    EXPECT_EQ(Outputs(*form), before);
    EXPECT_EQ(form->Simulator().Results.FinalStatus, results.FinalStatus);
    EXPECT_EQ(clubs->currentIndex(), kLastClub);

    // A pick of another set after opening: the old counts were stored, the new set's
    // remembered counts are shown, and picking the old set again brings its counts back.
    PickWithMouse(clubs, 0);
    EXPECT_EQ(clubs->currentIndex(), 0);
    EXPECT_EQ(TextOf(*form, "Edit_Club1"), "0");
    PickWithMouse(clubs, kLastClub);
    EXPECT_EQ(TextOf(*form, "Edit_Club1"), "1");
    ExpectShowsCore(*form);
}

// A club change by key while the list is closed does not store the counts first.
TEST(Wiring, KeyboardClubChangeDoesNotStore) {
    TempSettings settings;
    auto form = ShownWindow(settings);
    PickLastClubByKey(*form);
    auto* clubs = Find<QComboBox>(*form, "ComboBox2");
    ClickUpArrow(Find<QSpinBox>(*form, "UpDown_Club1"));
    ClickUpArrow(Find<QSpinBox>(*form, "UpDown_Club1"));
    EXPECT_EQ(TextOf(*form, "Edit_Club1"), "2");

    clubs->setFocus();
    QTest::keyClick(clubs, Qt::Key_Up);
    EXPECT_EQ(clubs->currentIndex(), kLastClub - 1);
    EXPECT_EQ(form->Simulator().State.ClubSlotUps[kLastClub], TStatus{});
    QTest::keyClick(clubs, Qt::Key_Down);
    EXPECT_EQ(clubs->currentIndex(), kLastClub);
    EXPECT_EQ(TextOf(*form, "Edit_Club1"), "0");
    ExpectShowsCore(*form);
}

// "F" raises every club count to its limit and prices it.
TEST(Wiring, FullTune) {
    TempSettings settings;
    auto form = ShownWindow(settings);
    PickLastClubByKey(*form);
    QTest::mouseClick(Find<QPushButton>(*form, "Button_ClubFullTune"), Qt::LeftButton);
    const char* counts[] = {"3", "0", "0", "0", "0"};
    for (int i = 0; i < kStatCount; ++i) {
        EXPECT_EQ(TextOf(*form, QStringLiteral("Edit_Club%1").arg(i + 1)), counts[i]);
    }
    EXPECT_EQ(TextOf(*form, "Label122"), "(12600 PP)");
    EXPECT_EQ(TextOf(*form, "Label30"), "12600 PP");
    EXPECT_EQ(Find<QWidget>(*form, "UpDown_Club1")->toolTip(), "次上げるのに\n  8400 PP");
    // At its limit the spinner offers no further step.
    ClickUpArrow(Find<QSpinBox>(*form, "UpDown_Club1"));
    EXPECT_EQ(TextOf(*form, "Edit_Club1"), "3");
    ExpectShowsCore(*form);
}

// Power over the level's limit: the penalty labels explain themselves.
TEST(Wiring, PenaltyLabelsCarryTheirHint) {
    TempSettings settings;
    auto form = ShownWindow(settings);
    auto* penalty = Find<QLabel>(*form, "Label18");
    EXPECT_EQ(penalty->cursor().shape(), Qt::ArrowCursor);
    EXPECT_TRUE(penalty->toolTip().isEmpty());
    // The last club set's base power 12 lifts the first character's 9 over 20.
    PickLastClubByKey(*form);
    EXPECT_EQ(penalty->text(), "(-1)");
    EXPECT_EQ(TextOf(*form, "Label19"), "(-1)");
    EXPECT_EQ(penalty->cursor().shape(), Qt::WhatsThisCursor);
    EXPECT_EQ(penalty->toolTip(), "ペナルティによる減少分");
}

// Save makes the state the baseline; revert brings the saved state back.
TEST(Wiring, SaveThenRevert) {
    TempSettings settings;
    auto form = ShownWindow(settings);
    auto* level = Find<QComboBox>(*form, "ComboBox1");
    level->setFocus();
    QTest::keyClick(level, Qt::Key_Down);
    QTest::keyClick(level, Qt::Key_Down);
    auto* power = Find<QSpinBox>(*form, "UpDown1");
    for (int i = 0; i < 3; ++i) {
        ClickUpArrow(power);
    }
    EXPECT_EQ(TextOf(*form, "Label32"), "12600 PP");

    QTest::mouseClick(Find<QPushButton>(*form, "Button1"), Qt::LeftButton);
    EXPECT_FALSE(settings.Read().empty());
    EXPECT_EQ(TextOf(*form, "Label32"), "0 PP");
    EXPECT_EQ(TextOf(*form, "Label123"), "(12600 PP)");
    EXPECT_EQ(TextOf(*form, "Label67"), "0 PP");
    EXPECT_EQ(level->currentIndex(), 2);

    ClickUpArrow(power);
    QTest::keyClick(level, Qt::Key_Down);
    EXPECT_EQ(TextOf(*form, "Label32"), "8400 PP");
    QTest::mouseClick(Find<QPushButton>(*form, "Button2"), Qt::LeftButton);
    EXPECT_EQ(TextOf(*form, "Edit1"), "3");
    EXPECT_EQ(level->currentIndex(), 2);
    EXPECT_EQ(TextOf(*form, "Label32"), "0 PP");
    ExpectShowsCore(*form);
}

// A failed save shows the error's text in a stop box; the window goes on working.
TEST(Wiring, ErrorMessageAndTheWindowStaysUsable) {
    TempSettings settings;
    const std::string unwritable = settings.Path() + ".missing/kestrel-simulator.ini";
    auto form = std::make_unique<TForm1>(unwritable);
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    ClickUpArrow(Find<QSpinBox>(*form, "UpDown1"));

    MessageBoxAnswer answer;
    QTest::mouseClick(Find<QPushButton>(*form, "Button1"), Qt::LeftButton);
    ASSERT_TRUE(answer.Seen());
    EXPECT_EQ(answer.Text, QString::fromStdString(unwritable) + " に書き込めません.");
    EXPECT_EQ(answer.Caption, "Kestrel Status Simulator");
    EXPECT_EQ(answer.Icon, QMessageBox::Critical);
    EXPECT_EQ(answer.Buttons, 1);
    // The save did not reach its load: the baseline is unchanged.
    EXPECT_EQ(TextOf(*form, "Label32"), "2100 PP");

    ClickUpArrow(Find<QSpinBox>(*form, "UpDown1"));
    EXPECT_EQ(TextOf(*form, "Edit1"), "2");
    EXPECT_EQ(TextOf(*form, "Label32"), "6300 PP");
    ExpectShowsCore(*form);
}

// A load that stops at a range error shows what it applied before the error.
TEST(Wiring, LoadErrorAtCreation) {
    TempSettings settings;
    settings.Write("[Character]\nLevel=12\n[Club]\nClub=42\n[Club0]\nPowSlotUp=1\n");
    MessageBoxAnswer answer;
    TForm1 form(settings.Path());
    ASSERT_TRUE(answer.Seen());
    EXPECT_EQ(answer.Text, "範囲チェックエラー.");
    EXPECT_EQ(Find<QComboBox>(form, "ComboBox1")->currentIndex(), 12);
    EXPECT_EQ(Find<QComboBox>(form, "ComboBox2")->currentIndex(), -1);

    // Picking a club set by key makes the window whole again.
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    auto* clubs = Find<QComboBox>(form, "ComboBox2");
    clubs->setFocus();
    QTest::keyClick(clubs, Qt::Key_Home);
    EXPECT_EQ(clubs->currentIndex(), 0);
    ExpectShowsCore(form);
}
