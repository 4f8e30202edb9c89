#include "livefeed.h"

#include "isotime.h"

#include <QJsonDocument>

namespace {

QByteArray message(const char *type, const QJsonArray &rows)
{
    return QJsonDocument(QJsonObject{{QStringLiteral("type"), QLatin1String(type)}, {QStringLiteral("machines"), rows}})
        .toJson(QJsonDocument::Compact);
}

} // namespace

LiveFeed::LiveFeed(int staleS)
    : staleS_(staleS)
{
}

QJsonObject LiveFeed::row(const FleetState::Machine &m, qint64 nowMs, int staleS)
{
    const TelemetryMessages::State &s = m.state;
    const char *state = m.online == 0 ? "offline" : s.alarm ? "alarm" : s.running ? "knitting" : "stopped";
    return QJsonObject{{QStringLiteral("machine"), m.id},
                       {QStringLiteral("state"), QLatin1String(state)},
                       {QStringLiteral("job"), s.job},
                       {QStringLiteral("row"), s.row},
                       {QStringLiteral("rows"), s.rows},
                       {QStringLiteral("speed"), s.speed},
                       {QStringLiteral("pieces"), s.pieces},
                       {QStringLiteral("target"), s.target},
                       {QStringLiteral("alarm"), s.alarm ? s.alarmText : QString()},
                       {QStringLiteral("last_seen"), IsoTime::text(m.lastMs)},
                       {QStringLiteral("stale"), nowMs - m.lastMs > qint64(staleS) * 1000}};
}

QByteArray LiveFeed::full(const FleetState &fleet, qint64 nowMs) const
{
    QJsonArray rows;
    for (const FleetState::Machine &m : fleet.sorted())
        rows.append(row(m, nowMs, staleS_));
    return message("full", rows);
}

QByteArray LiveFeed::changes(const FleetState &fleet, qint64 nowMs)
{
    QJsonArray rows;
    for (const FleetState::Machine &m : fleet.sorted()) {
        const QJsonObject r = row(m, nowMs, staleS_);
        QJsonObject &sent = sent_[m.id];
        if (sent != r) {
            sent = r;
            rows.append(r);
        }
    }
    return rows.isEmpty() ? QByteArray() : message("changes", rows);
}
