#pragma once

#include "clockpage.h"
#include "serviceframe.h"

// The frame of the controller's clock page: its message line above the page.
class ClockFrame : public ServiceFrame<ClockPage>
{
    Q_OBJECT
public:
    explicit ClockFrame(QWidget *parent = nullptr);
};
