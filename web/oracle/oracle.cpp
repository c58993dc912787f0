// The desktop window as the page's oracle: reads user actions, one a line, performs
// each on the real window (offscreen) as a user's hand would, and after each prints one
// JSON line with the message boxes it showed and every shown value that changed:
//   {"errors":["<box text>",...],"shown":{"<object name>.<part>":"<value>",...}}
// The first line is the window after its creation load. Parts: text, hint, cursor
// (labels, lists, buttons), index, items, enabled (lists), value, max (spinners), page.
// A copy adds "copied":"<the clipboard's text>", a preview "tip":"<the tip's text>"
// (empty when no tip shows).
//
//   web_oracle <settings file> <actions file>
// Actions: key <name> Up|Down|Left|Right · pick <list> <row> · open <list> (and
// Escape) · preview <list> <row> [how] (opens the list, highlights the row, reads the
// tip, Escape) · arrow <spinner> up|down · tab <page> · click <button> · close · undo
// [how] (Ctrl+Z) · redo [shiftz|how] (Ctrl+Y, or Ctrl+Shift+Z) · copy [how]
// (Ctrl+Shift+C) · paste <how> <text> (the rest of the line on the clipboard, then
// Ctrl+Shift+V) · search <query JSON> (the rest of the line; the build search on the
// window's own simulator, whatever "build" the query names, answered as "search":<the
// answer's JSON>). A "how" word says how the page does it (a key or its button);
// the window has its keys only.

#include <QAbstractItemView>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "form/form.h"
#include "json/json_writer.h"
#include "search/search_json.h"
#include "ui/main_window.h"
#include "window_driver.h"

namespace {

using Shown = std::map<std::string, std::string>;

std::string Json(const std::string& text) {
    std::string out;
    AppendJsonString(out, text);
    return out;
}

std::string CursorName(const QWidget* widget) {
    switch (widget->cursor().shape()) {
        case Qt::WhatsThisCursor:
            return "help";
        case Qt::PointingHandCursor:
            return "pointer";
        default:
            return "default";
    }
}

std::string S(const QString& text) {
    return text.toStdString();
}

// Everything the window shows that the page must show alike.
Shown Read(const TForm1& form) {
    Shown shown;
    for (const QWidget* w : form.findChildren<QWidget*>()) {
        const std::string name = S(w->objectName());
        if (name.empty() || name.starts_with("qt_")) {
            continue;
        }
        if (const auto* label = qobject_cast<const QLabel*>(w)) {
            shown[name + ".text"] = S(label->text());
            shown[name + ".hint"] = S(label->toolTip());
            shown[name + ".cursor"] = CursorName(label);
        } else if (const auto* list = qobject_cast<const QComboBox*>(w)) {
            shown[name + ".index"] = std::to_string(list->currentIndex());
            shown[name + ".text"] = S(list->currentText());
            std::string items;
            for (int i = 0; i < list->count(); ++i) {
                if (i > 0) {
                    items += '\n';
                }
                items += S(list->itemText(i));
            }
            shown[name + ".items"] = items;
            shown[name + ".enabled"] = list->isEnabled() ? "true" : "false";
            shown[name + ".hint"] = S(list->toolTip());
            shown[name + ".cursor"] = CursorName(list);
        } else if (const auto* spinner = qobject_cast<const QSpinBox*>(w)) {
            shown[name + ".value"] = std::to_string(spinner->value());
            shown[name + ".max"] = std::to_string(spinner->maximum());
            shown[name + ".hint"] = S(spinner->toolTip());
        } else if (const auto* button = qobject_cast<const QPushButton*>(w)) {
            shown[name + ".text"] = S(button->text());
            shown[name + ".hint"] = S(button->toolTip());
            shown[name + ".cursor"] = CursorName(button);
        } else if (const auto* pages = qobject_cast<const QTabWidget*>(w)) {
            const int page = pages->currentIndex();
            shown[name + ".page"] = std::to_string(page >= 0 && page < CharaCount ? page : -1);
        }
    }
    return shown;
}

template <class T>
T* Named(const TForm1& form, const std::string& name) {
    T* widget = form.findChild<T*>(QString::fromStdString(name));
    if (widget == nullptr) {
        std::fprintf(stderr, "web_oracle: the window has no %s\n", name.c_str());
        std::exit(2);
    }
    return widget;
}

// The tip beside the highlighted entry of an open list, when it shows.
const QLabel* ShownTip() {
    for (const QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->objectName() == QLatin1String("EntryTip") && widget->isVisible()) {
            return static_cast<const QLabel*>(widget);
        }
    }
    return nullptr;
}

