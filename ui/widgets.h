#pragma once

#include <QComboBox>
#include <QLabel>
#include <QSpinBox>

// The small widget kinds of the main window. None of them holds calculation state: the
// window sets their values from the core and forwards their user signals.

// A pick-only drop-down list. Its user picks arrive as QComboBox::activated; opening the
// list is announced by `opening` before the list shows and by `opened` once it shows,
// and its closing, however it closes, by `closed`.
class PickList : public QComboBox {
    Q_OBJECT

public:
    explicit PickList(QWidget* parent);

    void showPopup() override;
    // The open list's row `index` on the screen (global coordinates), and the open
    // list's frame.
    QRect EntryOnScreen(int index) const;
    QRect OpenListOnScreen() const;

signals:
    void opening();
    void opened();
    void closed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QObject* watchedPopup_ = nullptr;
};

// A hint window of its own, drawn as the hints are, that stands beside a rectangle of
// the screen (an entry of an open list) instead of below the mouse, and stays until it
// is hidden: keys and moves inside the open list do not close it.
class EntryTip : public QLabel {
    Q_OBJECT

public:
    EntryTip();

    // Shows `text` right of `frame` at the height of `entry`, or left of `frame` where
    // the screen ends.
    void ShowBeside(const QString& text, const QRect& entry, const QRect& frame);

protected:
    void paintEvent(QPaintEvent* event) override;
};

// A number box with its spinner: the user steps it by one with the arrows or the Up and
// Down keys; typing, pasting and the wheel change nothing, and Tab does not reach it.
// The read-only text box is a child named by the caller (Edit<n>), so both names can be
// found.
class StepSpinner : public QSpinBox {
    Q_OBJECT

public:
    StepSpinner(QWidget* parent, const QString& editName);

    void stepBy(int steps) override;
    QLineEdit* NumberBox() const { return lineEdit(); }

protected:
    void wheelEvent(QWheelEvent* event) override;
};

// A label that sizes itself to its text, as a self-sizing label does: it grows to the
// right from its left edge, or, when right-aligned, to the left from its right edge, or
// keeps a fixed box.
class FitLabel : public QLabel {
    Q_OBJECT

public:
    enum class Anchor { Left, Right, Fixed };

    FitLabel(QWidget* parent, const QString& text, Anchor anchor);

    // Sets the text and fits the label to it.
    void SetFitText(const QString& text);
    // Places the label: for Left and Right the width follows the text, for Fixed it is
    // `width` (with the text aligned as set).
    void Place(int left, int top, int width = 0);

private:
    void Fit();

    Anchor anchor_;
    int left_ = 0;
    int right_ = 0;
};
