#include "ui/look.h"

#include <QFontDatabase>

QFont PixelFont(const QString& family, int pixels, bool bold) {
    QFont font(family);
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

void InstallFontStandIns() {
    static bool installed = false;
    if (installed) {
        return;
    }
    installed = true;
    // Both window fonts have proportional kana, so both map to the proportional IPA
    // font: with the monospaced one, captions such as "タツロウ" (40 pixels, the tab
    // width) and "コントロール" (before the club value at 72) would overflow their places.
    if (!QFontDatabase::hasFamily(kUiGothic)) {
        QFont::insertSubstitution(kUiGothic, QStringLiteral("IPAPGothic"));
    }
    if (!QFontDatabase::hasFamily(kPGothic)) {
        QFont::insertSubstitution(kPGothic, QStringLiteral("IPAPGothic"));
    }
}
