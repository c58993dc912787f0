// The dialog's controls, made one by one from their description: the query's inputs,
// the views of the answers, and a row of the answer table.

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <limits>

#include "characters/roster.h"
#include "search/dialog_form.h"
#include "ui/qt_text.h"
#include "ui/search_curve.h"
#include "ui/search_dialog.h"

namespace {

// The colours of the status captions of the window's final group.
const QColor kStatColours[kStatCount] = {
    {255, 34, 0}, {255, 153, 0}, {0, 187, 0}, {0, 170, 255}, {136, 0, 255}};

// The box takes any count a player types; one outside the field's limit is refused when
// the search starts, in the words every face uses, rather than cut short while typed.
QSpinBox* NumberBox(const DialogControl& c) {
    auto* box = new QSpinBox;
    box->setRange(0, std::numeric_limits<int>::max());
    box->setSingleStep(c.Step);
    box->setValue(c.Initial);
    box->setSuffix(Q(c.Suffix));
    box->setEnabled(c.Switch.empty());
    return box;
}

// The answers' table: its columns, the statuses in their colours, one row picked at once.
QTableWidget* AnswerTable() {
    const std::vector<std::string>& columns = SearchDialogForm().Columns;
    auto* table = new QTableWidget(0, static_cast<int>(columns.size()));
    for (int col = 0; col < table->columnCount(); ++col) {
        auto* item = new QTableWidgetItem(Q(columns[static_cast<size_t>(col)]));
        if (col >= SearchDialog::kFinalColumn && col < SearchDialog::kSumColumn) {
            item->setForeground(kStatColours[col - SearchDialog::kFinalColumn]);
        }
        table->setHorizontalHeaderItem(col, item);
    }
    table->verticalHeader()->hide();
    table->verticalHeader()->setDefaultSectionSize(20);
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table->horizontalHeader()->setSectionResizeMode(SearchDialog::kChangeTextsColumn,
                                                    QHeaderView::Stretch);
    table->setWordWrap(false);
    table->setTextElideMode(Qt::ElideRight);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Shown once a search within holdings asks for them.
    table->setColumnHidden(SearchDialog::kAcquiredColumn, true);
    table->setColumnHidden(SearchDialog::kGainColumn, true);
    return table;
}

const QColor kCurrentRowColour(232, 232, 240);

QString PageCaption(int32_t page) {
    return page >= 0 && page < CharaCount ? Q(CharaDef(page).Caption) : QStringLiteral("—");
}

}  // namespace

QString SearchDialogText(DialogTextId id, const QStringList& args) {
    std::vector<std::string> texts;
    for (const QString& arg : args) {
        texts.push_back(arg.toStdString());
    }
    return Q(DialogText(id, texts));
}

QWidget* SearchDialog::MakeControl(const DialogControl& c) {
    QWidget* widget = nullptr;
    switch (c.Kind) {
        case DialogKind::Choice: {
            auto* box = new QComboBox;
            for (const std::string& choice : c.Choices) {
                box->addItem(Q(choice));
            }
            box->setCurrentIndex(c.Initial);
            (c.Field == "character"   ? character_
             : c.Field == "objective" ? objective_
             : c.Field == "acquire"   ? acquire_
                                      : view_) = box;
            widget = box;
            break;
        }
        case DialogKind::Toggle: {
            auto* box = new QCheckBox(Q(c.Caption));
            box->setChecked(c.Initial != 0);
            if (c.Field == "noPenalty") {
                noPenalty_ = box;
            } else if (c.Name == "SearchBudgetOn") {
                budgetOn_ = box;
            } else {
                for (int m = 0; m < kMinimumCount; ++m) {
                    if (c.Name == "SearchMinOn_" + std::string(MinimumName(m))) {
                        minOn_[static_cast<size_t>(m)] = box;
                    }
                }
            }
            widget = box;
            break;
        }
        case DialogKind::Number: {
            auto* box = NumberBox(c);
            if (c.Field == "budget") {
                budget_ = box;
            } else if (c.Field == "results") {
                results_ = box;
            } else {
                for (int m = 0; m < kMinimumCount; ++m) {
                    if (c.Field == "min." + std::string(MinimumName(m))) {
                        min_[static_cast<size_t>(m)] = box;
                    }
                }
            }
            widget = box;
            break;
        }
        case DialogKind::Button: {
            auto* button = new QPushButton(Q(c.Caption));
            button->setAutoDefault(false);
            button->setDefault(c.Default);
            widget = button;
            break;
        }
        default:
            widget = MakeView(c);
            break;
    }
    widget->setObjectName(Q(c.Name));
    if (!c.Hint.empty()) {
        widget->setToolTip(Q(c.Hint));
    }
    if (!c.AccessibleName.empty()) {
        widget->setAccessibleName(Q(c.AccessibleName));
    }
    return widget;
}

