#include "random_window_user.h"

#include "characters/roster.h"

namespace {

std::string Name(const QWidget* widget) {
    return widget->objectName().toStdString();
}

}  // namespace

RandomWindowUser::RandomWindowUser(TForm1& form, unsigned seed, Mix mix)
    : drive_(form), mix_(mix), random_(seed) {}

RandomWindowUser::Kind RandomWindowUser::Act() {
    Kind done = Kind::Change;
    const int page = drive_.CurrentPage();
    const int kind = Pick(106);
    if (kind < 28) {
        QComboBox* list = Any(drive_.PageLists(page));
        Log("keyboard on " + Name(list));
        WindowDriver::PickByKeyboard(list, Pick(3) != 0);
    } else if (kind < 38) {
        QComboBox* list = Any(drive_.PageLists(page));
        const int index = Pick(list->count());
        Log("open " + Name(list) + " pick " + std::to_string(index));
        WindowDriver::PickInOpenList(list, index);
    } else if (kind < 44) {
        QComboBox* list = Any(drive_.OtherLists());
        if (Pick(2) == 0) {
            Log("keyboard on " + Name(list));
            WindowDriver::PickByKeyboard(list, Pick(2) == 0);
        } else {
            const int index = Pick(list->count());
            Log("open " + Name(list) + " pick " + std::to_string(index));
            WindowDriver::PickInOpenList(list, index);
        }
    } else if (kind < 49) {
        const int index = Pick(drive_.ClubList()->count());
        Log("open club list pick " + std::to_string(index));
        WindowDriver::PickInOpenList(drive_.ClubList(), index);
    } else if (kind < 53) {
        Log("keyboard on club list");
        WindowDriver::PickByKeyboard(drive_.ClubList(), Pick(2) == 0);
    } else if (kind < 61) {
        const int tab = Pick(CharaCount);
        Log("tab " + std::to_string(tab));
        drive_.ClickTab(tab);
    } else if (kind < 85) {
        QSpinBox* spinner = Any(drive_.PageSpinners(page));
        const bool up = Pick(3) != 0;  // mostly up, so that counts reach their limits
        Log(std::string(up ? "up on " : "down on ") + Name(spinner));
        WindowDriver::Step(spinner, up);
    } else if (kind < 95) {
        QSpinBox* spinner = Any(drive_.ClubSpinners());
        const bool up = Pick(3) != 0;
        Log(std::string(up ? "up on " : "down on ") + Name(spinner));
        WindowDriver::Step(spinner, up);
    } else if (kind < 97) {
        Log("full tune");
        WindowDriver::Click(drive_.FullTuneButton());
    } else if (kind < 99 && mix_.Saves) {
        Log("save");
        WindowDriver::Click(drive_.SaveButton());
        done = Kind::Save;
    } else if (kind < 100 && mix_.Reverts) {
        Log("revert");
        WindowDriver::Click(drive_.RevertButton());
    } else if (kind < 103 && mix_.Undo) {
        Log("Ctrl+Z");
        drive_.Undo();
        done = Kind::Undo;
    } else if (kind < 105 && mix_.Undo) {
        const bool shiftZ = kind == 104;
        Log(shiftZ ? "Ctrl+Shift+Z" : "Ctrl+Y");
        drive_.Redo(shiftZ);
        done = Kind::Redo;
    } else if (kind == 105 && mix_.Codes) {
        if (Pick(2) == 0) {
            Log("Ctrl+Shift+C");
            drive_.CopyCode();
            done = Kind::Copy;
        } else {
            Log("Ctrl+Shift+V");
            drive_.PasteCode();
            done = Kind::Paste;
        }
    } else {
        const int tab = Pick(CharaCount);
        Log("tab " + std::to_string(tab));
        drive_.ClickTab(tab);
    }
    WindowDriver::Settle();
    return done;
}

void RandomWindowUser::VisitEverything() {
    for (int page = 0; page < CharaCount; ++page) {
        drive_.ClickTab(page);
        for (QComboBox* list : drive_.PageLists(page)) {
            WindowDriver::PickInOpenList(list, list->currentIndex());
        }
        WindowDriver::Settle();
    }
    for (QComboBox* list : drive_.OtherLists()) {
        WindowDriver::PickInOpenList(list, list->currentIndex());
    }
    WindowDriver::PickInOpenList(drive_.ClubList(), drive_.ClubList()->currentIndex());
    drive_.ClickTab(0);
    WindowDriver::Settle();
}

std::string RandomWindowUser::Recent() const {
    std::string text;
    for (const std::string& action : recent_) {
        text += "  " + action + "\n";
    }
    return text;
}

void RandomWindowUser::Log(std::string action) {
    recent_.push_back(std::move(action));
    if (recent_.size() > 12) {
        recent_.pop_front();
    }
}
