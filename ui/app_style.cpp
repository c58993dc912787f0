#include "ui/app_style.h"

#include <QApplication>
#include <QHelpEvent>
#include <QLineEdit>
#include <QPainter>
#include <QProxyStyle>
#include <QRegion>
#include <QStyleFactory>
#include <QStyleOption>
#include <QToolTip>
#include <algorithm>

#include "ui/widgets.h"

namespace {

int pauseMs = 0;
int hidePauseMs = 0;

// Fusion, with the hint delay, lists that drop down below their box, plain etched frames
// for group boxes and the page control, and group-box captions that break the frame's
// top line. Fusion fills those frames with a
// stretched shaded picture, which was over half of the painting when a page changes.
class WindowStyle : public QProxyStyle {
public:
    WindowStyle() : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))) {}

    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override {
        if (hint == SH_ToolTip_WakeUpDelay && pauseMs > 0) {
            return pauseMs;
        }
        // Lists drop down below their box and show as many rows as each list asks for.
        if (hint == SH_ComboBox_Popup) {
            return 0;
        }
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }

    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override {
        if (element == PE_FrameGroupBox || element == PE_FrameTabWidget) {
            // A dark line with a light line inside and below it: an etched edge.
            const QRect outer = option->rect.adjusted(0, 0, -2, -2);
            painter->save();
            painter->setPen(option->palette.color(QPalette::Mid));
            painter->drawRect(outer);
            painter->setPen(option->palette.color(QPalette::Light));
            painter->drawRect(outer.translated(1, 1));
            painter->restore();
            return;
        }
        QProxyStyle::drawPrimitive(element, option, painter, widget);
    }

    // A group box as the platform draws one: the caption 8 pixels from the left edge at
    // the top, the frame's top line through the caption's middle, broken where the
    // caption stands.
    QRect subControlRect(ComplexControl control, const QStyleOptionComplex* option, SubControl part,
                         const QWidget* widget) const override {
        const auto* box = qstyleoption_cast<const QStyleOptionGroupBox*>(option);
        if (control != CC_GroupBox || box == nullptr || !PlainCaption(*box) ||
            (part != SC_GroupBoxFrame && part != SC_GroupBoxLabel)) {
            return QProxyStyle::subControlRect(control, option, part, widget);
        }
        const int height = box->fontMetrics.height();
        if (part == SC_GroupBoxFrame) {
            return box->rect.adjusted(0, height / 2 - 1, 0, 0);
        }
        const int width = box->fontMetrics.horizontalAdvance(box->text);
        return QRect(box->rect.left() + kCaptionLeft, box->rect.top(),
                     std::min(width, box->rect.width() - 2 * kCaptionLeft), height);
    }

    void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                            QPainter* painter, const QWidget* widget) const override {
        const auto* box = qstyleoption_cast<const QStyleOptionGroupBox*>(option);
        if (control != CC_GroupBox || box == nullptr || !PlainCaption(*box)) {
            QProxyStyle::drawComplexControl(control, option, painter, widget);
            return;
        }
        const QRect label = subControlRect(CC_GroupBox, box, SC_GroupBoxLabel, widget);
        if (box->subControls & SC_GroupBoxFrame) {
            QStyleOptionFrame frame;
            frame.QStyleOption::operator=(*box);
            frame.features = box->features;
            frame.lineWidth = box->lineWidth;
            frame.midLineWidth = box->midLineWidth;
            frame.rect = subControlRect(CC_GroupBox, box, SC_GroupBoxFrame, widget);
            painter->save();
            // The gap leaves a blank of 2 pixels on either side of the caption.
            painter->setClipRegion(QRegion(box->rect) - QRegion(label.adjusted(-2, 0, 2, 0)));
            drawPrimitive(PE_FrameGroupBox, &frame, painter, widget);
            painter->restore();
        }
        if (box->subControls & SC_GroupBoxLabel) {
            const QColor colour = box->textColor;
            painter->save();
            if (colour.isValid()) {
                painter->setPen(colour);
            }
            drawItemText(painter, label, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextHideMnemonic,
                         box->palette, (box->state & State_Enabled) != 0, box->text,
                         colour.isValid() ? QPalette::NoRole : QPalette::WindowText);
            painter->restore();
        }
    }

private:
    static constexpr int kCaptionLeft = 8;

    // A captioned group box without a check box (the window has no other kind).
    static bool PlainCaption(const QStyleOptionGroupBox& box) {
        return !box.text.isEmpty() && (box.subControls & SC_GroupBoxCheckBox) == 0;
    }
};

// Shows a widget's hint for the set time. The number box of a spinner has no hint of
// its own and does not borrow its spinner's.
class HintFilter : public QObject {
public:
    using QObject::QObject;

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::ToolTip || hidePauseMs <= 0) {
            return false;
        }
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget == nullptr) {
            return false;
        }
        if (qobject_cast<QLineEdit*>(widget) != nullptr &&
            qobject_cast<StepSpinner*>(widget->parentWidget()) != nullptr) {
            QToolTip::hideText();
            return true;
        }
        if (widget->toolTip().isEmpty()) {
            return false;
        }
        const auto* help = static_cast<QHelpEvent*>(event);
        QToolTip::showText(help->globalPos(), widget->toolTip(), widget, QRect(), hidePauseMs);
        return true;
    }
};

}  // namespace

void InstallAppStyle() {
    if (dynamic_cast<WindowStyle*>(QApplication::style()) != nullptr) {
        return;
    }
    QApplication::setStyle(new WindowStyle);
    qApp->installEventFilter(new HintFilter(qApp));
}

void SetHintTiming(int pause, int hidePause) {
    pauseMs = pause;
    hidePauseMs = hidePause;
}

int HintPauseMs() {
    return pauseMs;
}
int HintHidePauseMs() {
    return hidePauseMs;
}
