#include "historylog.h"

#include "platform/logwriter.h"

#include <QFile>
#include <QHash>
#include <QMap>

#include <algorithm>

namespace {

const char kTimeFormat[] = "yyyy-MM-ddTHH:mm:ss";

// A field never carries the separators of the line.
QByteArray field(const QString &text)
{
    QString s = text;
    for (QChar &c : s) {
        if (c == QLatin1Char('\t') || c == QLatin1Char('\n') || c == QLatin1Char('\r') || c.unicode() == 0)
            c = QLatin1Char(' ');
    }
    return s.toUtf8();
}

QByteArray join(const QList<QByteArray> &fields)
{
    QByteArray line;
    for (const QByteArray &f : fields) {
        if (!line.isEmpty())
            line += '\t';
        line += f;
    }
    return line;
}

bool isNumber(QByteArrayView s)
{
    bool ok = false;
    (void)s.toInt(&ok);
    return ok;
}

// Adds the seconds of [from, to) to the days they fall on.
void spread(QMap<QDate, HistoryLog::Day> &days, QDateTime from, QDateTime to, bool knitting)
{
    if (days.isEmpty())
        return;
    // Only the days shown: a damaged log's year 1 beside year 9999 would otherwise walk
    // millions of days on the GUI thread.
    from = std::max(from, QDateTime(days.firstKey(), QTime(0, 0), Qt::UTC));
    to = std::min(to, QDateTime(days.lastKey().addDays(1), QTime(0, 0), Qt::UTC));
    while (from < to) {
        const QDateTime midnight(from.date().addDays(1), QTime(0, 0), Qt::UTC);
        const QDateTime end = std::min(to, midnight);
        auto it = days.find(from.date());
        if (it != days.end())
            (knitting ? it->knittingSeconds : it->stoppedSeconds) += from.secsTo(end);
        from = end;
    }
}

} // namespace

QDateTime HistoryLog::wallClock(const QDateTime &time)
{
    return QDateTime(time.date(), time.time(), Qt::UTC);
}

QString HistoryLog::timeText(const QDateTime &time)
{
    return time.toString(QLatin1String(kTimeFormat));
}

QByteArray HistoryLog::alarmLine(const QDateTime &time, const QString &event, int type, int code, const QString &text,
                                 const QString &job, const QString &row, int pieces)
{
    return join({field(timeText(time)), field(event), QByteArray::number(type), QByteArray::number(code), field(text),
                 field(job), field(row), QByteArray::number(pieces)});
}

QByteArray HistoryLog::alarmLine(const AlarmEvent &e)
{
    return alarmLine(e.time, e.event, e.type, e.code, e.text, e.job, e.row, e.pieces);
}

QByteArray HistoryLog::reasonLine(const ReasonEvent &e)
{
    return alarmLine(e.time, QStringLiteral("reason"), e.planned ? 1 : 0, e.code, e.text, e.job, e.row, e.pieces);
}

QByteArray HistoryLog::pieceLine(const QDateTime &time, const QString &job, int pieces, int target)
{
    return join({field(timeText(time)), "piece", field(job), QByteArray::number(pieces), QByteArray::number(target)});
}

QByteArray HistoryLog::runLine(const QDateTime &time, bool started, const QString &job)
{
    return join({field(timeText(time)), started ? "start" : "stop", field(job)});
}

