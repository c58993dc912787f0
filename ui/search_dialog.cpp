// The dialog's controls, built by walking the core's description: a framed group per
// section, and in it a row per control (a toggle and the number it switches share one).

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>
#include <limits>

#include "characters/roster.h"
#include "search/dialog_form.h"
#include "ui/look.h"
#include "ui/qt_text.h"
#include "ui/search_curve.h"
#include "ui/search_dialog.h"

namespace {

constexpr int kShownEntry = 0;   // "表示中のキャラ"
constexpr int kWearColumns = 8;  // wear-slot boxes in a row

// A caption of a row of controls, at its start.
QLabel* RowCaption(const QString& text, const QString& name) {
    auto* label = new QLabel(text);
    label->setObjectName(name);
    label->setMinimumWidth(64);
    return label;
}

bool EndsLine(DialogKind kind) {
    return kind != DialogKind::Button;
}

}  // namespace

SearchDialog::SearchDialog(const TSimulator& live, QWidget* parent)
    : QDialog(parent), live_(live), runner_(&RunSearch) {
    setObjectName(QStringLiteral("SearchDialog"));
    setWindowTitle(Q(SearchDialogForm().Title));
    setFont(PixelFont(kUiGothic, 12));
    QPalette shade = palette();
    shade.setColor(QPalette::Window, kWindowColour);
    setPalette(shade);
    BuildControls();
    Connect();
    progressTimer_.setInterval(50);
    connect(&progressTimer_, &QTimer::timeout, this, &SearchDialog::ShowProgress);
    resize(1000, 700);
}

SearchDialog::~SearchDialog() {
    cancelRequested_ = true;
    if (worker_.joinable()) {
        worker_.join();
    }
}

void SearchDialog::BuildControls() {
    const std::vector<DialogControl>& controls = SearchDialogForm().Controls;
    auto* top = new QHBoxLayout;
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    // The framed sections side by side, the free parts widest; then the answers.
    const int stretch[] = {5, 2, 2};
    int section = 0;
    for (size_t at = 0; at < controls.size();) {
        if (controls[at].Caption.empty()) {
            layout->addWidget(BuildAnswerArea(at), 1);
        } else {
            top->addWidget(BuildSection(at), stretch[std::min(section++, 2)]);
        }
    }
}

// The section at `at` and its controls, up to the next section.
QWidget* SearchDialog::BuildSection(size_t& at) {
    const std::vector<DialogControl>& controls = SearchDialogForm().Controls;
    auto* group = new QGroupBox(Q(controls[at].Caption));
    group->setObjectName(Q(controls[at].Name));
    auto* grid = new QGridLayout(group);
    grid->setVerticalSpacing(3);
    int row = 0;
    QHBoxLayout* line = nullptr;  // a line of a choice and the buttons after it
    for (++at; at < controls.size() && controls[at].Kind != DialogKind::Section; ++at) {
        const DialogControl& c = controls[at];
        if (line != nullptr && EndsLine(c.Kind)) {
            line->addStretch(1);
            line = nullptr;
        }
        if (c.Kind == DialogKind::PartRow) {
            grid->addWidget(RowCaption(Q(c.Caption), Q(c.Name)), row, 0, Qt::AlignTop);
            grid->addLayout(BuildPartRow(c), row++, 1);
            continue;
        }
        QWidget* widget = MakeControl(c);
        const bool switched = at + 1 < controls.size() && controls[at + 1].Switch == c.Name;
        if (c.Kind == DialogKind::Button || c.Kind == DialogKind::Choice) {
            if (line == nullptr) {
                line = new QHBoxLayout;
                const bool captioned = c.Kind == DialogKind::Choice && !c.Caption.empty();
                if (captioned) {
                    grid->addWidget(RowCaption(Q(c.Caption), Q(c.Name + "Caption")), row, 0);
                }
                grid->addLayout(line, row++, captioned ? 1 : 0, 1, captioned ? 1 : 2);
            }
            line->addWidget(widget);
        } else if (switched) {
            grid->addWidget(widget, row, 0);
            grid->addWidget(MakeControl(controls[++at]), row++, 1);
        } else if (c.Kind == DialogKind::Number && !c.Caption.empty()) {
            auto* caption = RowCaption(Q(c.Caption), Q(c.Name + "Caption"));
            caption->setBuddy(widget);
            grid->addWidget(caption, row, 0);
            grid->addWidget(widget, row++, 1);
        } else {
            grid->addWidget(widget, row++, 0, 1, 2);
        }
    }
    if (line != nullptr) {
        line->addStretch(1);
    }
    grid->setRowStretch(row, 1);
    return group;
}

