#include <fcntl.h>
#include <unistd.h>

#include <QApplication>
#include <QSocketNotifier>
#include <cerrno>
#include <csignal>

#include "ui/app_icon.h"
#include "ui/main_window.h"
#include "ui/single_instance.h"

namespace {

constexpr int kEndSignals[] = {SIGTERM, SIGINT, SIGHUP};

// The write end of the pipe that turns an end signal into an event of the window's
// thread: a signal handler may do little more than write(2).
int signalPipe[2] = {-1, -1};

void OnEndSignal(int) {
    const int saved = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = write(signalPipe[1], &byte, 1);
    errno = saved;
}

// A session that ends (a logout, a terminal closed, Ctrl+C) asks the program to end by
// a signal. The window then closes as its close button closes it, so that the active
// page and the position are written. A second signal while that close waits for the
// user (an error message) ends the program at once, as it would have without this.
void CloseOnEndSignals(QWidget& window) {
    if (pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        return;  // the signals keep their default action
    }
    auto* notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, &window);
    QObject::connect(notifier, &QSocketNotifier::activated, &window, [&window, notifier] {
        notifier->setEnabled(false);
        for (int s : kEndSignals) {
            struct sigaction old {};
            if (sigaction(s, nullptr, &old) == 0 && old.sa_handler == OnEndSignal) {
                std::signal(s, SIG_DFL);
            }
        }
        window.close();
        QApplication::quit();
    });
    struct sigaction action {};
    action.sa_handler = OnEndSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int s : kEndSignals) {
        // A signal ignored from the start (nohup, a background job) stays ignored.
        struct sigaction old {};
        if (sigaction(s, nullptr, &old) == 0 && old.sa_handler != SIG_IGN) {
            sigaction(s, &action, nullptr);
        }
    }
}

}  // namespace

int main(int argc, char* argv[]) {
    // One copy at a time: a second start ends at once, silently and without error.
    InstanceLock lock;
    if (!lock.TryAcquire()) {
        return 0;
    }

    QApplication app(argc, argv);
    // The name the desktop shows for the program (window class, desktop entry); the
    // window's own caption stays as it is, so no display name is set.
    QApplication::setApplicationName(QStringLiteral("Kestrel Status Simulator"));
    QApplication::setDesktopFileName(QStringLiteral("io.github.kestrel_sim.KestrelSimulator"));
    QApplication::setWindowIcon(AppIcon());

    TForm1 form;
    CloseOnEndSignals(form);
    form.show();
    return QApplication::exec();
}
