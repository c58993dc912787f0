#include "ui_test_support.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

#include "characters/roster.h"

namespace {

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

}  // namespace

TempSettings::TempSettings()
    : path_(dir_.filePath(QStringLiteral("kestrel-simulator.ini")).toStdString()) {}

void TempSettings::Write(const std::string& text) const {
    QFile file(Q(path_));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(text.data(), static_cast<qint64>(text.size()));
}

std::string TempSettings::Read() const {
    QFile file(Q(path_));
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return file.readAll().toStdString();
}

std::unique_ptr<TForm1> ShownWindow(const TempSettings& settings) {
    auto form = std::make_unique<TForm1>(settings.Path());
    form->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    return form;
}

std::unique_ptr<TForm1> ActiveWindow(const TempSettings& settings) {
    auto form = ShownWindow(settings);
    form->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(form.get()));
    return form;
}

void SaveShot(QWidget& widget, const QString& name) {
    const QByteArray folder = qgetenv("KESTREL_SHOTS");
    if (!folder.isEmpty()) {
        widget.grab().save(QString::fromLocal8Bit(folder) + '/' + name + ".png");
    }
}

QString TextOf(const QWidget& root, const QString& name) {
    if (auto* label = root.findChild<QLabel*>(name)) {
        return label->text();
    }
    if (auto* edit = root.findChild<QLineEdit*>(name)) {
        return edit->text();
    }
    ADD_FAILURE() << "no text widget " << name.toStdString();
    return {};
}

QMap<QString, QString> Outputs(const QWidget& root) {
    QMap<QString, QString> texts;
    for (const QLabel* label : root.findChildren<QLabel*>()) {
        if (!label->objectName().isEmpty()) {
            texts.insert(label->objectName(), label->text());
        }
    }
    for (const QLineEdit* edit : root.findChildren<QLineEdit*>()) {
        if (!edit->objectName().isEmpty()) {
            texts.insert(edit->objectName(), edit->text());
        }
    }
    return texts;
}

CoreMirror::CoreMirror(const TForm1& form) {
    const TSimulator& sim = form.Simulator();
    const TDisplay& d = sim.Display;
    const auto text = [&](const QString& name, const std::string& source) {
        auto* label = form.findChild<QLabel*>(name);
        auto* edit = label == nullptr ? form.findChild<QLineEdit*>(name) : nullptr;
        EXPECT_TRUE(label != nullptr || edit != nullptr) << "no text widget " << name.toStdString();
        texts_.push_back({name.toStdString(), label, edit, &source, nullptr});
    };
    const auto count = [&](const QString& name, const int32_t& source) {
        auto* edit = form.findChild<QLineEdit*>(name);
        EXPECT_NE(edit, nullptr) << name.toStdString();
        texts_.push_back({name.toStdString(), nullptr, edit, nullptr, &source});
    };
    const char* finals[] = {"Label_LastPow", "Label_LastCtrl", "Label_LastExa", "Label_LastSpin",
                            "Label_LastCur"};
    for (int i = 0; i < kStatCount; ++i) {
        text(QLatin1String(finals[i]), d.Last[i].Text);
        text(QStringLiteral("Label_Club%1").arg(i + 1), d.ClubBaseText[i]);
        text(QStringLiteral("Label_ClubSlot%1").arg(i + 1), d.ClubSlotText[i]);
        count(QStringLiteral("Edit_Club%1").arg(i + 1), sim.State.ClubSpinners[i].Position);
    }
    text(QStringLiteral("Label18"), d.ControlPenalty.Text);
    text(QStringLiteral("Label19"), d.AccuracyPenalty.Text);
    text(QStringLiteral("Label22"), d.DistanceNormalText);
    text(QStringLiteral("Label23"), d.DistancePowerText);
    text(QStringLiteral("Label174"), d.DistancePower2Text);
    text(QStringLiteral("Label67"), d.TotalPPText);
    text(QStringLiteral("Label30"), d.ClubPPNeededText);
    text(QStringLiteral("Label122"), d.ClubPPTotalText);
    text(QStringLiteral("Label_CaddieEffect"), d.CaddieEffectText);
    for (int c = 0; c < CharaCount; ++c) {
        const TCharaState& chara = sim.State.Chara[c];
        const int32_t* counts[] = {&chara.PowSlotUp, &chara.CtrlSlotUp, &chara.ExaSlotUp,
                                   &chara.SpinSlotUp, &chara.CurSlotUp};
        for (int j = 0; j < kStatCount; ++j) {
            const int n = 5 * c + j + 1;
            text(QStringLiteral("Label_S%1").arg(n), d.Pages[c].SlotLimitText[j]);
            count(QStringLiteral("Edit%1").arg(n), *counts[j]);
        }
    }
    const auto list = [&](const char* name, const int32_t& source) {
        lists_.push_back({Find<QComboBox>(form, QLatin1String(name)), &source});
    };
    list("ComboBox1", sim.State.Level);
    list("ComboBox2", sim.State.Club);
    list("ComboBox3", sim.State.Caddie);
}

