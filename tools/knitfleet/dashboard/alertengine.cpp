#include "alertengine.h"

#include "isotime.h"
#include "recorder.h"

#include <QJsonObject>

void AlertEngine::setRules(const AlertRules &rules)
{
    // New rules start afresh: what the old ones fired is theirs.
    rules_ = rules;
    watches_.clear();
}

bool AlertEngine::holds(const AlertRules::Rule &rule, const Recorder &recorder, const QString &machine, qint64 nowMs, qint64 *since,
                        QString *text) const
{
    const FleetState::Machine *m = recorder.fleet().find(machine);
    const bool offline = !m || m->online == 0 || m->state.offline;
    *since = -1;
    switch (rule.when) {
    case AlertRules::When::Stop: {
        const Recorder::Extra x = recorder.extra(machine, nowMs);
        *since = x.stopSince;
        *text = QStringLiteral("stands without a reason");
        return !offline && !m->state.running && x.stopSince >= 0 && x.code < 0;
    }
    case AlertRules::When::Alarm:
        *text = m ? m->state.alarmText : QString();
        return m && m->state.alarm && (rule.types.isEmpty() || rule.types.contains(m->state.alarmType));
    case AlertRules::When::Offline:
        *text = QStringLiteral("offline");
        return offline;
    case AlertRules::When::Availability: {
        const double a = recorder.extra(machine, nowMs).availability;
        *text = QStringLiteral("availability %1 % in this shift").arg(a * 100, 0, 'f', 1);
        return a >= 0 && a * 100 < rule.belowPct;
    }
    }
    return false;
}

void AlertEngine::check(const Recorder &recorder, qint64 nowMs)
{
    if (rules_.rules.isEmpty())
        return;
    const QList<FleetState::Machine> machines = recorder.fleet().sorted();
    for (int i = 0; i < rules_.rules.size(); ++i) {
        const AlertRules::Rule &rule = rules_.rules[i];
        for (const FleetState::Machine &m : machines) {
            if (!rules_.appliesTo(rule, m.id))
                continue;
            qint64 since = -1;
            QString text;
            const bool now = holds(rule, recorder, m.id, nowMs, &since, &text);
            const QString key = rule.name + QLatin1Char('\n') + m.id;
            auto it = watches_.find(key);
            if (it == watches_.end() && !now)
                continue;
            if (it == watches_.end())
                it = watches_.insert(key, Watch());
            Watch &w = *it;
            if (now) {
                w.since = since >= 0 ? since : w.since >= 0 ? w.since : nowMs;
                w.text = text;
                const bool cooled = w.firedMs < 0 || nowMs - w.firedMs >= qint64(rule.cooldownS) * 1000;
                if (!w.fired && cooled && nowMs - w.since >= qint64(rule.afterS) * 1000) {
                    w.fired = true;
                    w.firedMs = nowMs;
                    if (send_)
                        send_(rule, Event{i, m.id, true, w.since, nowMs, text});
                }
                continue;
            }
            if (w.fired && send_)
                send_(rule, Event{i, m.id, false, w.since, nowMs, w.text});
            w.fired = false;
            w.since = -1;
            if (w.firedMs < 0 || nowMs - w.firedMs >= qint64(rule.cooldownS) * 1000)
                watches_.erase(it);
        }
    }
}

void AlertEngine::logged(const AlertRules::Rule &rule, const Event &e, const QString &channel, const QString &outcome, qint64 nowMs)
{
    if (log_.size() >= std::size_t(kMaxLog))
        log_.pop_back();
    log_.push_front(QJsonObject{{QStringLiteral("time"), IsoTime::text(nowMs)},
                                {QStringLiteral("rule"), rule.name},
                                {QStringLiteral("machine"), e.machine},
                                {QStringLiteral("event"), e.fired ? QStringLiteral("fired") : QStringLiteral("ended")},
                                {QStringLiteral("since"), IsoTime::text(e.sinceMs)},
                                {QStringLiteral("text"), e.text},
                                {QStringLiteral("channel"), channel},
                                {QStringLiteral("outcome"), outcome}});
}

QJsonArray AlertEngine::log() const
{
    QJsonArray out;
    for (const QJsonObject &o : log_)
        out.append(o);
    return out;
}
