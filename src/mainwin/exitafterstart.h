#pragma once

#include <QObject>

class QWidget;

// The main screen's first paint: the service manager is told the panel is ready (READY=1), and
// with KNIT_EXIT_AFTER_START=1 the panel quits with status 0 right after it, so a whole start-up
// can be timed and counted. Any other value leaves the panel running.
class ExitAfterStart : public QObject
{
public:
    // True when the variable asks for it.
    static bool wanted();
    // Watches the paints of screen's window; the watcher is screen's child.
    static void install(QWidget *screen);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    explicit ExitAfterStart(QWidget *screen);

    QWidget *screen_;
};
