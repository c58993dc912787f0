#include <QAbstractSpinBox>
#include <QAccessible>
#include <QGroupBox>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <algorithm>

#include "form/form.h"
#include "ui_test_support.h"

// The window built from the form description shows exactly what the description says,
// widget by widget; the description's JSON text carries the same.

namespace {

QString Q(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// A widget that the description describes, as opposed to the parts widgets make of
// their own (a spinner's number box, a tab bar, a list's popup).
bool IsDescribed(const QObject* object) {
    return qobject_cast<const QLabel*>(object) || qobject_cast<const QComboBox*>(object) ||
           qobject_cast<const QAbstractSpinBox*>(object) ||
           qobject_cast<const QPushButton*>(object) || qobject_cast<const QGroupBox*>(object) ||
           qobject_cast<const QTabWidget*>(object);
}

// The window's widgets in the description's order, found by walking the window's own
// tree: each parent's described children in creation order, the pages in tab order.
std::vector<QWidget*> MatchWidgets(QWidget& window) {
    const std::vector<FormWidget>& form = MainForm().Widgets;
    std::vector<QWidget*> matched(form.size(), nullptr);
    matched[0] = &window;
    std::map<QWidget*, QList<QWidget*>> unclaimed;
    std::map<QWidget*, int> pagesTaken;
    for (size_t i = 1; i < form.size(); ++i) {
        QWidget* parent = matched[static_cast<size_t>(form[i].Parent)];
        if (parent == nullptr) {
            continue;
        }
        if (form[i].Kind == WidgetKind::Page) {
            matched[i] = static_cast<QTabWidget*>(parent)->widget(pagesTaken[parent]++);
            continue;
        }
        if (!unclaimed.contains(parent)) {
            QList<QWidget*>& children = unclaimed[parent];
            for (QObject* child : parent->children()) {
                if (IsDescribed(child)) {
                    children.append(static_cast<QWidget*>(child));
                }
            }
        }
        if (!unclaimed[parent].isEmpty()) {
            matched[i] = unclaimed[parent].takeFirst();
        }
    }
    for (const auto& [parent, rest] : unclaimed) {
        EXPECT_TRUE(rest.isEmpty())
            << "undescribed widget in " << parent->objectName().toStdString();
    }
    return matched;
}

QColor Colour(const Rgb& rgb) {
    return {rgb.R, rgb.G, rgb.B};
}

Qt::CursorShape Shape(CursorKind cursor) {
    switch (cursor) {
        case CursorKind::Help:
            return Qt::WhatsThisCursor;
        case CursorKind::PointingHand:
            return Qt::PointingHandCursor;
        default:
            return Qt::ArrowCursor;  // a changing hint is off before the load
    }
}

QString CaptionOf(const QWidget* widget) {
    if (auto* label = qobject_cast<const QLabel*>(widget)) {
        return label->text();
    }
    if (auto* button = qobject_cast<const QPushButton*>(widget)) {
        return button->text();
    }
    if (auto* group = qobject_cast<const QGroupBox*>(widget)) {
        return group->title();
    }
    if (auto* spinner = qobject_cast<const QAbstractSpinBox*>(widget)) {
        return spinner->text();
    }
    return widget->isWindow() ? widget->windowTitle() : QString();
}

void ExpectPlace(const FormWidget& w, const QWidget* widget, const std::vector<QWidget*>& all) {
    const QRect place = widget->geometry();
    const std::string name = w.Name + " " + w.Text;
    if (w.Kind == WidgetKind::Page) {
        // The page control lays out only the page it shows.
        auto* pages = qobject_cast<QTabWidget*>(widget->parentWidget()->parentWidget());
        if (pages->currentWidget() == widget) {
            const QPoint at = widget->mapTo(pages, QPoint());
            EXPECT_EQ(QRect(at, place.size()), QRect(w.Left, w.Top, w.Width, w.Height)) << name;
        }
    } else if (w.Kind == WidgetKind::Label) {
        int left = w.Left;
        if (w.LeftAfter >= 0) {
            left = std::max(left, all[static_cast<size_t>(w.LeftAfter)]->geometry().right() + 1);
        }
        EXPECT_EQ(place.topLeft(), QPoint(left, w.Top)) << name;
        const QSize fit = widget->sizeHint();
        EXPECT_EQ(place.size(), w.Anchor == LabelAnchor::Fixed ? QSize(w.Width, fit.height()) : fit)
            << name;
    } else if (w.FitMaxWidth > 0) {
        // As wide as the widest row needs, within the bounds.
        const QFontMetrics metrics(widget->font());
        int widest = 0;
        for (const std::string& item : w.Items) {
            widest = std::max(widest, metrics.horizontalAdvance(Q(item)));
        }
        EXPECT_EQ(place, QRect(w.Left, w.Top,
                               std::clamp(widest + w.FitExtra, w.Width, w.FitMaxWidth), w.Height))
            << name;
    } else {
        EXPECT_EQ(place, QRect(w.Left, w.Top, w.Width, w.Height)) << name;
    }
}

void ExpectLook(const FormWidget& w, const QWidget* widget, const std::vector<QWidget*>& all) {
    const std::string name = w.Name + " " + w.Text;
    EXPECT_EQ(widget->objectName(), Q(w.Name)) << name;
    EXPECT_EQ(widget->font().family(), Q(FontFamilyName(w.Font.Family))) << name;
    EXPECT_EQ(widget->font().pixelSize(), w.Font.PixelSize) << name;
    EXPECT_EQ(widget->font().bold(), w.Font.Bold) << name;
    if (widget->parentWidget() != nullptr) {
        const QColor ink = w.TextColour
                               ? Colour(*w.TextColour)
                               : widget->parentWidget()->palette().color(QPalette::WindowText);
        EXPECT_EQ(widget->palette().color(QPalette::WindowText), ink) << name;
    }
    EXPECT_EQ(widget->cursor().shape(), Shape(w.Cursor)) << name;
    if (!w.Hint.empty()) {
        EXPECT_EQ(widget->toolTip(), Q(w.Hint).replace('\r', '\n')) << name;
    }
    if (w.FocusControl >= 0) {
        EXPECT_EQ(qobject_cast<const QLabel*>(widget)->buddy(),
                  all[static_cast<size_t>(w.FocusControl)])
            << name;
    }
    if (w.Kind == WidgetKind::Page) {
        auto* pages = qobject_cast<QTabWidget*>(widget->parentWidget()->parentWidget());
        EXPECT_EQ(pages->tabText(pages->indexOf(const_cast<QWidget*>(widget))), Q(w.Text));
    } else if (w.Kind != WidgetKind::List && w.Kind != WidgetKind::PageControl) {
        EXPECT_EQ(CaptionOf(widget), Q(w.Text)) << name;
    }
    EXPECT_EQ(widget->accessibleName(), Q(w.AccessibleName)) << name;
    EXPECT_EQ(widget->accessibleDescription(), Q(w.AccessibleDescription)) << name;
    // What a screen reader is told: the name, or, where the platform names a list by
    // its value, a label that names it.
    if (!w.AccessibleName.empty()) {
        QAccessibleInterface* reader =
            QAccessible::queryAccessibleInterface(const_cast<QWidget*>(widget));
        ASSERT_NE(reader, nullptr) << name;
        QStringList names = {reader->text(QAccessible::Name)};
        for (const auto& [label, relation] : reader->relations(QAccessible::Label)) {
            names << label->text(QAccessible::Name);
        }
        EXPECT_TRUE(names.contains(Q(w.AccessibleName))) << name;
        if (!w.AccessibleDescription.empty()) {
            EXPECT_EQ(reader->text(QAccessible::Description), Q(w.AccessibleDescription)) << name;
        }
    }
}

void ExpectContents(const FormWidget& w, const QWidget* widget) {
    if (auto* list = qobject_cast<const QComboBox*>(widget)) {
        QStringList rows;
        for (int i = 0; i < list->count(); ++i) {
            rows << list->itemText(i);
        }
        QStringList expected;
        for (const std::string& item : w.Items) {
            expected << Q(item);
        }
        EXPECT_EQ(rows, expected) << w.Name;
        EXPECT_EQ(list->currentIndex(), 0) << w.Name;
        EXPECT_EQ(list->maxVisibleItems(), w.VisibleRows) << w.Name;
    }
    if (auto* spinner = qobject_cast<const QSpinBox*>(widget)) {
        EXPECT_EQ(spinner->minimum(), 0) << w.Name;
        EXPECT_EQ(spinner->maximum(), w.Max) << w.Name;
        auto* box = spinner->findChild<QLineEdit*>(Q(w.EditName));
        ASSERT_NE(box, nullptr) << w.Name;
        EXPECT_EQ(box->accessibleName(), Q(w.AccessibleName)) << w.Name;
    }
}

}  // namespace

// Walking the window's own widget tree beside the description: every widget is there,
// in its place, font, colour, cursor, texts, hint, rows and accessible name.
TEST(FormWindow, EveryWidgetAsDescribed) {
    TempSettings settings;
    TForm1 form(settings.Path(), TLoadTime::Deferred);
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    const std::vector<FormWidget>& described = MainForm().Widgets;
    const std::vector<QWidget*> widgets = MatchWidgets(form);
    const FormWidget& window = described[0];
    EXPECT_EQ(form.size(), QSize(window.Width, window.Height));
    EXPECT_EQ(form.palette().color(QPalette::Window), Colour(*window.Background));
    for (size_t i = 0; i < described.size(); ++i) {
        ASSERT_NE(widgets[i], nullptr)
            << "missing: " << described[i].Name << " " << described[i].Text;
        if (i > 0) {
            ExpectPlace(described[i], widgets[i], widgets);
        }
        ExpectLook(described[i], widgets[i], widgets);
        ExpectContents(described[i], widgets[i]);
    }
}

// Tab moves through the window's controls in the description's order.
TEST(FormWindow, FocusOrderIsTheDescriptionOrder) {
    TempSettings settings;
    TForm1 form(settings.Path(), TLoadTime::Deferred);
    const std::vector<FormWidget>& described = MainForm().Widgets;
    const std::vector<QWidget*> widgets = MatchWidgets(form);
    std::vector<QWidget*> inOrder;
    for (size_t i = 0; i < described.size(); ++i) {
        if (widgets[i]->focusPolicy() & Qt::TabFocus) {
            inOrder.push_back(widgets[i]);
        }
    }
    std::vector<QWidget*> chain;
    for (QWidget* w = form.nextInFocusChain(); w != &form; w = w->nextInFocusChain()) {
        if ((w->focusPolicy() & Qt::TabFocus) &&
            std::find(widgets.begin(), widgets.end(), w) != widgets.end()) {
            chain.push_back(w);
        }
    }
    EXPECT_GT(inOrder.size(), 190u);
    EXPECT_EQ(chain, inOrder);
}

// FormJson parses as JSON and carries every widget's description, field by field.
TEST(FormJsonDocument, ParsesAndCarriesTheDescription) {
    QJsonParseError error;
    const QByteArray text = QByteArray::fromStdString(FormJson());
    const QJsonDocument doc = QJsonDocument::fromJson(text, &error);
    ASSERT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString();
    const QJsonArray widgets = doc.object()["widgets"].toArray();
    const std::vector<FormWidget>& described = MainForm().Widgets;
    ASSERT_EQ(widgets.size(), static_cast<qsizetype>(described.size()));
    const QStringList keys = {"kind",  "name",        "parent",         "left",
                              "top",   "width",       "height",         "anchor",
                              "align", "leftAfter",   "fitMaxWidth",    "fitExtra",
                              "font",  "textColour",  "background",     "cursor",
                              "text",  "hint",        "items",          "visibleRows",
                              "max",   "editName",    "accessibleName", "accessibleDescription",
                              "bind",  "focusControl"};
    for (size_t i = 0; i < described.size(); ++i) {
        const FormWidget& w = described[i];
        const QJsonObject o = widgets[static_cast<qsizetype>(i)].toObject();
        QStringList sortedKeys = keys;
        sortedKeys.sort();
        EXPECT_EQ(o.keys(), sortedKeys) << i;
        EXPECT_EQ(o["kind"].toString(), Q(KindName(w.Kind)));
        EXPECT_EQ(o["name"].toString(), Q(w.Name));
        EXPECT_EQ(o["parent"].toInt(), w.Parent);
        EXPECT_EQ(
            QRect(o["left"].toInt(), o["top"].toInt(), o["width"].toInt(), o["height"].toInt()),
            QRect(w.Left, w.Top, w.Width, w.Height))
            << w.Name;
        EXPECT_EQ(o["leftAfter"].toInt(), w.LeftAfter);
        EXPECT_EQ(o["focusControl"].toInt(), w.FocusControl);
        EXPECT_EQ(o["fitMaxWidth"].toInt(), w.FitMaxWidth);
        const QJsonObject font = o["font"].toObject();
        EXPECT_EQ(font["family"].toString(), Q(FontFamilyName(w.Font.Family)));
        EXPECT_EQ(font["pixelSize"].toInt(), w.Font.PixelSize);
        EXPECT_EQ(font["bold"].toBool(), w.Font.Bold);
        EXPECT_EQ(o["textColour"].isNull(), !w.TextColour.has_value());
        if (w.TextColour) {
            EXPECT_EQ(QColor(o["textColour"].toString()), Colour(*w.TextColour)) << w.Name;
        }
        EXPECT_EQ(o["text"].toString(), Q(w.Text));
        EXPECT_EQ(o["hint"].toString(), Q(w.Hint));
        const QJsonArray items = o["items"].toArray();
        ASSERT_EQ(items.size(), static_cast<qsizetype>(w.Items.size())) << w.Name;
        for (size_t k = 0; k < w.Items.size(); ++k) {
            EXPECT_EQ(items[static_cast<qsizetype>(k)].toString(), Q(w.Items[k])) << w.Name;
        }
        EXPECT_EQ(o["editName"].toString(), Q(w.EditName));
        EXPECT_EQ(o["accessibleName"].toString(), Q(w.AccessibleName));
        EXPECT_EQ(o["accessibleDescription"].toString(), Q(w.AccessibleDescription));
        const QJsonObject bind = o["bind"].toObject();
        EXPECT_EQ(bind["field"].toString(), Q(FieldName(w.Bind.Field))) << w.Name;
        EXPECT_EQ(bind["chara"].toInt(), w.Bind.Chara);
        EXPECT_EQ(bind["index"].toInt(), w.Bind.Index);
    }
}
