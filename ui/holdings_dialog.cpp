#include "ui/holdings_dialog.h"

#include <QClipboard>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QVBoxLayout>

#include "engine/errors.h"
#include "search/holdings_text.h"
#include "simulator/holdings_code.h"
#include "ui/look.h"
#include "ui/qt_text.h"

namespace {

constexpr int kListColumns = 3;

const HoldingsControl& ControlOf(HoldingsControlKind kind, std::string_view name = {}) {
    for (const HoldingsControl& c : HoldingsDialogForm().Controls) {
        if (c.Kind == kind && (name.empty() || c.Name == name)) {
            return c;
        }
    }
    return HoldingsDialogForm().Controls.front();
}

QPushButton* MakeButton(const HoldingsControl& c) {
    auto* button = new QPushButton(Q(c.Caption));
    button->setObjectName(Q(c.Name));
    button->setToolTip(Q(c.Hint));
    button->setAutoDefault(false);
    button->setDefault(c.Default);
    return button;
}

QString CountText(int32_t owned, int32_t total) {
    return Q(HoldingsText(HoldingsTextId::Count, {std::to_string(owned), std::to_string(total)}));
}

bool IsNone(const HoldingsList& list, int32_t entry) {
    return list.Chara >= 0 ? IsNoneEntry(list.Chara, list.Slot, entry)
                           : IsNoneEntry(list.Kind, entry);
}

}  // namespace

HoldingsDialog::HoldingsDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("HoldingsDialog"));
    setWindowTitle(Q(HoldingsDialogForm().Title));
    setFont(PixelFont(kUiGothic, 12));
    QPalette shade = palette();
    shade.setColor(QPalette::Window, kWindowColour);
    setPalette(shade);
    Build();
    resize(960, 640);
}

void HoldingsDialog::Build() {
    using K = HoldingsControlKind;
    auto* layout = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    const HoldingsControl& filter = ControlOf(K::Filter);
    filter_ = new QLineEdit;
    filter_->setObjectName(Q(filter.Name));
    filter_->setPlaceholderText(Q(HoldingsText(HoldingsTextId::FilterHint)));
    filter_->setToolTip(Q(filter.Hint));
    filter_->setClearButtonEnabled(true);
    auto* caption = new QLabel(Q(filter.Caption));
    caption->setBuddy(filter_);
    top->addWidget(caption);
    top->addWidget(filter_, 1);
    auto* bottom = new QHBoxLayout;
    auto* closing = new QHBoxLayout;
    for (const HoldingsControl& c : HoldingsDialogForm().Controls) {
        if (c.Kind == K::Button) {
            QPushButton* button = MakeButton(c);
            (c.Closes ? closing
                      : (c.Name == "HoldingsAll" || c.Name == "HoldingsNone" ? top : bottom))
                ->addWidget(button);
        } else if (c.Kind == K::Count) {
            count_ = new QLabel;
            count_->setObjectName(Q(c.Name));
            top->addWidget(count_);
        } else if (c.Kind == K::Message) {
            message_ = new QLabel;
            message_->setObjectName(Q(c.Name));
            message_->setWordWrap(true);
            bottom->addWidget(message_, 1);
        } else if (c.Kind == K::Pages) {
            pages_ = new QTabWidget;
            pages_->setObjectName(Q(c.Name));
        }
    }
    for (const HoldingsPage& page : HoldingsDialogForm().Pages) {
        pages_->addTab(BuildPage(page), Q(page.Caption));
    }
    layout->addLayout(top);
    layout->addWidget(pages_, 1);
    layout->addLayout(bottom);
    closing->insertStretch(0, 1);
    layout->addLayout(closing);
    Connect();
}

QWidget* HoldingsDialog::BuildPage(const HoldingsPage& page) {
    auto* scroll = new QScrollArea;
    scroll->setWidgetResizable(true);
    auto* inner = new QWidget;
    auto* grid = new QGridLayout(inner);
    for (size_t l = 0; l < page.Lists.size(); ++l) {
        grid->addWidget(BuildList(page.Lists[l]), static_cast<int>(l) / kListColumns,
                        static_cast<int>(l) % kListColumns);
    }
    grid->setRowStretch(grid->rowCount(), 1);
    scroll->setWidget(inner);
    return scroll;
}

QWidget* HoldingsDialog::BuildList(const HoldingsList& list) {
    auto* group = new QGroupBox(Q(list.Caption));
    auto* layout = new QVBoxLayout(group);
    auto* head = new QHBoxLayout;
    auto* count = new QLabel;
    count->setObjectName(Q(HoldingsListCountName(list)));
    head->addWidget(count, 1);
    for (const bool all : {true, false}) {
        auto* button = new QPushButton(
            Q(HoldingsText(all ? HoldingsTextId::ListAll : HoldingsTextId::ListNone)));
        button->setObjectName(Q(all ? HoldingsListAllName(list) : HoldingsListNoneName(list)));
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, [this, &list, all] {
            SetListOwned(edited_, list, all);
            ShowEdited();
        });
        head->addWidget(button);
    }
    auto* widget = new QListWidget;
    widget->setObjectName(Q(HoldingsListName(list)));
    widget->setMinimumHeight(150);
    for (size_t e = 0; e < list.Entries.size(); ++e) {
        auto* item = new QListWidgetItem(Q(list.Entries[e]), widget);
        if (IsNone(list, static_cast<int32_t>(e))) {
            item->setFlags(Qt::ItemIsEnabled);
            item->setToolTip(Q(HoldingsText(HoldingsTextId::NoneAlways)));
        } else {
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        }
        item->setCheckState(Qt::Checked);
    }
    lists_.push_back({&list, widget, count});
    layout->addLayout(head);
    layout->addWidget(widget, 1);
    return group;
}

