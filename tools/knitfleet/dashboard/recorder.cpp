#include "recorder.h"

#include "messagecheck.h"
#include "writequeue.h"

#include "data/historylog.h"
#include "telemetry/telemetryconfig.h"

#include <algorithm>

const QString Recorder::kOtherJob = QStringLiteral("(other)");

Recorder::Recorder(int sampleS, WriteQueue *queue)
    : sampleMs_(qint64(sampleS) * 1000)
    , queue_(queue)
{
}

bool Recorder::take(const QByteArray &topic, const QByteArray &payload, bool retained, qint64 receivedMs)
{
    const QList<QByteArray> levels = topic.split('/');
    const QString id = levels.size() == 3 ? QString::fromUtf8(levels[1]) : QString();
    if (!admit(id, receivedMs))
        return false;
    if (levels.size() == 3 && levels[2] == "alarm")
        return takeAlarm(id, payload, receivedMs);
    QByteArray plain = payload;
    if (levels.size() == 3 && levels[2] == "state" && !MessageCheck::state(payload, &plain)) {
        ++ignored_;
        return false;
    }
    if (!fleet_.take(topic, plain, receivedMs))
        return false;
    const FleetState::Machine &m = *fleet_.find(id);
    Last &last = last_[id];
    Record r;
    r.machine = id;
    r.job = job(last, m.state.job, receivedMs);
    r.pieces = m.state.pieces;
    r.target = m.state.target;
    r.running = m.state.running;
    r.alarm = m.state.alarm ? m.state.alarmCode : -1;
    // A retained state of a machine whose status is not known yet may be old news; a panel
    // whose controller does not answer knows nothing of its machine.
    r.online = !m.state.offline && (m.online == 1 || (m.online < 0 && !retained));
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
    if (!TelemetryConfig::isMachineId(id) || !MessageCheck::alarm(payload, &r)) {
        ++ignored_;
        return false;
    }
    Last &last = last_[id];
    r.machine = id;
    r.job = job(last, r.job, receivedMs);
    r.dt = panelOffset(r.panelTime, receivedMs);
    store(last, r, receivedMs);
    return true;
}

bool Recorder::admit(const QString &id, qint64 receivedMs)
{
    if (!TelemetryConfig::isMachineId(id))
        return true; // ignored and counted by whoever reads the topic
    auto it = last_.find(id);
    if (it == last_.end()) {
        // A new machine only while there is room, whichever topic it comes by.
        if (last_.size() >= FleetState::kMaxMachines) {
            ++ignored_;
            return false;
        }
        it = last_.insert(id, Last());
    }
    if (receivedMs / 1000 != it->rateSecond) {
        it->rateSecond = receivedMs / 1000;
        it->inSecond = 0;
    }
    if (++it->inSecond <= kMaxRate)
        return true;
    ++dropped_;
    return false;
}

QString Recorder::job(Last &last, const QString &name, qint64 receivedMs)
{
    const qint64 day = receivedMs / 86400000;
    if (day != last.jobDay) {
        last.jobDay = day;
        last.jobs.clear();
    }
    const size_t h = qHash(name);
    if (last.jobs.contains(h))
        return name;
    if (last.jobs.size() >= kMaxJobsADay)
        return kOtherJob;
    last.jobs.insert(h);
    return name;
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