// The views of a search: its progress, its status, why nothing fits, the answers, the
// changes of the picked one and the curve.
QWidget* SearchDialog::MakeView(const DialogControl& c) {
    QWidget* widget = nullptr;
    switch (c.Kind) {
        case DialogKind::Progress:
            progress_ = new QProgressBar;
            progress_->setRange(0, 1000);
            progress_->setTextVisible(false);
            progress_->setMaximumHeight(12);
            progress_->hide();
            widget = progress_;
            break;
        case DialogKind::Status:
            // One line across the dialog: a long status is cut, never wrapped.
            status_ = new QLabel;
            status_->setWordWrap(false);
            status_->setMinimumWidth(1);
            widget = status_;
            break;
        case DialogKind::Message:
            message_ = new QLabel;
            message_->setWordWrap(true);
            message_->setStyleSheet(QStringLiteral("color: #c00000;"));
            message_->hide();
            widget = message_;
            break;
        case DialogKind::Answers:
            table_ = AnswerTable();
            widget = table_;
            break;
        case DialogKind::Changes:
            changes_ = new QListWidget;
            changes_->setSelectionMode(QAbstractItemView::NoSelection);
            widget = changes_;
            break;
        case DialogKind::Curve:
            curve_ = new CurvePlot;
            widget = curve_;
            break;
        default:
            widget = new QWidget;
            break;
    }
    return widget;
}

// A row of part toggles; the wear slots are laid out by LayOutWearSlots.
QLayout* SearchDialog::BuildPartRow(const DialogControl& row) {
    auto* boxes = new QGridLayout;
    boxes->setHorizontalSpacing(10);
    boxes->setVerticalSpacing(3);
    int i = 0;
    for (int part = 0; part < kSearchPartCount; ++part) {
        if (SearchPartGroup(part) != row.Group) {
            continue;
        }
        auto* box = new QCheckBox(Q(SearchPartCaption(part, -1)), this);
        box->setObjectName(QStringLiteral("SearchFree_") + Q(SearchPartName(part)));
        box->setChecked(true);
        free_[static_cast<size_t>(part)] = box;
        if (row.Group != PartGroup::Wear) {
            const int columns = row.Group == PartGroup::Cards ? 3 : 5;
            boxes->addWidget(box, i / columns, i % columns);
            ++i;
        }
    }
    if (row.Group == PartGroup::Wear) {
        wearGrid_ = boxes;
        return boxes;
    }
    boxes->setColumnStretch(5, 1);
    return boxes;
}

// A row of the table; `texts` are the changes, in the last column and as the row's hint.
void SearchDialog::FillRow(int row, const QString& rank, int32_t page, const BuildFigures& figures,
                           const QString& changes, const QStringList& texts,
                           const QStringList& acquired, const QString& gain) {
    const auto sum = figures.Final.Pow + figures.Final.Ctrl + figures.Final.Exa +
                     figures.Final.Spin + figures.Final.Cur;
    QStringList cells{rank, PageCaption(page)};
    for (int i = 0; i < kStatCount; ++i) {
        cells << QString::number(StatField(figures.Final, i));
    }
    cells << QString::number(sum)
          << (figures.Penalty < 0 ? QStringLiteral("(%1)").arg(figures.Penalty) : QString());
    for (const int32_t distance : figures.Distances) {
        cells << QStringLiteral("%1y").arg(distance);
    }
    cells << QStringLiteral("%1 PP").arg(figures.PP) << changes
          << acquired.join(QStringLiteral(" / ")) << gain
          << (changes.isEmpty() ? QString() : texts.join(QStringLiteral(" / ")));
    const QString tip = texts.join(QLatin1Char('\n'));
    for (int c = 0; c < kColumnCount; ++c) {
        auto* item = new QTableWidgetItem(cells[c]);
        item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
        item->setTextAlignment(c == kCharaColumn || c == kChangeTextsColumn || c == kAcquiredColumn
                                   ? Qt::AlignLeft | Qt::AlignVCenter
                                   : Qt::AlignRight | Qt::AlignVCenter);
        item->setToolTip(tip);
        if (row == 0) {
            item->setBackground(kCurrentRowColour);
            QFont font = item->font();
            font.setItalic(true);
            item->setFont(font);
        }
        table_->setItem(row, c, item);
    }
}
