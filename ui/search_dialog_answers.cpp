// The answers of the dialog's search: the table with what each answer acquires and, in
// the view of what to get next, its gain; why nothing fits; the changes of the picked
// answer or curve step, and the picked build applied.

#include <QFont>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>

#include "ui/qt_text.h"
#include "ui/search_curve.h"
#include "ui/search_dialog.h"

namespace {

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

bool InYards(SearchObjective objective) {
    return objective == SearchObjective::Distance || objective == SearchObjective::PowerDistance;
}

QString Seconds(qint64 ms) {
    return QString::number(static_cast<double>(ms) / 1000, 'f', 2);
}

// An answer's gain over the best from what is owned: signed, as an answer that must acquire
// something may do worse than what is owned alone; for the least PP, as PP saved or spent.
QString GainText(SearchObjective objective, std::optional<int32_t> gain) {
    if (!gain) {
        return SearchDialogText(DialogTextId::GainNone);
    }
    const QString size = QString::number(std::abs(*gain));
    if (objective == SearchObjective::LeastPP) {
        return SearchDialogText(*gain >= 0 ? DialogTextId::GainPP : DialogTextId::GainPPMore,
                                {size});
    }
    return SearchDialogText(DialogTextId::Gain,
                            {(*gain >= 0 ? QStringLiteral("+") : QStringLiteral("-")) + size,
                             InYards(objective) ? QStringLiteral("y") : QString()});
}

}  // namespace

void SearchDialog::ShowOutcome(const Outcome& outcome, bool proved) {
    // While answers so far come in, the row the player picked stays picked.
    const QList<QTableWidgetItem*> selected = table_->selectedItems();
    const int keep = !proved && shown_ && !selected.isEmpty() ? selected.front()->row() : -1;
    shown_ = outcome;
    picked_.reset();
    stale_ = false;
    table_->setEnabled(true);
    changes_->setEnabled(true);
    curve_->setEnabled(true);
    apply_->setEnabled(false);
    const SearchResult& result = shown_->Result;
    FillAnswers(*shown_, proved);
    const int objectiveColumn = ObjectiveColumn(outcome.Query.Objective);
    for (int c = 0; c < kColumnCount; ++c) {
        QFont font = table_->horizontalHeaderItem(c)->font();
        font.setBold(c == objectiveColumn);
        table_->horizontalHeaderItem(c)->setFont(font);
    }

    const DialogControl* objective = FindDialogControl("SearchObjective");
    curveCaption_->setText(
        SearchDialogText(DialogTextId::CurveTitle,
                         {Q(objective->Choices[static_cast<size_t>(outcome.Query.Objective)])}));
    std::vector<CurvePlot::Step> steps;
    for (const CurveStep& step : result.Curve) {
        steps.push_back({step.PP, step.Value});
    }
    curve_->SetSteps(std::move(steps),
                     InYards(outcome.Query.Objective) ? QStringLiteral("y") : QString(),
                     SearchDialogText(outcome.Query.Objective == SearchObjective::LeastPP
                                          ? DialogTextId::CurveLeastPP
                                          : DialogTextId::CurveEmpty));
    changes_->clear();
    if (!proved) {
        status_->setText(
            SearchDialogText(DialogTextId::SoFar, {QString::number(result.Answers.size())}));
        message_->hide();
        if (keep >= 0 && keep < table_->rowCount()) {
            table_->selectRow(keep);
        }
        return;
    }
    const QString nodes = Q(GroupedDigits(result.Nodes));
    if (result.Answers.empty()) {
        status_->setText(
            SearchDialogText(DialogTextId::NoneFound, {nodes, Seconds(outcome.Milliseconds)}));
        ShowInfeasible(outcome);
    } else {
        status_->setText(SearchDialogText(
            DialogTextId::Proved,
            {QString::number(result.Answers.size()), nodes, Seconds(outcome.Milliseconds)}));
        ShowViewNote(outcome);
        table_->selectRow(1);
    }
}

// The table's rows: the selection the search started from, then the answers with what
// each acquires and, in the view of what to get next, its gain once that is known.
void SearchDialog::FillAnswers(const Outcome& outcome, bool proved) {
    const SearchResult& result = outcome.Result;
    const SearchObjective objective = outcome.Query.Objective;
    const QSignalBlocker quiet(table_);
    table_->clearSelection();
    table_->setRowCount(1 + static_cast<int>(result.Answers.size()));
    table_->setColumnHidden(kAcquiredColumn, !result.WithinHoldings);
    table_->setColumnHidden(kGainColumn, !result.NextToGet);
    FillRow(0, SearchDialogText(DialogTextId::CurrentRow), outcome.Page, result.Current, QString(),
            {SearchDialogText(DialogTextId::CurrentChanges)});
    for (size_t i = 0; i < result.Answers.size(); ++i) {
        const SearchAnswer& answer = result.Answers[i];
        QStringList texts;
        for (const std::string& text : answer.ChangeTexts) {
            texts << Q(text);
        }
        QStringList acquired;
        for (const SearchAcquired& thing : answer.Acquired) {
            acquired << Q(thing.Text);
        }
        QString gain;
        if (result.NextToGet && proved) {
            gain = GainText(objective, answer.Gain);
        }
        FillRow(static_cast<int>(i) + 1, QString::number(i + 1), answer.Build.TabIndex,
                answer.Figures, QString::number(answer.Changes),
                texts.isEmpty() ? QStringList{SearchDialogText(DialogTextId::NoChange)} : texts,
                acquired, gain);
    }
}

