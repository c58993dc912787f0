#pragma once

#include <QColor>
#include <QFont>

// Colours and fonts of the main window.
inline const QColor kWindowColour(224, 224, 255);
inline const QColor kRed(255, 0, 0);
inline const QColor kBlue(0, 0, 255);

// The window's two font families. Where they are not installed, an installed Japanese
// font stands in (InstallFontStandIns).
inline const QString kUiGothic = QStringLiteral("MS UI Gothic");
inline const QString kPGothic = QStringLiteral("ＭＳ Ｐゴシック");

// A font of `family` whose characters are `pixels` high.
QFont PixelFont(const QString& family, int pixels, bool bold = false);

// Maps the two families to an installed Japanese font (IPAPGothic) when they are missing.
void InstallFontStandIns();
