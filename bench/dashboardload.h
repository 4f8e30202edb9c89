#pragma once
// What bench/dashboard's runs share: the simulated panels' states, the watch that sees them
// stored, and the figures' quantiles.
#include "dashboard/fleetdb.h"

#include <QDateTime>
#include <QFile>
#include <QSet>
#include <QSqlQuery>

#include <algorithm>
#include <limits>
#include <cstdio>
#include <unistd.h>
#include <vector>

namespace DashboardBench {

constexpr qint64 kDayMs = 86400000;

inline double quantile(std::vector<double> v, double q)
{
    if (v.empty())
        return -1;
    std::sort(v.begin(), v.end());
    return v[std::min(v.size() - 1, std::size_t(q * double(v.size())))];
}

inline double cpuSeconds(qint64 pid)
{
    QFile f(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray s = f.readAll();
    const QList<QByteArray> fields = s.mid(s.lastIndexOf(')') + 2).split(' ');
    return (fields.value(11).toDouble() + fields.value(12).toDouble()) / double(::sysconf(_SC_CLK_TCK));
}

// Halls of 500: H1-0001 ... H1-0500, H2-0501 ...
inline QString machineId(int i)
{
    return QStringLiteral("H%1-%2").arg((i - 1) / 500 + 1).arg(i, 4, 10, QLatin1Char('0'));
}

// The panels' clock, made once a second: thousands of states a second share it.
inline QString panelNow()
{
    static qint64 second = -1;
    static QString text;
    const qint64 now = QDateTime::currentMSecsSinceEpoch() / 1000;
    if (now != second) {
        second = now;
        text = QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss"));
    }
    return text;
}

inline QByteArray state(int i, int second, int pieces, bool running = true)
{
    return QStringLiteral("{\"alarm\":null,\"job\":\"M%1\",\"knitting_s\":%2,\"machine\":\"%3\",\"pieces\":%4,\"row\":%5,"
                          "\"rows\":400,\"running\":%7,\"speed\":0.6,\"stopped_s\":0,\"target\":500,\"time\":\"%6\"}")
        .arg(i % 7).arg(second).arg(machineId(i)).arg(pieces).arg(second % 400)
        .arg(panelNow(), running ? "true" : "false")
        .toUtf8();
}

// A stored state waiting to be seen: machine, pieces, when it was published.
struct Pending
{
    int machine;
    int pieces;
    qint64 publishedMs;
};

// Polls a second connection for the pending states; their lags in ms. One query a look, for
// the pending machines' samples stored since the oldest pending state was published (through
// the samples' key): a query each state cost the look a round trip each, which at thousands of
// panels on a busy computer added its own seconds to the lags it measured.
class StoredWatch
{
public:
    StoredWatch(const DbTarget &target)
        : db_(target)
    {
    }
    bool open(QString *why) { return db_.open(why); }
    void poll(std::vector<Pending> *pending, std::vector<double> *lags)
    {
        if (pending->empty())
            return;
        qint64 oldest = std::numeric_limits<qint64>::max();
        QSet<QString> names;
        for (const Pending &p : *pending) {
            oldest = std::min(oldest, p.publishedMs);
            names.insert(QLatin1Char('\'') + machineId(p.machine) + QLatin1Char('\''));
        }
        // The names are this program's own (machineId()), safe in the text.
        QSqlQuery q(db_.db());
        q.setForwardOnly(true);
        q.prepare(QStringLiteral("SELECT m.name, s.pieces FROM machines m JOIN samples s ON s.machine = m.id WHERE m.name IN (%1)"
                                 " AND s.t >= ?")
                      .arg(QStringList(names.begin(), names.end()).join(QLatin1Char(','))));
        q.addBindValue(oldest - 1000);
        QSet<QString> stored;
        if (!q.exec())
            return;
        while (q.next())
            stored.insert(q.value(0).toString() + QLatin1Char(' ') + q.value(1).toString());
        const qint64 seen = QDateTime::currentMSecsSinceEpoch();
        for (auto it = pending->begin(); it != pending->end();) {
            if (stored.contains(machineId(it->machine) + QLatin1Char(' ') + QString::number(it->pieces))) {
                lags->push_back(double(seen - it->publishedMs));
                it = pending->erase(it);
            } else {
                ++it;
            }
        }
    }

private:
    FleetDb db_;
};

inline void printLag(const char *what, const std::vector<double> &lags)
{
    std::printf("  %-34s p50 %6.1f ms  p99 %6.1f ms  (%zu messages)\n", what, quantile(lags, 0.5), quantile(lags, 0.99), lags.size());
}


} // namespace DashboardBench
