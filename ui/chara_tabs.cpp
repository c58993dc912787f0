#include "ui/chara_tabs.h"

#include <QPainter>
#include <QStyleOptionTab>

#include "ui/look.h"

TCharaTabBar::TCharaTabBar(QWidget* parent) : QTabBar(parent) {
    setExpanding(false);
    setUsesScrollButtons(false);
    setDrawBase(false);
    setElideMode(Qt::ElideNone);
}

QSize TCharaTabBar::tabSizeHint(int) const {
    return {kTabWidth, kTabHeight};
}

QSize TCharaTabBar::minimumTabSizeHint(int index) const {
    return tabSizeHint(index);
}

QRect TCharaTabBar::DrawRect(int index) const {
    return tabRect(index).adjusted(2, 2, -2, 0);
}

// The bar draws the tabs' outlines; what is inside each outline is the program's.
void TCharaTabBar::paintEvent(QPaintEvent*) {
    QPainter canvas(this);
    for (int i = 0; i < count(); ++i) {
        if (!isTabVisible(i)) {
            continue;
        }
        QStyleOptionTab shape;
        initStyleOption(&shape, i);
        shape.text.clear();
        style()->drawControl(QStyle::CE_TabBarTabShape, &shape, &canvas, this);
        canvas.setFont(font());
        canvas.setPen(palette().color(QPalette::WindowText));
        PageControl1DrawTab(canvas, i, DrawRect(i), i == currentIndex());
    }
}

void TCharaTabBar::PageControl1DrawTab(QPainter& canvas, int index, const QRect& rect,
                                       bool active) const {
    const QColor fill = kWindowColour;
    if (active) {
        canvas.setPen(QColor(255, 0, 0));
    }
    canvas.fillRect(rect, fill);
    const QString caption = tabText(index);
    const QFontMetrics metrics(canvas.font());
    const int w = metrics.horizontalAdvance(caption);
    // Centred on the fixed tab width, not on the rectangle; C++ division truncates
    // toward zero, so a caption wider than the tab starts left of it.
    const int x = rect.left() + (kTabWidth - w) / 2;
    const int y = rect.top() + 4;
    canvas.drawText(x, y + metrics.ascent(), caption);
}

TCharaPageControl::TCharaPageControl(QWidget* parent) : QTabWidget(parent) {
    setTabBar(new TCharaTabBar(this));
}

void TCharaPageControl::AddNoPage() {
    noPage_ = addTab(new QWidget(this), QString());
    setTabVisible(noPage_, false);
    setTabEnabled(noPage_, false);
}

void TCharaPageControl::ShowPage(int index) {
    if (index < 0 || index >= CharaPageCount()) {
        index = noPage_;
    }
    if (index >= 0 && index != currentIndex()) {
        setCurrentIndex(index);
    }
}

int TCharaPageControl::ShownPage() const {
    const int i = currentIndex();
    return i == noPage_ ? -1 : i;
}
