#pragma once

// The dialog "ビルド探索": the build search's query as controls, its answers as a table
// beside the current selection, its trade-off curve as a step plot, and "適用", which
// hands the picked build to the window (applyRequested) to be shown as one step. Its
// controls, captions, limits and texts are those of the core's description
// (search/dialog_form.h), which the page renders as well.
//
// A search runs on a thread of its own over a copy of the window's simulator taken when
// "探索" is pressed, so that the window and the dialog stay usable. The thread reports
// its progress and asks for a cancel through SearchControl; past 200 ms a progress bar
// shows, and "中止" stops the search. The finished result comes back to the dialog as
// an event of the window's thread.

#include <QDialog>
#include <QElapsedTimer>
#include <QTimer>
#include <array>
#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "search/dialog_form.h"
#include "search/search.h"

class CurvePlot;
class QCheckBox;
class QComboBox;
class QGridLayout;
class QLabel;
class QLayout;
struct DialogControl;
class QListWidget;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QTableWidget;

// A text of the dialog's description with its {0}, {1}, ... filled by `args`.
QString SearchDialogText(DialogTextId id, const QStringList& args = {});

class SearchDialog : public QDialog {
    Q_OBJECT

public:
    using Runner =
        std::function<SearchResult(const TSimulator&, const SearchQuery&, const SearchControl*)>;

    // `live` is the window's simulator: its shown page names the rows of the wear slots,
    // and each search starts from a copy of it.
    SearchDialog(const TSimulator& live, QWidget* parent);
    ~SearchDialog() override;

    // Shows the dialog in front, its wear slots those of the shown page and the
    // minimums that are off at the current figures; the first time beside the window
    // where the screen has room, later where the player left it.
    void Open();
    // The minimums that are off follow the window's figures (after 適用, or when the
    // dialog comes back to the front).
    void RefreshDefaults();

    // The player's holdings, which every search is within (the window's, kept up to
    // date there); none: everything owned.
    void SetHoldings(const THoldings* holdings) { holdings_ = holdings; }

    // The query the controls describe, within the holdings.
    SearchQuery Query() const;
    bool Searching() const { return worker_.joinable(); }
    // What the table and the curve show, or nullptr before the first answer.
    const SearchResult* Shown() const;

    // The search to run (RunSearch unless a test puts another in).
    void SetRunner(Runner runner) { runner_ = std::move(runner); }

    // Columns of the answer table.
    enum Column {
        kRankColumn,
        kCharaColumn,
        kFinalColumn,  // five columns: power .. curve
        kSumColumn = kFinalColumn + 5,
        kPenaltyColumn,
        kDistanceColumn,  // three columns: normal, power shot, power shot x2
        kPPColumn = kDistanceColumn + 3,
        kChangesColumn,      // how many fields change
        kAcquiredColumn,     // what it needs that the player does not own
        kGainColumn,         // in the view of what to get next: the gain over what is owned
        kChangeTextsColumn,  // what they change to
        kColumnCount,
    };

signals:
    void applyRequested(const PlannedBuild& build);

protected:
    void changeEvent(QEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    struct Outcome {
        SearchQuery Query;
        int32_t Page = 0;  // the page shown when the search started
        SearchResult Result;
        std::optional<std::string> Error;
        qint64 Milliseconds = 0;
    };

    void BuildControls();
    QWidget* BuildSection(size_t& at);
    QWidget* BuildAnswerArea(size_t& at);
    QWidget* MakeControl(const DialogControl& control);
    QWidget* MakeView(const DialogControl& control);
    QLayout* BuildPartRow(const DialogControl& row);
    void Connect();
    void LayOutWearSlots();
    void SetAllFree(bool free);
    void PlaceBesideWindow();
    // The query changed while answers are shown: they stay in sight, greyed, and can no
    // longer be applied.
    void MarkStale();
    void ClearAnswers();

    bool RefuseOutOfRange();
    void StartSearch();
    void CancelSearch();
    void ShowProgress();
    void Finished(std::shared_ptr<Outcome> outcome);
    // `proved`: the search ended; else the answers are the best found so far.
    void ShowOutcome(const Outcome& outcome, bool proved = true);
    void ShowSoFar();
    void ShowInfeasible(const Outcome& outcome);
    void FillAnswers(const Outcome& outcome, bool proved);
    void ShowViewNote(const Outcome& outcome);
    void FillRow(int row, const QString& rank, int32_t page, const BuildFigures& figures,
                 const QString& changes, const QStringList& texts, const QStringList& acquired = {},
                 const QString& gain = {});

    void RowPicked();
    void StepPicked(int step);
    void ShowChanges(const SearchAnswer& answer, const QString& heading);
    void ApplyPicked();
    void ApplyRow(int row);

    const TSimulator& live_;
    Runner runner_;

    QComboBox* character_ = nullptr;
    std::array<QCheckBox*, kSearchPartCount> free_{};
    QGridLayout* wearGrid_ = nullptr;
    std::array<QCheckBox*, kMinimumCount> minOn_{};
    std::array<QSpinBox*, kMinimumCount> min_{};
    QCheckBox* noPenalty_ = nullptr;
    QCheckBox* budgetOn_ = nullptr;
    QSpinBox* budget_ = nullptr;
    QComboBox* objective_ = nullptr;
    QComboBox* acquire_ = nullptr;
    QComboBox* view_ = nullptr;
    const THoldings* holdings_ = nullptr;
    QSpinBox* results_ = nullptr;
    QPushButton* run_ = nullptr;
    QPushButton* cancel_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QLabel* status_ = nullptr;
    QLabel* message_ = nullptr;
    QTableWidget* table_ = nullptr;
    QListWidget* changes_ = nullptr;
    CurvePlot* curve_ = nullptr;
    QLabel* curveCaption_ = nullptr;
    QPushButton* apply_ = nullptr;

    std::thread worker_;
    std::atomic<bool> cancelRequested_{false};
    std::atomic<double> done_{0};
    QElapsedTimer clock_;
    QTimer progressTimer_;
    // The best answers so far of the search that runs, handed over by its thread.
    std::mutex soFarLock_;
    std::shared_ptr<Outcome> soFar_;  // under soFarLock_; taken by the progress timer

    std::optional<Outcome> shown_;
    std::optional<PlannedBuild> picked_;  // what "適用" applies
    QString pickedLabel_;                 // and what it is called: "1位", a curve step
    bool stale_ = false;                  // the answers shown are not of the query now
    bool placed_ = false;                 // opened once: the player's place is kept
};
