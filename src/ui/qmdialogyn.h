#pragma once

#include "messageframe.h"

// The yes/no question box: OK ("确    定") accepts, Cancel ("取  消") and Escape reject.
class QMDialogYN : public MessageFrame
{
    Q_OBJECT

public:
    explicit QMDialogYN(QWidget *parent = nullptr, const char *name = nullptr, bool modal = true);

    MYBUTTON *quitButton() const { return quit_; }

private:
    MYBUTTON *quit_;
};
