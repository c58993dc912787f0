#pragma once

// The main window is a view over TSimulator. How an event flows:
//
//   user signal (a list's `activated`, a spinner step, the page change, a button,
//   the club list opening, closing the window)
//     -> one slot sets the matching TSimState field and calls one core operation
//        (ComboBox1Change, ClubChange, ClubFullTune, ComboBox2DropDown, FormCreate,
//        Button1Click, FormClose)
//     -> Render() copies TDisplay and the indices and positions of TSimState into the
//        widgets, with their signals blocked, touching only what changed.
//
// Signals raised by code are never forwarded, so no operation runs inside another. An
// ESimError stops the operation; the window still renders what the operation wrote,
// then shows the error's message.

#include <QWidget>
#include <optional>
#include <string>
#include <vector>

#include "simulator/simulator.h"

class FitLabel;
class PickList;
class QComboBox;
class QGroupBox;
class QPushButton;
class StepSpinner;
class TCharaPageControl;

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
    // What Render copies, and what it last copied.
    struct TextBinding {
        FitLabel* Label;
        const std::string* Text;
        std::string Shown;
    };
    struct HintBinding {
        QWidget* Widget;
        const std::string* Hint;
        const bool* On;   // nullptr: the hint is on whenever it has a text
        bool HelpCursor;  // a label that explains itself shows the help cursor
        std::string Shown;
        bool Applied = false;
    };
    struct ListBinding {
        QComboBox* List;
        const int32_t* Index;
    };
    struct ItemsBinding {
        QComboBox* List;
        const std::vector<std::string>* Items;
        std::vector<std::string> Shown;
    };
    struct EnableBinding {
        QWidget* Widget;
        const bool* Enabled;
    };
    struct SpinBinding {
        StepSpinner* Spinner;
        const int32_t* Position;
        const int32_t* Max;  // nullptr: the spinner's range is fixed
    };

    void Build();
    QGroupBox* BuildCharaGroup();
    QWidget* BuildCharaPage(int chara);
    void BuildEquipGroup(QWidget* page, int chara);
    void BuildCardGroup(QWidget* page, int chara);
    void BuildSlotGroup(QWidget* page, int chara);
    QGroupBox* BuildSpecialCardGroup();
    QGroupBox* BuildCaddieGroup();
    QGroupBox* BuildClubGroup();
    QGroupBox* BuildFinalGroup();

    PickList* MakeList(QWidget* parent, const QString& name, QRect place, int rows, int32_t* field);
    StepSpinner* MakeSpinner(QWidget* parent, const QString& name, const QString& editName,
                             QPoint place, int max);
    FitLabel* BindText(FitLabel* label, const std::string& text);
    void BindHint(QWidget* widget, const std::string& hint, const bool* on, bool helpCursor);

    // The user's actions.
    void ListPicked(int32_t* field, int index);
    void ClubPicked(int index);
    void ClubListOpening();
    void CharaSpinnerStepped(int32_t* position, int value);
    void ClubSpinnerStepped(int stat, int value);
    void PageChanged();
    void FullTuneClicked();
    void SaveClicked();
    void RevertClicked();

    // Runs one core operation at the event boundary, then renders and reports an error.
    template <class Operation>
    void Run(Operation&& operation, bool movesWindow = false);
    void Render();
    void ShowError(const std::string& message);
    void StoreWindowPosition();
    // The settings file each operation works on: the explicit one, else the program's.
    std::string SettingsPath() const;

    std::optional<std::string> iniPath_;
    TSimulator sim_;

    TCharaPageControl* pages_ = nullptr;
    std::vector<TextBinding> texts_;
    std::vector<HintBinding> hints_;
    std::vector<ListBinding> lists_;
    std::vector<ItemsBinding> items_;
    std::vector<EnableBinding> enables_;
    std::vector<SpinBinding> spinners_;
};
