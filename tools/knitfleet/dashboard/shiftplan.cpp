#include "shiftplan.h"

#include <QDateTime>
#include <QStringList>
#include <QTime>

#include <algorithm>

ShiftPlan::ShiftPlan()
    : minutes_{8 * 60, 20 * 60}
{
}

bool ShiftPlan::parse(const QString &text, ShiftPlan *plan, QString *why)
{
    QList<int> minutes;
    for (const QString &part : text.split(QLatin1Char(','))) {
        const QTime t = QTime::fromString(part.trimmed(), QStringLiteral("HH:mm"));
        if (!t.isValid() || minutes.contains(t.msecsSinceStartOfDay() / 60000) || minutes.size() >= 24) {
            *why = QStringLiteral("--shifts: %1 is not a list of distinct start times HH:mm,HH:mm").arg(text.left(80));
            return false;
        }
        minutes.append(t.msecsSinceStartOfDay() / 60000);
    }
    std::sort(minutes.begin(), minutes.end());
    plan->minutes_ = minutes;
    return true;
}

QString ShiftPlan::text() const
{
    QStringList out;
    for (int m : minutes_)
        out << QTime(m / 60, m % 60).toString(QStringLiteral("HH:mm"));
    return out.join(QLatin1Char(','));
}

ShiftPlan::Shift ShiftPlan::at(qint64 ms) const
{
    const QDate day = QDateTime::fromMSecsSinceEpoch(ms).date();
    const auto startOn = [this](QDate d, int i) {
        return QDateTime(d, QTime(minutes_[i] / 60, minutes_[i] % 60)).toMSecsSinceEpoch();
    };
    // The latest start at or before ms: today's, else yesterday's last.
    Shift s{startOn(day.addDays(-1), int(minutes_.size()) - 1), 0};
    int index = -1;
    for (int i = 0; i < minutes_.size(); ++i) {
        if (startOn(day, i) <= ms) {
            s.start = startOn(day, i);
            index = i;
        }
    }
    s.end = index + 1 < minutes_.size() ? startOn(day, index + 1) : startOn(day.addDays(1), 0);
    return s;
}

QList<ShiftPlan::Shift> ShiftPlan::between(qint64 from, qint64 to) const
{
    QList<Shift> out;
    for (Shift s = at(from); s.start < to; s = at(s.end))
        out.append(s);
    return out;
}
