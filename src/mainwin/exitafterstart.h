#pragma once

#include <QObject>

class QWidget;

// KNIT_EXIT_AFTER_START=1: the panel quits with status 0 right after the main screen's first
// paint, so a whole start-up can be timed and counted. Any other value leaves the panel alone.
class ExitAfterStart : public QObject
{
public:
    // True when the variable asks for it.
    static bool wanted();
    // When wanted(): watches the paints of screen's window; the watcher is screen's child.
    static void install(QWidget *screen);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    explicit ExitAfterStart(QWidget *screen);

    QWidget *screen_;
};
