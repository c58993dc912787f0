#include <QGroupBox>
#include <QImage>
#include <QPainter>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <algorithm>

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

CharaTabBar* TabsOf(const TForm1& form) {
    auto* bar = qobject_cast<CharaTabBar*>(
        Find<QTabWidget>(form, QStringLiteral("PageControl1"))->tabBar());
    EXPECT_NE(bar, nullptr);
    return bar;
}

QColor CaptionColour(const CharaTabBar& bar, bool active) {
    return active ? QColor(255, 0, 0) : bar.palette().color(QPalette::WindowText);
}

// The caption of tab `index` alone, drawn on the fill where the tab's own rectangle puts
// it: centred on the 40-pixel tab width, 4 pixels below the tab's top.
QImage ExpectedCaption(const CharaTabBar& bar, int index, bool active) {
    QImage image(bar.size(), QImage::Format_RGB32);
    image.fill(kFill);
    QPainter p(&image);
    p.setFont(bar.font());
    p.setPen(CaptionColour(bar, active));
    const QFontMetrics metrics(bar.font());
    const QRect tab = bar.tabRect(index);
    const int w = metrics.horizontalAdvance(bar.tabText(index));
    p.drawText(tab.left() + (CharaTabBar::kTabWidth - w) / 2, tab.top() + 4 + metrics.ascent(),
               bar.tabText(index));
    return image;
}

// The largest difference of one colour channel.
int Distance(QColor a, QColor b) {
    return std::max({std::abs(a.red() - b.red()), std::abs(a.green() - b.green()),
                     std::abs(a.blue() - b.blue())});
}

}  // namespace

// Every tab is filled with the window's colour; only the active caption is red, and
// each caption stands whole where the tab's own rectangle puts it.
TEST(CharaTabs, DrawnColoursAndCaptionPlacement) {
    TempSettings settings;
    auto form = ShownWindow(settings);
    CharaTabBar* bar = TabsOf(*form);
    const QFontMetrics metrics(bar->font());
    for (int active : {0, 2, 8}) {
        ClickTab(*form, active);
        const QImage image = bar->grab().toImage();
        image.save(QString("/tmp/tabs%1.png").arg(active));
        for (int i = 0; i < CharaCount; ++i) {
            const QRect rect = bar->DrawRect(i);
            EXPECT_EQ(bar->tabRect(i).width(), CharaTabBar::kTabWidth);
            EXPECT_EQ(image.pixelColor(rect.left() + 1, rect.top() + 1), kFill) << i;
            EXPECT_EQ(image.pixelColor(rect.right() - 1, rect.top() + 1), kFill) << i;
            const TabPicture look = Look(image, rect);
            EXPECT_GT(look.FillPixels, look.InkPixels) << i;
            if (i == active) {
                EXPECT_GT(look.RedPixels, 20) << i;
            } else {
                EXPECT_EQ(look.RedPixels, 0) << i;
            }

            const std::string name = bar->tabText(i).toStdString();
            const QImage expected = ExpectedCaption(*bar, i, i == active);
            const TabPicture caption = Look(expected, expected.rect());
            ASSERT_GT(caption.InkPixels, 20) << name;
            // A caption no wider than the tab stays inside it.
            if (metrics.horizontalAdvance(bar->tabText(i)) <= CharaTabBar::kTabWidth) {
                EXPECT_TRUE(bar->tabRect(i).contains(caption.Ink))
                    << name << ": " << caption.Ink.left() << ".." << caption.Ink.right();
            }
            // Inside the fill the tab shows its caption pixel for pixel, and nothing else.
            int wrong = 0;
            for (int y = rect.top(); y <= rect.bottom(); ++y) {
                for (int x = rect.left(); x <= rect.right(); ++x) {
                    wrong +=
                        Distance(image.pixelColor(x, y), expected.pixelColor(x, y)) <= 24 ? 0 : 1;
                }
            }
            EXPECT_EQ(wrong, 0) << name;
            // The caption is whole: no stroke of it, on the outline or past the tab, is
            // covered by anything drawn later. A stroke pixel is one at least 40 % of the
            // way from the fill to the ink; where it lies on the outline it may blend with
            // the outline instead of the fill, but it must not turn into the outline.
            const int full = Distance(kFill, CaptionColour(*bar, i == active));
            int covered = 0;
            for (int y = caption.Ink.top(); y <= caption.Ink.bottom(); ++y) {
                for (int x = caption.Ink.left(); x <= caption.Ink.right(); ++x) {
                    const QColor want = expected.pixelColor(x, y);
                    if (Distance(kFill, want) * 10 >= full * 4 &&
                        Distance(image.pixelColor(x, y), want) > 60) {
                        ++covered;
                    }
                }
            }
            EXPECT_EQ(covered, 0) << name;
        }
    }
}

