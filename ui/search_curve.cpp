#include "ui/search_curve.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QToolTip>
#include <algorithm>
#include <cmath>
#include <utility>

#include "ui/look.h"

namespace {

// A tick spacing of 1, 2 or 5 times a power of ten that cuts `range` into about `parts`.
double TickSpacing(double range, int parts) {
    const double rough = std::max(range / parts, 1.0);
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    for (const double factor : {1.0, 2.0, 5.0}) {
        if (factor * power >= rough) {
            return factor * power;
        }
    }
    return 10 * power;
}

}  // namespace

CurvePlot::CurvePlot(QWidget* parent) : QWidget(parent) {
    setMouseTracking(false);
    setCursor(Qt::PointingHandCursor);
}

void CurvePlot::SetSteps(std::vector<Step> steps, const QString& unit, const QString& emptyText) {
    steps_ = std::move(steps);
    unit_ = unit;
    emptyText_ = emptyText;
    picked_ = -1;
    if (!steps_.empty()) {
        const double last = steps_.back().PP;
        ppMax_ = std::max(last * 1.15, last + 1000.0);
        const double low = steps_.front().Value;
        const double high = steps_.back().Value;
        const double pad = std::max(1.0, (high - low) * 0.12);
        valueMin_ = low - pad;
        valueMax_ = high + pad;
    }
    update();
}

void CurvePlot::SetPicked(int step) {
    picked_ = step >= 0 && step < StepCount() ? step : -1;
    update();
}

QRect CurvePlot::PlotArea() const {
    return rect().adjusted(52, 10, -14, -26);
}

double CurvePlot::XOf(double pp) const {
    const QRect area = PlotArea();
    return area.left() + pp / ppMax_ * area.width();
}

double CurvePlot::YOf(double value) const {
    const QRect area = PlotArea();
    return area.bottom() - (value - valueMin_) / (valueMax_ - valueMin_) * area.height();
}

QPoint CurvePlot::StepPoint(int step) const {
    const double from = XOf(steps_.at(static_cast<size_t>(step)).PP);
    const double to =
        step + 1 < StepCount() ? XOf(steps_[static_cast<size_t>(step) + 1].PP) : PlotArea().right();
    return QPointF((from + to) / 2, YOf(steps_[static_cast<size_t>(step)].Value)).toPoint();
}

int CurvePlot::StepAtX(int x) const {
    if (steps_.empty() || !PlotArea().adjusted(-4, 0, 4, 0).contains(x, PlotArea().center().y())) {
        return -1;
    }
    int step = 0;
    for (int i = 1; i < StepCount(); ++i) {
        if (x >= XOf(steps_[static_cast<size_t>(i)].PP)) {
            step = i;
        }
    }
    return step;
}

QString CurvePlot::ValueText(int32_t value) const {
    return QString::number(value) + unit_;
}

