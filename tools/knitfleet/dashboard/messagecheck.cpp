#include "messagecheck.h"

#include "jobfiles.h"

#include "data/historylog.h"
#include "telemetry/telemetrymessages.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>

namespace {

bool object(const QByteArray &payload, QJsonObject *o)
{
    if (payload.size() > TelemetryMessages::kMaxPayload)
        return false;
    const QJsonDocument doc = QJsonDocument::fromJson(payload);
    *o = doc.object();
    return doc.isObject();
}

// Absent, or a whole number in range (a fraction only where fraction is set).
bool number(const QJsonObject &o, const char *key, bool fraction = false)
{
    const QJsonValue v = o.value(QLatin1String(key));
    if (v.isUndefined())
        return true;
    const double d = v.toDouble(-1);
    return v.isDouble() && std::isfinite(d) && d >= 0 && d <= MessageCheck::kMaxNumber && (fraction || d == std::floor(d));
}

bool text(const QJsonObject &o, const char *key)
{
    const QJsonValue v = o.value(QLatin1String(key));
    return v.isUndefined() || v.isString();
}

// The object's texts, and its alarm's, made plain.
void plainObject(QJsonObject *o)
{
    for (auto it = o->begin(); it != o->end(); ++it) {
        if (it->isString())
            *it = TelemetryMessages::plainText(it->toString());
        else if (it->isObject()) {
            QJsonObject inner = it->toObject();
            plainObject(&inner);
            *it = inner;
        }
    }
}

} // namespace

bool MessageCheck::state(const QByteArray &payload, QByteArray *plain)
{
    QJsonObject o;
    *plain = payload;
    if (!object(payload, &o))
        return false;
    const QJsonValue alarm = o.value(QLatin1String("alarm"));
    const QJsonObject a = alarm.toObject();
    const QJsonValue running = o.value(QLatin1String("running"));
    const QJsonValue controller = o.value(QLatin1String("controller"));
    const bool controllerOk = controller.isUndefined() || controller == QLatin1String("online")
                              || controller == QLatin1String("offline");
    if (!(number(o, "row") && number(o, "rows") && number(o, "pieces") && number(o, "target") && number(o, "speed", true)
          && number(o, "knitting_s") && number(o, "stopped_s") && text(o, "job") && text(o, "time") && text(o, "machine")
          && text(o, "config_error")
          && (running.isUndefined() || running.isBool()) && controllerOk && (alarm.isUndefined() || alarm.isNull() || alarm.isObject())
          && number(a, "type") && number(a, "code") && text(a, "text")))
        return false;
    const QJsonObject given = o;
    plainObject(&o);
    if (o != given)
        *plain = QJsonDocument(o).toJson(QJsonDocument::Compact);
    return true;
}

bool MessageCheck::stop(const QByteArray &payload, const QString &machine, Stop *s)
{
    QJsonObject o;
    if (!object(payload, &o) || !number(o, "row") || !number(o, "pieces") || !text(o, "job") || !text(o, "machine"))
        return false;
    const QJsonValue code = o.value(QLatin1String("code"));
    const QJsonValue planned = o.value(QLatin1String("planned"));
    const QJsonValue name = o.value(QLatin1String("machine"));
    Stop p;
    p.since = o.value(QLatin1String("since")).toString();
    p.time = o.value(QLatin1String("time")).toString();
    p.text = o.value(QLatin1String("text")).toString();
    if (!code.isDouble() || code.toDouble() != std::floor(code.toDouble()) || code.toDouble() < 0 || code.toDouble() > 9
        || !planned.isBool() || !o.value(QLatin1String("text")).isString() || p.text.size() > kMaxStopText
        || (!name.isUndefined() && name.toString() != machine) || p.since.size() > 32 || p.time.size() > 32
        || !HistoryLog::parseTime(p.since.toLatin1()).isValid() || !HistoryLog::parseTime(p.time.toLatin1()).isValid())
        return false;
    p.code = code.toInt();
    p.planned = planned.toBool();
    p.text = TelemetryMessages::cleanText(p.text, kMaxStopText);
    p.job = TelemetryMessages::cleanText(o.value(QLatin1String("job")).toString());
    p.row = o.value(QLatin1String("row")).toInt();
    p.pieces = o.value(QLatin1String("pieces")).toInt();
    *s = p;
    return true;
}

QString MessageCheck::configError(const QByteArray &payload)
{
    if (!payload.contains("config_error"))
        return QString();
    const QJsonValue v = QJsonDocument::fromJson(payload).object().value(QLatin1String("config_error"));
    return v.isString() ? TelemetryMessages::cleanText(v.toString()) : QString();
}

bool MessageCheck::alarm(const QByteArray &payload, Record *r)
{
    QJsonObject o;
    if (!object(payload, &o) || !number(o, "type") || !number(o, "code") || !number(o, "row") || !number(o, "pieces")
        || !text(o, "text") || !text(o, "job"))
        return false;
    static const QLatin1String events[] = {QLatin1String("raised"), QLatin1String("acknowledged"), QLatin1String("cleared")};
    const QString event = o.value(QLatin1String("event")).toString();
    const QString time = o.value(QLatin1String("time")).toString();
    Record a;
    a.kind = Record::Alarm;
    for (int i = 0; i < 3; ++i)
        a.event = event == events[i] ? i + 1 : a.event;
    if (a.event == 0 || !HistoryLog::parseTime(time.toLatin1()).isValid())
        return false;
    a.panelTime = time;
    a.type = o.value(QLatin1String("type")).toInt();
    a.code = o.value(QLatin1String("code")).toInt();
    a.row = o.value(QLatin1String("row")).toInt();
    a.pieces = o.value(QLatin1String("pieces")).toInt();
    // Absent or emptied, a text is stored empty, never as NULL.
    a.text = QStringLiteral("") + TelemetryMessages::cleanText(o.value(QLatin1String("text")).toString());
    a.job = TelemetryMessages::cleanText(o.value(QLatin1String("job")).toString());
    *r = a;
    return true;
}

bool MessageCheck::jobEvent(const QByteArray &payload, JobEvent *e)
{
    QJsonObject o;
    if (!object(payload, &o) || !number(o, "version") || !text(o, "job") || !text(o, "time"))
        return false;
    JobEvent j;
    const QString event = o.value(QLatin1String("event")).toString();
    const QString source = o.value(QLatin1String("source")).toString();
    j.loaded = event == QLatin1String("loaded");
    j.fromLibrary = source == QLatin1String("library");
    j.job = JobFiles::name(TelemetryMessages::plainText(o.value(QLatin1String("job")).toString()).toUtf8());
    j.version = o.value(QLatin1String("version")).toInt();
    j.time = o.value(QLatin1String("time")).toString();
    if ((!j.loaded && event != QLatin1String("imported")) || (!j.fromLibrary && source != QLatin1String("usb")) || j.job.isEmpty()
        || j.time.size() > 32 || !HistoryLog::parseTime(j.time.toLatin1()).isValid())
        return false;
    static const QRegularExpression hex(QStringLiteral("^[0-9a-f]{64}$"));
    const QJsonValue sums = o.value(QLatin1String("sha256"));
    if (!sums.isUndefined() && !sums.isObject())
        return false;
    const char *const exts[3] = {"cnt", "pat", "wrk"};
    for (int i = 0; i < 3; ++i) {
        const QJsonValue v = sums.toObject().value(QLatin1String(exts[i]));
        j.sha256[i] = v.toString();
        if (!v.isUndefined() && (!v.isString() || !hex.match(j.sha256[i]).hasMatch()))
            return false;
    }
    *e = j;
    return true;
}
