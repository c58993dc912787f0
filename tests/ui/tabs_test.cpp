#include <QImage>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

#include "ui/chara_tabs.h"
#include "ui_test_support.h"

namespace {

const QColor kFill(224, 224, 255);

bool IsRed(QColor c) {
    return c.red() > 200 && c.green() < 110 && c.blue() < 110;
}
bool IsInk(QColor c) {
    return c != kFill;
}

struct TabPicture {
    int RedPixels = 0;
    int InkPixels = 0;
    int FillPixels = 0;
    QRect Ink;  // bounding box of everything but the fill
};

TabPicture Look(const QImage& image, const QRect& rect) {
    TabPicture p;
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
        for (int x = rect.left(); x <= rect.right(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (IsRed(c)) {
                ++p.RedPixels;
            }
            if (IsInk(c)) {
                ++p.InkPixels;
                p.Ink = p.Ink.united(QRect(x, y, 1, 1));
            } else {
                ++p.FillPixels;
            }
        }
    }
    return p;
}

TCharaTabBar* TabsOf(const TForm1& form) {
    auto* bar = qobject_cast<TCharaTabBar*>(
        Find<QTabWidget>(form, QStringLiteral("PageControl1"))->tabBar());
    EXPECT_NE(bar, nullptr);
    return bar;
}

}  // namespace

// Every tab is filled with the window's colour; only the active caption is red, and
// each caption is centred on the 40-pixel tab width, 4 pixels below the tab's top.
TEST(CharaTabs, DrawnColoursAndCaptionPlacement) {
    TempSettings settings;
    auto form = ShownWindow(settings);
    TCharaTabBar* bar = TabsOf(*form);
    for (int active : {0, 3}) {
        ClickTab(*form, active);
        const QImage image = bar->grab().toImage();
        const QFontMetrics metrics(bar->font());
        for (int i = 0; i < CharaCount; ++i) {
            const QRect rect = bar->DrawRect(i);
            EXPECT_EQ(bar->tabRect(i).width(), TCharaTabBar::kTabWidth);
            EXPECT_EQ(image.pixelColor(rect.left() + 1, rect.top() + 1), kFill) << i;
            EXPECT_EQ(image.pixelColor(rect.right() - 1, rect.top() + 1), kFill) << i;
            const TabPicture look = Look(image, rect);
            EXPECT_GT(look.FillPixels, look.InkPixels) << i;
            if (i == active) {
                EXPECT_GT(look.RedPixels, 20) << i;
            } else {
                EXPECT_EQ(look.RedPixels, 0) << i;
            }
            // Captions that fit inside their tab: the ink starts where the centred
            // caption starts (give or take the first glyph's side bearing) and not above
            // 4 pixels below the top.
            const int w = metrics.horizontalAdvance(bar->tabText(i));
            if (w <= TCharaTabBar::kTabWidth - 4) {
                const int left = rect.left() + (TCharaTabBar::kTabWidth - w) / 2;
                EXPECT_GE(look.Ink.left(), left) << i;
                EXPECT_LE(look.Ink.left(), left + 3) << i;
                EXPECT_LE(look.Ink.right(), left + w) << i;
            }
            EXPECT_GE(look.Ink.top(), rect.top() + 4) << i;
            EXPECT_LE(look.Ink.bottom(), rect.top() + 4 + metrics.height()) << i;
        }
    }
}

// A stored page outside the ten leaves no page active until the user picks a tab;
// closing then stores -1.
TEST(CharaTabs, NoPageActiveAfterAnOutOfRangeTab) {
    TempSettings settings;
    settings.Write("[Character]\nTabIndex=12\n");
    auto form = ShownWindow(settings);
    TCharaTabBar* bar = TabsOf(*form);
    for (int i = 0; i < CharaCount; ++i) {
        EXPECT_FALSE(Find<QWidget>(*form, QStringLiteral("TabSheet%1").arg(i + 1))->isVisible());
    }
    const QImage image = bar->grab().toImage();
    for (int i = 0; i < CharaCount; ++i) {
        EXPECT_EQ(Look(image, bar->DrawRect(i)).RedPixels, 0) << i;
    }
    form->close();
    EXPECT_NE(settings.Read().find("TabIndex"), std::string::npos);
    EXPECT_NE(settings.Read().find("-1"), std::string::npos);

    // The first tab, though it is the control's first page, can be picked.
    auto again = ShownWindow(settings);
    ClickTab(*again, 0);
    EXPECT_EQ(again->Simulator().State.TabIndex, 0);
    EXPECT_TRUE(Find<QWidget>(*again, "TabSheet1")->isVisible());
    EXPECT_GT(Look(TabsOf(*again)->grab().toImage(), TabsOf(*again)->DrawRect(0)).RedPixels, 20);
    ExpectShowsCore(*again);
}
