#include <QApplication>

#include "ui/main_window.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kestrel Status Simulator"));
    TForm1 form;
    form.show();
    return QApplication::exec();
}
