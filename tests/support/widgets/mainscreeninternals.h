#pragma once

#include "logic/controller/controllerstatus.h"
#include "mainwin/mainscreen.h"

#include <QList>

class ButtonWarm;
class LabelMessage;
class LabelTime;
class QLabel;
class QTimer;
class RowDisplay;
class SkinButton;
class StartPicture;

// The tests' view inside the main window: the parts it builds and the marks start-up left,
// which the window itself keeps to itself (it names this class its friend).
class MainScreenInternals
{
public:
    static StartPicture *startPicture(const MainScreen &w) { return w.desktop_; }
    static SkinButton *pictureKey(const MainScreen &w, int index) { return w.pictureKeys_.value(index); }
    static RowDisplay *rowDisplay(const MainScreen &w) { return w.rowDisplay_; }
    static ButtonWarm *buttonWarm(const MainScreen &w) { return w.buttonWarm_; }
    static LabelMessage *labelMessage(const MainScreen &w) { return w.labelMessage_; }
    static StatusChannel *statusChannel(const MainScreen &w) { return w.controllerStatus_ ? w.controllerStatus_->channel() : nullptr; }
    static QLabel *needleLabel(const MainScreen &w) { return w.needle_; }
    static LabelTime *labelTime(const MainScreen &w) { return w.labelTime_; }
    // Armed only while a needle report waits to be shown.
    static const QTimer *needleTimer(const MainScreen &w) { return w.needleTimer_; }
    // What start-up found differing from the check copies (1 system, 2 personalisation).
    static unsigned char checkResult(const MainScreen &w) { return w.checkResult_; }
};
