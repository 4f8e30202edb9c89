#pragma once

#include "serviceframe.h"
#include "clockpage.h"

// The frame of the controller's clock page: its message line above the page.
class ClockFrame : public ServiceFrame<ClockPage>
{
    Q_OBJECT
public:
    explicit ClockFrame(QWidget *parent = nullptr);
};
