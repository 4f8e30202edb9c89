#pragma once

#include "paramgrid.h"

#include <array>

// The frequently used settings: the start needle and the machine settings of the system block
// (each sent in its own update of group 1), the piece target and the clearing of the completed
// pieces (machine actions 6 and 7). Works on a copy taken when shown.
class FrequentSettingsPage : public ParamGrid
{
    Q_OBJECT

public:
    static constexpr int kRows = 9;
    static const ParamTable &paramTable();

    explicit FrequentSettingsPage(MachineData &machine, QWidget *parent = nullptr, const char *name = "frequentsettingspage");

public Q_SLOTS:
    void enterKey() override;

protected:
    void load() override;
    void hideEvent(QHideEvent *event) override;

private:
    // True when the controller took the value; *closed false when its update stayed open.
    bool send(int row, unsigned short value, bool *closed);

    std::array<unsigned short, kRows> copy_{};
};
