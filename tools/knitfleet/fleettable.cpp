#include "fleettable.h"

namespace {

struct Column
{
    const char *title;
    int width;
};
const Column kColumns[] = {{"MACHINE", 14}, {"ONLINE", 7}, {"RUN", 5}, {"JOB", 16}, {"ROW", 11},
                           {"PIECES", 11},  {"AGE", 5},    {"ALARM", 0}};
const int kJobColumns = 15;

bool wide(uint u)
{
    return (u >= 0x1100 && u <= 0x115F) || (u >= 0x2E80 && u <= 0xA4CF) || (u >= 0xAC00 && u <= 0xD7A3)
           || (u >= 0xF900 && u <= 0xFAFF) || (u >= 0xFE30 && u <= 0xFE4F) || (u >= 0xFF00 && u <= 0xFF60)
           || (u >= 0xFFE0 && u <= 0xFFE6) || (u >= 0x20000 && u <= 0x3FFFD);
}

// The longest start of text that fits in columns.
QString cut(const QString &text, int columns)
{
    QString out;
    for (const uint u : text.toUcs4()) {
        const QString c = QString::fromUcs4(reinterpret_cast<const char32_t *>(&u), 1);
        if (FleetTable::width(out + c) > columns)
            break;
        out += c;
    }
    return out;
}

} // namespace

int FleetTable::width(const QString &text)
{
    int w = 0;
    for (const uint u : text.toUcs4())
        w += wide(u) ? 2 : 1;
    return w;
}

QString FleetTable::pad(const QString &text, int columns)
{
    const QString t = cut(text, columns);
    return t + QString(columns - width(t) + 1, QLatin1Char(' '));
}

QString FleetTable::age(qint64 ms)
{
    const qint64 s = qMax<qint64>(ms, 0) / 1000;
    if (s < 100)
        return QString::number(s) + QLatin1Char('s');
    if (s < 100 * 60)
        return QString::number(s / 60) + QLatin1Char('m');
    if (s < 48 * 3600)
        return QString::number(s / 3600) + QLatin1Char('h');
    return QString::number(s / 86400) + QLatin1Char('d');
}

QStringList FleetTable::lines(const QList<FleetState::Machine> &machines, qint64 nowMs, int maxLines)
{
    QString header;
    for (const Column &c : kColumns)
        header += c.width ? pad(QLatin1String(c.title), c.width) : QLatin1String(c.title);
    QStringList out{header.trimmed()};
    const int shown = maxLines > 0 && machines.size() > maxLines ? qMax(maxLines - 1, 0) : int(machines.size());
    for (int k = 0; k < shown; ++k) {
        const FleetState::Machine &m = machines[k];
        const TelemetryMessages::State &s = m.state;
        const QString online = m.online < 0 ? QStringLiteral("?") : m.online ? QStringLiteral("yes") : QStringLiteral("no");
        const QString values[] = {m.id,
                                  online,
                                  !m.hasState ? QStringLiteral("-")
                                  : s.offline ? QStringLiteral("offl")
                                  : s.running ? QStringLiteral("knit")
                                              : QStringLiteral("stop"),
                                  m.hasState ? cut(s.job, kJobColumns) : QString(),
                                  m.hasState ? QStringLiteral("%1/%2").arg(s.row).arg(s.rows) : QString(),
                                  m.hasState ? QStringLiteral("%1/%2").arg(s.pieces).arg(s.target) : QString(),
                                  age(nowMs - m.lastMs),
                                  s.alarm ? s.alarmText : QString()};
        QString line;
        for (int i = 0; i < 8; ++i)
            line += kColumns[i].width ? pad(values[i], kColumns[i].width) : values[i];
        out << line.trimmed();
    }
    if (shown < machines.size())
        out << QStringLiteral("... and %1 more").arg(machines.size() - shown);
    return out;
}
