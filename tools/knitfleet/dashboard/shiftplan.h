#pragma once

#include <QList>
#include <QString>

// The mill's shifts as start times of the local day ("08:00,20:00": two 12-hour shifts); each
// shift ends where the next begins. Times are ms since the epoch; days follow the local clock,
// so a shift across a change to or from summer time is an hour shorter or longer.
class ShiftPlan
{
public:
    struct Shift
    {
        qint64 start = 0;
        qint64 end = 0;
    };

    ShiftPlan();
    // "HH:mm[,HH:mm...]", at most 24 distinct times; false with a reason.
    static bool parse(const QString &text, ShiftPlan *plan, QString *why);
    QString text() const;
    Shift at(qint64 ms) const;
    // The shifts that overlap [from, to), oldest first.
    QList<Shift> between(qint64 from, qint64 to) const;

private:
    QList<int> minutes_; // sorted minutes after midnight
};
