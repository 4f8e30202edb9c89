#pragma once

#include "paramgrid.h"

#include <QLabel>
#include <QTimer>

// The system parameters (system block words 30-59, group 0): positions taught from the
// carriage, the timing-belt count measured between two marks, and plain, signed and choice
// values; a status line with the carriage's pulse count and needle position.
class SystemParamPage : public ParamGrid
{
    Q_OBJECT

public:
    static const ParamTable &paramTable();

    explicit SystemParamPage(MachineData &machine, QWidget *parent = nullptr, const char *name = "systemparampage");

public Q_SLOTS:
    void enterKey() override;
    // The key beep alone: the cell keeps what was typed.
    void clearKey() override {}
    // Key A: a taught cell's value typed instead of taught.
    void f1Key();
    void typeTaughtValue();

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void teach();
    void measureBelt();
    void markOrClear();
    void ask(const QString &question, unsigned short value);

    QLabel *status_;
    QTimer *flush_;
    unsigned short mark_ = 0;
};
