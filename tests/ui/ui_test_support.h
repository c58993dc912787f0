#pragma once

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QMessageBox>
#include <QSpinBox>
#include <QString>
#include <QTemporaryDir>
#include <QTimer>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "ui/main_window.h"

// Failures show texts as texts.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

// A settings file in a fresh temporary folder, removed with it.
class TempSettings {
public:
    TempSettings();
    // Writes `text` as the whole file.
    void Write(const std::string& text) const;
    std::string Read() const;
    const std::string& Path() const { return path_; }

private:
    QTemporaryDir dir_;
    std::string path_;
};

// A window on a temporary settings file, shown as the program shows it.
std::unique_ptr<TForm1> ShownWindow(const TempSettings& settings);
// The same window made active, so that it takes keys.
std::unique_ptr<TForm1> ActiveWindow(const TempSettings& settings);

template <class T = QWidget>
T* Find(const QWidget& root, const QString& name) {
    T* widget = root.findChild<T*>(name);
    EXPECT_NE(widget, nullptr) << name.toStdString();
    return widget;
}

QString TextOf(const QWidget& root, const QString& name);

// Where KESTREL_SHOTS names a folder, keeps a picture of the widget there as <name>.png,
// to look at what a test drove.
void SaveShot(QWidget& widget, const QString& name);

// The texts of every label and number box of the window, by object name.
QMap<QString, QString> Outputs(const QWidget& root);

// The output widgets of a window next to the core values they must show; built once,
// so that checking after every action stays cheap.
class CoreMirror {
public:
    explicit CoreMirror(const TForm1& form);
    // One line for each widget that does not show its core value.
    std::vector<std::string> Differences() const;

private:
    struct Text {
        std::string Name;
        QLabel* Label;
        QLineEdit* Edit;
        const std::string* String;  // or, for a number box,
        const int32_t* Number;
    };
    struct List {
        QComboBox* Widget;
        const int32_t* Index;
    };
    std::vector<Text> texts_;
    std::vector<List> lists_;
};

// Checks that every output widget shows what the core holds.
void ExpectShowsCore(const TForm1& form);

// User actions.
void PickWithMouse(QComboBox* list, int index);
void ClickUpArrow(QSpinBox* spinner);
void ClickDownArrow(QSpinBox* spinner);
void ClickTab(const TForm1& form, int index);

// Answers the next message box with its OK button and keeps what it showed.
class MessageBoxAnswer {
public:
    MessageBoxAnswer();
    bool Seen() const { return seen_; }
    QString Text;
    QString Caption;
    QMessageBox::Icon Icon = QMessageBox::NoIcon;
    int Buttons = 0;

private:
    std::unique_ptr<QTimer> timer_;
    bool seen_ = false;
};