// A stored page outside the ten leaves no page active until the user picks a tab;
// closing then stores -1.
TEST(CharaTabs, NoPageActiveAfterAnOutOfRangeTab) {
    TempSettings settings;
    settings.Write("[Character]\nTabIndex=12\n");
    auto form = ShownWindow(settings);
    CharaTabBar* bar = TabsOf(*form);
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

// Each group box draws its caption in its frame's top line, as the platform does: the
// line runs through the caption's height, stops short of the caption and goes on after
// it, and the caption keeps clear of the frame's left line.
TEST(GroupBoxes, CaptionBreaksTheFrameTopLine) {
    TempSettings settings;
    auto form = ShownWindow(settings);
    const QList<QGroupBox*> groups = form->findChildren<QGroupBox*>();
    int checked = 0;
    for (QGroupBox* group : groups) {
        if (group->title().isEmpty() || !group->isVisible()) {
            continue;
        }
        ++checked;
        const std::string name = group->title().toStdString();
        const QImage image = group->grab().toImage();
        const QRgb line = group->palette().color(QPalette::Mid).rgb();
        const QRgb light = group->palette().color(QPalette::Light).rgb();
        const QRgb background = image.pixel(image.width() / 2, 0);  // above the frame
        const int captionHeight = QFontMetrics(group->font()).height();

        // The top line: the highest row drawn in the line's colour near the right end.
        int top = -1;
        for (int y = 0; y < captionHeight && top < 0; ++y) {
            bool whole = true;
            for (int x = image.width() - 24; x < image.width() - 4 && whole; ++x) {
                whole = image.pixel(x, y) == line;
            }
            top = whole ? y : -1;
        }
        ASSERT_GT(top, 0) << name << ": no top line within the caption's height";

        // The caption: what is neither background nor frame in the caption's rows,
        // right of the left line.
        QRect ink;
        for (int y = 0; y < captionHeight; ++y) {
            for (int x = 2; x < image.width() - 24; ++x) {
                const QRgb c = image.pixel(x, y);
                if (c != background && c != line && c != light) {
                    ink = ink.united(QRect(x, y, 1, 1));
                }
            }
        }
        ASSERT_FALSE(ink.isEmpty()) << name;
        EXPECT_LT(ink.top(), top) << name;
        EXPECT_GT(ink.bottom(), top) << name;
        EXPECT_GE(ink.left(), 6) << name << ": the caption touches the left line";

        // The line is broken under the whole caption and whole up to it.
        int onLine = 0;
        for (int x = ink.left() - 1; x <= ink.right() + 1; ++x) {
            onLine += image.pixel(x, top) == line ? 1 : 0;
        }
        EXPECT_EQ(onLine, 0) << name;
        EXPECT_EQ(image.pixel(0, top), line) << name;
        EXPECT_EQ(image.pixel(ink.left() - 5, top), line) << name;
        EXPECT_EQ(image.pixel(0, image.height() / 2), line) << name;
    }
    EXPECT_GE(checked, 7);
}
