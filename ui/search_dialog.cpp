#include "ui/search_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>
#include <exception>

#include "characters/roster.h"
#include "search/query_limits.h"
#include "ui/look.h"
#include "ui/qt_text.h"
#include "ui/search_curve.h"

namespace {

constexpr int kShownEntry = 0;             // "表示中のキャラ"
constexpr int kAnyEntry = CharaCount + 1;  // "すべてのキャラ"
constexpr int kWearColumns = 8;            // wear-slot boxes in a row
constexpr int kProgressDelayMs = 200;      // a search shows its progress after this
constexpr std::string_view kDistanceCaption = "1W飛距離";

constexpr std::array<std::string_view, kStatCount> kStatCaptions = {"パワー", "コントロール",
                                                                    "正確度", "スピン", "カーブ"};
constexpr std::array<std::string_view, kObjectiveCount> kObjectiveCaptions = {
    "1W飛距離", "パワーショット飛距離", "パワー", "コントロール", "正確度", "スピン",
    "カーブ",   "ステータス合計",       "最小PP"};

// The colours of the status captions of the window's final group.
const QColor kStatColours[kStatCount] = {
    {255, 34, 0}, {255, 153, 0}, {0, 187, 0}, {0, 170, 255}, {136, 0, 255}};
const QColor kCurrentRowColour(232, 232, 240);

QString Caption(int part) {
    if (part < kWearPartCount) {
        return Q(WearSlotCaption(static_cast<TWearSlot>(part)));
    }
    if (part < kPartCaddieCard1) {
        return QStringLiteral("キャラカード%1").arg(part - kPartCharaCard1 + 1);
    }
    if (part < kPartCaddie) {
        return QStringLiteral("キャディカード%1").arg(part - kPartCaddieCard1 + 1);
    }
    switch (part) {
        case kPartCaddie:
            return QStringLiteral("キャディ");
        case kPartSpecialCard:
            return QStringLiteral("スペシャルカード");
        case kPartClub:
            return QStringLiteral("クラブ");
        default:
            break;
    }
    const int stat = part < kPartClubSlotUp ? part - kPartSlotUp : part - kPartClubSlotUp;
    return Q(kStatCaptions[static_cast<size_t>(stat)]);
}

QString MinimumCaption(int minimum) {
    return minimum == kMinDistance ? Q(kDistanceCaption)
                                   : Q(kStatCaptions[static_cast<size_t>(minimum)]);
}

// The table column that shows an objective's value.
int ObjectiveColumn(SearchObjective objective) {
    switch (objective) {
        case SearchObjective::Distance:
            return SearchDialog::kDistanceColumn;
        case SearchObjective::PowerDistance:
            return SearchDialog::kDistanceColumn + 1;
        case SearchObjective::Sum:
            return SearchDialog::kSumColumn;
        case SearchObjective::LeastPP:
            return SearchDialog::kPPColumn;
        default:
            return SearchDialog::kFinalColumn + static_cast<int>(objective) -
                   static_cast<int>(SearchObjective::Pow);
    }
}

QString PageCaption(int32_t page) {
    return page >= 0 && page < CharaCount ? Q(CharaDef(page).Caption) : QStringLiteral("—");
}

// A caption of a group of boxes, at the start of its row.
QLabel* RowCaption(const QString& text, const QString& name) {
    auto* label = new QLabel(text);
    label->setObjectName(name);
    label->setMinimumWidth(64);
    return label;
}

QPushButton* Button(const QString& text, const QString& name) {
    auto* button = new QPushButton(text);
    button->setObjectName(name);
    button->setAutoDefault(false);
    return button;
}

}  // namespace

SearchDialog::SearchDialog(const TSimulator& live, QWidget* parent)
    : QDialog(parent), live_(live), runner_(&RunSearch) {
    setObjectName(QStringLiteral("SearchDialog"));
    setWindowTitle(QStringLiteral("ビルド探索"));
    setFont(PixelFont(kUiGothic, 12));
    QPalette shade = palette();
    shade.setColor(QPalette::Window, kWindowColour);
    setPalette(shade);
    BuildControls();
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
    auto* top = new QHBoxLayout;
    top->addWidget(BuildFreeGroup(), 5);
    top->addWidget(BuildConditionGroup(), 2);
    top->addWidget(BuildGoalGroup(), 2);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(BuildAnswerArea(), 1);
}

