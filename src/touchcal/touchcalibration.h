#pragma once

#include "logic/touchcal/calibrationfit.h"

#include <QDialog>

#include <array>

// The touch-screen calibration: the whole screen, one cross at a time; each touch (press and
// release) gives its raw point. After the fifth the calibration is fitted; consistent data is
// saved atomically as the pointer calibration file and the dialog closes accepted at once,
// inconsistent data is said on the screen and the round starts again. Escape closes it
// rejected without writing anything.
class TouchCalibration : public QDialog
{
    Q_OBJECT

public:
    explicit TouchCalibration(QWidget *parent = nullptr);

    int step() const { return step_; }
    // What a round of five raw points leads to: the file written (true), or a new round.
    bool finish(const std::array<QPointF, CalibrationFit::kPoints> &raw);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void restart(const QString &message);

    std::array<QPointF, CalibrationFit::kPoints> raw_{};
    int step_ = 0;
    bool pressed_ = false;
    QString message_;
};
