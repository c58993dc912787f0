// The window's search dialog against the core's description, and what it does between
// searches.

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTest>
#include <limits>

#include "search/dialog_form.h"
#include "search/search.h"
#include "search_dialog_support.h"
#include "ui/qt_text.h"

// Every control of the description is in the window under its name, with its caption,
// its choices, its range and its hint; nothing is there twice.
TEST(SearchDialogForm, TheWindowHoldsTheDescribedControls) {
    WindowWithSearch w;
    SearchDialog* dialog = w.dialog;
    ASSERT_NE(dialog, nullptr);
    const auto& form = w.form;
    EXPECT_EQ(dialog->windowTitle(), Q(SearchDialogForm().Title));
    for (const DialogControl& c : SearchDialogForm().Controls) {
        SCOPED_TRACE(c.Name);
        const QList<QWidget*> named = dialog->findChildren<QWidget*>(Q(c.Name));
        ASSERT_EQ(named.size(), 1);
        QWidget* widget = named.front();
        EXPECT_EQ(widget->toolTip(), Q(c.Hint));
        if (auto* box = qobject_cast<QCheckBox*>(widget)) {
            EXPECT_EQ(box->text(), Q(c.Caption));
            EXPECT_EQ(box->isChecked(), c.Initial != 0);
        } else if (auto* button = qobject_cast<QPushButton*>(widget)) {
            EXPECT_EQ(button->text(), Q(c.Caption));
        } else if (auto* spin = qobject_cast<QSpinBox*>(widget)) {
            ASSERT_TRUE(c.Limit.has_value());
            EXPECT_EQ(spin->suffix(), Q(c.Suffix));
            if (c.Field.rfind("min.", 0) != 0) {  // a minimum shows the window's figure
                EXPECT_EQ(spin->value(), c.Initial);
            }
            EXPECT_EQ(spin->isEnabled(), c.Switch.empty());
        } else if (auto* choice = qobject_cast<QComboBox*>(widget)) {
            ASSERT_EQ(choice->count(), static_cast<int>(c.Choices.size()));
            for (int i = 1; i < choice->count(); ++i) {
                EXPECT_EQ(choice->itemText(i), Q(c.Choices[static_cast<size_t>(i)]));
            }
        } else if (c.Kind == DialogKind::PartRow || c.Kind == DialogKind::Section) {
            const auto* caption = qobject_cast<QLabel*>(widget);
            if (caption != nullptr) {
                EXPECT_EQ(caption->text(), Q(c.Caption));
            }
        }
    }
    for (int part = 0; part < kSearchPartCount; ++part) {
        EXPECT_NE(dialog->findChild<QCheckBox*>("SearchFree_" + Q(SearchPartName(part))), nullptr);
    }
    auto* table = dialog->findChild<QTableWidget*>(QStringLiteral("SearchAnswers"));
    ASSERT_EQ(table->columnCount(), static_cast<int>(SearchDialogForm().Columns.size()));
    // Opened the first time beside the window, not over it.
    EXPECT_FALSE(dialog->frameGeometry().intersects(form->frameGeometry()) &&
                 dialog->screen()->availableGeometry().width() >=
                     form->frameGeometry().width() + dialog->frameGeometry().width() + 16);
}