bool HistoryLog::parseLine(QByteArrayView line, Entry *entry)
{
    if (line.isEmpty() || line.size() > kMaxLineBytes || line.contains('\0') || !line.isValidUtf8())
        return false;
    QByteArrayView f[9];
    quint16 cut[10]{};
    int n = 0;
    for (qsizetype start = 0;;) {
        const qsizetype tab = line.indexOf('\t', start);
        if (n == 9)
            return false;
        cut[n] = quint16(start);
        f[n++] = line.sliced(start, (tab < 0 ? line.size() : tab) - start);
        if (tab < 0)
            break;
        start = tab + 1;
    }
    cut[n] = quint16(line.size() + 1);
    const QDateTime time = parseTime(f[0]);
    if (n < 3 || !time.isValid())
        return false;
    // The alarm log's events (the reasons given for stops among them), then the production record's.
    static const QString kEvents[] = {QStringLiteral("raised"), QStringLiteral("acknowledged"), QStringLiteral("cleared"),
                                      QStringLiteral("reason"), QStringLiteral("piece"), QStringLiteral("start"),
                                      QStringLiteral("stop")};
    static const char *const kNames[] = {"raised", "acknowledged", "cleared", "reason", "piece", "start", "stop"};
    int kind = -1;
    for (int k = 0; k < 7 && kind < 0; ++k) {
        if (f[1] == kNames[k])
            kind = k;
    }
    bool ok = false;
    if (kind >= 0 && kind <= 3)
        ok = n == 8 && isNumber(f[2]) && isNumber(f[3]) && isNumber(f[7]);
    else if (kind == 4)
        ok = n == 5 && isNumber(f[3]) && isNumber(f[4]);
    else if (kind >= 5)
        ok = n == 3;
    if (!ok)
        return false;
    entry->time = time;
    entry->event = kEvents[kind];
    entry->line = line.toByteArray();
    entry->count = n;
    std::copy(cut, cut + 10, entry->cut);
    return true;
}

QString HistoryLog::Entry::field(int i) const
{
    if (i < 0 || i >= count)
        return QString();
    return QString::fromUtf8(QByteArrayView(line).sliced(cut[i], cut[i + 1] - 1 - cut[i]));
}

QStringList HistoryLog::Entry::fields() const
{
    QStringList out;
    for (int i = 0; i < count; ++i)
        out << field(i);
    return out;
}

QDateTime HistoryLog::parseTime(QByteArrayView t)
{
    // "yyyy-MM-ddTHH:mm:ss", read by hand: the general parser is the slow part of a big log.
    static const char shape[] = "dddd-dd-ddTdd:dd:dd";
    if (t.size() != 19)
        return QDateTime();
    for (int i = 0; i < 19; ++i) {
        const bool digit = t[i] >= '0' && t[i] <= '9';
        if (shape[i] == 'd' ? !digit : t[i] != shape[i])
            return QDateTime();
    }
    const auto num = [&t](int at, int len) {
        int v = 0;
        for (int i = at; i < at + len; ++i)
            v = v * 10 + (t[i] - '0');
        return v;
    };
    const QDate date(num(0, 4), num(5, 2), num(8, 2));
    const QTime time(num(11, 2), num(14, 2), num(17, 2));
    if (!date.isValid() || !time.isValid())
        return QDateTime();
    // Wall-clock times as written: no time zone lookups, and a day is always 86,400 s.
    return QDateTime(date, time, Qt::UTC);
}

HistoryLog::Read HistoryLog::parse(const QByteArray &text)
{
    Read r;
    r.entries.reserve(text.count('\n'));
    qsizetype start = 0;
    while (start < text.size()) {
        const qsizetype end = text.indexOf('\n', start);
        if (end < 0) {
            // Cut off mid-line (a power cut while it was written): not an event.
            ++r.skipped;
            break;
        }
        Entry e;
        if (parseLine(QByteArrayView(text).sliced(start, end - start), &e))
            r.entries.append(e);
        else
            ++r.skipped;
        start = end + 1;
    }
    return r;
}

HistoryLog::Read HistoryLog::readLog(const QString &path)
{
    Read all;
    for (const QString &p : {LogWriter::rotatedPath(path), path}) {
        QFile f(p);
        if (!f.open(QIODevice::ReadOnly))
            continue;
        // Only the tail of an oversized file; its first line is then partial.
        const qint64 size = f.size();
        bool cut = false;
        if (size > kMaxReadBytes) {
            f.seek(size - kMaxReadBytes);
            cut = true;
        }
        QByteArray text = f.read(kMaxReadBytes);
        if (cut) {
            const qsizetype nl = text.indexOf('\n');
            text = nl < 0 ? QByteArray() : text.mid(nl + 1);
            ++all.skipped;
        }
        const Read r = parse(text);
        all.entries += r.entries;
        all.skipped += r.skipped;
    }
    return all;
}