void CurvePlot::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(rect(), Qt::white);
    const QRect area = PlotArea();
    p.setPen(QColor(160, 160, 160));
    p.drawRect(area);
    if (steps_.empty()) {
        p.setPen(palette().color(QPalette::WindowText));
        p.drawText(area, Qt::AlignCenter | Qt::TextWordWrap, emptyText_);
        return;
    }

    // Grid lines and tick labels; a tick label that would run into "PP" is left out.
    const QFontMetrics metrics(font());
    const QString ppText = QStringLiteral("PP");
    const double ppLeft = area.right() + 14 - metrics.horizontalAdvance(ppText);
    const double ppTick = TickSpacing(ppMax_, 5);
    for (double pp = 0; pp <= ppMax_; pp += ppTick) {
        const double x = XOf(pp);
        p.setPen(QColor(225, 225, 235));
        p.drawLine(QPointF(x, area.top()), QPointF(x, area.bottom()));
        p.setPen(palette().color(QPalette::WindowText));
        const QString text = QString::number(static_cast<qint64>(pp));
        const double left = x - metrics.horizontalAdvance(text) / 2.0;
        if (left + metrics.horizontalAdvance(text) + 6 < ppLeft) {
            p.drawText(QPointF(left, area.bottom() + metrics.ascent() + 4), text);
        }
    }
    p.drawText(QPointF(ppLeft, area.bottom() + metrics.ascent() + 4), ppText);
    const double valueTick = TickSpacing(valueMax_ - valueMin_, 4);
    for (double v = std::ceil(valueMin_ / valueTick) * valueTick; v <= valueMax_; v += valueTick) {
        const double y = YOf(v);
        p.setPen(QColor(225, 225, 235));
        p.drawLine(QPointF(area.left(), y), QPointF(area.right(), y));
        p.setPen(palette().color(QPalette::WindowText));
        p.drawText(QRectF(0, y - 10, area.left() - 6, 20), Qt::AlignRight | Qt::AlignVCenter,
                   ValueText(static_cast<int32_t>(v)));
    }

    // The steps: flat from each step's PP to the next, rising there.
    QPainterPath path;
    path.moveTo(XOf(steps_[0].PP), YOf(steps_[0].Value));
    for (size_t i = 1; i < steps_.size(); ++i) {
        path.lineTo(XOf(steps_[i].PP), YOf(steps_[i - 1].Value));
        path.lineTo(XOf(steps_[i].PP), YOf(steps_[i].Value));
    }
    path.lineTo(area.right(), YOf(steps_.back().Value));
    p.setPen(QPen(kBlue, 2));
    p.drawPath(path);
    for (int i = 0; i < StepCount(); ++i) {
        const Step& s = steps_[static_cast<size_t>(i)];
        const bool picked = i == picked_;
        p.setPen(Qt::NoPen);
        p.setBrush(picked ? kRed : kBlue);
        p.drawEllipse(QPointF(XOf(s.PP), YOf(s.Value)), picked ? 5.0 : 3.5, picked ? 5.0 : 3.5);
    }
    // The picked step's figures in a box beside its point, inside the plot.
    if (picked_ >= 0) {
        const Step& s = steps_[static_cast<size_t>(picked_)];
        const QString text = QStringLiteral("%1 PP: %2").arg(s.PP).arg(ValueText(s.Value));
        const QPointF at(XOf(s.PP), YOf(s.Value));
        const QSizeF size(metrics.horizontalAdvance(text) + 8, metrics.height() + 4);
        // Beside the point, on the first side where the box covers no other step's point
        // and stays inside the plot.
        QRectF box;
        for (const auto& [dx, dy] : {std::pair{1, 1}, {-1, 1}, {-1, -1}, {1, -1}}) {
            const double left = dx > 0 ? at.x() + 8 : at.x() - 8 - size.width();
            const double top = dy > 0 ? at.y() + 8 : at.y() - 8 - size.height();
            box = QRectF(
                QPointF(std::clamp(left, area.left() + 2.0, area.right() - size.width() - 2),
                        std::clamp(top, area.top() + 2.0, area.bottom() - size.height() - 2)),
                size);
            bool clear = true;
            for (const Step& other : steps_) {
                clear =
                    clear &&
                    !box.adjusted(-5, -5, 5, 5).contains(QPointF(XOf(other.PP), YOf(other.Value)));
            }
            if (clear) {
                break;
            }
        }
        p.setPen(kRed);
        p.setBrush(Qt::white);
        p.drawRect(box);
        p.drawText(box, Qt::AlignCenter, text);
    }
}

void CurvePlot::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        return;
    }
    const int step = StepAtX(event->position().toPoint().x());
    if (step >= 0) {
        SetPicked(step);
        emit stepClicked(step);
    }
}

bool CurvePlot::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const int step = StepAtX(help->pos().x());
        if (step >= 0) {
            const Step& s = steps_[static_cast<size_t>(step)];
            QToolTip::showText(help->globalPos(),
                               QStringLiteral("%1 PP から %2\nクリックでこのビルドを選択")
                                   .arg(s.PP)
                                   .arg(ValueText(s.Value)),
                               this);
        } else {
            QToolTip::hideText();
        }
        return true;
    }
    return QWidget::event(event);
}
