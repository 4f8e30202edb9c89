#pragma once

#include "paramgrid.h"

#include "data/configrecord.h"

// The machine personalisation: 29 words of the controller's config.cfg, fetched when the page
// is shown; each change needs the password, goes to group 32 and is saved to the panel's
// check copy para/checkconfig.cfg.
class PersonalisationPage : public ParamGrid
{
    Q_OBJECT

public:
    static const ParamTable &paramTable();

    explicit PersonalisationPage(MachineData &machine, QWidget *parent = nullptr, const char *name = "personalisationpage");

    void setCellValue(int column, int row, unsigned short value) override;

public Q_SLOTS:
    void enterKey() override;
    // Import from a USB stick (password, sent, kept as the check copy; the page then closes) and
    // export to it.
    void importFromStick();
    void exportToStick();

protected:
    void load() override;

private:
    bool passwordGiven();
    bool leaveUpdate();
    void enterUpdate();

    ConfigRecord record_;
    QString unreadable_; // why the page is empty; empty when the record was read
};
