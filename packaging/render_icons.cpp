// Writes the window icon as the installed PNG icons: render_icons <folder> <size>...
// gives <folder>/<size>.png for each size, drawn by the same code as the window's icon.
#include <QGuiApplication>
#include <QPixmap>
#include <cstdio>
#include <cstdlib>

#include "ui/app_icon.h"

int main(int argc, char* argv[]) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s <folder> <size>...\n", argv[0]);
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    for (int i = 2; i < argc; ++i) {
        const int size = std::atoi(argv[i]);
        const QString path =
            QStringLiteral("%1/%2.png").arg(QString::fromLocal8Bit(argv[1])).arg(size);
        if (size <= 0 || !AppIconImage(size).save(path, "PNG")) {
            std::fprintf(stderr, "%s: cannot write %s\n", argv[0], qPrintable(path));
            return 1;
        }
    }
    return 0;
}
