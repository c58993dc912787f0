// The window's response times, through the real TForm1 on the offscreen platform: each
// iteration is one user action sent as input events, up to the window having painted
// what changed.

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>

#include "representative_selection.h"
#include "window_driver.h"

namespace {

// A settings file in which every list and spinner of every page is used.
class FullSettingsFile {
public:
    FullSettingsFile() {
        std::string folder =
            (std::filesystem::temp_directory_path() / "kestrel-ui-bench-XXXXXX").string();
        if (mkdtemp(folder.data()) == nullptr) {
            throw std::runtime_error("mkdtemp failed");
        }
        folder_ = folder;
        path_ = folder + "/kestrel-simulator.ini";
        WriteFullSettingsFile(path_);
    }
    ~FullSettingsFile() { std::filesystem::remove_all(folder_); }
    const std::string& Path() const { return path_; }

private:
    std::string folder_;
    std::string path_;
};

const FullSettingsFile& Settings() {
    static const FullSettingsFile file;
    return file;
}

std::unique_ptr<TForm1> ShownWindow() {
    auto form = std::make_unique<TForm1>(Settings().Path());
    form->show();
    if (!QTest::qWaitForWindowExposed(form.get())) {
        throw std::runtime_error("the window was not exposed");
    }
    QApplication::processEvents();
    return form;
}

// One window for the response benchmarks, as the user has it after the start; closed
// before the application object goes.
std::unique_ptr<TForm1> sharedWindow;

TForm1& Window() {
    if (!sharedWindow) {
        sharedWindow = ShownWindow();
    }
    return *sharedWindow;
}

void BM_StartUp(benchmark::State& state) {
    for (auto _ : state) {
        auto form = ShownWindow();
        state.PauseTiming();
        form.reset();
        QApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_StartUp)->Unit(benchmark::kMillisecond)->UseRealTime();

// The Up and Down keys in turn on the power spinner of the first page.
void BM_SpinnerStep(benchmark::State& state) {
    TForm1& form = Window();
    WindowDriver drive(form);
    drive.ClickTab(0);
    QSpinBox* spinner = drive.PageSpinners(0).front();
    const auto* number = form.findChild<QLineEdit*>(QStringLiteral("Edit1"));
    const auto* total = form.findChild<QLabel*>(QStringLiteral("Label67"));
    if (spinner->value() == spinner->maximum()) {
        WindowDriver::Step(spinner, false);
    }
    bool up = true;
    for (auto _ : state) {
        const QString before = number->text();
        const QString totalBefore = total->text();
        WindowDriver::Step(spinner, up);
        WindowDriver::Settle();
        state.PauseTiming();
        if (number->text() == before || total->text() == totalBefore) {
            state.SkipWithError("the step changed nothing");
            break;
        }
        up = !up;
        state.ResumeTiming();
    }
}
BENCHMARK(BM_SpinnerStep)->Unit(benchmark::kMicrosecond)->UseRealTime();

// A click on another character's tab, in turn between two pages.
void BM_TabChange(benchmark::State& state) {
    TForm1& form = Window();
    WindowDriver drive(form);
    int page = 0;
    for (auto _ : state) {
        page = page == 0 ? 5 : 0;
        drive.ClickTab(page);
        WindowDriver::Settle();
        if (form.Simulator().State.TabIndex != page) {
            state.SkipWithError("the tab did not change");
            break;
        }
    }
}
BENCHMARK(BM_TabChange)->Unit(benchmark::kMicrosecond)->UseRealTime();

// The club list opened with the mouse and another set taken in it, in turn between two.
void BM_ClubChangeThroughOpenList(benchmark::State& state) {
    TForm1& form = Window();
    WindowDriver drive(form);
    int club = 20;
    for (auto _ : state) {
        club = club == 20 ? 31 : 20;
        WindowDriver::PickInOpenList(drive.ClubList(), club);
        WindowDriver::Settle();
        if (form.Simulator().State.Club != club) {
            state.SkipWithError("the club set did not change");
            break;
        }
    }
}
BENCHMARK(BM_ClubChangeThroughOpenList)->Unit(benchmark::kMicrosecond)->UseRealTime();

// With the club list open, the highlight moved between two entries: each time the
// preview of the entry is worked out and its tip shown beside it.
void BM_PreviewTipFollowsHighlight(benchmark::State& state) {
    TForm1& form = Window();
    WindowDriver drive(form);
    QComboBox* list = drive.ClubList();
    QTest::mousePress(list, Qt::LeftButton);
    QAbstractItemView* view = list->view();
    if (!view->isVisible()) {
        state.SkipWithError("the club list did not open");
        return;
    }
    const QLabel* tip = nullptr;
    int entry = 20;
    for (auto _ : state) {
        entry = entry == 20 ? 31 : 20;
        view->setCurrentIndex(view->model()->index(entry, list->modelColumn()));
        WindowDriver::Settle();
        state.PauseTiming();
        if (tip == nullptr) {
            for (QWidget* widget : QApplication::topLevelWidgets()) {
                if (widget->objectName() == QLatin1String("EntryTip")) {
                    tip = static_cast<const QLabel*>(widget);
                }
            }
        }
        if (tip == nullptr || !tip->isVisible()) {
            state.SkipWithError("no tip beside the entry");
            break;
        }
        state.ResumeTiming();
    }
    QTest::keyClick(view, Qt::Key_Escape);
    WindowDriver::Settle();
}
BENCHMARK(BM_PreviewTipFollowsHighlight)->Unit(benchmark::kMicrosecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QElapsedTimer clock;
    clock.start();
    QApplication app(argc, argv);
    QuietOffscreenWarnings();
    const qint64 application = clock.restart();
    {
        // The first window of a process also loads the fonts and the style: the start
        // a user waits for, as opposed to the repeated starts timed below.
        auto first = ShownWindow();
        const qint64 window = clock.elapsed();
        benchmark::AddCustomContext("first_start_ms",
                                    std::to_string(application) + " (application) + " +
                                        std::to_string(window) + " (window shown)");
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    sharedWindow.reset();
    return 0;
}
