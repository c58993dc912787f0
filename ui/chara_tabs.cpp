#include "ui/chara_tabs.h"

#include <QPainter>
#include <QStyleOptionTab>

#include "ui/look.h"

CharaTabBar::CharaTabBar(QWidget* parent) : QTabBar(parent) {
    setExpanding(false);
    setUsesScrollButtons(false);
    setDrawBase(false);
    setElideMode(Qt::ElideNone);
}

QSize CharaTabBar::tabSizeHint(int) const {
    return {kTabWidth, kTabHeight};
}

QSize CharaTabBar::minimumTabSizeHint(int index) const {
    return tabSizeHint(index);
}

QRect CharaTabBar::DrawRect(int index) const {
    return tabRect(index).adjusted(2, 2, -2, 0);
}

// The bar draws the tabs' outlines, the active one last as it overlaps its neighbours;
// what is inside each outline is the program's. The insides come after all outlines: a
// caption wider than its tab then stays whole instead of being cut by the next outline.
void CharaTabBar::paintEvent(QPaintEvent*) {
    QPainter canvas(this);
    auto drawShape = [&](int i) {
        QStyleOptionTab shape;
        initStyleOption(&shape, i);
        shape.text.clear();
        style()->drawControl(QStyle::CE_TabBarTabShape, &shape, &canvas, this);
    };
    for (int i = 0; i < count(); ++i) {
        if (isTabVisible(i) && i != currentIndex()) {
            drawShape(i);
        }
    }
    if (currentIndex() >= 0 && isTabVisible(currentIndex())) {
        drawShape(currentIndex());
    }
    for (int i = 0; i < count(); ++i) {
        if (!isTabVisible(i)) {
            continue;
        }
        canvas.setFont(font());
        canvas.setPen(palette().color(QPalette::WindowText));
        PageControl1DrawTab(canvas, i, tabRect(i), i == currentIndex());
    }
}

// `rect` is the tab's own rectangle: the caption is placed by it, the fill stays inside
// the outline the style drew around it.
void CharaTabBar::PageControl1DrawTab(QPainter& canvas, int index, const QRect& rect,
                                      bool active) const {
    const QColor fill = kWindowColour;
    if (active) {
        canvas.setPen(QColor(255, 0, 0));
    }
    canvas.fillRect(DrawRect(index), fill);
    const QString caption = tabText(index);
    const QFontMetrics metrics(canvas.font());
    const int w = metrics.horizontalAdvance(caption);
    // Centred on the fixed tab width, not on the rectangle; C++ division truncates
    // toward zero, so a caption wider than the tab starts left of it.
    const int x = rect.left() + (kTabWidth - w) / 2;
    const int y = rect.top() + 4;
    canvas.drawText(x, y + metrics.ascent(), caption);
}

CharaPageControl::CharaPageControl(QWidget* parent) : QTabWidget(parent) {
    setTabBar(new CharaTabBar(this));
}

void CharaPageControl::AddNoPage() {
    noPage_ = addTab(new QWidget(this), QString());
    setTabVisible(noPage_, false);
    setTabEnabled(noPage_, false);
}

void CharaPageControl::ShowPage(int index) {
    if (index < 0 || index >= CharaPageCount()) {
        index = noPage_;
    }
    if (index >= 0 && index != currentIndex()) {
        setCurrentIndex(index);
    }
}

int CharaPageControl::ShownPage() const {
    const int i = currentIndex();
    return i == noPage_ ? -1 : i;
}
