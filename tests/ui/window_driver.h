#pragma once

// Drives the real window with input events, as a user's hand would, but without the
// waits a person needs: fast enough to time and to repeat thousands of times. Used by
// the soak test and the window benchmarks; it checks nothing itself.

#include <QComboBox>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>
#include <vector>

#include "ui/main_window.h"

class WindowDriver {
public:
    explicit WindowDriver(TForm1& form);

    // The lists and spinners of character page `page` (0..9).
    const std::vector<QComboBox*>& PageLists(int page) const { return pageLists_.at(page); }
    const std::vector<QSpinBox*>& PageSpinners(int page) const { return pageSpinners_.at(page); }
    // Level, caddie and special card lists.
    const std::vector<QComboBox*>& OtherLists() const { return otherLists_; }
    QComboBox* ClubList() const { return clubList_; }
    const std::vector<QSpinBox*>& ClubSpinners() const { return clubSpinners_; }
    QPushButton* FullTuneButton() const { return fullTune_; }
    QPushButton* SaveButton() const { return save_; }
    QPushButton* RevertButton() const { return revert_; }
    int CurrentPage() const;

    // One Up or Down key on a spinner.
    static void Step(QSpinBox* spinner, bool up);
    // One Up or Down key on a closed list.
    static void PickByKeyboard(QComboBox* list, bool down);
    // Opens the list with a mouse press, moves to `index` in the open list and takes it
    // with Return.
    static void PickInOpenList(QComboBox* list, int index);
    static void Click(QPushButton* button);
    void ClickTab(int index) const;
    // The window's keys, sent to the widget that has the focus as a hand types them:
    // Ctrl+Z, Ctrl+Y or Ctrl+Shift+Z, Ctrl+Shift+C and Ctrl+Shift+V.
    void Undo() const;
    void Redo(bool shiftZ = false) const;
    void CopyCode() const;
    void PasteCode() const;
    void PressKey(Qt::Key key, Qt::KeyboardModifiers modifiers) const;
    // Lets the window lay out and paint what the last action changed.
    static void Settle();

private:
    TForm1& form_;
    std::vector<std::vector<QComboBox*>> pageLists_;
    std::vector<std::vector<QSpinBox*>> pageSpinners_;
    std::vector<QComboBox*> otherLists_;
    QComboBox* clubList_ = nullptr;
    std::vector<QSpinBox*> clubSpinners_;
    QPushButton* fullTune_ = nullptr;
    QPushButton* save_ = nullptr;
    QPushButton* revert_ = nullptr;
};

// Answers every message box that opens with its OK button, and counts them.
class MessageBoxCloser {
public:
    MessageBoxCloser();
    int Closed() const { return closed_; }

private:
    QTimer timer_;
    int closed_ = 0;
};

// The offscreen platform warns each time a list opens that it cannot grab the keyboard
// or raise a window; thousands of those would bury real output. Drops just those.
void QuietOffscreenWarnings();
