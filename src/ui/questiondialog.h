#pragma once

#include "messageframe.h"

// The yes/no question box: OK ("确    定") accepts, Cancel ("取  消") and Escape reject.
class QuestionDialog : public MessageFrame
{
    Q_OBJECT

public:
    explicit QuestionDialog(QWidget *parent = nullptr, const char *name = nullptr, bool modal = true);

    BeepingButton *quitButton() const { return quit_; }

private:
    BeepingButton *quit_;
};
