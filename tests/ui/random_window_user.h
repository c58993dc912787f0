#pragma once

// A user who acts on the real window at random, through input events: lists on the
// shown page (by keyboard and through the open list), the level, caddie and special
// card lists, the club list both ways, tabs, spinners, full tune, and, as the mix
// allows, save, revert, the undo and redo keys and build codes copied and pasted.
// It checks nothing itself; it keeps the last actions for a failure's message.

#include <deque>
#include <random>
#include <string>
#include <vector>

#include "window_driver.h"

class RandomWindowUser {
public:
    struct Mix {
        bool Saves = true;    // the save button
        bool Reverts = true;  // the revert button
        bool Undo = true;     // Ctrl+Z, Ctrl+Y and Ctrl+Shift+Z
        bool Codes = true;    // Ctrl+Shift+C, and later Ctrl+Shift+V
    };

    // What the last action was, for those who keep a model of the window.
    enum class Kind { Change, Save, Undo, Redo, Copy, Paste };

    RandomWindowUser(TForm1& form, unsigned seed) : RandomWindowUser(form, seed, Mix{}) {}
    RandomWindowUser(TForm1& form, unsigned seed, Mix mix);

    // One random action, then the window settles.
    Kind Act();

    // Visits every page and opens every list once, so that what the window creates on
    // first use (the lists' drop-down windows, glyphs of every text) exists.
    void VisitEverything();

    // The last actions, one a line.
    std::string Recent() const;

    int Pick(int count) { return std::uniform_int_distribution<int>(0, count - 1)(random_); }
    WindowDriver& Drive() { return drive_; }

private:
    template <class T>
    T* Any(const std::vector<T*>& widgets) {
        return widgets[static_cast<size_t>(Pick(static_cast<int>(widgets.size())))];
    }
    void Log(std::string action);

    WindowDriver drive_;
    Mix mix_;
    std::mt19937 random_;
    std::deque<std::string> recent_;
};