// In the view of what to get next, what the gains are measured from; or that there is
// nothing to measure without holdings.
void SearchDialog::ShowViewNote(const Outcome& outcome) {
    const SearchResult& result = outcome.Result;
    const SearchObjective objective = outcome.Query.Objective;
    message_->hide();
    if (outcome.Query.Distinct != SearchDistinct::Acquired) {
        return;
    }
    // A note, not a fault: in the page's colour for it.
    message_->setStyleSheet(QStringLiteral("color: #202060;"));
    if (!result.NextToGet) {
        message_->setText(SearchDialogText(DialogTextId::NoHoldings));
    } else if (!result.OwnedBest) {
        message_->setText(SearchDialogText(DialogTextId::OwnedNone));
    } else {
        message_->setText(SearchDialogText(
            DialogTextId::OwnedBest, {QString::number(*result.OwnedBest),
                                      objective == SearchObjective::LeastPP ? QStringLiteral(" PP")
                                      : InYards(objective)                  ? QStringLiteral("y")
                                                                            : QString()}));
    }
    message_->show();
}

// No build meets every condition: for each minimum, the most that the other conditions
// leave reachable, so that the player sees which wish to give up.
void SearchDialog::ShowInfeasible(const Outcome& outcome) {
    QStringList lines{QStringLiteral("条件をすべて満たすビルドはありません。")};
    const std::vector<std::string> reasons = ReasonLines(outcome.Result);
    for (size_t i = 0; i < reasons.size(); ++i) {
        lines << (i == 0 ? QString() : QStringLiteral("・")) + Q(reasons[i]);
    }
    message_->setText(lines.join(QLatin1Char('\n')));
    message_->setStyleSheet(QStringLiteral("color: #c00000;"));
    message_->show();
}

void SearchDialog::RowPicked() {
    const QList<QTableWidgetItem*> items = table_->selectedItems();
    const int row = items.isEmpty() ? -1 : items.front()->row();
    if (!shown_ || stale_ || row < 1) {
        picked_.reset();
        apply_->setEnabled(false);
        changes_->clear();
        curve_->SetPicked(-1);
        if (row == 0) {
            changes_->addItem(SearchDialogText(DialogTextId::CurrentPicked));
        }
        return;
    }
    const std::vector<SearchAnswer>& answers = shown_->Result.Answers;
    const SearchAnswer& answer = answers[static_cast<size_t>(row) - 1];
    picked_ = answer.Build;
    pickedLabel_ = QString::number(row) + QStringLiteral("位");
    apply_->setEnabled(true);
    ShowChanges(answer, SearchDialogText(DialogTextId::ChangesOf, {QString::number(row)}) + ' ' +
                            SearchDialogText(DialogTextId::ApplyHint));
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
    if (!shown_ || stale_ || step < 0 || step >= static_cast<int>(shown_->Result.Curve.size())) {
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
    pickedLabel_ = QStringLiteral("曲線の段 %1 PP ").arg(picked.PP);
    apply_->setEnabled(true);
    curve_->SetPicked(step);
    const QString value = QString::number(picked.Value) +
                          (InYards(shown_->Query.Objective) ? QStringLiteral("y") : QString());
    ShowChanges(picked.Answer,
                SearchDialogText(DialogTextId::StepChangesOf, {QString::number(picked.PP), value}) +
                    ' ' + SearchDialogText(DialogTextId::ApplyHint));
}

void SearchDialog::ShowChanges(const SearchAnswer& answer, const QString& heading) {
    changes_->clear();
    auto* head = new QListWidgetItem(heading);
    QFont bold = head->font();
    bold.setBold(true);
    head->setFont(bold);
    changes_->addItem(head);
    // What it needs that the player does not own first, apart from the changes.
    for (const SearchAcquired& thing : answer.Acquired) {
        changes_->addItem(SearchDialogText(DialogTextId::AcquiredLine, {Q(thing.Text)}));
    }
    for (const std::string& text : answer.ChangeTexts) {
        changes_->addItem(Q(text));
    }
    if (answer.ChangeTexts.empty()) {
        changes_->addItem(SearchDialogText(DialogTextId::NoChange));
    }
}

void SearchDialog::ApplyPicked() {
    if (picked_ && !stale_) {
        emit applyRequested(*picked_);
        RefreshDefaults();
        status_->setText(SearchDialogText(DialogTextId::Applied, {pickedLabel_}));
    }
}

void SearchDialog::ApplyRow(int row) {
    if (shown_ && !stale_ && row >= 1 && row <= static_cast<int>(shown_->Result.Answers.size())) {
        picked_ = shown_->Result.Answers[static_cast<size_t>(row) - 1].Build;
        pickedLabel_ = QString::number(row) + QStringLiteral("位");
        ApplyPicked();
    }
}
