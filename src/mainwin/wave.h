#pragma once

#include <QWidget>

// The main window: runs the whole start-up in its constructor and then hosts the main screen.
// One class split by concern over several files (startup, job, rowdisplay, panels, alarms,
// commands).
class wave : public QWidget
{
    Q_OBJECT

public:
    explicit wave(QWidget *parent = nullptr, const char *name = nullptr,
                  Qt::WindowFlags flags = kCustomFrameless);

    // The panel's "custom style, no title bar or frame" top-level window.
    static constexpr Qt::WindowFlags kCustomFrameless =
        Qt::Window | Qt::FramelessWindowHint | Qt::CustomizeWindowHint;

    void initpara();

    unsigned char checkresult = 0;
};
