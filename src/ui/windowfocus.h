#pragma once

#include <QObject>

class QWidget;

// Gives the keyboard back when a window closes: the topmost modal dialog left, else the main
// window, becomes the active window again. A window manager, or the panel's own window system,
// does this; without either (an X server alone) the page below would stay inactive and its key
// shortcuts dead. Names each untitled window after its class once drawn.
class WindowFocus : public QObject
{
    Q_OBJECT

public:
    // Once, after the application exists, by main(); the application owns the filter.
    static void install();
    // Asks the window system for the keyboard for w's window, even when Qt still takes that
    // window for active.
    static void activate(QWidget *w);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    using QObject::QObject;
    static void activateTop();
};
