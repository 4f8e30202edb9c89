#include "refusallog.h"

#include <QDateTime>
#include <QHash>

#include <cstdio>

void RefusalLog::line(const char *kind, const QString &text)
{
    struct Kind
    {
        qint64 lastMs = -1000;
        int held = 0;
    };
    static QHash<QByteArray, Kind> kinds;
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    // Kinds named by address stay bounded: past this many the counts start afresh.
    if (kinds.size() >= 4096 && !kinds.contains(QByteArray(kind)))
        kinds.clear();
    Kind &k = kinds[QByteArray(kind)];
    if (now - k.lastMs < 1000) {
        ++k.held;
        return;
    }
    const QString more = k.held > 0 ? QStringLiteral(" (and %1 more like it)").arg(k.held) : QString();
    std::fprintf(stderr, "knitfleet: %s %s%s\n", qPrintable(QDateTime::fromMSecsSinceEpoch(now).toString(Qt::ISODate)),
                 qPrintable(text), qPrintable(more));
    std::fflush(stderr);
    k.lastMs = now;
    k.held = 0;
}
