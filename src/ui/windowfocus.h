#pragma once

#include <QObject>

// Gives the keyboard back when a window closes: the topmost modal dialog left, else the main
// window, becomes the active window again. A window manager, or the panel's own window system,
// does this; without either (an X server alone) the page below would stay inactive and its key
// shortcuts dead.
class WindowFocus : public QObject
{
    Q_OBJECT

public:
    // Once, after the application exists.
    static void install();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    using QObject::QObject;
    static void activateTop();
};
