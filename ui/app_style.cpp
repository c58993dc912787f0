#include "ui/app_style.h"

#include <QApplication>
#include <QHelpEvent>
#include <QLineEdit>
#include <QPainter>
#include <QProxyStyle>
#include <QStyleOption>
#include <QStyleFactory>
#include <QToolTip>

#include "ui/widgets.h"

namespace {

int pauseMs = 0;
int hidePauseMs = 0;

// Fusion, with the hint delay, lists that drop down below their box, and plain etched
// frames for group boxes and the page control. Fusion fills those frames with a
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
