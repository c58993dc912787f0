#pragma once

// The dialog "持ち物": what the player owns, a page per character and a page of the lists
// every page shares, each list with a check per entry, "すべて" / "なし" per list and
// for everything, a filter by text and the counts of what is owned. Its controls and
// texts are those of the core's description (simulator/holdings_form.h), which the page
// renders as well.
//
// The dialog edits a copy of the window's holdings: "OK" hands it to the window
// (keepRequested), which saves it and closes the dialog when the save succeeds;
// "キャンセル" drops it. The copy can be exported and imported as a file and as a code.

#include <QDialog>
#include <QString>
#include <string>
#include <vector>

#include "simulator/holdings_form.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QTabWidget;

class HoldingsDialog : public QDialog {
    Q_OBJECT

public:
    explicit HoldingsDialog(QWidget* parent);

    // Shows the dialog in front over a copy of `holdings`; `problem`, when not empty,
    // says why the holdings file was not used.
    void Open(const THoldings& holdings, const std::string& problem);
    const THoldings& Edited() const { return edited_; }

    // The export and the import of a file the player chose (the buttons ask for it).
    void ExportTo(const QString& path);
    void ImportFrom(const QString& path);

signals:
    void keepRequested(const THoldings& holdings);

private:
    struct ShownList {
        const HoldingsList* List;
        QListWidget* Widget;
        QLabel* Count;
    };

    void Build();
    QWidget* BuildPage(const HoldingsPage& page);
    QWidget* BuildList(const HoldingsList& list);
    void Connect();
    // Shows `edited_` in every check and count.
    void ShowEdited();
    void ShowCounts();
    void EntryToggled(const ShownList& shown, QListWidgetItem* item);
    void Filter(const QString& text);
    void Say(const std::string& message);
    void CopyCode();
    void PasteCode();

    THoldings edited_;
    std::vector<ShownList> lists_;
    QLineEdit* filter_ = nullptr;
    QLabel* count_ = nullptr;
    QLabel* message_ = nullptr;
    QTabWidget* pages_ = nullptr;
};