void HoldingsDialog::Connect() {
    for (const ShownList& shown : lists_) {
        connect(shown.Widget, &QListWidget::itemChanged, this,
                [this, shown](QListWidgetItem* item) { EntryToggled(shown, item); });
    }
    connect(filter_, &QLineEdit::textChanged, this, &HoldingsDialog::Filter);
    const auto button = [this](const char* name) {
        return findChild<QPushButton*>(QString::fromUtf8(name));
    };
    connect(button("HoldingsAll"), &QPushButton::clicked, this, [this] {
        edited_ = HoldingsOfAll(true);
        ShowEdited();
    });
    connect(button("HoldingsNone"), &QPushButton::clicked, this, [this] {
        edited_ = HoldingsOfAll(false);
        ShowEdited();
    });
    connect(button("HoldingsCopyCode"), &QPushButton::clicked, this, &HoldingsDialog::CopyCode);
    connect(button("HoldingsPasteCode"), &QPushButton::clicked, this, &HoldingsDialog::PasteCode);
    const QString filter = Q(HoldingsText(HoldingsTextId::FileFilter));
    connect(button("HoldingsExport"), &QPushButton::clicked, this, [this, filter] {
        const QString path = QFileDialog::getSaveFileName(
            this, Q(HoldingsText(HoldingsTextId::ExportTitle)), QString(), filter);
        if (!path.isEmpty()) {
            ExportTo(path);
        }
    });
    connect(button("HoldingsImport"), &QPushButton::clicked, this, [this, filter] {
        const QString path = QFileDialog::getOpenFileName(
            this, Q(HoldingsText(HoldingsTextId::ImportTitle)), QString(), filter);
        if (!path.isEmpty()) {
            ImportFrom(path);
        }
    });
    connect(button("HoldingsOk"), &QPushButton::clicked, this,
            [this] { emit keepRequested(edited_); });
    connect(button("HoldingsCancel"), &QPushButton::clicked, this, &QDialog::reject);
}

void HoldingsDialog::Open(const THoldings& holdings, const std::string& problem) {
    edited_ = holdings;
    filter_->clear();
    ShowEdited();
    Say(problem);
    show();
    raise();
    activateWindow();
}

void HoldingsDialog::ShowEdited() {
    for (const ShownList& shown : lists_) {
        const QSignalBlocker blocker(shown.Widget);
        for (int e = 0; e < shown.Widget->count(); ++e) {
            shown.Widget->item(e)->setCheckState(
                OwnsEntry(edited_, *shown.List, e) ? Qt::Checked : Qt::Unchecked);
        }
    }
    ShowCounts();
}

void HoldingsDialog::ShowCounts() {
    for (const ShownList& shown : lists_) {
        shown.Count->setText(CountText(OwnedCount(edited_, *shown.List),
                                       static_cast<int32_t>(shown.List->Entries.size())));
    }
    count_->setText(CountText(OwnedCount(edited_), EntryTotal()));
}

void HoldingsDialog::EntryToggled(const ShownList& shown, QListWidgetItem* item) {
    const int entry = shown.Widget->row(item);
    SetEntryOwned(edited_, *shown.List, entry, item->checkState() == Qt::Checked);
    ShowCounts();
}

void HoldingsDialog::Filter(const QString& text) {
    const std::string filter = text.toStdString();
    for (const ShownList& shown : lists_) {
        for (int e = 0; e < shown.Widget->count(); ++e) {
            shown.Widget->item(e)->setHidden(
                !MatchesFilter(shown.List->Entries[static_cast<size_t>(e)], filter));
        }
    }
}

void HoldingsDialog::Say(const std::string& message) {
    message_->setText(Q(message));
}

void HoldingsDialog::CopyCode() {
    QGuiApplication::clipboard()->setText(Q(EncodeHoldings(edited_)));
    Say(HoldingsText(HoldingsTextId::CodeCopied));
}

// A code that cannot be read changes nothing and says why.
void HoldingsDialog::PasteCode() {
    try {
        edited_ = DecodeHoldings(QGuiApplication::clipboard()->text().toStdString());
        ShowEdited();
        Say(HoldingsText(HoldingsTextId::CodeRead));
    } catch (const EHoldingsError& error) {
        Say(std::string(error.what()) + "。");
    }
}

void HoldingsDialog::ExportTo(const QString& path) {
    try {
        ExportHoldings(path.toStdString(), edited_);
        Say(HoldingsText(HoldingsTextId::Exported, {path.toStdString()}));
    } catch (const ESimError& error) {
        Say(std::string(error.what()) + "。");
    }
}

void HoldingsDialog::ImportFrom(const QString& path) {
    try {
        edited_ = ImportHoldings(path.toStdString());
        ShowEdited();
        Say(HoldingsText(HoldingsTextId::Imported, {path.toStdString()}));
    } catch (const ESimError& error) {
        Say(HoldingsText(HoldingsTextId::ImportFailed, {path.toStdString(), error.what()}));
    }
}
