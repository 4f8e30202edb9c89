#include "telemetrymessages.h"

#include "data/librarylisting.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>

#include <algorithm>
#include <cmath>

namespace {

constexpr double kMaxNumber = 1e9;

int intField(const QJsonObject &o, const char *key)
{
    const QJsonValue v = o.value(QLatin1String(key));
    const double d = v.toDouble(-1);
    return v.isDouble() && d >= 0 && d <= kMaxNumber ? int(d) : 0;
}

QString textField(const QJsonObject &o, const char *key)
{
    return TelemetryMessages::cleanText(o.value(QLatin1String(key)).toString());
}

} // namespace

bool TelemetryMessages::State::sameAs(const State &o) const
{
    return job == o.job && row == o.row && rows == o.rows && pieces == o.pieces && target == o.target && speed == o.speed
           && running == o.running && offline == o.offline && alarm == o.alarm && alarmType == o.alarmType && alarmCode == o.alarmCode
           && alarmText == o.alarmText && knittingSeconds == o.knittingSeconds && stoppedSeconds == o.stoppedSeconds
           && configError == o.configError;
}

QByteArray TelemetryMessages::topic(const QString &machine, const char *leaf)
{
    return "knit/" + machine.toUtf8() + '/' + leaf;
}

QByteArray TelemetryMessages::state(const QString &machine, const QDateTime &time, const State &s)
{
    QJsonObject o{{QStringLiteral("machine"), machine},
                  {QStringLiteral("time"), HistoryLog::timeText(time)},
                  {QStringLiteral("job"), s.job},
                  {QStringLiteral("row"), s.row},
                  {QStringLiteral("rows"), s.rows},
                  {QStringLiteral("pieces"), s.pieces},
                  {QStringLiteral("target"), s.target},
                  {QStringLiteral("speed"), s.speed},
                  {QStringLiteral("running"), s.running},
                  {QStringLiteral("controller"), s.offline ? QStringLiteral("offline") : QStringLiteral("online")},
                  {QStringLiteral("knitting_s"), s.knittingSeconds},
                  {QStringLiteral("stopped_s"), s.stoppedSeconds}};
    o.insert(QStringLiteral("alarm"), s.alarm ? QJsonValue(QJsonObject{{QStringLiteral("type"), s.alarmType},
                                                                       {QStringLiteral("code"), s.alarmCode},
                                                                       {QStringLiteral("text"), s.alarmText}})
                                              : QJsonValue(QJsonValue::Null));
    if (!s.configError.isEmpty())
        o.insert(QStringLiteral("config_error"), s.configError);
    return QJsonDocument(o).toJson(QJsonDocument::Compact);
}

QByteArray TelemetryMessages::alarm(const QString &machine, const HistoryLog::AlarmEvent &e)
{
    const QJsonObject o{{QStringLiteral("machine"), machine},
                        {QStringLiteral("time"), HistoryLog::timeText(e.time)},
                        {QStringLiteral("event"), e.event},
                        {QStringLiteral("type"), e.type},
                        {QStringLiteral("code"), e.code},
                        {QStringLiteral("text"), e.text},
                        {QStringLiteral("job"), e.job},
                        {QStringLiteral("row"), e.row.toInt()},
                        {QStringLiteral("pieces"), e.pieces}};
    return QJsonDocument(o).toJson(QJsonDocument::Compact);
}

QByteArray TelemetryMessages::stop(const QString &machine, const HistoryLog::ReasonEvent &e)
{
    const QJsonObject o{{QStringLiteral("machine"), machine},
                        {QStringLiteral("time"), HistoryLog::timeText(e.time)},
                        {QStringLiteral("since"), HistoryLog::timeText(e.since)},
                        {QStringLiteral("code"), e.code},
                        {QStringLiteral("planned"), e.planned},
                        {QStringLiteral("text"), e.text},
                        {QStringLiteral("job"), e.job},
                        {QStringLiteral("row"), e.row.toInt()},
                        {QStringLiteral("pieces"), e.pieces}};
    return QJsonDocument(o).toJson(QJsonDocument::Compact);
}

QByteArray TelemetryMessages::job(const JobEvents::Event &e, const QDateTime &time)
{
    QJsonObject digests;
    for (int i = 0; i < 3; ++i)
        digests.insert(QLatin1String(LibraryListing::kExtensions[i]), QString::fromLatin1(e.sha256[i]));
    const QJsonObject o{{QStringLiteral("event"), e.event},
                        {QStringLiteral("job"), e.job},
                        {QStringLiteral("version"), e.version},
                        {QStringLiteral("source"), e.source},
                        {QStringLiteral("sha256"), digests},
                        {QStringLiteral("time"), HistoryLog::timeText(time)}};
    return QJsonDocument(o).toJson(QJsonDocument::Compact);
}

bool TelemetryMessages::readState(const QByteArray &payload, State *s)
{
    if (payload.size() > kMaxPayload)
        return false;
    const QJsonDocument doc = QJsonDocument::fromJson(payload);
    if (!doc.isObject())
        return false;
    const QJsonObject o = doc.object();
    State r;
    r.time = cleanText(o.value(QLatin1String("time")).toString(), 32);
    r.job = textField(o, "job");
    r.row = intField(o, "row");
    r.rows = intField(o, "rows");
    r.pieces = intField(o, "pieces");
    r.target = intField(o, "target");
    const double speed = o.value(QLatin1String("speed")).toDouble();
    r.speed = std::isfinite(speed) && speed >= 0 && speed <= kMaxNumber ? speed : 0;
    r.running = o.value(QLatin1String("running")).toBool();
    r.offline = o.value(QLatin1String("controller")).toString() == QLatin1String("offline");
    const QJsonObject alarm = o.value(QLatin1String("alarm")).toObject();
    r.alarm = o.value(QLatin1String("alarm")).isObject();
    r.alarmType = intField(alarm, "type");
    r.alarmCode = intField(alarm, "code");
    r.alarmText = textField(alarm, "text");
    r.knittingSeconds = intField(o, "knitting_s");
    r.stoppedSeconds = intField(o, "stopped_s");
    *s = r;
    return true;
}

QString TelemetryMessages::cleanText(const QString &text, int max)
{
    QString out;
    for (const QChar c : text.left(max)) {
        const ushort u = c.unicode();
        if (u >= 0x20 && u != 0x7f && (u < 0x80 || u > 0x9f))
            out += c;
    }
    return plainText(out);
}

QString TelemetryMessages::plainText(const QString &text)
{
    const auto hidden = [](char32_t c) {
        const QChar::Category k = QChar::category(c);
        return k == QChar::Other_Format || k == QChar::Separator_Line || k == QChar::Separator_Paragraph;
    };
    QList<uint> ucs = text.toUcs4();
    if (std::none_of(ucs.begin(), ucs.end(), hidden))
        return text;
    ucs.removeIf(hidden);
    return QString::fromUcs4(reinterpret_cast<const char32_t *>(ucs.constData()), ucs.size());
}