std::vector<std::string> CoreMirror::Differences() const {
    std::vector<std::string> differences;
    for (const Text& t : texts_) {
        const QString shown = t.Label != nullptr  ? t.Label->text()
                              : t.Edit != nullptr ? t.Edit->text()
                                                  : QString();
        const std::string expected = t.String != nullptr ? *t.String : std::to_string(*t.Number);
        if (shown != Q(expected)) {
            differences.push_back(t.Name + " shows \"" + shown.toStdString() +
                                  "\", the core holds \"" + expected + "\"");
        }
    }
    for (const List& l : lists_) {
        if (l.Widget->currentIndex() != *l.Index) {
            differences.push_back(l.Widget->objectName().toStdString() + " shows entry " +
                                  std::to_string(l.Widget->currentIndex()) + ", the core holds " +
                                  std::to_string(*l.Index));
        }
    }
    return differences;
}

void ExpectShowsCore(const TForm1& form) {
    for (const std::string& difference : CoreMirror(form).Differences()) {
        ADD_FAILURE() << difference;
    }
}

void PickWithMouse(QComboBox* list, int index) {
    QTest::mouseClick(list, Qt::LeftButton);
    QAbstractItemView* view = list->view();
    ASSERT_TRUE(view->isVisible());
    // An open list ignores a release that comes within a double-click time of opening.
    QTest::qWait(QApplication::doubleClickInterval() + 20);
    const QModelIndex item = view->model()->index(index, list->modelColumn());
    view->scrollTo(item);
    const QPoint at = view->visualRect(item).center();
    // A press, a move and a release on the item, as a hand would pick it.
    QTest::mouseMove(view->viewport(), at);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
    QApplication::processEvents();
}

void ClickUpArrow(QSpinBox* spinner) {
    QTest::mouseClick(spinner, Qt::LeftButton, {}, QPoint(spinner->width() - 6, 4));
}

void ClickDownArrow(QSpinBox* spinner) {
    QTest::mouseClick(spinner, Qt::LeftButton, {},
                      QPoint(spinner->width() - 6, spinner->height() - 4));
}

void ClickTab(const TForm1& form, int index) {
    auto* pages = Find<QTabWidget>(form, QStringLiteral("PageControl1"));
    QTabBar* bar = pages->tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
}

MessageBoxAnswer::MessageBoxAnswer() : timer_(std::make_unique<QTimer>()) {
    timer_->setInterval(10);
    QObject::connect(timer_.get(), &QTimer::timeout, timer_.get(), [this] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr) {
            return;
        }
        seen_ = true;
        Text = box->text();
        Caption = box->windowTitle();
        Icon = box->icon();
        Buttons = static_cast<int>(box->buttons().size());
        if (QAbstractButton* ok = box->button(QMessageBox::Ok)) {
            ok->click();
        } else {
            box->reject();
        }
        timer_->stop();
    });
    timer_->start();
}
