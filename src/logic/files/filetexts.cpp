#include "filetexts.h"

QString FileTexts::sizeString(qint64 bytes)
{
    const double x = double(bytes);
    if (bytes > (qint64(1) << 30))
        return QString::asprintf("%.1f G", x / double(qint64(1) << 30));
    if (bytes > (qint64(1) << 20))
        return QString::asprintf("%.1f M", x / double(qint64(1) << 20));
    if (bytes > 1024)
        return QString::asprintf("%.1f K", x / 1024.0);
    return QString::number(bytes) + QStringLiteral(" B");
}

QString FileTexts::dateString(const QDateTime &t)
{
    const QDate d = t.date();
    return QString::asprintf("%4d-%02d-%02d ", d.year(), d.month(), d.day()) + t.time().toString(QStringLiteral("hh:mm:ss"));
}