// The answers: the message, the table, the changes beside the curve, the buttons.
QWidget* SearchDialog::BuildAnswerArea(size_t& at) {
    const std::vector<DialogControl>& controls = SearchDialogForm().Controls;
    auto* area = new QWidget;
    area->setObjectName(Q(controls[at].Name));
    auto* layout = new QVBoxLayout(area);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* below = new QHBoxLayout;
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    for (++at; at < controls.size() && controls[at].Kind != DialogKind::Section; ++at) {
        const DialogControl& c = controls[at];
        QWidget* widget = MakeControl(c);
        switch (c.Kind) {
            case DialogKind::Answers:
                layout->addWidget(widget, 4);
                layout->addLayout(below, 2);
                break;
            case DialogKind::Changes:
                below->addWidget(widget, 2);
                break;
            case DialogKind::Curve: {
                // The curve under its caption, which names the objective once answered.
                auto* right = new QVBoxLayout;
                curveCaption_ = new QLabel(Q(DialogText(DialogTextId::CurveTitle, {"値"})));
                curveCaption_->setObjectName(QStringLiteral("SearchCurveCaption"));
                right->addWidget(curveCaption_);
                right->addWidget(widget, 1);
                below->addLayout(right, 3);
                break;
            }
            case DialogKind::Button:
                buttons->addWidget(widget);
                break;
            default:
                layout->addWidget(widget);
                break;
        }
    }
    layout->addLayout(buttons);
    return area;
}

void SearchDialog::Connect() {
    for (int m = 0; m < kMinimumCount; ++m) {
        connect(minOn_[static_cast<size_t>(m)], &QCheckBox::toggled, min_[static_cast<size_t>(m)],
                &QWidget::setEnabled);
    }
    connect(budgetOn_, &QCheckBox::toggled, budget_, &QWidget::setEnabled);
    connect(character_, &QComboBox::currentIndexChanged, this, &SearchDialog::LayOutWearSlots);
    connect(findChild<QPushButton*>(QStringLiteral("SearchFreeAll")), &QPushButton::clicked, this,
            [this] { SetAllFree(true); });
    connect(findChild<QPushButton*>(QStringLiteral("SearchFreeNone")), &QPushButton::clicked, this,
            [this] { SetAllFree(false); });
    run_ = findChild<QPushButton*>(QStringLiteral("SearchRun"));
    cancel_ = findChild<QPushButton*>(QStringLiteral("SearchCancel"));
    apply_ = findChild<QPushButton*>(QStringLiteral("SearchApply"));
    cancel_->setEnabled(false);
    apply_->setEnabled(false);
    connect(run_, &QPushButton::clicked, this, &SearchDialog::StartSearch);
    connect(cancel_, &QPushButton::clicked, this, &SearchDialog::CancelSearch);
    connect(apply_, &QPushButton::clicked, this, &SearchDialog::ApplyPicked);
    connect(findChild<QPushButton*>(QStringLiteral("SearchClose")), &QPushButton::clicked, this,
            &QDialog::close);
    connect(table_, &QTableWidget::itemSelectionChanged, this, &SearchDialog::RowPicked);
    connect(table_, &QTableWidget::cellDoubleClicked, this,
            [this](int row, int) { ApplyRow(row); });
    connect(curve_, &CurvePlot::stepClicked, this, &SearchDialog::StepPicked);
    // Any change to the query leaves the answers shown behind it.
    for (QCheckBox* box : findChildren<QCheckBox*>()) {
        connect(box, &QCheckBox::toggled, this, &SearchDialog::MarkStale);
    }
    for (QSpinBox* box : findChildren<QSpinBox*>()) {
        connect(box, &QSpinBox::valueChanged, this, &SearchDialog::MarkStale);
    }
    for (QComboBox* box : {character_, objective_, acquire_, view_}) {
        connect(box, &QComboBox::currentIndexChanged, this, &SearchDialog::MarkStale);
    }
    // The view of what to get next takes one thing at a time, whatever the limit shows.
    connect(view_, &QComboBox::currentIndexChanged, this,
            [this] { acquire_->setEnabled(Query().Distinct != SearchDistinct::Acquired); });
}

