#include "ui/main_window.h"

#include <QAbstractItemView>
#include <QAction>
#include <QClipboard>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QShortcut>

#include "engine/errors.h"
#include "form/form.h"
#include "search/holdings_text.h"
#include "settings/settings_path.h"
#include "simulator/build_code.h"
#include "simulator/persistence.h"
#include "ui/chara_tabs.h"
#include "ui/holdings_dialog.h"
#include "ui/qt_text.h"
#include "ui/search_dialog.h"
#include "ui/widgets.h"

namespace {

const QString kMessageCaption = QStringLiteral("Kestrel Status Simulator");

using CoreOperationFn = void (*)(TSimulator&);

// The core operation of a user's action that needs no settings file, or nullptr.
CoreOperationFn CoreOperation(UserOperation operation) {
    switch (operation) {
        case UserOperation::Recalculate:
            return ComboBox1Change;
        case UserOperation::ClubChange:
            return ClubChange;
        case UserOperation::ClubListOpen:
            return ComboBox2DropDown;
        case UserOperation::FullTune:
            return ClubFullTune;
        default:
            return nullptr;
    }
}

}  // namespace

TForm1::TForm1() : QWidget(nullptr) {
    Build();
    RunCreationLoad();
}

TForm1::TForm1(std::string iniPath, TLoadTime loadTime)
    : QWidget(nullptr), iniPath_(std::move(iniPath)) {
    Build();
    if (loadTime == TLoadTime::AtCreation) {
        RunCreationLoad();
    }
}

TForm1::~TForm1() = default;

void TForm1::RunCreationLoad() {
    holdings_ = LoadHoldingsFile(HoldingsFilePath(SettingsPath()));
    display_.SetHoldings(&holdings_.Holdings);
    Run(
        [this](TSimulator& sim) {
            FileStore store = Store();
            FormCreate(sim, store);
        },
        Step::Start, true);
    if (!holdings_.Problem.empty()) {
        ShowError(holdings_.Problem);
    }
}

void TForm1::Build() {
    const FormDef& form = MainForm();
    widgets_ = BuildForm(*this, form);
    display_.Bind(form, widgets_, sim_.State, sim_.Display);
    Wire();
    AddCommands();
    previewTimer_.setSingleShot(true);
    previewTimer_.setInterval(0);
    connect(&previewTimer_, &QTimer::timeout, this, &TForm1::ShowPendingPreview);
    display_.Render();
    history_.Start(sim_);
}

void TForm1::Wire() {
    const FormDef& form = MainForm();
    for (size_t i = 0; i < form.Widgets.size(); ++i) {
        const Binding bind = form.Widgets[i].Bind;
        QWidget* widget = widgets_.Widgets[i];
        switch (form.Widgets[i].Kind) {
            case WidgetKind::List: {
                auto* list = static_cast<PickList*>(widget);
                connect(list, &QComboBox::activated, this,
                        [this, bind](int index) { Changed(bind, index); });
                if (const std::optional<ListRef> ref = ListOfBinding(bind)) {
                    connect(list, &QComboBox::highlighted, this,
                            [this, list, ref = *ref](int entry) { ShowPreview(list, ref, entry); });
                    connect(list, &PickList::opened, this, [this, list, ref = *ref] {
                        ShowPreview(list, ref, list->view()->currentIndex().row());
                    });
                    connect(list, &PickList::closed, this, [this] { HidePreview(); });
                }
                const UserOperation opening = OperationOnOpen(bind);
                if (opening != UserOperation::None) {
                    connect(list, &PickList::opening, this,
                            [this, opening] { RunUserOperation(opening); });
                }
                break;
            }
            case WidgetKind::Spinner:
                connect(static_cast<StepSpinner*>(widget), &QSpinBox::valueChanged, this,
                        [this, bind](int value) { Changed(bind, value); });
                break;
            case WidgetKind::PageControl:
                connect(widgets_.Pages, &QTabWidget::currentChanged, this,
                        [this, bind] { PageChanged(bind); });
                break;
            case WidgetKind::Button:
                connect(static_cast<QPushButton*>(widget), &QPushButton::clicked, this,
                        [this, bind] { RunUserOperation(OperationOnChange(bind)); });
                break;
            default:
                break;
        }
    }
}

