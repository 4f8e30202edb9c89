#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <deque>

// Record of every datagram knitsim received, by channel, with the time it came; any
// subsystem of the simulator appends to it. Bounded: the oldest entries go first.
class SimJournal
{
public:
    explicit SimJournal(int capacity = 20000);

    void append(const QString &channel, const QByteArray &bytes);
    void clear();
    int size() const { return int(entries_.size()); }
    // One line per entry: "hh:mm:ss.zzz CHANNEL xx xx ..." (lower-case hex, two digits).
    QStringList lines() const;

private:
    struct Entry
    {
        QString time;
        QString channel;
        QByteArray bytes;
    };
    std::deque<Entry> entries_;
    int capacity_;
};
