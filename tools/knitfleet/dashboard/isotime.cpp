#include "isotime.h"

#include <QDateTime>
#include <QTimeZone>

QString IsoTime::text(qint64 ms, bool withMs)
{
    const QDateTime local = QDateTime::fromMSecsSinceEpoch(ms);
    return local.toOffsetFromUtc(local.offsetFromUtc()).toString(withMs ? Qt::ISODateWithMs : Qt::ISODate);
}

bool IsoTime::parse(const QString &text, qint64 *ms)
{
    if (text.size() > 40)
        return false;
    QDateTime t = QDateTime::fromString(text, Qt::ISODateWithMs);
    if (!t.isValid() && text.size() == 10)
        t = QDateTime(QDate::fromString(text, Qt::ISODate), QTime(0, 0));
    if (!t.isValid() || t.date().year() < 1970 || t.date().year() > 9999)
        return false;
    *ms = t.toMSecsSinceEpoch();
    return true;
}
