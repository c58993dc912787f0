#include "ui/app_icon.h"

#include <QPainter>
#include <QPainterPath>

#include "ui/look.h"

QPixmap AppIconImage(int size) {
    QPixmap image(size, size);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 48.0, size / 48.0);

    // A rounded tile in the window's colour with a blue rim.
    p.setPen(QPen(kBlue, 2));
    p.setBrush(kWindowColour);
    p.drawRoundedRect(QRectF(1, 1, 46, 46), 8, 8);

    // The turf.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(40, 150, 60));
    p.drawRect(QRectF(2, 38, 44, 8));

    // The pennant on its pole.
    p.setPen(QPen(QColor(60, 60, 60), 2));
    p.drawLine(QPointF(34, 38), QPointF(34, 8));
    QPainterPath pennant;
    pennant.moveTo(35, 8);
    pennant.lineTo(46, 13);
    pennant.lineTo(35, 18);
    pennant.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(kRed);
    p.drawPath(pennant);

    // The ball on its tee.
    p.setBrush(QColor(200, 150, 90));
    p.drawRect(QRectF(15, 31, 4, 8));
    p.setPen(QPen(QColor(90, 90, 110), 1.5));
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(17, 24), 9, 9);
    return image;
}

QIcon AppIcon() {
    QIcon icon;
    for (int size : {16, 32, 48}) {
        icon.addPixmap(AppIconImage(size));
    }
    return icon;
}