void TForm1::AddCommands() {
    const auto key = [this](QKeySequence sequence, void (TForm1::*slot)()) {
        connect(new QShortcut(sequence, this), &QShortcut::activated, this, slot);
    };
    key(QKeySequence(Qt::CTRL | Qt::Key_Z), &TForm1::UndoPressed);
    key(QKeySequence(Qt::CTRL | Qt::Key_Y), &TForm1::RedoPressed);
    key(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), &TForm1::RedoPressed);

    // The context menu of the window shows the actions added to it; a widget of the
    // window without a menu of its own passes a right click on to it.
    const auto command = [this](const char* text, QKeySequence sequence, void (TForm1::*slot)()) {
        auto* action = new QAction(QString::fromUtf8(text), this);
        action->setShortcut(sequence);
        connect(action, &QAction::triggered, this, slot);
        addAction(action);
    };
    command("ビルドコードをコピー", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C),
            &TForm1::CopyBuildCode);
    command("ビルドコードを貼り付け", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_V),
            &TForm1::PasteBuildCode);
    command("ビルド探索…", QKeySequence(Qt::CTRL | Qt::Key_F), &TForm1::OpenSearch);
    command("持ち物…", QKeySequence(Qt::CTRL | Qt::Key_H), &TForm1::OpenHoldings);
    setContextMenuPolicy(Qt::ActionsContextMenu);
}

template <class Operation>
void TForm1::Run(Operation&& operation, Step step, bool movesWindow) {
    std::optional<std::string> failure;
    try {
        operation(sim_);
    } catch (const ESimError& error) {
        failure = error.what();
    }
    // What a failed change set before its error stays in the selection, so it is a
    // step as well.
    switch (step) {
        case Step::Record:
            history_.Record(sim_);
            break;
        case Step::Follow:
            history_.Follow(sim_);
            break;
        case Step::Start:
            history_.Start(sim_);
            break;
        case Step::None:
            break;
    }
    display_.Render();
    if (movesWindow) {
        move(sim_.Window.Left, sim_.Window.Top);
    }
    if (failure) {
        ShowError(*failure);
    }
}

// A pick in a list or a spinner step: the widget's field takes the new value, then the
// widget's operation runs.
void TForm1::Changed(const Binding& bind, int value) {
    SetBoundValue(sim_.State, bind, value);
    RunUserOperation(OperationOnChange(bind));
}

// The empty page that stands for "no page active" is never the user's choice.
void TForm1::PageChanged(const Binding& bind) {
    const int page = widgets_.Pages->ShownPage();
    if (page >= 0) {
        Changed(bind, page);
    }
}

void TForm1::RunUserOperation(UserOperation operation) {
    if (operation == UserOperation::Save) {
        SaveClicked();
    } else if (operation == UserOperation::Revert) {
        RevertClicked();
    } else if (const auto core = CoreOperation(operation)) {
        // The club list's opening stores the counts that the pick after it works with;
        // opening and pick are one step.
        Run(core, operation == UserOperation::ClubListOpen ? Step::None : Step::Record);
    }
}

void TForm1::SaveClicked() {
    StoreWindowPosition();
    Run(
        [this](TSimulator& sim) {
            FileStore store = Store();
            Button1Click(sim, store);
        },
        Step::Follow, true);
}

void TForm1::RevertClicked() {
    Run(
        [this](TSimulator& sim) {
            FileStore store = Store();
            FormCreate(sim, store);
        },
        Step::Record, true);
}

void TForm1::UndoPressed() {
    Run([this](TSimulator& sim) { history_.Undo(sim); }, Step::None);
}

