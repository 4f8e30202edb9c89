#include "recorder.h"

#include "messagecheck.h"
#include "writequeue.h"

#include "data/historylog.h"
#include "telemetry/telemetryconfig.h"

#include <QDateTime>
#include <QJsonDocument>

#include <algorithm>
#include <cstdio>

const QString Recorder::kOtherJob = QStringLiteral("(other)");

Recorder::Recorder(int sampleS, WriteQueue *queue, const ShiftPlan &plan)
    : sampleMs_(qint64(sampleS) * 1000)
    , queue_(queue)
    , plan_(plan)
{
}

bool Recorder::ignore()
{
    ++ignored_;
    return false;
}

bool Recorder::take(const QByteArray &topic, const QByteArray &payload, bool retained, qint64 receivedMs, MessageCheck::JobEvent *job)
{
    const QList<QByteArray> levels = topic.split('/');
    const QString id = levels.size() == 3 ? QString::fromUtf8(levels[1]) : QString();
    const QByteArray leaf = levels.size() == 3 && levels[0] == "knit" ? levels[2] : QByteArray();
    // A reason is for a machine heard from already.
    if (leaf == "stop" && !last_.contains(id))
        return ignore();
    if (!admit(id, receivedMs))
        return false;
    if (leaf == "alarm")
        return takeAlarm(id, payload, receivedMs);
    if (leaf == "stop")
        return TelemetryConfig::isMachineId(id) ? takeStop(id, payload) : ignore();
    if (leaf == "config")
        return TelemetryConfig::isMachineId(id) ? takeConfig(id, payload) : ignore();
    if (leaf == "job")
        return TelemetryConfig::isMachineId(id) ? takeJob(id, payload, job) : ignore();
    return takeState(id, topic, payload, retained, receivedMs);
}

bool Recorder::takeState(const QString &id, const QByteArray &topic, const QByteArray &payload, bool retained, qint64 receivedMs)
{
    QByteArray plain = payload;
    const bool isState = topic.endsWith("/state");
    if (isState && !MessageCheck::state(payload, &plain))
        return ignore();
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
    const qint64 panel = panelMs(m.state.time);
    r.dt = panel < 0 ? 0 : int(std::clamp<qint64>((panel - receivedMs) / 1000, -2000000000, 2000000000));
    if (isState) {
        last.configError = MessageCheck::configError(plain);
        // The panel's clock as its live states show it; a retained state only until one comes.
        if (panel >= 0 && (!retained || !last.liveOffset)) {
            last.offsetMs = panel - receivedMs;
            last.liveOffset = last.liveOffset || !retained;
            last.hasOffset = true;
        }
        const Record *standing = last.stops.standing();
        Record now = r;
        now.t = receivedMs;
        last.pace.take(now, standing && standing->code >= 0 && standing->planned, shiftStart(receivedMs));
    }
    const Record &p = last.sample;
    const bool changed = !last.stored || p.job != r.job || p.running != r.running || p.alarm != r.alarm
                         || p.pieces != r.pieces || p.target != r.target || p.online != r.online;
    if (changed || receivedMs - p.t >= sampleMs_)
        store(last, r, receivedMs, m.hasState);
    return true;
}

bool Recorder::takeAlarm(const QString &id, const QByteArray &payload, qint64 receivedMs)
{
    Record r;
    if (!TelemetryConfig::isMachineId(id) || !MessageCheck::alarm(payload, &r))
        return ignore();
    Last &last = last_[id];
    r.machine = id;
    r.job = job(last, r.job, receivedMs);
    const qint64 panel = panelMs(r.panelTime);
    r.dt = panel < 0 ? 0 : int(std::clamp<qint64>((panel - receivedMs) / 1000, -2000000000, 2000000000));
    store(last, r, receivedMs, false);
    return true;
}

bool Recorder::takeStop(const QString &id, const QByteArray &payload)
{
    Last &last = last_[id];
    MessageCheck::Stop pick;
    Record row;
    // Placed by the panel's clock as its states show it: a reason sent late, or by a panel
    // whose clock is hours off, still finds its stop.
    if (!last.hasOffset || !MessageCheck::stop(payload, id, &pick) || !last.reasons.find(pick.code)
        || last.stops.reason(pick, panelMs(pick.since) - last.offsetMs, &row) == StopBook::Pick::Refused)
        return ignore();
    if (row.kind == Record::Stop)
        queue_->push(row);
    return true;
}

