#pragma once

#include "pageframe.h"
#include "personalisationpage.h"

// The frame of the machine's personalisation page: its title and group box text around the page.
class PersonalisationFrame : public PageFrame<PersonalisationPage>
{
    Q_OBJECT
public:
    explicit PersonalisationFrame(MachineData &machine, QWidget *parent = nullptr);
};
