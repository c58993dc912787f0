// The holdings' dialog through the real window: its wiring to the holdings file, the
// window's lists, the clipboard and files (the edits themselves are the core's).

#include <QApplication>
#include <QClipboard>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <filesystem>

#include "characters/roster.h"
#include "search/holdings_text.h"
#include "simulator/holdings_code.h"
#include "tests/settings/temp_folder.h"
#include "ui/holdings_dialog.h"
#include "ui/qt_text.h"
#include "ui_test_support.h"
#include "window_driver.h"

namespace {

// The first page's first wear slot: its list in the dialog and in the window.
const HoldingsList& FirstList() {
    return HoldingsDialogForm().Pages[0].Lists[0];
}

QString WindowListName(const HoldingsList& list) {
    const TCharaDef& def = CharaDef(list.Chara);
    return Q("ComboBox_" + std::string(def.Name) +
             std::string(WearSlotKey(def.Slots[static_cast<size_t>(list.Slot)])));
}

HoldingsDialog* OpenByKey(TForm1& form) {
    form.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&form));
    WindowDriver(form).PressKey(Qt::Key_H, Qt::ControlModifier);
    QApplication::processEvents();
    return form.findChild<HoldingsDialog*>(QStringLiteral("HoldingsDialog"));
}

void Click(const QWidget& root, const QString& name) {
    QTest::mouseClick(Find<QPushButton>(root, name), Qt::LeftButton);
}

void Toggle(QListWidget* list, int row) {
    QListWidgetItem* item = list->item(row);
    item->setCheckState(item->checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
}

}  // namespace

// Catches Ctrl+H not opening, a cancel that keeps, an OK that does not save beside the
// settings (or touches them), lists left unmarked, and a start that ignores the file.
TEST(HoldingsDialogWindow, EditsAreKeptByOkDroppedByCancelAndMarkedInTheLists) {
    TempSettings settings;
    settings.Write("[Character]\nTabIndex=0\n");
    const std::string holdingsPath = HoldingsFilePath(settings.Path());
    auto form = ShownWindow(settings);
    const std::string settingsBefore = settings.Read();
    const HoldingsList& list = FirstList();
    auto* windowList = Find<QComboBox>(*form, WindowListName(list));
    const QString plain = windowList->itemText(2);

    HoldingsDialog* dialog = OpenByKey(*form);
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(dialog->isVisible());
    auto* entries = Find<QListWidget>(*dialog, Q(HoldingsListName(list)));

    // Unticked, then dropped: nothing changes and nothing is written.
    Toggle(entries, 2);
    Click(*dialog, "HoldingsCancel");
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_TRUE(OwnsEverything(form->Holdings()));
    EXPECT_FALSE(std::filesystem::exists(holdingsPath));
    EXPECT_EQ(windowList->itemText(2), plain);

    // Unticked and kept: saved beside the settings file, marked in the window's list.
    dialog = OpenByKey(*form);
    EXPECT_EQ(entries->item(2)->checkState(), Qt::Checked);
    Toggle(entries, 2);
    EXPECT_EQ(TextOf(*dialog, Q(HoldingsListCountName(list))),
              Q("所持 " + std::to_string(list.Entries.size() - 1) + " / " +
                std::to_string(list.Entries.size())));
    SaveShot(*dialog, QStringLiteral("holdings-window"));
    Click(*dialog, "HoldingsOk");
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_FALSE(OwnsEntry(form->Holdings(), list, 2));
    EXPECT_EQ(LoadHoldingsFile(holdingsPath).Holdings, form->Holdings());
    EXPECT_EQ(windowList->itemText(2), plain + "（未所持）");
    EXPECT_EQ(settings.Read(), settingsBefore);

    // A window opened anew reads the holdings file.
    form.reset();
    form = ShownWindow(settings);
    EXPECT_EQ(Find<QComboBox>(*form, WindowListName(list))->itemText(2), plain + "（未所持）");
}

