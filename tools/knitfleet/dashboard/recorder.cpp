#include "recorder.h"

#include "messagecheck.h"
#include "writequeue.h"

#include "data/historylog.h"
#include "telemetry/telemetryconfig.h"

#include <algorithm>

Recorder::Recorder(int sampleS, WriteQueue *queue)
    : sampleMs_(qint64(sampleS) * 1000)
    , queue_(queue)
{
}

bool Recorder::take(const QByteArray &topic, const QByteArray &payload, bool retained, qint64 receivedMs)
{
    const QList<QByteArray> levels = topic.split('/');
    const QString id = levels.size() == 3 ? QString::fromUtf8(levels[1]) : QString();
    if (levels.size() == 3 && levels[2] == "alarm")
        return takeAlarm(id, payload, receivedMs);
    if (levels.size() == 3 && levels[2] == "state" && !MessageCheck::state(payload)) {
        ++ignored_;
        return false;
    }
    if (!fleet_.take(topic, payload, receivedMs))
        return false;
    const FleetState::Machine &m = *fleet_.find(id);
    Last &last = last_[id];
    Record r;
    r.machine = id;
    r.job = m.state.job;
    r.pieces = m.state.pieces;
    r.target = m.state.target;
    r.running = m.state.running;
    r.alarm = m.state.alarm ? m.state.alarmCode : -1;
    // A retained state of a machine whose status is not known yet may be old news.
    r.online = m.online == 1 || (m.online < 0 && !retained);
    r.dt = panelOffset(m.state.time, receivedMs);
    const Record &p = last.sample;
    const bool changed = !last.stored || p.job != r.job || p.running != r.running || p.alarm != r.alarm
                         || p.pieces != r.pieces || p.target != r.target || p.online != r.online;
    if (changed || receivedMs - p.t >= sampleMs_)
        store(last, r, receivedMs);
    return true;
}

bool Recorder::takeAlarm(const QString &id, const QByteArray &payload, qint64 receivedMs)
{
    Record r;
    const bool room = fleet_.find(id) || fleet_.size() < FleetState::kMaxMachines;
    if (!TelemetryConfig::isMachineId(id) || !room || !MessageCheck::alarm(payload, &r)) {
        ++ignored_;
        return false;
    }
    r.machine = id;
    r.dt = panelOffset(r.panelTime, receivedMs);
    store(last_[id], r, receivedMs);
    return true;
}

void Recorder::store(Last &last, Record r, qint64 receivedMs)
{
    r.t = qMax(receivedMs, last.t + 1);
    last.t = r.t;
    if (r.kind == Record::Sample) {
        last.sample = r;
        last.stored = true;
    }
    queue_->push(r);
}

int Recorder::panelOffset(const QString &panelTime, qint64 receivedMs)
{
    // The panel writes its wall clock without a zone: read it as this computer's local time.
    const QDateTime wall = HistoryLog::parseTime(panelTime.toLatin1());
    if (!wall.isValid())
        return 0;
    const qint64 panelMs = QDateTime(wall.date(), wall.time(), Qt::LocalTime).toMSecsSinceEpoch();
    return int(std::clamp<qint64>((panelMs - receivedMs) / 1000, -2000000000, 2000000000));
}
