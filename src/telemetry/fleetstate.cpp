#include "fleetstate.h"

#include "telemetryconfig.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>

bool FleetState::take(const QByteArray &topic, const QByteArray &payload, qint64 nowMs)
{
    const QList<QByteArray> levels = topic.split('/');
    const QString id = levels.size() == 3 ? QString::fromUtf8(levels[1]) : QString();
    const bool isState = levels.size() == 3 && levels[2] == "state";
    const bool isStatus = levels.size() == 3 && levels[2] == "status";
    TelemetryMessages::State state;
    bool ok = levels.size() == 3 && levels[0] == "knit" && TelemetryConfig::isMachineId(id) && (isState || isStatus);
    if (ok && isState)
        ok = TelemetryMessages::readState(payload, &state);
    if (ok && isStatus)
        ok = payload == "online" || payload == "offline";
    if (ok && !machines_.contains(id) && machines_.size() >= kMaxMachines)
        ok = false;
    if (!ok) {
        ++ignored_;
        return false;
    }
    Machine &m = machines_[id];
    m.id = id;
    m.lastMs = nowMs;
    if (isStatus) {
        m.online = payload == "online" ? 1 : 0;
    } else {
        m.hasState = true;
        m.state = state;
    }
    return true;
}

QList<FleetState::Machine> FleetState::sorted() const
{
    QList<Machine> out = machines_.values();
    std::sort(out.begin(), out.end(), [](const Machine &a, const Machine &b) {
        if (a.state.alarm != b.state.alarm)
            return a.state.alarm;
        return a.id < b.id;
    });
    return out;
}

QJsonObject FleetState::toJson(const Machine &m, qint64 nowMs)
{
    QJsonObject o{{QStringLiteral("machine"), m.id},
                  {QStringLiteral("online"), m.online < 0 ? QJsonValue(QJsonValue::Null) : QJsonValue(m.online == 1)},
                  {QStringLiteral("age_s"), double(nowMs - m.lastMs) / 1000.0},
                  {QStringLiteral("state"), QJsonValue(QJsonValue::Null)}};
    if (m.hasState) {
        // Written again from the bounded fields read, never passed through as received.
        QJsonObject s = QJsonDocument::fromJson(TelemetryMessages::state(m.id, QDateTime(), m.state)).object();
        s.insert(QStringLiteral("time"), m.state.time);
        s.remove(QStringLiteral("machine"));
        o.insert(QStringLiteral("state"), s);
    }
    return o;
}

QByteArray FleetState::json(qint64 nowMs) const
{
    QJsonArray list;
    for (const Machine &m : sorted())
        list.append(toJson(m, nowMs));
    return QJsonDocument(QJsonObject{{QStringLiteral("machines"), list}}).toJson(QJsonDocument::Compact);
}

const FleetState::Machine *FleetState::find(const QString &id) const
{
    const auto it = machines_.constFind(id);
    return it == machines_.constEnd() ? nullptr : &*it;
}
