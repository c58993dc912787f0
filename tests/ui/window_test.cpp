#include <QApplication>
#include <QFontInfo>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QTabWidget>
#include <QTest>
#include <QToolTip>

#include "characters/roster.h"
#include "ui_test_support.h"

namespace {

QString Q(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Every widget that the window's design names, with the kind it must be.
struct NamedWidgets {
    QStringList Groups, Lists, Spinners, NumberBoxes, Labels, Buttons, Pages;
};

NamedWidgets AllNames() {
    NamedWidgets n;
    n.Groups << "GroupBox1"
             << "gbSpecialCard"
             << "GroupBox3"
             << "GroupBox2"
             << "GroupBox14";
    n.Lists << "ComboBox1"
            << "cbSpecialCard"
            << "ComboBox3"
            << "ComboBox2";
    n.Labels << "Label_CaddieEffect"
             << "Label30"
             << "Label122"
             << "Label18"
             << "Label19"
             << "Label22"
             << "Label23"
             << "Label174"
             << "Label67"
             << "Label_LastPow"
             << "Label_LastCtrl"
             << "Label_LastExa"
             << "Label_LastSpin"
             << "Label_LastCur";
    n.Buttons << "Button_ClubFullTune"
              << "Button1"
              << "Button2";
    for (int i = 1; i <= kStatCount; ++i) {
        n.Labels << QStringLiteral("Label%1").arg(12 + i) << QStringLiteral("Label_Club%1").arg(i)
                 << QStringLiteral("Label_ClubSlot%1").arg(i);
        n.Spinners << QStringLiteral("UpDown_Club%1").arg(i);
        n.NumberBoxes << QStringLiteral("Edit_Club%1").arg(i);
    }
    const char* ppLabels[] = {"Label32",  "Label123", "Label47",  "Label124", "Label49",
                              "Label125", "Label51",  "Label126", "Label65",  "Label127",
                              "Label107", "Label128", "Label121", "Label129", "Label163",
                              "Label164", "Label201", "Label202", "Label310", "Label311"};
    for (const char* name : ppLabels) {
        n.Labels << QLatin1String(name);
    }
    for (const TCharaDef& def : Roster()) {
        const QString c = Q(def.Name);
        n.Pages << QStringLiteral("TabSheet%1").arg(def.Index + 1);
        n.Groups << Q(def.CardGroupName);
        for (TWearSlot slot : def.Slots) {
            n.Lists << QStringLiteral("ComboBox_%1%2").arg(c, Q(WearSlotKey(slot)));
        }
        for (const char* card :
             {"CharaCard1", "CharaCard2", "CharaCard3", "CaddieCard1", "CaddieCard2"}) {
            n.Lists << QStringLiteral("cb%1%2").arg(c, QLatin1String(card));
        }
        for (int j = 1; j <= kStatCount; ++j) {
            const int k = 5 * def.Index + j;
            n.Spinners << QStringLiteral("UpDown%1").arg(k);
            n.NumberBoxes << QStringLiteral("Edit%1").arg(k);
            n.Labels << QStringLiteral("Label_S%1").arg(k);
        }
    }
    return n;
}

}  // namespace

// Every named widget exists once, as the kind of widget its name stands for.
TEST(WindowWidgets, EveryNamedWidgetExists) {
    TempSettings settings;
    TForm1 form(settings.Path(), TLoadTime::Deferred);
    EXPECT_EQ(form.objectName(), "Form1");
    const NamedWidgets n = AllNames();
    EXPECT_EQ(n.Lists.size(), 4 + 136 + 50);
    EXPECT_EQ(n.Spinners.size(), 55);
    for (const QString& name : n.Groups) {
        EXPECT_EQ(form.findChildren<QGroupBox*>(name).size(), 1) << name.toStdString();
    }
    for (const QString& name : n.Lists) {
        EXPECT_EQ(form.findChildren<QComboBox*>(name).size(), 1) << name.toStdString();
    }
    for (const QString& name : n.Labels) {
        EXPECT_EQ(form.findChildren<QLabel*>(name).size(), 1) << name.toStdString();
    }
    for (const QString& name : n.Buttons) {
        EXPECT_EQ(form.findChildren<QPushButton*>(name).size(), 1) << name.toStdString();
    }
    for (const QString& name : n.Pages) {
        EXPECT_EQ(form.findChildren<QWidget*>(name).size(), 1) << name.toStdString();
    }
    // A number box belongs to the spinner of the same number.
    for (qsizetype i = 0; i < n.Spinners.size(); ++i) {
        auto* spinner = Find<QSpinBox>(form, n.Spinners[i]);
        auto* box = Find<QLineEdit>(form, n.NumberBoxes[i]);
        ASSERT_TRUE(spinner && box);
        EXPECT_EQ(box->parentWidget(), spinner) << n.NumberBoxes[i].toStdString();
    }
    auto* pages = Find<QTabWidget>(form, QStringLiteral("PageControl1"));
    for (const TCharaDef& def : Roster()) {
        EXPECT_EQ(pages->widget(def.Index)->objectName(),
                  QStringLiteral("TabSheet%1").arg(def.Index + 1));
        EXPECT_EQ(pages->tabText(def.Index), Q(def.Caption));
    }
}

// The window is fixed at 633 x 650, offers no maximise button and keeps its caption.
TEST(WindowWidgets, FixedWindowWithItsCaptionAndColour) {
    TempSettings settings;
    auto form = ShownWindow(settings);
    EXPECT_EQ(form->size(), QSize(633, 650));
    EXPECT_EQ(form->minimumSize(), QSize(633, 650));
    EXPECT_EQ(form->maximumSize(), QSize(633, 650));
    EXPECT_FALSE(form->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_EQ(form->windowTitle(), QStringLiteral("ケストレル ステータスシミュレータ"));
    EXPECT_TRUE(QApplication::applicationDisplayName().isEmpty() ||
                QApplication::applicationDisplayName() == QApplication::applicationName());
    EXPECT_EQ(form->palette().color(QPalette::Window), QColor(224, 224, 255));
    // The window's fonts draw Japanese text, whatever stands in for the named fonts.
    for (const char* name : {"Label13", "Label_LastPow", "Label18", "Label22"}) {
        const QFont font = Find<QLabel>(*form, QLatin1String(name))->font();
        EXPECT_TRUE(QFontMetrics(font).inFontUcs4(U'ケ')) << QFontInfo(font).family().toStdString();
    }
    EXPECT_EQ(Find<QLabel>(*form, QStringLiteral("Label_LastPow"))->font().pixelSize(), 15);
    EXPECT_EQ(form->font().pixelSize(), 12);
}

// Before the load every output shows its initial text; after it, what the core computed.
TEST(WindowWidgets, InitialTextsUntilTheLoad) {
    TempSettings settings;
    TForm1 form(settings.Path(), TLoadTime::Deferred);
    const QMap<QString, QString> initial = Outputs(form);
    const auto initialText = [](const QString& name) -> QString {
        if (name.startsWith("Label_S") || name.startsWith("Label_ClubSlot")) {
            return "/0";
        }
        if (name.startsWith("Edit") || name.startsWith("Label_Club") ||
            name.startsWith("Label_Last")) {
            return "0";
        }
        const QMap<QString, QString> fixed = {{"Label18", "(-0)"},
                                              {"Label19", "(-0)"},
                                              {"Label22", "230y"},
                                              {"Label23", "240y"},
                                              {"Label174", "250y"},
                                              {"Label67", "0 PP"},
                                              {"Label30", "0 PP"},
                                              {"Label122", "(0 PP)"},
                                              {"Label_CaddieEffect", "キャディの効果"},
                                              {"Label13", "パワー"},
                                              {"Label14", "コントロール"},
                                              {"Label15", "正確度"},
                                              {"Label16", "スピン"},
                                              {"Label17", "カーブ"}};
        if (fixed.contains(name)) {
            return fixed[name];
        }
        return QString();
    };
    int pageFigures = 0;
    for (auto it = initial.cbegin(); it != initial.cend(); ++it) {
        const QString expected = initialText(it.key());
        if (!expected.isEmpty()) {
            EXPECT_EQ(it.value(), expected) << it.key().toStdString();
        } else if (it.value() == "0 PP" || it.value() == "(0 PP)") {
            ++pageFigures;
        } else {
            ADD_FAILURE() << "unexpected initial text of " << it.key().toStdString() << ": "
                          << it.value().toStdString();
        }
    }
    EXPECT_EQ(pageFigures, 2 * CharaCount);
    EXPECT_EQ(Find<QComboBox>(form, "cbBastianCharaCard1")->count(), 1);
    EXPECT_EQ(Find<QComboBox>(form, "cbWrenCaddieCard2")->count(), 1);
    EXPECT_EQ(Find<QWidget>(form, "Button1")->toolTip(),
              "自分のキャラに合わせて保存しておくと便利です。");
    EXPECT_EQ(Find<QWidget>(form, "Button_ClubFullTune")->toolTip(), "フルチューン");
    EXPECT_TRUE(Find<QWidget>(form, "Label13")->toolTip().isEmpty());

    form.RunCreationLoad();
    ExpectShowsCore(form);
    // Nothing is left at its initial text unless the core computed that same text.
    const QMap<QString, QString> loaded = Outputs(form);
    EXPECT_EQ(loaded["Label_CaddieEffect"], "");
    EXPECT_EQ(loaded["Label18"], "");
    EXPECT_NE(loaded["Label_LastPow"], "0");
    EXPECT_EQ(Find<QComboBox>(form, "cbBastianCharaCard1")->count(), 15);
    EXPECT_EQ(Find<QComboBox>(form, "cbWrenCaddieCard2")->count(), 5);
    EXPECT_EQ(Find<QWidget>(form, "Button1")->toolTip(),
              "現在の設定を保存します。\n自分のキャラに合わせて保存しておくと便利です。");
    EXPECT_EQ(Find<QWidget>(form, "Button_ClubFullTune")->toolTip(),
              "クラブフルチューンボタン\n(クラブの残りスロット分をすべて上げます)");
}

// Number boxes take no typing and no wheel, and Tab never lands on a spinner.
TEST(WindowWidgets, NumberBoxesOnlyStep) {
    TempSettings settings;
    auto form = ShownWindow(settings);
    auto* spinner = Find<QSpinBox>(*form, "UpDown1");
    auto* box = Find<QLineEdit>(*form, "Edit1");
    EXPECT_TRUE(box->isReadOnly());
    QTest::mouseClick(box, Qt::LeftButton);
    QTest::keyClicks(box, "7");
    EXPECT_EQ(box->text(), "0");
    QTest::keyClick(box, Qt::Key_Up);
    EXPECT_EQ(box->text(), "1");
    QTest::keyClick(box, Qt::Key_PageUp);
    EXPECT_EQ(box->text(), "2");
    QTest::keyClick(box, Qt::Key_Down);
    EXPECT_EQ(spinner->value(), 1);
    QWheelEvent wheel(QPointF(5, 5), spinner->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, 120),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(spinner, &wheel);
    EXPECT_EQ(spinner->value(), 1);

    Find<QWidget>(*form, "ComboBox1")->setFocus();
    for (int i = 0; i < 400; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QWidget* focus = QApplication::focusWidget();
        ASSERT_NE(focus, nullptr);
        ASSERT_EQ(qobject_cast<QSpinBox*>(focus), nullptr) << focus->objectName().toStdString();
        ASSERT_EQ(qobject_cast<QSpinBox*>(focus->parentWidget()), nullptr)
            << focus->objectName().toStdString();
    }
}

// Hints show 50 ms after the pointer rests and hide 3000 ms later; labels that explain
// themselves show the help cursor, the buttons the pointing hand.
TEST(WindowHints, TimingAndCursors) {
    TempSettings settings;
    auto form = ShownWindow(settings);
    EXPECT_EQ(QApplication::style()->styleHint(QStyle::SH_ToolTip_WakeUpDelay), 50);

    auto* distance = Find<QLabel>(*form, "Label22");
    QTest::mouseMove(form.get(), QPoint(1, 1));
    QTest::mouseMove(distance, distance->rect().center());
    QTRY_VERIFY_WITH_TIMEOUT(QToolTip::isVisible(), 1000);
    EXPECT_EQ(QToolTip::text(), "1Wの飛距離(通常)");
    QTest::qWait(2500);
    EXPECT_TRUE(QToolTip::isVisible());
    QTRY_VERIFY_WITH_TIMEOUT(!QToolTip::isVisible(), 1500);
    // A spinner's number box does not borrow the spinner's hint.
    auto* box = Find<QWidget>(*form, "Edit1");
    QTest::mouseMove(box, box->rect().center());
    QTest::qWait(300);
    EXPECT_FALSE(QToolTip::isVisible());

    EXPECT_EQ(distance->cursor().shape(), Qt::WhatsThisCursor);
    EXPECT_EQ(Find<QWidget>(*form, "Label_LastCtrl")->cursor().shape(), Qt::WhatsThisCursor);
    EXPECT_TRUE(Find<QWidget>(*form, "Label_LastCtrl")->toolTip().endsWith(" (Season2)"));
    EXPECT_EQ(Find<QWidget>(*form, "Label_LastPow")->cursor().shape(), Qt::ArrowCursor);
    EXPECT_EQ(Find<QWidget>(*form, "Label13")->cursor().shape(), Qt::WhatsThisCursor);
    EXPECT_EQ(Find<QWidget>(*form, "ComboBox_BastianTop")->cursor().shape(), Qt::WhatsThisCursor);
    EXPECT_EQ(Find<QWidget>(*form, "ComboBox_NoemiWaist")->toolTip(),
              "上下が選択されているときのみ使用できます。");
    EXPECT_EQ(Find<QWidget>(*form, "ComboBox_BastianShoes")->cursor().shape(), Qt::ArrowCursor);
    for (const char* button : {"Button1", "Button2", "Button_ClubFullTune"}) {
        EXPECT_EQ(Find<QWidget>(*form, QLatin1String(button))->cursor().shape(),
                  Qt::PointingHandCursor);
    }
    // A slot caption names what is worn there; a caption without a hint keeps the arrow.
    int withHint = 0;
    for (const QLabel* label : Find<QWidget>(*form, "TabSheet1")->findChildren<QLabel*>()) {
        if (label->text() == "頭1") {
            EXPECT_EQ(label->toolTip(), "帽子");
            EXPECT_EQ(label->cursor().shape(), Qt::WhatsThisCursor);
            ++withHint;
        }
        if (label->text() == "靴") {
            EXPECT_EQ(label->cursor().shape(), Qt::ArrowCursor);
        }
    }
    EXPECT_EQ(withHint, 1);
    // A spinner's hint breaks its line where the core has a carriage return.
    EXPECT_EQ(Find<QWidget>(*form, "UpDown1")->toolTip(), "次上げるのに\n  2100 PP");
}
