#include <QApplication>

#include "ui/app_icon.h"
#include "ui/main_window.h"
#include "ui/single_instance.h"

int main(int argc, char* argv[]) {
    // One copy at a time: a second start ends at once, silently and without error.
    TInstanceLock lock;
    if (!lock.TryAcquire()) {
        return 0;
    }

    QApplication app(argc, argv);
    // The name the desktop shows for the program (window class, .desktop file); the
    // window's own caption stays as it is, so no display name is set.
    QApplication::setApplicationName(QStringLiteral("Kestrel Status Simulator"));
    QApplication::setDesktopFileName(QStringLiteral("kestrel-simulator"));
    QApplication::setWindowIcon(AppIcon());

    TForm1 form;
    form.show();
    return QApplication::exec();
}
