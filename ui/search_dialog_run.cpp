// A search of the dialog: run on a thread of its own, its progress and its answers so far
// shown as they come, cancelled, and its answers greyed once the query changes. The
// answers themselves are shown by search_dialog_answers.cpp.

#include <QCheckBox>
#include <QFont>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <exception>

#include "characters/roster.h"
#include "search/dialog_form.h"
#include "ui/qt_text.h"
#include "ui/search_curve.h"
#include "ui/search_dialog.h"

namespace {

constexpr int kProgressDelayMs = 200;  // a search shows its progress after this

}  // namespace

const SearchResult* SearchDialog::Shown() const {
    return shown_ ? &shown_->Result : nullptr;
}

// The first number of the query outside its field's limit: its refusal shows, and the
// box takes the focus. False when every number holds.
bool SearchDialog::RefuseOutOfRange() {
    for (const DialogControl& c : SearchDialogForm().Controls) {
        if (c.Kind != DialogKind::Number) {
            continue;
        }
        auto* box = findChild<QSpinBox*>(Q(c.Name));
        const auto* on = c.Switch.empty() ? nullptr : findChild<QCheckBox*>(Q(c.Switch));
        if ((on == nullptr || on->isChecked()) && !c.Limit->Holds(box->value())) {
            status_->setText(Q(QueryRefusal(c.Field, *c.Limit)));
            status_->setStyleSheet(QStringLiteral("color: #c00000;"));
            box->setFocus();
            box->selectAll();
            return true;
        }
    }
    status_->setStyleSheet(QString());
    return false;
}

void SearchDialog::StartSearch() {
    if (Searching() || RefuseOutOfRange()) {
        return;
    }
    auto outcome = std::make_shared<Outcome>();
    outcome->Query = Query();
    outcome->Page = live_.State.TabIndex;
    ClearAnswers();
    cancelRequested_ = false;
    done_ = 0;
    run_->setEnabled(false);
    cancel_->setEnabled(true);
    progress_->setValue(0);
    status_->setText(SearchDialogText(DialogTextId::Running));
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
        status_->setText(SearchDialogText(DialogTextId::Cancelling));
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
        status_->setText(SearchDialogText(DialogTextId::CancelledKept,
                                          {QString::number(outcome->Result.Answers.size())}));
        return;
    }
    if (outcome->Error || outcome->Result.Cancelled) {
        ClearAnswers();
        message_->setVisible(outcome->Error.has_value());
        message_->setText(outcome->Error ? Q(*outcome->Error) + QStringLiteral("。") : QString());
        message_->setStyleSheet(QStringLiteral("color: #c00000;"));
        status_->setText(
            SearchDialogText(outcome->Error ? DialogTextId::Failed : DialogTextId::Cancelled));
        return;
    }
    ShowOutcome(*outcome);
}

void SearchDialog::ClearAnswers() {
    shown_.reset();
    picked_.reset();
    stale_ = false;
    table_->setEnabled(true);
    changes_->setEnabled(true);
    curve_->setEnabled(true);
    table_->setRowCount(0);
    for (int c = 0; c < table_->columnCount(); ++c) {
        QFont font = table_->horizontalHeaderItem(c)->font();
        font.setBold(false);
        table_->horizontalHeaderItem(c)->setFont(font);
    }
    changes_->clear();
    curve_->SetSteps({}, {}, {});
    apply_->setEnabled(false);
    message_->hide();
}

void SearchDialog::MarkStale() {
    if (!shown_ || Searching() || stale_) {
        return;
    }
    stale_ = true;
    picked_.reset();
    apply_->setEnabled(false);
    table_->setEnabled(false);
    changes_->setEnabled(false);
    curve_->setEnabled(false);
    status_->setText(SearchDialogText(DialogTextId::Stale));
}
