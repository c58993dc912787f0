#include "window_driver.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QMessageBox>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <stdexcept>

#include "characters/roster.h"

namespace {

template <class T>
T* Named(const QObject& root, const QString& name) {
    T* widget = root.findChild<T*>(name);
    if (widget == nullptr) {
        throw std::logic_error("the window has no " + name.toStdString());
    }
    return widget;
}

QtMessageHandler previousHandler = nullptr;

void DropOffscreenWarnings(QtMsgType type, const QMessageLogContext& context,
                           const QString& message) {
    if (!message.startsWith(QLatin1String("This plugin does not support"))) {
        previousHandler(type, context, message);
    }
}

}  // namespace

void QuietOffscreenWarnings() {
    if (previousHandler == nullptr) {
        previousHandler = qInstallMessageHandler(DropOffscreenWarnings);
    }
}

WindowDriver::WindowDriver(TForm1& form) : form_(form) {
    for (int page = 0; page < CharaCount; ++page) {
        const QWidget* sheet = Named<QWidget>(form, QStringLiteral("TabSheet%1").arg(page + 1));
        const QList<QComboBox*> lists = sheet->findChildren<QComboBox*>();
        const QList<QSpinBox*> spinners = sheet->findChildren<QSpinBox*>();
        pageLists_.emplace_back(lists.begin(), lists.end());
        pageSpinners_.emplace_back(spinners.begin(), spinners.end());
        if (pageLists_.back().empty() || pageSpinners_.back().size() != 5) {
            throw std::logic_error("page " + std::to_string(page) + " lacks its widgets");
        }
    }
    for (const char* name : {"ComboBox1", "ComboBox3", "cbSpecialCard"}) {
        otherLists_.push_back(Named<QComboBox>(form, QLatin1String(name)));
    }
    clubList_ = Named<QComboBox>(form, QStringLiteral("ComboBox2"));
    for (int i = 1; i <= 5; ++i) {
        clubSpinners_.push_back(Named<QSpinBox>(form, QStringLiteral("UpDown_Club%1").arg(i)));
    }
    fullTune_ = Named<QPushButton>(form, QStringLiteral("Button_ClubFullTune"));
    save_ = Named<QPushButton>(form, QStringLiteral("Button1"));
    revert_ = Named<QPushButton>(form, QStringLiteral("Button2"));
}

int WindowDriver::CurrentPage() const {
    return Named<QTabWidget>(form_, QStringLiteral("PageControl1"))->currentIndex();
}

void WindowDriver::Step(QSpinBox* spinner, bool up) {
    QTest::keyClick(spinner, up ? Qt::Key_Up : Qt::Key_Down);
}

void WindowDriver::PickByKeyboard(QComboBox* list, bool down) {
    QTest::keyClick(list, down ? Qt::Key_Down : Qt::Key_Up);
}

void WindowDriver::PickInOpenList(QComboBox* list, int index) {
    QTest::mousePress(list, Qt::LeftButton);
    QAbstractItemView* view = list->view();
    if (view->isVisible()) {
        view->setCurrentIndex(view->model()->index(index, list->modelColumn()));
        QTest::keyClick(view, Qt::Key_Return);
    }
    QTest::mouseRelease(list, Qt::LeftButton);
}

void WindowDriver::Click(QPushButton* button) {
    QTest::mouseClick(button, Qt::LeftButton);
}

void WindowDriver::ClickTab(int index) const {
    QTabBar* bar = Named<QTabWidget>(form_, QStringLiteral("PageControl1"))->tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
}

void WindowDriver::PressKey(Qt::Key key, Qt::KeyboardModifiers modifiers) const {
    // The window's keys act in the active window only. The offscreen platform leaves a
    // closed list's window as the active one, where a desktop gives the activation back
    // to the window the list belongs to.
    if (QApplication::activeWindow() != &form_) {
        QApplication::setActiveWindow(&form_);
        if (QApplication::activeWindow() != &form_) {
            throw std::logic_error("the window did not become active");
        }
    }
    QWidget* focus = QApplication::focusWidget();
    QTest::keyClick(focus != nullptr && focus->window() == &form_ ? focus : &form_, key, modifiers);
}

void WindowDriver::Undo() const {
    PressKey(Qt::Key_Z, Qt::ControlModifier);
}

void WindowDriver::Redo(bool shiftZ) const {
    if (shiftZ) {
        PressKey(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    } else {
        PressKey(Qt::Key_Y, Qt::ControlModifier);
    }
}

void WindowDriver::CopyCode() const {
    PressKey(Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
}

void WindowDriver::PasteCode() const {
    PressKey(Qt::Key_V, Qt::ControlModifier | Qt::ShiftModifier);
}

void WindowDriver::Settle() {
    QApplication::processEvents();
}

MessageBoxCloser::MessageBoxCloser() {
    timer_.setInterval(1);
    QObject::connect(&timer_, &QTimer::timeout, &timer_, [this] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            ++closed_;
            box->accept();
        }
    });
    timer_.start();
}
