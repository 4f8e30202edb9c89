#pragma once

#include "frequentsettingspage.h"
#include "pageframe.h"

// The frame of the frequently used settings page: its title and group box text around the page.
class FrequentSettingsFrame : public PageFrame<FrequentSettingsPage>
{
    Q_OBJECT
public:
    explicit FrequentSettingsFrame(MachineData &machine, QWidget *parent = nullptr);
};
