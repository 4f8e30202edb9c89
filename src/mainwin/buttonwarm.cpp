#include "buttonwarm.h"

#include "beeppulse.h"
#include "data/alarmtexts.h"

#include <QEvent>
#include <QPalette>

ButtonWarm::ButtonWarm(BeepPulse &beep, QWidget *parent, const char *name)
    : BeepingButton(parent, name)
    , beep_(beep)
{
    QPalette pal = palette();
    pal.setColor(QPalette::Button, Qt::red);
    pal.setColor(QPalette::ButtonText, Qt::yellow);
    setPalette(pal);
    setAutoFillBackground(true);
    flash_.setInterval(kFlashMs);
    connect(&flash_, &QTimer::timeout, this, &ButtonWarm::timeout);
    cancelWarm();
}

QString ButtonWarm::alarmSource(unsigned char type, unsigned char code)
{
    return AlarmTexts::alarmSource(type, code);
}

void ButtonWarm::setWarm(unsigned char type, unsigned char code)
{
    type_ = type;
    code_ = code;
    setText(AlarmTexts::shown(type, code));
    show();
    flash_.start();
    setShortcut(QKeySequence(Qt::Key_Escape));
}

void ButtonWarm::cancelWarm()
{
    type_ = 0;
    code_ = 0;
    setText(QString());
    flash_.stop();
    setDown(false);
    setShortcut(QKeySequence());
    hide();
}

void ButtonWarm::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange && isFlashing())
        setText(AlarmTexts::shown(type_, code_));
    BeepingButton::changeEvent(event);
}

void ButtonWarm::timeout()
{
    // The beep sounds on without holding the thread, so reports keep flowing while it lasts.
    if (isDown()) {
        setDown(false);
        beep_.start(kReleasedBeepMs);
    } else {
        setDown(true);
        beep_.start(kPressedBeepMs);
    }
}
