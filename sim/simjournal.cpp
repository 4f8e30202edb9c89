#include "simjournal.h"

#include <QTime>

SimJournal::SimJournal(int capacity)
    : capacity_(capacity < 1 ? 1 : capacity)
{
}

void SimJournal::append(const QString &channel, const QByteArray &bytes)
{
    entries_.push_back({QTime::currentTime().toString(QStringLiteral("hh:mm:ss.zzz")), channel, bytes});
    while (int(entries_.size()) > capacity_)
        entries_.pop_front();
}

void SimJournal::clear()
{
    entries_.clear();
}

QStringList SimJournal::lines() const
{
    QStringList out;
    out.reserve(int(entries_.size()));
    for (const Entry &e : entries_)
        out << e.time + QLatin1Char(' ') + e.channel + QLatin1Char(' ') + QString::fromLatin1(e.bytes.toHex(' '));
    return out;
}
