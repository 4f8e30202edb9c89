#pragma once

#include "messageframe.h"

// The message box with the OK button alone.
class MessageDialog : public MessageFrame
{
    Q_OBJECT

public:
    explicit MessageDialog(QWidget *parent = nullptr, const char *name = nullptr, bool modal = true);
};
