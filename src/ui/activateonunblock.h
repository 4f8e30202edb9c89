#pragma once

#include <QObject>

class QWidget;

// Gives a window the keyboard back when a dialog over it closes. The panel's own platform does
// that by itself; an X server without a window manager (the end-to-end tests, the demo) leaves
// the keyboard nowhere, and the window's shortcuts (close, clear, menu keys) would stay dead.
class ActivateOnUnblock : public QObject
{
    Q_OBJECT

public:
    static void install(QWidget *window);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    using QObject::QObject;
};
