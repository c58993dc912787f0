#pragma once

#include <QIcon>

// The program's icon: a golf ball on a tee under a small pennant, drawn at 16, 32 and
// 48 pixels.
QIcon AppIcon();
QPixmap AppIconImage(int size);