bool Recorder::takeConfig(const QString &id, const QByteArray &payload)
{
    QString why;
    ReasonList list;
    if (ReasonList::parse(payload, &list, &why)) {
        last_[id].reasons = list;
        return true;
    }
    // A bad list from the office is said, at most once a second, and the last good one stays.
    static qint64 saidSecond = 0;
    const qint64 second = QDateTime::currentMSecsSinceEpoch() / 1000;
    if (second != saidSecond) {
        saidSecond = second;
        std::fprintf(stderr, "knitfleet: knit/%s/config refused: %s; its last good list stays\n", qPrintable(id), qPrintable(why));
    }
    return ignore();
}

bool Recorder::takeJob(const QString &id, const QByteArray &payload, MessageCheck::JobEvent *job)
{
    MessageCheck::JobEvent e;
    if (!MessageCheck::jobEvent(payload, &e))
        return ignore();
    if (e.loaded) {
        Last &last = last_[id];
        last.loaded = e.job;
        last.version = e.fromLibrary ? e.version : 0;
    }
    if (job)
        *job = e;
    return true;
}

bool Recorder::admit(const QString &id, qint64 receivedMs)
{
    if (!TelemetryConfig::isMachineId(id))
        return true; // ignored and counted by whoever reads the topic
    auto it = last_.find(id);
    if (it == last_.end()) {
        // A new machine only while there is room, whichever topic it comes by.
        if (last_.size() >= FleetState::kMaxMachines)
            return ignore();
        it = last_.insert(id, Last());
    }
    it->heardMs = receivedMs;
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

void Recorder::store(Last &last, Record r, qint64 receivedMs, bool stateKnown)
{
    r.t = qMax(receivedMs, last.t + 1);
    last.t = r.t;
    queue_->push(r);
    if (r.kind != Record::Sample)
        return;
    last.sample = r;
    last.stored = true;
    // A status alone says nothing of whether the machine stands.
    Record stop;
    if (stateKnown && last.stops.sample(r, &stop))
        queue_->push(stop);
}

qint64 Recorder::shiftStart(qint64 ms)
{
    if (ms < shift_.start || ms >= shift_.end)
        shift_ = plan_.at(ms);
    return shift_.start;
}

qint64 Recorder::panelMs(const QString &panelTime)
{
    // The panel writes its wall clock without a zone: read it as this computer's local time.
    const QDateTime wall = HistoryLog::parseTime(panelTime.toLatin1());
    return wall.isValid() ? QDateTime(wall.date(), wall.time(), Qt::LocalTime).toMSecsSinceEpoch() : -1;
}

Recorder::Extra Recorder::extra(const QString &machine, qint64 nowMs) const
{
    Extra x;
    const auto it = last_.constFind(machine);
    if (it == last_.constEnd())
        return x;
    if (const Record *stop = it->stops.standing()) {
        x.stopSince = stop->t;
        x.code = stop->code;
        x.reason = stop->text;
        x.planned = stop->planned;
    }
    x.eta = it->pace.eta(nowMs);
    x.availability = it->pace.availability();
    x.configError = it->configError;
    x.loaded = it->loaded;
    x.version = it->version;
    return x;
}

void Recorder::seedStop(const Record &stop)
{
    auto it = last_.find(stop.machine);
    if (it == last_.end()) {
        if (last_.size() >= FleetState::kMaxMachines)
            return;
        it = last_.insert(stop.machine, Last());
    }
    it->stops.seed(stop);
}

void Recorder::forget(qint64 cutoffMs)
{
    QSet<QString> gone;
    for (auto it = last_.begin(); it != last_.end();) {
        if (it->heardMs < cutoffMs) {
            gone.insert(it.key());
            it = last_.erase(it);
        } else {
            ++it;
        }
    }
    if (gone.isEmpty())
        return;
    // The picture has no way to drop a machine: it is made again from the others' last states.
    FleetState kept;
    for (const FleetState::Machine &m : fleet_.sorted()) {
        if (gone.contains(m.id))
            continue;
        const QByteArray prefix = "knit/" + m.id.toUtf8() + '/';
        if (m.online >= 0)
            kept.take(prefix + "status", m.online ? "online" : "offline", m.lastMs);
        if (m.hasState) {
            QJsonObject state = QJsonDocument::fromJson(TelemetryMessages::state(m.id, QDateTime(), m.state)).object();
            state.insert(QStringLiteral("time"), m.state.time);
            kept.take(prefix + "state", QJsonDocument(state).toJson(QJsonDocument::Compact), m.lastMs);
        }
    }
    fleetIgnoredBefore_ += fleet_.ignored();
    fleet_ = kept;
}