void TForm1::RedoPressed() {
    Run([this](TSimulator& sim) { history_.Redo(sim); }, Step::None);
}

void TForm1::CopyBuildCode() {
    QGuiApplication::clipboard()->setText(Q(EncodeBuild(sim_.State)));
}

// The build on the clipboard (a code or a share link) is one step.
void TForm1::PasteBuildCode() {
    const std::string text = QGuiApplication::clipboard()->text().toStdString();
    Run([&text](TSimulator& sim) { PasteBuild(sim, text); }, Step::Record);
}

void TForm1::OpenSearch() {
    if (search_ == nullptr) {
        search_ = new SearchDialog(sim_, this);
        search_->SetHoldings(&holdings_.Holdings);
        connect(search_, &SearchDialog::applyRequested, this, &TForm1::ApplyBuild);
    }
    search_->Open();
}

void TForm1::OpenHoldings() {
    if (holdingsDialog_ == nullptr) {
        holdingsDialog_ = new HoldingsDialog(this);
        holdingsDialog_->setWindowFlag(Qt::Window);
        connect(holdingsDialog_, &HoldingsDialog::keepRequested, this, &TForm1::KeepHoldings);
    }
    holdingsDialog_->Open(holdings_.Holdings, holdings_.Problem);
}

// A failed save keeps the old file and the dialog open with its changes.
void TForm1::KeepHoldings(const THoldings& holdings) {
    try {
        SaveHoldingsFile(holdings_, holdings);
    } catch (const ESimError& error) {
        ShowError(error.what());
        return;
    }
    display_.SetHoldings(&holdings_.Holdings);
    display_.Render();
    holdingsDialog_->accept();
}

// An answer of the search is shown as a pasted build is: one step, the PP baselines kept.
void TForm1::ApplyBuild(const PlannedBuild& build) {
    Run([&build](TSimulator& sim) { ShowBuild(sim, build); }, Step::Record);
}

void TForm1::ShowPreview(PickList* list, ListRef ref, int entry) {
    pendingPreview_ = {list, ref, entry};
    previewTimer_.start();
}

void TForm1::ShowPendingPreview() {
    const PendingPreview& p = pendingPreview_;
    if (p.List == nullptr || !p.List->view()->isVisible() || p.Entry < 0) {
        HidePreview();
        return;
    }
    if (!tip_) {
        tip_ = std::make_unique<EntryTip>();
    }
    const PreviewResult preview = previewer_.Preview(sim_, p.Ref, p.Entry);
    tip_->ShowBeside(Q(PreviewText(preview, holdings_.Holdings, p.Ref, p.Entry)),
                     p.List->EntryOnScreen(p.Entry), p.List->OpenListOnScreen());
}

void TForm1::HidePreview() {
    previewTimer_.stop();
    if (tip_) {
        tip_->hide();
    }
}

void TForm1::closeEvent(QCloseEvent* event) {
    if (search_ != nullptr) {
        search_->close();
    }
    if (holdingsDialog_ != nullptr) {
        holdingsDialog_->close();
    }
    StoreWindowPosition();
    try {
        FileStore store = Store();
        FormClose(sim_, store);
    } catch (const ESimError& error) {
        // The window closes all the same; the user learns that the position and page
        // were not kept.
        ShowError(error.what());
    }
    event->accept();
}

void TForm1::ShowError(const std::string& message) {
    QMessageBox box(QMessageBox::Critical, kMessageCaption, Q(message) + QLatin1Char('.'),
                    QMessageBox::Ok, this);
    box.exec();
}

std::string TForm1::SettingsPath() const {
    return iniPath_ ? *iniPath_ : SettingsFilePath();
}

FileStore TForm1::Store() const {
    if (iniPath_) {
        return FileStore(*iniPath_);
    }
    return FileStore(SettingsFilePath(), FileStore::MissingFolder::Create);
}

void TForm1::StoreWindowPosition() {
    sim_.Window.Left = x();
    sim_.Window.Top = y();
}
