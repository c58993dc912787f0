#include "ui/main_window.h"

#include <QCloseEvent>
#include <QMessageBox>
#include <QPushButton>

#include "engine/errors.h"
#include "form/form.h"
#include "settings/settings_path.h"
#include "simulator/persistence.h"
#include "ui/chara_tabs.h"
#include "ui/qt_text.h"
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
    RevertClicked();
}

void TForm1::Build() {
    const FormDef& form = MainForm();
    widgets_ = BuildForm(*this, form);
    display_.Bind(form, widgets_, sim_.State, sim_.Display);
    Wire();
    display_.Render();
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

template <class Operation>
void TForm1::Run(Operation&& operation, bool movesWindow) {
    std::optional<std::string> failure;
    try {
        operation(sim_);
    } catch (const ESimError& error) {
        failure = error.what();
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
        Run(core);
    }
}

void TForm1::SaveClicked() {
    StoreWindowPosition();
    Run(
        [this](TSimulator& sim) {
            FileStore store = Store();
            Button1Click(sim, store);
        },
        true);
}

void TForm1::RevertClicked() {
    Run(
        [this](TSimulator& sim) {
            FileStore store = Store();
            FormCreate(sim, store);
        },
        true);
}

void TForm1::closeEvent(QCloseEvent* event) {
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
