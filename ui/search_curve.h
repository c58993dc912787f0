#pragma once

#include <QString>
#include <QWidget>
#include <cstdint>
#include <vector>

// The trade-off curve of a search as a step plot: PP on the x axis, the objective's
// value on the y axis. From each step's PP on, the best value is that step's value, so
// the line runs flat to the next step's PP and rises there; the last step runs on to the
// right edge. A click picks the step whose flat part lies under the mouse.
class CurvePlot : public QWidget {
    Q_OBJECT

public:
    struct Step {
        int32_t PP = 0;
        int32_t Value = 0;
    };

    explicit CurvePlot(QWidget* parent = nullptr);

    // The steps in rising PP and value; `unit` follows each value ("y" or nothing);
    // `emptyText` stands in the plot when there are no steps.
    void SetSteps(std::vector<Step> steps, const QString& unit, const QString& emptyText);
    // The step drawn as picked, or -1.
    void SetPicked(int step);
    int Picked() const { return picked_; }
    int StepCount() const { return static_cast<int>(steps_.size()); }
    // The middle of step `step`'s flat part in the widget, where a click picks it.
    QPoint StepPoint(int step) const;

    QSize sizeHint() const override { return {420, 170}; }
    QSize minimumSizeHint() const override { return {200, 110}; }

signals:
    void stepClicked(int step);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    bool event(QEvent* event) override;

private:
    QRect PlotArea() const;
    double XOf(double pp) const;
    double YOf(double value) const;
    // The step whose flat part spans the widget's x, or -1.
    int StepAtX(int x) const;
    QString ValueText(int32_t value) const;

    std::vector<Step> steps_;
    QString unit_;
    QString emptyText_;
    int picked_ = -1;
    // The axes' ranges.
    double ppMax_ = 1;
    double valueMin_ = 0;
    double valueMax_ = 1;
};