// Catches a button, the filter, a count, the clipboard or a file not wired to the edited
// copy, and a bad code or file that changes it.
TEST(HoldingsDialogWindow, ButtonsFilterCodesAndFilesEditTheCopy) {
    TempSettings settings;
    auto form = ShownWindow(settings);
    HoldingsDialog* dialog = OpenByKey(*form);
    ASSERT_NE(dialog, nullptr);
    Click(*dialog, "HoldingsNone");
    EXPECT_EQ(dialog->Edited(), HoldingsOfAll(false));
    EXPECT_EQ(TextOf(*dialog, "HoldingsCount"),
              Q("所持 " + std::to_string(OwnedCount(HoldingsOfAll(false))) + " / " +
                std::to_string(EntryTotal())));
    const HoldingsList& caddies = HoldingsDialogForm().Pages.back().Lists[2];
    auto* caddieList = Find<QListWidget>(*dialog, Q(HoldingsListName(caddies)));
    Click(*dialog, Q(HoldingsListAllName(caddies)));
    EXPECT_EQ(caddieList->item(3)->checkState(), Qt::Checked);
    Click(*dialog, Q(HoldingsListNoneName(caddies)));
    EXPECT_EQ(caddieList->item(3)->checkState(), Qt::Unchecked);
    Click(*dialog, "HoldingsAll");
    EXPECT_TRUE(OwnsEverything(dialog->Edited()));
    // Typed as an input method commits it (QTest types ASCII only).
    const std::string needle = caddies.Entries[3];
    Find<QLineEdit>(*dialog, "HoldingsFilter")->insert(Q(needle));
    for (int e = 0; e < caddieList->count(); ++e) {
        EXPECT_EQ(caddieList->item(e)->isHidden(), !MatchesFilter(caddies.Entries[e], needle));
    }

    Toggle(Find<QListWidget>(*dialog, Q(HoldingsListName(FirstList()))), 1);
    const THoldings edited = dialog->Edited();
    Click(*dialog, "HoldingsCopyCode");
    EXPECT_EQ(QGuiApplication::clipboard()->text(), Q(EncodeHoldings(edited)));
    Click(*dialog, "HoldingsAll");
    Click(*dialog, "HoldingsPasteCode");
    EXPECT_EQ(dialog->Edited(), edited);
    QGuiApplication::clipboard()->setText(QStringLiteral("hAAAAAAA"));
    Click(*dialog, "HoldingsPasteCode");
    EXPECT_EQ(dialog->Edited(), edited);
    EXPECT_EQ(TextOf(*dialog, "HoldingsMessage"), "持ち物コードが壊れています。");

    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("mine.json"));
    dialog->ExportTo(file);
    Click(*dialog, "HoldingsAll");
    dialog->ImportFrom(file);
    EXPECT_EQ(dialog->Edited(), edited);
    const QString bad = dir.filePath(QStringLiteral("bad.json"));
    WriteBytes(bad.toStdString(), "{\"Club\":[99]}");
    dialog->ImportFrom(bad);
    EXPECT_EQ(dialog->Edited(), edited);
    EXPECT_TRUE(TextOf(*dialog, "HoldingsMessage").contains("Club: 番号 99 は一覧にありません"));
    Click(*dialog, "HoldingsCancel");
    EXPECT_TRUE(OwnsEverything(form->Holdings()));
}

// Catches a damaged holdings file not said at the start or in the dialog, or replaced.
TEST(HoldingsDialogWindow, DamagedHoldingsFileIsSaidAndKept) {
    TempSettings settings;
    const std::string holdingsPath = HoldingsFilePath(settings.Path());
    WriteBytes(holdingsPath, "{\"Club\":[1,1]}");
    MessageBoxAnswer answer;
    auto form = ShownWindow(settings);
    EXPECT_TRUE(answer.Seen());
    EXPECT_TRUE(answer.Text.contains("の持ち物を読めません")) << answer.Text.toStdString();
    EXPECT_TRUE(OwnsEverything(form->Holdings()));
    HoldingsDialog* dialog = OpenByKey(*form);
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(TextOf(*dialog, "HoldingsMessage").contains("Club: 番号 1 が2回書かれています"));
    Click(*dialog, "HoldingsCancel");
    form.reset();
    EXPECT_EQ(ReadBytes(holdingsPath), "{\"Club\":[1,1]}");
}
