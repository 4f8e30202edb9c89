#pragma once

#include <QLabel>
#include <QTimer>

// The main screen's clock: the panel's time of day, redrawn every second.
class LabelTime : public QLabel
{
    Q_OBJECT

public:
    explicit LabelTime(QWidget *parent = nullptr, const char *name = nullptr,
                       Qt::WindowFlags flags = Qt::WindowFlags());

    static QString timeText(const QTime &time);

public slots:
    void timeout();

private:
    QTimer timer_;
};