QWidget* SearchDialog::BuildFreeGroup() {
    auto* group = new QGroupBox(QStringLiteral("変えてよいもの"));
    group->setObjectName(QStringLiteral("SearchFreeGroup"));
    auto* grid = new QGridLayout(group);
    grid->setVerticalSpacing(3);

    character_ = new QComboBox;
    character_->setObjectName(QStringLiteral("SearchCharacter"));
    character_->addItem(QStringLiteral("表示中のキャラ"));
    for (const TCharaDef& def : Roster()) {
        character_->addItem(Q(def.Caption));
    }
    character_->addItem(QStringLiteral("すべてのキャラ"));
    auto* head = new QHBoxLayout;
    head->addWidget(character_);
    head->addStretch(1);
    QPushButton* all = Button(QStringLiteral("すべて"), QStringLiteral("SearchFreeAll"));
    QPushButton* none = Button(QStringLiteral("なし"), QStringLiteral("SearchFreeNone"));
    head->addWidget(all);
    head->addWidget(none);
    grid->addWidget(RowCaption(QStringLiteral("キャラ"), QStringLiteral("SearchCharacterCaption")),
                    0, 0);
    grid->addLayout(head, 0, 1);
    connect(character_, &QComboBox::currentIndexChanged, this, &SearchDialog::LayOutWearSlots);
    connect(all, &QPushButton::clicked, this, [this] { SetAllFree(true); });
    connect(none, &QPushButton::clicked, this, [this] { SetAllFree(false); });

    for (int part = 0; part < kSearchPartCount; ++part) {
        auto* box = new QCheckBox(Caption(part), group);
        box->setObjectName(QStringLiteral("SearchFree_") + Q(SearchPartName(part)));
        box->setChecked(true);
        free_[static_cast<size_t>(part)] = box;
    }
    wearGrid_ = new QGridLayout;
    wearGrid_->setHorizontalSpacing(10);
    wearGrid_->setVerticalSpacing(3);
    grid->addWidget(RowCaption(QStringLiteral("装備"), QStringLiteral("SearchWearCaption")), 1, 0,
                    Qt::AlignTop);
    grid->addLayout(wearGrid_, 1, 1);

    // The other parts: a caption and a row of boxes each.
    struct Row {
        const char* Caption;
        const char* Name;
        int First;
        int Count;
        int Columns;
    };
    constexpr Row kRows[] = {
        {"カード", "SearchCardCaption", kPartCharaCard1, 5, 3},
        {"キャディ等", "SearchOtherCaption", kPartCaddie, 3, 3},
        {"キャラ強化", "SearchSlotUpCaption", kPartSlotUp, kStatCount, kStatCount},
        {"クラブ強化", "SearchClubSlotUpCaption", kPartClubSlotUp, kStatCount, kStatCount},
    };
    int line = 2;
    for (const Row& row : kRows) {
        auto* boxes = new QGridLayout;
        boxes->setHorizontalSpacing(10);
        boxes->setVerticalSpacing(3);
        for (int i = 0; i < row.Count; ++i) {
            boxes->addWidget(free_[static_cast<size_t>(row.First + i)], i / row.Columns,
                             i % row.Columns);
        }
        boxes->setColumnStretch(row.Columns, 1);
        grid->addWidget(RowCaption(QString::fromUtf8(row.Caption), QString::fromUtf8(row.Name)),
                        line, 0, Qt::AlignTop);
        grid->addLayout(boxes, line++, 1);
    }
    grid->setRowStretch(line, 1);
    LayOutWearSlots();
    return group;
}

