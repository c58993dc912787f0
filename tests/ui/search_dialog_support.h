#pragma once

// The window with its build search dialog open, for the dialog's tests.

#include <QApplication>
#include <QCheckBox>
#include <QPushButton>
#include <QTest>
#include <memory>

#include "ui/search_dialog.h"
#include "ui_test_support.h"
#include "window_driver.h"

// Bastian at the top level with an outfit, cards, a caddie and a club set, and no saved
// PP: the window's total PP then counts from zero, as the answers do.
inline const char* const kSearchStartFile =
    "[Window]\nLeft=0\nTop=0\n[Character]\nLevel=12\nTabIndex=0\n"
    "[Bastian]\nTop=4\nPants=7\nShoes=6\nHand=6\nHead1=7\nFace=5\nAcce=2\nRing=1\n"
    "CharaCard1=3\nCharaCard2=5\nCaddieCard1=1\nPowSlotUp=4\nCtrlSlotUp=3\n"
    "[Caddie]\nCaddie=3\n[SpecialCard]\nSpecialCard=1\n[Club]\nClub=21\n"
    "[Club21]\nPowSlotUp=2\nCtrlSlotUp=1\n";

// The window on kSearchStartFile, its search dialog opened by Ctrl+F.
struct WindowWithSearch {
    WindowWithSearch() {
        settings.Write(kSearchStartFile);
        form = ActiveWindow(settings);
        WindowDriver(*form).PressKey(Qt::Key_F, Qt::ControlModifier);
        QApplication::processEvents();
        dialog = form->findChild<SearchDialog*>(QStringLiteral("SearchDialog"));
    }

    void Click(const char* button) const {
        QTest::mouseClick(Find<QPushButton>(*dialog, button), Qt::LeftButton);
    }
    // Presses "探索" and waits for the answer.
    void Search() const {
        Click("SearchRun");
        ASSERT_TRUE(QTest::qWaitFor([&] { return !dialog->Searching(); }, 30000));
    }

    TempSettings settings;
    std::unique_ptr<TForm1> form;
    SearchDialog* dialog = nullptr;
};

class SearchDialogWindow : public ::testing::Test, public WindowWithSearch {
protected:
    void SetUp() override { ASSERT_NE(dialog, nullptr); }
};