QList<HistoryLog::Frequent> HistoryLog::frequentAlarms(const QList<Entry> &alarms, const QDateTime &fromTime,
                                                         const QDateTime &nowTime)
{
    const QDateTime from = wallClock(fromTime);
    const QDateTime now = wallClock(nowTime);
    QHash<quint32, Frequent> byAlarm;
    quint32 standing = 0;
    bool isStanding = false;
    QDateTime since;
    auto close = [&](const QDateTime &at) {
        if (isStanding && byAlarm.contains(standing))
            byAlarm[standing].standingSeconds += std::max<qint64>(0, since.secsTo(at));
        isStanding = false;
    };
    for (const Entry &e : alarms) {
        if (e.event == QLatin1String("cleared")) {
            close(e.time);
            continue;
        }
        if (e.event != QLatin1String("raised"))
            continue;
        close(e.time);
        if (e.time < from)
            continue;
        const int type = e.number(2);
        const int code = e.number(3);
        const quint32 key = quint32(type & 0xffff) << 16 | quint32(code & 0xffff);
        Frequent &f = byAlarm[key];
        f.type = type;
        f.code = code;
        f.text = e.field(4);
        ++f.count;
        standing = key;
        since = e.time;
        isStanding = true;
    }
    close(now);
    QList<Frequent> list = byAlarm.values();
    std::sort(list.begin(), list.end(), [](const Frequent &a, const Frequent &b) {
        if (a.count != b.count)
            return a.count > b.count;
        if (a.standingSeconds != b.standingSeconds)
            return a.standingSeconds > b.standingSeconds;
        return a.type != b.type ? a.type < b.type : a.code < b.code;
    });
    return list.mid(0, 10);
}

QList<HistoryLog::Day> HistoryLog::days(const QList<Entry> &production, const QDate &first, const QDate &last,
                                        const QDateTime &nowTime)
{
    const QDateTime now = wallClock(nowTime);
    QMap<QDate, Day> days;
    for (QDate d = first; d <= last; d = d.addDays(1))
        days[d].date = d;
    // Before the first start or stop the state is unknown, so that time counts nowhere.
    enum { Unknown, Knitting, Stopped } state = Unknown;
    QDateTime since;
    for (const Entry &e : production) {
        if (e.event == QLatin1String("piece")) {
            auto it = days.find(e.time.date());
            if (it != days.end())
                ++it->pieces;
            continue;
        }
        const bool start = e.event == QLatin1String("start");
        if (state != Unknown)
            spread(days, since, e.time, state == Knitting);
        // A clock set back must not count the same hours twice: time runs on from the latest.
        if (state == Unknown || e.time > since)
            since = e.time;
        state = start ? Knitting : Stopped;
    }
    if (state != Unknown)
        spread(days, since, now, state == Knitting);
    return days.values();
}

QStringList HistoryLog::alarmHeader()
{
    return {QStringLiteral("时间"), QStringLiteral("事件"), QStringLiteral("类型"), QStringLiteral("代码"),
            QStringLiteral("报警内容"), QStringLiteral("花型"), QStringLiteral("行"), QStringLiteral("完成件数")};
}

QStringList HistoryLog::productionHeader()
{
    return {QStringLiteral("时间"), QStringLiteral("事件"), QStringLiteral("花型"), QStringLiteral("完成件数"),
            QStringLiteral("目标件数")};
}

bool HistoryLog::isAlarmEvent(const QString &event)
{
    return event == QLatin1String("raised") || event == QLatin1String("acknowledged") || event == QLatin1String("cleared")
           || event == QLatin1String("reason");
}

QString HistoryLog::csvField(const QString &field)
{
    if (!field.contains(QLatin1Char(',')) && !field.contains(QLatin1Char('"')) && !field.contains(QLatin1Char('\n'))
        && !field.contains(QLatin1Char('\r')))
        return field;
    QString quoted = field;
    quoted.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

QByteArray HistoryLog::csv(const QStringList &header, const QList<Entry> &entries)
{
    QByteArray out("\xEF\xBB\xBF");
    auto row = [&out](const QStringList &fields) {
        QStringList quoted;
        for (const QString &f : fields)
            quoted << csvField(f);
        out += quoted.join(QLatin1Char(',')).toUtf8() + "\r\n";
    };
    row(header);
    for (const Entry &e : entries)
        row(e.fields());
    return out;
}