// A number typed outside its field's range is kept as typed (not clamped) and 探索
// refuses it in the core's words, searching nothing; each bound goes into the query.
TEST(SearchDialogForm, ItsBoxesTakeWhatTheSearchTakes) {
    WindowWithSearch w;
    SearchDialog* dialog = w.dialog;
    ASSERT_NE(dialog, nullptr);
    auto* status = Find<QLabel>(*dialog, "SearchStatus");
    w.Click("SearchFreeNone");
    for (const DialogControl& c : SearchDialogForm().Controls) {
        if (c.Kind != DialogKind::Number) {
            continue;
        }
        SCOPED_TRACE(c.Name);
        auto* box = Find<QSpinBox>(*dialog, Q(c.Name));
        if (!c.Switch.empty()) {
            Find<QCheckBox>(*dialog, Q(c.Switch))->setChecked(true);
        }
        for (const int64_t wrong : {int64_t{c.Limit->Low} - 1, int64_t{c.Limit->High} + 1}) {
            if (wrong < 0 || wrong > std::numeric_limits<int>::max()) {
                continue;
            }
            box->clear();
            QTest::keyClicks(box, QString::number(wrong));
            EXPECT_EQ(box->value(), wrong);
            w.Click("SearchRun");
            EXPECT_FALSE(dialog->Searching());
            EXPECT_EQ(status->text(), Q(QueryRefusal(c.Field, *c.Limit)));
        }
        box->setValue(c.Limit->Low);
        EXPECT_NO_THROW(ValidateQuery(dialog->Query()));
        box->setValue(c.Limit->High);
        EXPECT_NO_THROW(ValidateQuery(dialog->Query()));
    }
    const SearchQuery query = dialog->Query();
    EXPECT_EQ(query.Budget, kBudgetLimit.High);
    EXPECT_EQ(query.Min[kMinDistance], kMinimumLimit.High);
    w.Search();
    ASSERT_NE(dialog->Shown(), nullptr);
    EXPECT_TRUE(dialog->Shown()->Answers.empty());
    EXPECT_EQ(dialog->Shown()->Reaches.size(), static_cast<size_t>(kMinimumCount));
}

// Answers of an older query are greyed and neither 適用 nor a selection applies them; a
// new search clears them at once; after 適用 the minimums that are off follow the window.
TEST(SearchDialogForm, OlderAnswersStopApplyingAndDefaultsFollowTheWindow) {
    WindowWithSearch w;
    SearchDialog* dialog = w.dialog;
    ASSERT_NE(dialog, nullptr);
    const auto& form = w.form;
    w.Click("SearchFreeNone");
    for (const char* part : {"SearchFree_Ring", "SearchFree_PowSlotUp"}) {
        Find<QCheckBox>(*dialog, part)->click();
    }
    auto* objective = Find<QComboBox>(*dialog, "SearchObjective");
    objective->setCurrentIndex(static_cast<int>(SearchObjective::Pow));
    auto* apply = Find<QPushButton>(*dialog, "SearchApply");
    auto* table = Find<QTableWidget>(*dialog, "SearchAnswers");
    w.Search();
    ASSERT_GE(table->rowCount(), 2);
    EXPECT_TRUE(apply->isEnabled());

    auto* ctrlOn = Find<QCheckBox>(*dialog, "SearchMinOn_ctrl");
    ctrlOn->click();
    EXPECT_FALSE(table->isEnabled());
    EXPECT_FALSE(apply->isEnabled());
    EXPECT_EQ(TextOf(*dialog, "SearchStatus"), Q(DialogText(DialogTextId::Stale)));
    const QString before = TextOf(*form, "Label_LastPow");
    table->clearSelection();
    table->selectRow(1);
    EXPECT_FALSE(apply->isEnabled());
    EXPECT_EQ(TextOf(*form, "Label_LastPow"), before);
    ctrlOn->click();  // still stale: the query is the old one again, but nothing says so

    objective->setCurrentIndex(static_cast<int>(SearchObjective::Sum));
    Find<QPushButton>(*dialog, "SearchRun")->click();
    EXPECT_LE(table->rowCount(), 1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !dialog->Searching(); }, 30000));
    ASSERT_TRUE(table->isEnabled());
    table->selectRow(1);
    ASSERT_TRUE(apply->isEnabled());
    apply->click();
    QApplication::processEvents();
    EXPECT_EQ(QString::number(Find<QSpinBox>(*dialog, "SearchMin_pow")->value()),
              TextOf(*form, "Label_LastPow"));
    EXPECT_TRUE(table->isEnabled()) << "applying is no change of the query";
}
