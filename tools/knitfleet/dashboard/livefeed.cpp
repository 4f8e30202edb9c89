#include "livefeed.h"

#include "isotime.h"

#include <QJsonDocument>

QByteArray LiveFeed::message(const char *type, const QJsonArray &rows)
{
    return QJsonDocument(QJsonObject{{QStringLiteral("type"), QLatin1String(type)}, {QStringLiteral("machines"), rows}})
        .toJson(QJsonDocument::Compact);
}

QJsonArray LiveFeed::ofGroup(const QJsonArray &rows, const QString &group)
{
    QJsonArray out;
    for (const QJsonValue &r : rows)
        if (r[QLatin1String("group")] == group)
            out.append(r);
    return out;
}

LiveFeed::LiveFeed(int staleS, const ShiftPlan &plan)
    : staleS_(staleS)
    , plan_(plan)
{
}

QJsonValue LiveFeed::eta(qint64 etaMs) const
{
    return etaMs < 0 ? QJsonValue(QJsonValue::Null) : QJsonValue(IsoTime::text((etaMs + 30000) / 60000 * 60000));
}

bool LiveFeed::etaInShift(qint64 etaMs, qint64 nowMs) const
{
    return etaMs >= 0 && etaMs < plan_.at(nowMs).end;
}

QJsonObject LiveFeed::row(const FleetState::Machine &m, const Recorder::Extra &x, qint64 nowMs) const
{
    const TelemetryMessages::State &s = m.state;
    // A panel whose controller does not answer knows nothing of its machine: offline as well.
    const char *state = m.online == 0 || s.offline ? "offline" : s.alarm ? "alarm" : s.running ? "knitting" : "stopped";
    const QJsonValue reason = x.code < 0 ? QJsonValue(QJsonValue::Null)
                                         : QJsonObject{{QStringLiteral("code"), x.code},
                                                       {QStringLiteral("text"), x.reason},
                                                       {QStringLiteral("planned"), x.planned}};
    return QJsonObject{{QStringLiteral("machine"), m.id},
                       {QStringLiteral("group"), groups_.group(m.id)},
                       {QStringLiteral("state"), QLatin1String(state)},
                       {QStringLiteral("job"), s.job},
                       // The library's version while the panel knits the job it loaded from there.
                       {QStringLiteral("version"), x.version > 0 && x.loaded == s.job ? QJsonValue(x.version) : QJsonValue()},
                       {QStringLiteral("row"), s.row},
                       {QStringLiteral("rows"), s.rows},
                       {QStringLiteral("speed"), s.speed},
                       {QStringLiteral("pieces"), s.pieces},
                       {QStringLiteral("target"), s.target},
                       {QStringLiteral("alarm"), s.alarm ? s.alarmText : QString()},
                       {QStringLiteral("since"), x.stopSince < 0 || s.running ? QJsonValue(QJsonValue::Null) : IsoTime::text(x.stopSince)},
                       {QStringLiteral("reason"), reason},
                       {QStringLiteral("eta"), eta(x.eta)},
                       {QStringLiteral("eta_in_shift"), etaInShift(x.eta, nowMs)},
                       {QStringLiteral("config_error"), x.configError},
                       {QStringLiteral("last_seen"), IsoTime::text(m.lastMs)},
                       {QStringLiteral("stale"), nowMs - m.lastMs > qint64(staleS_) * 1000}};
}

QByteArray LiveFeed::full(const Recorder &recorder, qint64 nowMs, const QString &group) const
{
    QJsonArray rows;
    for (const FleetState::Machine &m : recorder.fleet().sorted())
        if (group.isEmpty() || groups_.group(m.id) == group)
            rows.append(row(m, recorder.extra(m.id, nowMs), nowMs));
    return message("full", rows);
}

QJsonArray LiveFeed::changes(const Recorder &recorder, qint64 nowMs)
{
    QJsonArray rows;
    for (const FleetState::Machine &m : recorder.fleet().sorted()) {
        const QJsonObject r = row(m, recorder.extra(m.id, nowMs), nowMs);
        QJsonObject &sent = sent_[m.id];
        if (sent != r) {
            sent = r;
            rows.append(r);
        }
    }
    // Forgotten machines are forgotten here too.
    if (sent_.size() > recorder.fleet().size()) {
        for (auto it = sent_.begin(); it != sent_.end();)
            it = recorder.fleet().find(it.key()) ? std::next(it) : sent_.erase(it);
    }
    return rows;
}
