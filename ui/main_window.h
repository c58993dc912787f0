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

#include <QWidget>
#include <optional>
#include <string>

#include "form/binding.h"
#include "settings/settings_store.h"
#include "simulator/simulator.h"
#include "ui/display_binding.h"
#include "ui/form_builder.h"

// When the window runs its creation load: at once (as the program does) or when the
// owner calls RunCreationLoad (so that a test can see the window before the load).
enum class TLoadTime { AtCreation, Deferred };

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

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void Build();
    // Connects every user signal of the built widgets to the slot of its binding.
    void Wire();

    // The user's actions.
    void Changed(const Binding& bind, int value);
    void PageChanged(const Binding& bind);
    void RunUserOperation(UserOperation operation);
    void SaveClicked();
    void RevertClicked();

    // Runs one core operation at the event boundary, then renders and reports an error.
    template <class Operation>
    void Run(Operation&& operation, bool movesWindow = false);
    void ShowError(const std::string& message);
    void StoreWindowPosition();
    // The settings file each operation works on: the explicit one, else the program's.
    FileStore Store() const;

    std::optional<std::string> iniPath_;
    TSimulator sim_;
    BuiltForm widgets_;
    DisplayBinding display_;
};
