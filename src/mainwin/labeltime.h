#pragma once

#include "telemetry/linkstate.h"

#include <QLabel>
#include <QTimer>

// The main screen's clock: the panel's time of day, redrawn every second, with a small mark in
// its corner for the telemetry link (none while telemetry is off).
class LabelTime : public QLabel
{
    Q_OBJECT

public:
    explicit LabelTime(QWidget *parent = nullptr, const char *name = nullptr,
                       Qt::WindowFlags flags = Qt::WindowFlags());

    static QString timeText(const QTime &time);

    LinkState link() const { return link_; }
    // The mark's centre and its colour for a state (invalid for Off).
    QPoint markCentre() const;
    static QColor markColour(LinkState state);

public Q_SLOTS:
    void timeout();
    void setLink(LinkState state);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QTimer timer_;
    LinkState link_ = LinkState::Off;
};