// What an action read besides the shown values, as JSON members.
std::string Perform(TForm1& form, const WindowDriver& drive, const std::string& line) {
    std::istringstream words(line);
    std::string verb;
    std::string name;
    words >> verb >> name;
    std::string extra;
    if (verb == "undo") {
        drive.Undo();
    } else if (verb == "redo") {
        drive.Redo(name == "shiftz");
    } else if (verb == "copy") {
        drive.CopyCode();
        WindowDriver::Settle();
        extra = ",\"copied\":" + Json(S(QGuiApplication::clipboard()->text()));
    } else if (verb == "paste") {
        // The second word says how the page pastes; the window has its keys only.
        const size_t how = line.find(' ');
        const size_t at = how == std::string::npos ? how : line.find(' ', how + 1);
        QGuiApplication::clipboard()->setText(
            QString::fromStdString(at == std::string::npos ? std::string() : line.substr(at + 1)));
        drive.PasteCode();
    } else if (verb == "preview") {
        int row = 0;
        words >> row;
        auto* list = Named<QComboBox>(form, name);
        QTest::mousePress(list, Qt::LeftButton);
        QAbstractItemView* view = list->view();
        std::string tip;
        if (view->isVisible()) {
            view->setCurrentIndex(view->model()->index(row, list->modelColumn()));
            WindowDriver::Settle();
            if (const QLabel* shown = ShownTip()) {
                tip = S(shown->text());
            }
            QTest::keyClick(view, Qt::Key_Escape);
        }
        QTest::mouseRelease(list, Qt::LeftButton);
        extra = ",\"tip\":" + Json(tip);
    } else if (verb == "key") {
        std::string key;
        words >> key;
        const Qt::Key code = key == "Up"     ? Qt::Key_Up
                             : key == "Down" ? Qt::Key_Down
                             : key == "Left" ? Qt::Key_Left
                                             : Qt::Key_Right;
        QWidget* target = Named<QWidget>(form, name);
        if (auto* pages = qobject_cast<QTabWidget*>(target)) {
            target = pages->tabBar();
        }
        QTest::keyClick(target, code);
    } else if (verb == "pick") {
        int row = 0;
        words >> row;
        WindowDriver::PickInOpenList(Named<QComboBox>(form, name), row);
    } else if (verb == "open") {
        auto* list = Named<QComboBox>(form, name);
        QTest::mousePress(list, Qt::LeftButton);
        if (list->view()->isVisible()) {
            QTest::keyClick(list->view(), Qt::Key_Escape);
        }
        QTest::mouseRelease(list, Qt::LeftButton);
    } else if (verb == "arrow") {
        std::string way;
        words >> way;
        auto* spinner = Named<QSpinBox>(form, name);
        // The arrows are the right-hand part of the box, up above down.
        const QPoint at(spinner->width() - 6,
                        way == "up" ? spinner->height() / 4 : spinner->height() * 3 / 4);
        QTest::mouseClick(spinner, Qt::LeftButton, {}, at);
    } else if (verb == "tab") {
        drive.ClickTab(std::stoi(name));
    } else if (verb == "click") {
        WindowDriver::Click(Named<QPushButton>(form, name));
    } else if (verb == "search") {
        const size_t at = line.find(' ');
        try {
            const JsonQuery read =
                QueryFromJson(at == std::string::npos ? std::string() : line.substr(at + 1));
            // One line: the answer's line breaks are layout only (a string holds none).
            std::string answer = ResultJson(RunSearch(form.Simulator(), read.Query));
            std::erase(answer, '\n');
            extra = ",\"search\":" + answer;
        } catch (const ESimError& error) {
            extra = ",\"search\":{\"error\":" + Json(error.what()) + "}";
        }
    } else if (verb == "close") {
        form.close();
    } else {
        std::fprintf(stderr, "web_oracle: unknown action '%s'\n", line.c_str());
        std::exit(2);
    }
    WindowDriver::Settle();
    return extra;
}

// Answers every message box with OK and keeps its text.
class BoxReader {
public:
    BoxReader() {
        timer_.setInterval(1);
        QObject::connect(&timer_, &QTimer::timeout, &timer_, [this] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                texts_.push_back(S(box->text()));
                box->accept();
            }
        });
        timer_.start();
    }
    std::vector<std::string> Take() { return std::exchange(texts_, {}); }

private:
    QTimer timer_;
    std::vector<std::string> texts_;
};

void Print(const std::vector<std::string>& errors, const Shown& now, Shown& before,
           const std::string& extra = {}) {
    std::string line = "{\"errors\":[";
    for (size_t i = 0; i < errors.size(); ++i) {
        if (i > 0) {
            line += ',';
        }
        line += Json(errors[i]);
    }
    line += "],\"shown\":{";
    bool first = true;
    for (const auto& [key, value] : now) {
        const auto it = before.find(key);
        if (it == before.end() || it->second != value) {
            if (!first) {
                line += ',';
            }
            line += Json(key);
            line += ':';
            line += Json(value);
            first = false;
        }
    }
    line += "}" + extra + "}\n";
    std::fputs(line.c_str(), stdout);
    before = now;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: web_oracle <settings file> <actions file>\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QuietOffscreenWarnings();
    BoxReader boxes;

    TForm1 form(argv[1]);
    form.show();
    if (!QTest::qWaitForWindowExposed(&form)) {
        std::fprintf(stderr, "web_oracle: the window did not show\n");
        return 2;
    }
    WindowDriver::Settle();
    const WindowDriver drive(form);
    Shown before;
    Print(boxes.Take(), Read(form), before);

    std::ifstream actions(argv[2]);
    std::string line;
    while (std::getline(actions, line)) {
        if (line.empty()) {
            continue;
        }
        const std::string extra = Perform(form, drive, line);
        Print(boxes.Take(), Read(form), before, extra);
    }
    std::fflush(stdout);
    return 0;
}
