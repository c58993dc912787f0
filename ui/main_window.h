#pragma once

#include <QWidget>

#include "engine/simulator.h"

// The main window: a view over TSimulator.
class TForm1 : public QWidget {
    Q_OBJECT

public:
    explicit TForm1(QWidget* parent = nullptr);

    TSimulator& Simulator() { return sim_; }

private:
    TSimulator sim_;
};
