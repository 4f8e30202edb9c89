#pragma once

#include "paramgrid.h"

#include "data/densitybackup.h"

class QLabel;

// The density-motor corrections (system block words 60-75, group 7, correction + 500) with
// five backups in para/densitybackup.bin, one of them shown beside the corrections.
class DensityCorrectionPage : public ParamGrid
{
    Q_OBJECT

public:
    static const ParamTable &paramTable();

    explicit DensityCorrectionPage(MachineData &machine, QWidget *parent = nullptr, const char *name = "densitycorrectionpage");

    QLabel *backupLabel(int column, int motor) const;

public Q_SLOTS:
    void showPreviousBackup();
    void showNextBackup();
    void showBackup(int n);
    void backUpCorrections();
    void restoreCorrections();

protected:
    QString helpText(const ParamCell &cell) const override;
    void load() override;

private:
    DensityBackup file_;
    QList<QLabel *> backupLabels_;
    int backup_ = 0;
};
