#pragma once

// The main window is a view over TSimulator. Its widgets are made from the form
// description (form/form.h) by BuildForm, and DisplayBinding shows the core in them.
// How an event flows:
//
//   user signal (a list's `activated`, a spinner step, the page change, a button,
//   the club list opening, closing the window)
//     -> one slot sets the TSimState field of the widget's binding and calls one core
//        operation (ComboBox1Change, ClubChange, ClubFullTune, ComboBox2DropDown,
//        FormCreate, Button1Click, FormClose)
//     -> DisplayBinding::Render copies TDisplay and the indices and positions of
//        TSimState into the widgets, with their signals blocked, touching only what
//        changed.
//
// Signals raised by code are never forwarded, so no operation runs inside another. An
// ESimError stops the operation; the window still renders what the operation wrote,
// then shows the error's message.
//
// The same runner keeps the history (simulator/history.h): every change of the
// selection is a step that Ctrl+Z undoes and Ctrl+Y or Ctrl+Shift+Z redo; a save is no
// step; the club list's opening is part of the pick that follows it. While a list is
// open, its highlighted entry shows beside it what picking it would change. Ctrl+Shift+C
// and Ctrl+Shift+V (also in the window's context menu) copy the selection as a build
// code and show a pasted one. Ctrl+F (and the context menu) opens the build search
// (ui/search_dialog.h); the answer it applies is shown as a pasted build is, as one step.
// Ctrl+H (and the context menu) opens the player's holdings (ui/holdings_dialog.h), kept
// in a file of their own beside the settings file; the lists mark the entries not owned
// and their previews say so.

#include <QTimer>
#include <QWidget>
#include <memory>
#include <optional>
#include <string>

#include "form/binding.h"
#include "settings/settings_store.h"
#include "simulator/history.h"
#include "simulator/holdings_file.h"
#include "simulator/lists.h"
#include "simulator/preview.h"
#include "simulator/simulator.h"
#include "ui/display_binding.h"
#include "ui/form_builder.h"

// When the window runs its creation load: at once (as the program does) or when the
// owner calls RunCreationLoad (so that a test can see the window before the load).
enum class TLoadTime { AtCreation, Deferred };

class EntryTip;
class HoldingsDialog;
class PickList;
class SearchDialog;
struct PlannedBuild;

class TForm1 : public QWidget {
    Q_OBJECT

public:
    // The settings file beside the executable.
    TForm1();
    // An explicit settings file.
    explicit TForm1(std::string iniPath, TLoadTime loadTime = TLoadTime::AtCreation);
    ~TForm1() override;

    void RunCreationLoad();

    const TSimulator& Simulator() const { return sim_; }
    const THoldings& Holdings() const { return holdings_.Holdings; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void Build();
    // Connects every user signal of the built widgets to the slot of its binding.
    void Wire();
    // The keys and the context menu of the window.
    void AddCommands();

    // The user's actions.
    void Changed(const Binding& bind, int value);
    void PageChanged(const Binding& bind);
    void RunUserOperation(UserOperation operation);
    void SaveClicked();
    void RevertClicked();
    void UndoPressed();
    void RedoPressed();
    void CopyBuildCode();
    void PasteBuildCode();
    void OpenSearch();
    void OpenHoldings();
    // The dialog's holdings are saved; the dialog closes when the save succeeds.
    void KeepHoldings(const THoldings& holdings);
    void ApplyBuild(const PlannedBuild& build);

    // What an entry of an open list would change, beside the entry: asked for on each
    // highlight, worked out and shown once the events of the moment are handled, so
    // that a fast run over the entries shows only where it stops.
    void ShowPreview(PickList* list, ListRef ref, int entry);
    void ShowPendingPreview();
    void HidePreview();

    // What the history does after an operation.
    enum class Step {
        Record,  // a change of the selection by the user
        Follow,  // the save: no step, the current entry takes the result
        Start,   // the creation load: the history begins anew
        None,    // undo, redo and the club list's opening
    };

    // Runs one core operation at the event boundary, keeps the history, then renders
    // and reports an error.
    template <class Operation>
    void Run(Operation&& operation, Step step, bool movesWindow = false);
    void ShowError(const std::string& message);
    void StoreWindowPosition();
    // The settings file each operation works on: the explicit one, else the program's.
    FileStore Store() const;
    std::string SettingsPath() const;

    std::optional<std::string> iniPath_;
    TSimulator sim_;
    History history_;
    BuiltForm widgets_;
    DisplayBinding display_;
    Previewer previewer_;
    std::unique_ptr<EntryTip> tip_;
    SearchDialog* search_ = nullptr;  // made when first opened; a child of the window
    HoldingsFile holdings_;
    HoldingsDialog* holdingsDialog_ = nullptr;  // made when first opened
    QTimer previewTimer_;
    struct PendingPreview {
        PickList* List = nullptr;
        ListRef Ref;
        int Entry = -1;
    } pendingPreview_;
};
