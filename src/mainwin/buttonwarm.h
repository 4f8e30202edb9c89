#pragma once

#include "ui/beepingbutton.h"

#include <QTimer>

class BeepPulse;

// The alarm button of the main screen: shows the controller's alarm text, flashes and beeps
// (on the main window's pulse) once a second while an alarm stands, hidden otherwise.
class ButtonWarm : public BeepingButton
{
    Q_OBJECT

public:
    static constexpr int kFlashMs = 1000;
    static constexpr int kReleasedBeepMs = 200;
    static constexpr int kPressedBeepMs = 300;

    explicit ButtonWarm(BeepPulse &beep, QWidget *parent = nullptr, const char *name = nullptr);

    void setWarm(unsigned char type, unsigned char code);
    void cancelWarm();
    // The alarm's source text, as the history keeps it; the button shows it translated.
    static QString alarmSource(unsigned char type, unsigned char code);

    bool isFlashing() const { return flash_.isActive(); }
    unsigned char type() const { return type_; }
    unsigned char code() const { return code_; }

public Q_SLOTS:
    void timeout();

protected:
    void changeEvent(QEvent *event) override;

private:
    BeepPulse &beep_;
    QTimer flash_;
    unsigned char type_ = 0;
    unsigned char code_ = 0;
};