QWidget* SearchDialog::BuildConditionGroup() {
    auto* group = new QGroupBox(QStringLiteral("条件"));
    group->setObjectName(QStringLiteral("SearchConditionGroup"));
    auto* grid = new QGridLayout(group);
    grid->setVerticalSpacing(3);
    for (int m = 0; m < kMinimumCount; ++m) {
        auto* on = new QCheckBox(MinimumCaption(m));
        on->setObjectName(QStringLiteral("SearchMinOn_") + Q(MinimumName(m)));
        auto* value = new QSpinBox;
        value->setObjectName(QStringLiteral("SearchMin_") + Q(MinimumName(m)));
        value->setRange(kMinimumLimit.Low, kMinimumLimit.High);
        value->setSuffix(m == kMinDistance ? QStringLiteral("y 以上") : QStringLiteral(" 以上"));
        value->setEnabled(false);
        value->setAccessibleName(MinimumCaption(m) + QStringLiteral("の最低値"));
        connect(on, &QCheckBox::toggled, value, &QWidget::setEnabled);
        grid->addWidget(on, m, 0);
        grid->addWidget(value, m, 1);
        minOn_[static_cast<size_t>(m)] = on;
        min_[static_cast<size_t>(m)] = value;
    }
    noPenalty_ = new QCheckBox(QStringLiteral("パワーペナルティなし"));
    noPenalty_->setObjectName(QStringLiteral("SearchNoPenalty"));
    noPenalty_->setChecked(true);
    grid->addWidget(noPenalty_, kMinimumCount, 0, 1, 2);
    budgetOn_ = new QCheckBox(QStringLiteral("予算"));
    budgetOn_->setObjectName(QStringLiteral("SearchBudgetOn"));
    budget_ = new QSpinBox;
    budget_->setObjectName(QStringLiteral("SearchBudget"));
    budget_->setRange(kBudgetLimit.Low, kBudgetLimit.High);
    budget_->setSingleStep(1000);
    budget_->setValue(50'000);
    budget_->setSuffix(QStringLiteral(" PP"));
    budget_->setEnabled(false);
    budget_->setAccessibleName(QStringLiteral("予算"));
    connect(budgetOn_, &QCheckBox::toggled, budget_, &QWidget::setEnabled);
    grid->addWidget(budgetOn_, kMinimumCount + 1, 0);
    grid->addWidget(budget_, kMinimumCount + 1, 1);
    grid->setRowStretch(kMinimumCount + 2, 1);
    return group;
}

QWidget* SearchDialog::BuildGoalGroup() {
    auto* group = new QGroupBox(QStringLiteral("目的"));
    group->setObjectName(QStringLiteral("SearchGoalGroup"));
    auto* grid = new QGridLayout(group);
    grid->setVerticalSpacing(4);
    objective_ = new QComboBox;
    objective_->setObjectName(QStringLiteral("SearchObjective"));
    for (const std::string_view caption : kObjectiveCaptions) {
        objective_->addItem(Q(caption));
    }
    grid->addWidget(objective_, 0, 0, 1, 2);
    auto* count = new QLabel(QStringLiteral("候補の数"));
    count->setObjectName(QStringLiteral("SearchResultsCaption"));
    results_ = new QSpinBox;
    results_->setObjectName(QStringLiteral("SearchResults"));
    results_->setRange(kResultsLimit.Low, kResultsLimit.High);
    results_->setValue(SearchQuery{}.Results);
    count->setBuddy(results_);
    grid->addWidget(count, 1, 0);
    grid->addWidget(results_, 1, 1);

    run_ = Button(QStringLiteral("探索"), QStringLiteral("SearchRun"));
    run_->setDefault(true);
    cancel_ = Button(QStringLiteral("中止"), QStringLiteral("SearchCancel"));
    cancel_->setEnabled(false);
    grid->addWidget(run_, 2, 0);
    grid->addWidget(cancel_, 2, 1);
    progress_ = new QProgressBar;
    progress_->setObjectName(QStringLiteral("SearchProgress"));
    progress_->setRange(0, 1000);
    progress_->setTextVisible(false);
    progress_->setMaximumHeight(12);
    progress_->hide();
    grid->addWidget(progress_, 3, 0, 1, 2);
    status_ = new QLabel;
    status_->setObjectName(QStringLiteral("SearchStatus"));
    status_->setWordWrap(true);
    status_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    grid->addWidget(status_, 4, 0, 1, 2);
    grid->setRowStretch(4, 1);
    connect(run_, &QPushButton::clicked, this, &SearchDialog::StartSearch);
    connect(cancel_, &QPushButton::clicked, this, &SearchDialog::CancelSearch);
    return group;
}

QWidget* SearchDialog::BuildAnswerArea() {
    auto* area = new QWidget;
    area->setObjectName(QStringLiteral("SearchAnswerArea"));
    auto* layout = new QVBoxLayout(area);
    layout->setContentsMargins(0, 0, 0, 0);

    message_ = new QLabel;
    message_->setObjectName(QStringLiteral("SearchMessage"));
    message_->setWordWrap(true);
    message_->setStyleSheet(QStringLiteral("color: #c00000;"));
    message_->hide();
    layout->addWidget(message_);

    table_ = new QTableWidget(0, kColumnCount);
    table_->setObjectName(QStringLiteral("SearchAnswers"));
    const QStringList headers = {"順位",     "キャラ",     "パワー", "コントロール", "正確度",
                                 "スピン",   "カーブ",     "合計",   "ペナルティ",   "1W飛距離",
                                 "(パワー)", "(パワー×2)", "PP",     "変更",         "変更の内容"};
    for (int c = 0; c < kColumnCount; ++c) {
        auto* item = new QTableWidgetItem(headers[c]);
        if (c >= kFinalColumn && c < kSumColumn) {
            item->setForeground(kStatColours[c - kFinalColumn]);
        }
        table_->setHorizontalHeaderItem(c, item);
    }
    table_->verticalHeader()->hide();
    table_->verticalHeader()->setDefaultSectionSize(20);
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table_->horizontalHeader()->setSectionResizeMode(kChangeTextsColumn, QHeaderView::Stretch);
    table_->setWordWrap(false);
    table_->setTextElideMode(Qt::ElideRight);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    connect(table_, &QTableWidget::itemSelectionChanged, this, &SearchDialog::RowPicked);
    connect(table_, &QTableWidget::cellDoubleClicked, this,
            [this](int row, int) { ApplyRow(row); });
    layout->addWidget(table_, 4);

    auto* below = new QHBoxLayout;
    changes_ = new QListWidget;
    changes_->setObjectName(QStringLiteral("SearchChanges"));
    changes_->setSelectionMode(QAbstractItemView::NoSelection);
    below->addWidget(changes_, 2);
    auto* right = new QVBoxLayout;
    auto* curveCaption =
        new QLabel(QStringLiteral("予算ごとの最高値 (段をクリックでそのビルドを選択)"));
    curveCaption->setObjectName(QStringLiteral("SearchCurveCaption"));
    right->addWidget(curveCaption);
    curve_ = new CurvePlot;
    curve_->setObjectName(QStringLiteral("SearchCurve"));
    connect(curve_, &CurvePlot::stepClicked, this, &SearchDialog::StepPicked);
    right->addWidget(curve_, 1);
    below->addLayout(right, 3);
    layout->addLayout(below, 2);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    apply_ = Button(QStringLiteral("適用"), QStringLiteral("SearchApply"));
    apply_->setEnabled(false);
    QPushButton* close = Button(QStringLiteral("閉じる"), QStringLiteral("SearchClose"));
    buttons->addWidget(apply_);
    buttons->addWidget(close);
    layout->addLayout(buttons);
    connect(apply_, &QPushButton::clicked, this, &SearchDialog::ApplyPicked);
    connect(close, &QPushButton::clicked, this, &QDialog::close);
    return area;
}

// The wear slots of the chosen character in the order of its page's rows; for every
// character (or no page shown), every kind of slot, named by the pages that have it.
void SearchDialog::LayOutWearSlots() {
    const int entry = character_->currentIndex();
    const int32_t chara = entry == kShownEntry ? live_.State.TabIndex
                          : entry == kAnyEntry ? -1
                                               : entry - 1;
    character_->setItemText(
        kShownEntry, QStringLiteral("表示中のキャラ (%1)").arg(PageCaption(live_.State.TabIndex)));
    for (int part = 0; part < kWearPartCount; ++part) {
        wearGrid_->removeWidget(free_[static_cast<size_t>(part)]);
        free_[static_cast<size_t>(part)]->hide();
    }
    std::array<QString, kWearPartCount> owners;
    for (const TCharaDef& def : Roster()) {
        for (const TWearSlot slot : def.Slots) {
            QString& names = owners[static_cast<size_t>(slot)];
            names += (names.isEmpty() ? QString() : QStringLiteral("、")) + Q(def.Caption);
        }
    }
    std::vector<int> shown;
    if (chara >= 0 && chara < CharaCount) {
        for (const TWearSlot slot : CharaDef(chara).PageRows) {
            shown.push_back(static_cast<int>(slot));
        }
    } else {
        for (int kind = 0; kind < kWearPartCount; ++kind) {
            if (!owners[static_cast<size_t>(kind)].isEmpty()) {
                shown.push_back(kind);
            }
        }
    }
    for (size_t i = 0; i < shown.size(); ++i) {
        QCheckBox* box = free_[static_cast<size_t>(shown[i])];
        box->setToolTip(QStringLiteral("この行があるキャラ: ") +
                        owners[static_cast<size_t>(shown[i])]);
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

void SearchDialog::Open() {
    LayOutWearSlots();
    const BuildFigures now = FiguresOf(live_);
    for (int m = 0; m < kMinimumCount; ++m) {
        if (!minOn_[static_cast<size_t>(m)]->isChecked()) {
            min_[static_cast<size_t>(m)]->setValue(m == kMinDistance ? now.Distances[0]
                                                                     : StatField(now.Final, m));
        }
    }
    show();
    raise();
    activateWindow();
}

SearchQuery SearchDialog::Query() const {
    SearchQuery query;
    const int entry = character_->currentIndex();
    query.Character = entry == kShownEntry ? kShownCharacter
                      : entry == kAnyEntry ? kAnyCharacter
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
    return query;
}

const SearchResult* SearchDialog::Shown() const {
    return shown_ ? &shown_->Result : nullptr;
}

void SearchDialog::StartSearch() {
    if (Searching()) {
        return;
    }
    auto outcome = std::make_shared<Outcome>();
    outcome->Query = Query();
    outcome->Page = live_.State.TabIndex;
    cancelRequested_ = false;
    done_ = 0;
    run_->setEnabled(false);
    cancel_->setEnabled(true);
    progress_->setValue(0);
    status_->setText(QStringLiteral("探索中…"));
    clock_.start();
    progressTimer_.start();
    {
        const std::lock_guard<std::mutex> lock(soFarLock_);
        soFar_.reset();
    }
    worker_ = std::thread([this, start = live_, outcome, runner = runner_] {
        SearchControl control;
        control.Progress = [this](double done) { done_ = done; };
        control.Cancelled = [this] { return cancelRequested_.load(); };
        control.Found = [this, outcome](const SearchResult& soFar) {
            auto shown = std::make_shared<Outcome>();
            shown->Query = outcome->Query;
            shown->Page = outcome->Page;
            shown->Result = soFar;
            const std::lock_guard<std::mutex> lock(soFarLock_);
            soFar_ = std::move(shown);
        };
        try {
            outcome->Result = runner(start, outcome->Query, &control);
        } catch (const std::exception& error) {
            outcome->Error = error.what();
        }
        QMetaObject::invokeMethod(
            this, [this, outcome] { Finished(outcome); }, Qt::QueuedConnection);
    });
}

void SearchDialog::CancelSearch() {
    if (Searching()) {
        cancelRequested_ = true;
        cancel_->setEnabled(false);
        status_->setText(QStringLiteral("中止しています…"));
    }
}

void SearchDialog::ShowProgress() {
    ShowSoFar();
    if (clock_.elapsed() >= kProgressDelayMs) {
        progress_->setValue(static_cast<int>(done_.load() * 1000));
        progress_->show();
    }
}

// The best answers so far of the running search, where its thread handed new ones over:
// shown as they stand, marked as not yet proved; the player may already apply one.
void SearchDialog::ShowSoFar() {
    std::shared_ptr<Outcome> soFar;
    {
        const std::lock_guard<std::mutex> lock(soFarLock_);
        soFar = std::move(soFar_);
    }
    if (soFar && Searching()) {
        soFar->Milliseconds = clock_.elapsed();
        ShowOutcome(*soFar, false);
    }
}

void SearchDialog::Finished(std::shared_ptr<Outcome> outcome) {
    worker_.join();
    outcome->Milliseconds = clock_.elapsed();
    progressTimer_.stop();
    progress_->hide();
    run_->setEnabled(true);
    cancel_->setEnabled(false);
    if (!outcome->Error && outcome->Result.Cancelled && !outcome->Result.Answers.empty()) {
        // Stopped: what it found stays, not proved.
        ShowOutcome(*outcome, false);
        status_->setText(
            QStringLiteral("探索を中止しました。見つけた候補 %1 件は最適とは限りません。")
                .arg(outcome->Result.Answers.size()));
        return;
    }
    if (outcome->Error || outcome->Result.Cancelled) {
        shown_.reset();
        picked_.reset();
        table_->setRowCount(0);
        changes_->clear();
        curve_->SetSteps({}, {}, {});
        apply_->setEnabled(false);
        message_->setVisible(outcome->Error.has_value());
        message_->setText(outcome->Error ? Q(*outcome->Error) + QStringLiteral("。") : QString());
        status_->setText(outcome->Error ? QStringLiteral("探索できませんでした。")
                                        : QStringLiteral("探索を中止しました。"));
        return;
    }
    ShowOutcome(*outcome);
}

void SearchDialog::ShowOutcome(const Outcome& outcome, bool proved) {
    // While answers so far come in, the row the player picked stays picked.
    const QList<QTableWidgetItem*> selected = table_->selectedItems();
    const int keep = !proved && shown_ && !selected.isEmpty() ? selected.front()->row() : -1;
    shown_ = outcome;
    picked_.reset();
    apply_->setEnabled(false);
    const SearchResult& result = shown_->Result;
    {
        const QSignalBlocker quiet(table_);
        table_->clearSelection();
        table_->setRowCount(1 + static_cast<int>(result.Answers.size()));
        FillRow(0, QStringLiteral("現在"), outcome.Page, result.Current, QString(),
                {QStringLiteral("探索を始めたときの選択")});
        for (size_t i = 0; i < result.Answers.size(); ++i) {
            const SearchAnswer& answer = result.Answers[i];
            QStringList texts;
            for (const std::string& text : answer.ChangeTexts) {
                texts << Q(text);
            }
            FillRow(static_cast<int>(i) + 1, QString::number(i + 1), answer.Build.TabIndex,
                    answer.Figures, QString::number(answer.Changes),
                    texts.isEmpty() ? QStringList{QStringLiteral("変更なし")} : texts);
        }
    }
    const int objectiveColumn = ObjectiveColumn(outcome.Query.Objective);
    for (int c = 0; c < kColumnCount; ++c) {
        QFont font = table_->horizontalHeaderItem(c)->font();
        font.setBold(c == objectiveColumn);
        table_->horizontalHeaderItem(c)->setFont(font);
    }

    std::vector<CurvePlot::Step> steps;
    for (const CurveStep& step : result.Curve) {
        steps.push_back({step.PP, step.Value});
    }
    const bool yards = outcome.Query.Objective == SearchObjective::Distance ||
                       outcome.Query.Objective == SearchObjective::PowerDistance;
    curve_->SetSteps(std::move(steps), yards ? QStringLiteral("y") : QString(),
                     outcome.Query.Objective == SearchObjective::LeastPP
                         ? QStringLiteral("最小PPの探索には曲線がありません")
                         : QStringLiteral("条件に合うビルドがありません"));
    changes_->clear();
    if (!proved) {
        status_->setText(QStringLiteral("探索中… これまでの候補 %1 件 (まだ最適とは限りません)")
                             .arg(result.Answers.size()));
        message_->hide();
        if (keep >= 0 && keep < table_->rowCount()) {
            table_->selectRow(keep);
        }
        return;
    }
    status_->setText(QStringLiteral("候補 %1 件 (%2 ノード, %3 秒) 最適を確認済み")
                         .arg(result.Answers.size())
                         .arg(result.Nodes)
                         .arg(static_cast<double>(outcome.Milliseconds) / 1000, 0, 'f', 2));
    if (result.Answers.empty()) {
        ShowInfeasible(outcome);
    } else {
        message_->hide();
        table_->selectRow(1);
    }
}

// No build meets every condition: the minimums to give up and how far each reaches then,
// in the core's words, so that the player sees which wish to give up.
void SearchDialog::ShowInfeasible(const Outcome& outcome) {
    QStringList lines{QStringLiteral("条件をすべて満たすビルドはありません。")};
    const std::vector<std::string> reasons = ReasonLines(outcome.Result);
    for (size_t i = 0; i < reasons.size(); ++i) {
        lines << (i == 0 ? QString() : QStringLiteral("・")) + Q(reasons[i]);
    }
    message_->setText(lines.join(QLatin1Char('\n')));
    message_->show();
}

// A row of the table; `texts` are the changes, in the last column and as the row's hint.
void SearchDialog::FillRow(int row, const QString& rank, int32_t page, const BuildFigures& figures,
                           const QString& changes, const QStringList& texts) {
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
          << (changes.isEmpty() ? QString() : texts.join(QStringLiteral(" / ")));
    const QString tip = texts.join(QLatin1Char('\n'));
    for (int c = 0; c < kColumnCount; ++c) {
        auto* item = new QTableWidgetItem(cells[c]);
        item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
        item->setTextAlignment(c == kCharaColumn || c == kChangeTextsColumn
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

void SearchDialog::RowPicked() {
    const QList<QTableWidgetItem*> items = table_->selectedItems();
    const int row = items.isEmpty() ? -1 : items.front()->row();
    if (!shown_ || row < 1) {
        picked_.reset();
        apply_->setEnabled(false);
        changes_->clear();
        curve_->SetPicked(-1);
        if (row == 0) {
            changes_->addItem(QStringLiteral("探索を始めたときの選択です。"));
        }
        return;
    }
    const std::vector<SearchAnswer>& answers = shown_->Result.Answers;
    const SearchAnswer& answer = answers[static_cast<size_t>(row) - 1];
    picked_ = answer.Build;
    apply_->setEnabled(true);
    ShowChanges(answer, QStringLiteral("候補 %1 の変更 (ダブルクリックか「適用」で適用)").arg(row));
    const std::vector<CurveStep>& curve = shown_->Result.Curve;
    int step = -1;
    for (size_t i = 0; i < curve.size(); ++i) {
        step = curve[i].Answer.Build == answer.Build ? static_cast<int>(i) : step;
    }
    curve_->SetPicked(step);
}

// A step of the curve picks its build: the table's row when the build is among the
// answers, else the build alone, with its changes below the table.
void SearchDialog::StepPicked(int step) {
    if (!shown_ || step < 0 || step >= static_cast<int>(shown_->Result.Curve.size())) {
        return;
    }
    const CurveStep& picked = shown_->Result.Curve[static_cast<size_t>(step)];
    const std::vector<SearchAnswer>& answers = shown_->Result.Answers;
    for (size_t i = 0; i < answers.size(); ++i) {
        if (answers[i].Build == picked.Answer.Build) {
            table_->selectRow(static_cast<int>(i) + 1);
            curve_->SetPicked(step);
            return;
        }
    }
    {
        const QSignalBlocker quiet(table_);
        table_->clearSelection();
    }
    picked_ = picked.Answer.Build;
    apply_->setEnabled(true);
    curve_->SetPicked(step);
    const bool yards = shown_->Query.Objective == SearchObjective::Distance ||
                       shown_->Query.Objective == SearchObjective::PowerDistance;
    ShowChanges(picked.Answer, QStringLiteral("曲線の段 %1 PP: %2%3 の変更 (「適用」で適用)")
                                   .arg(picked.PP)
                                   .arg(picked.Value)
                                   .arg(yards ? QStringLiteral("y") : QString()));
}

void SearchDialog::ShowChanges(const SearchAnswer& answer, const QString& heading) {
    changes_->clear();
    auto* head = new QListWidgetItem(heading);
    QFont bold = head->font();
    bold.setBold(true);
    head->setFont(bold);
    changes_->addItem(head);
    for (const std::string& text : answer.ChangeTexts) {
        changes_->addItem(Q(text));
    }
    if (answer.ChangeTexts.empty()) {
        changes_->addItem(QStringLiteral("変更なし"));
    }
}

void SearchDialog::ApplyPicked() {
    if (picked_) {
        emit applyRequested(*picked_);
        status_->setText(
            QStringLiteral("ウィンドウに適用しました (ウィンドウの Ctrl+Z で戻せます)。"));
    }
}

void SearchDialog::ApplyRow(int row) {
    if (shown_ && row >= 1 && row <= static_cast<int>(shown_->Result.Answers.size())) {
        picked_ = shown_->Result.Answers[static_cast<size_t>(row) - 1].Build;
        ApplyPicked();
    }
}

// The shown page may have changed while the dialog was in the background.
void SearchDialog::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
        LayOutWearSlots();
    }
    QDialog::changeEvent(event);
}

// A search of a closed dialog would be for nobody.
void SearchDialog::hideEvent(QHideEvent* event) {
    CancelSearch();
    QDialog::hideEvent(event);
}