// The wear slots of the chosen character in the order of its page's rows; for every
// character (or no page shown), every kind of slot, each told apart from the others.
void SearchDialog::LayOutWearSlots() {
    const int entry = character_->currentIndex();
    const int32_t chara = entry == kShownEntry               ? live_.State.TabIndex
                          : entry == character_->count() - 1 ? -1
                                                             : entry - 1;
    const int32_t shown = live_.State.TabIndex;
    character_->setItemText(
        kShownEntry, SearchDialogText(DialogTextId::ShownCharacter,
                                      {shown >= 0 && shown < CharaCount ? Q(CharaDef(shown).Caption)
                                                                        : QStringLiteral("—")}));
    for (int part = 0; part < kWearPartCount; ++part) {
        wearGrid_->removeWidget(free_[static_cast<size_t>(part)]);
        free_[static_cast<size_t>(part)]->hide();
    }
    std::vector<int> parts;
    if (chara >= 0 && chara < CharaCount) {
        for (const TWearSlot slot : CharaDef(chara).PageRows) {
            parts.push_back(static_cast<int>(slot));
        }
    } else {
        for (int kind = 0; kind < kWearPartCount; ++kind) {
            if (PartShownFor(kind, -1)) {
                parts.push_back(kind);
            }
        }
    }
    for (size_t i = 0; i < parts.size(); ++i) {
        QCheckBox* box = free_[static_cast<size_t>(parts[i])];
        box->setText(Q(SearchPartCaption(parts[i], chara)));
        box->setToolTip(SearchDialogText(DialogTextId::WearHint, {Q(PartOwners(parts[i]))}));
        wearGrid_->addWidget(box, static_cast<int>(i) / kWearColumns,
                             static_cast<int>(i) % kWearColumns);
        box->show();
    }
}

void SearchDialog::SetAllFree(bool free) {
    for (QCheckBox* box : free_) {
        box->setChecked(free);
    }
}

void SearchDialog::RefreshDefaults() {
    const BuildFigures now = FiguresOf(live_);
    for (int m = 0; m < kMinimumCount; ++m) {
        if (!minOn_[static_cast<size_t>(m)]->isChecked()) {
            const QSignalBlocker quiet(min_[static_cast<size_t>(m)]);
            min_[static_cast<size_t>(m)]->setValue(m == kMinDistance ? now.Distances[0]
                                                                     : StatField(now.Final, m));
        }
    }
}

// Beside the window, on the side where the screen has room for the whole dialog; where
// neither side has, Qt's own place over the window.
void SearchDialog::PlaceBesideWindow() {
    QWidget* window = parentWidget() != nullptr ? parentWidget()->window() : nullptr;
    QScreen* screen = window != nullptr ? window->screen() : QGuiApplication::primaryScreen();
    if (window == nullptr || screen == nullptr) {
        return;
    }
    const QRect room = screen->availableGeometry();
    const QRect beside = window->frameGeometry();
    const QSize size = frameGeometry().size().expandedTo(this->size());
    const int top = std::clamp(beside.top(), room.top(), room.bottom() - size.height());
    if (beside.right() + 8 + size.width() <= room.right()) {
        move(beside.right() + 8, top);
    } else if (beside.left() - 8 - size.width() >= room.left()) {
        move(beside.left() - 8 - size.width(), top);
    }
}

void SearchDialog::Open() {
    LayOutWearSlots();
    RefreshDefaults();
    if (!placed_) {
        placed_ = true;
        PlaceBesideWindow();
    }
    show();
    raise();
    activateWindow();
}

SearchQuery SearchDialog::Query() const {
    SearchQuery query;
    const int entry = character_->currentIndex();
    query.Character = entry == kShownEntry               ? kShownCharacter
                      : entry == character_->count() - 1 ? kAnyCharacter
                                                         : entry - 1;
    for (int part = 0; part < kSearchPartCount; ++part) {
        query.Free[static_cast<size_t>(part)] = free_[static_cast<size_t>(part)]->isChecked();
    }
    for (int m = 0; m < kMinimumCount; ++m) {
        if (minOn_[static_cast<size_t>(m)]->isChecked()) {
            query.Min[static_cast<size_t>(m)] = min_[static_cast<size_t>(m)]->value();
        }
    }
    query.NoPenalty = noPenalty_->isChecked();
    if (budgetOn_->isChecked()) {
        query.Budget = budget_->value();
    }
    query.Objective = static_cast<SearchObjective>(objective_->currentIndex());
    query.Results = results_->value();
    if (holdings_ != nullptr) {
        query.Owned = *holdings_;
    }
    const DialogControl* view = FindDialogControl("SearchView");
    query.Distinct = *DistinctByName(view->Values[static_cast<size_t>(view_->currentIndex())]);
    const std::string& acquire =
        FindDialogControl("SearchAcquire")->Values[static_cast<size_t>(acquire_->currentIndex())];
    query.Acquire = query.Distinct == SearchDistinct::Acquired ? kNextToGetAcquire
                    : acquire == kAcquireAnyValue              ? kAcquireAny
                                                               : std::stoi(acquire);
    return query;
}

// The shown page may have changed while the dialog was in the background.
void SearchDialog::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
        LayOutWearSlots();
        RefreshDefaults();
    }
    QDialog::changeEvent(event);
}

// A search of a closed dialog would be for nobody.
void SearchDialog::hideEvent(QHideEvent* event) {
    CancelSearch();
    QDialog::hideEvent(event);
}
