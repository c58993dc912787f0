#include "ui/widgets.h"

#include <QLineEdit>
#include <QWheelEvent>

PickList::PickList(QWidget* parent) : QComboBox(parent) {
    setEditable(false);
    setFocusPolicy(Qt::StrongFocus);
}

void PickList::showPopup() {
    emit opening();
    QComboBox::showPopup();
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
