#pragma once

#include <QTabBar>
#include <QTabWidget>

class QPainter;

// The character tabs: 40 pixels wide, drawn by the program. The active caption is red,
// every tab is filled with the window's background colour.
class CharaTabBar : public QTabBar {
    Q_OBJECT

public:
    static constexpr int kTabWidth = 40;
    static constexpr int kTabHeight = 20;

    explicit CharaTabBar(QWidget* parent);

    QSize tabSizeHint(int index) const override;
    QSize minimumTabSizeHint(int index) const override;
    // The part of tab `index` that the program draws: inside the tab's outline.
    QRect DrawRect(int index) const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // Draws one tab on a painter whose font and pen are the page control's own: the
    // fill inside the outline, the caption placed by the tab's rectangle `rect`.
    void PageControl1DrawTab(QPainter& canvas, int index, const QRect& rect, bool active) const;
};

// The page control of the character pages. Besides the ten pages it keeps one hidden,
// empty page with a hidden, disabled tab: it stands for "no page active", which a
// stored page index outside the ten pages leaves, so that no tab is active and no page
// shows until the user picks one.
class CharaPageControl : public QTabWidget {
    Q_OBJECT

public:
    explicit CharaPageControl(QWidget* parent);

    // Adds the empty page; call once after the character pages.
    void AddNoPage();
    // Shows page `index`, or the empty page for an index outside the character pages.
    void ShowPage(int index);
    // The character page shown, or -1 for none.
    int ShownPage() const;
    int CharaPageCount() const { return noPage_ < 0 ? count() : noPage_; }

private:
    int noPage_ = -1;
};
