#include "ui/main_window.h"

TForm1::TForm1(QWidget* parent) : QWidget(parent) {
    setObjectName("Form1");
    setWindowTitle(QStringLiteral("ケストレル ステータスシミュレータ"));
    setFixedSize(633, 650);
    setWindowFlag(Qt::WindowMaximizeButtonHint, false);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(224, 224, 255));
    setPalette(pal);
    setAutoFillBackground(true);
}
