#include "clocksetting.h"

#include "platform/systemactions.h"

#include <QDate>
#include <QTime>

ClockSetting::Result ClockSetting::set(int year, int month, int day, int hour, int minute, int second)
{
    if (year < kFirstYear || year > kLastYear || !QDate::isValid(year, month, day) || !QTime::isValid(hour, minute, second))
        return OutOfRange;
    const QString when = QStringLiteral("%1/%2/%3 %4:%5:%6")
                             .arg(year)
                             .arg(month)
                             .arg(day)
                             .arg(hour)
                             .arg(minute, 2, 10, QLatin1Char('0'))
                             .arg(second, 2, 10, QLatin1Char('0'));
    if (SystemActions::run(QStringLiteral("date"), {QStringLiteral("-s"), when}) != 0)
        return Failed;
    return SystemActions::run(QStringLiteral("hwclock"), {QStringLiteral("-w")}) == 0 ? Done : Failed;
}
