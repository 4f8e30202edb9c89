#pragma once

#include <QCoreApplication>

class QWidget;

// The shut-down question of the close key and of the UPS power-loss alarm: asks, refuses
// while the carriage runs, else tells the controller to shut down and says how it went.
class ShutdownDialog
{
    Q_DECLARE_TR_FUNCTIONS(ShutdownDialog)

public:
    enum class Outcome { Declined, Running, ShuttingDown, NotAnswered };

    static Outcome run(QWidget *parent);
};
