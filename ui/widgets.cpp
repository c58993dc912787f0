#include "ui/widgets.h"

#include <QAbstractItemView>
#include <QEvent>
#include <QGuiApplication>
#include <QLineEdit>
#include <QScreen>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QStylePainter>
#include <QToolTip>
#include <QWheelEvent>
#include <algorithm>

PickList::PickList(QWidget* parent) : QComboBox(parent) {
    setEditable(false);
    setFocusPolicy(Qt::StrongFocus);
}

void PickList::showPopup() {
    emit opening();
    // The box keeps its width; the open list is wide enough for its longest entry.
    QAbstractItemView* list = view();
    int width = list->sizeHintForColumn(modelColumn()) + 2 * list->frameWidth() + 8;
    if (count() > maxVisibleItems()) {
        width += list->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    }
    list->setMinimumWidth(width);
    QComboBox::showPopup();
    // The open list is a window of its own; its hiding is the closing, whether by a
    // pick, Escape or a click elsewhere.
    QObject* popup = list->window();
    if (popup != watchedPopup_ && popup != window()) {
        popup->installEventFilter(this);
        watchedPopup_ = popup;
    }
    emit opened();
}

bool PickList::eventFilter(QObject* watched, QEvent* event) {
    if (watched == watchedPopup_ && event->type() == QEvent::Hide) {
        emit closed();
    }
    return QComboBox::eventFilter(watched, event);
}

QRect PickList::EntryOnScreen(int index) const {
    const QAbstractItemView* list = view();
    const QRect row = list->visualRect(model()->index(index, modelColumn()));
    return {list->viewport()->mapToGlobal(row.topLeft()), row.size()};
}

QRect PickList::OpenListOnScreen() const {
    const QWidget* popup = view()->window();
    return {popup->mapToGlobal(QPoint(0, 0)), popup->size()};
}

EntryTip::EntryTip() : QLabel(nullptr, Qt::ToolTip | Qt::BypassGraphicsProxyWidget) {
    setObjectName(QStringLiteral("EntryTip"));
    setTextFormat(Qt::PlainText);
    setForegroundRole(QPalette::ToolTipText);
    setBackgroundRole(QPalette::ToolTipBase);
    setPalette(QToolTip::palette());
    setFont(QToolTip::font());
    ensurePolished();
    setMargin(1 + style()->pixelMetric(QStyle::PM_ToolTipLabelFrameWidth, nullptr, this));
    setFrameStyle(QFrame::NoFrame);
    setAlignment(Qt::AlignLeft);
    setIndent(1);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void EntryTip::ShowBeside(const QString& text, const QRect& entry, const QRect& frame) {
    // The hint font may have changed since the tip was made (the window sets it).
    setFont(QToolTip::font());
    setText(text);
    resize(sizeHint());
    const QScreen* screen = QGuiApplication::screenAt(entry.center());
    const QRect room = screen != nullptr ? screen->availableGeometry() : QRect(frame);
    int left = frame.right() + 3;
    if (left + width() > room.right() + 1) {
        left = std::max(room.left(), frame.left() - 2 - width());
    }
    const int top =
        std::clamp(entry.top(), room.top(), std::max(room.top(), room.bottom() + 1 - height()));
    move(left, top);
    show();
    raise();
}

void EntryTip::paintEvent(QPaintEvent* event) {
    {
        QStylePainter painter(this);
        QStyleOptionFrame frame;
        frame.initFrom(this);
        painter.drawPrimitive(QStyle::PE_PanelTipLabel, frame);
    }
    QLabel::paintEvent(event);
}

StepSpinner::StepSpinner(QWidget* parent, const QString& editName) : QSpinBox(parent) {
    lineEdit()->setReadOnly(true);
    lineEdit()->setObjectName(editName);
    setFocusPolicy(Qt::ClickFocus);
    setWrapping(false);
    setSingleStep(1);
    setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    setContextMenuPolicy(Qt::NoContextMenu);
    lineEdit()->setContextMenuPolicy(Qt::NoContextMenu);
}

// PageUp and PageDown would step by ten; every step here is one.
void StepSpinner::stepBy(int steps) {
    if (steps != 0) {
        QSpinBox::stepBy(steps > 0 ? 1 : -1);
    }
}

void StepSpinner::wheelEvent(QWheelEvent* event) {
    event->ignore();
}

FitLabel::FitLabel(QWidget* parent, const QString& text, Anchor anchor)
    : QLabel(text, parent), anchor_(anchor) {
    setTextFormat(Qt::PlainText);
    setAlignment((anchor == Anchor::Right ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignTop);
}

void FitLabel::SetFitText(const QString& text) {
    setText(text);
    Fit();
}

void FitLabel::Place(int left, int top, int width) {
    const QSize hint = sizeHint();
    left_ = left;
    right_ = left + hint.width();
    if (anchor_ == Anchor::Fixed) {
        setGeometry(left, top, width, hint.height());
    } else {
        setGeometry(left, top, hint.width(), hint.height());
    }
}

void FitLabel::Fit() {
    if (anchor_ == Anchor::Fixed) {
        return;
    }
    const QSize hint = sizeHint();
    if (anchor_ == Anchor::Left) {
        setGeometry(left_, y(), hint.width(), hint.height());
    } else {
        setGeometry(right_ - hint.width(), y(), hint.width(), hint.height());
    }
}
