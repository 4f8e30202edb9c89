#pragma once

#include "messageframe.h"

// The message box with the OK button alone.
class QMDialogC : public MessageFrame
{
    Q_OBJECT

public:
    explicit QMDialogC(QWidget *parent = nullptr, const char *name = nullptr, bool modal = true);
};
