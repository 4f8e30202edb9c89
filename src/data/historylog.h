#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

// The machine's history kept in two text logs under the data root: the alarm log (raised,
// acknowledged, cleared, and the reasons given for stops) and the production record (pieces,
// starts and stops). One UTF-8 line per event, fields separated by one tab, the local time
// first. This class formats the lines, reads logs back whatever their state (partial last line,
// damaged or hostile lines are skipped and counted) and sums them up for the history page,
// knitjob and the CSV export.
class HistoryLog
{
public:
    // A line longer than this is damaged; so is a file beyond kMaxReadBytes (only its tail is read).
    static constexpr int kMaxLineBytes = 4096;
    static constexpr qint64 kMaxReadBytes = 4 << 20;

    // One parsed line: field 0 the time, field 1 the event, the rest as written. The line is
    // kept whole and its fields decoded on demand, so a big log reads with one allocation a line.
    struct Entry
    {
        QDateTime time;
        QString event;
        QByteArray line;
        int count = 0;     // fields
        quint16 cut[10]{}; // start of field i; cut[count] is the line's end + 1

        QString field(int i) const;
        int number(int i) const { return field(i).toInt(); }
        QStringList fields() const;
    };
    struct Read
    {
        QList<Entry> entries; // oldest first
        int skipped = 0;      // lines that were not whole events
    };

    // An alarm event: raised | acknowledged | cleared, with the main screen's state.
    struct AlarmEvent
    {
        QDateTime time;
        QString event;
        int type = 0;
        int code = 0;
        QString text;
        QString job;
        QString row;
        int pieces = 0;
    };
    static QByteArray alarmLine(const AlarmEvent &e);
    static QByteArray alarmLine(const QDateTime &time, const QString &event, int type, int code, const QString &text,
                                const QString &job, const QString &row, int pieces);
    // A reason the operator gave for a stop, kept in the alarm log: code, whether the stop is
    // planned, the reason's Chinese text, when the stop began, and the main screen's state.
    struct ReasonEvent
    {
        QDateTime time;
        QDateTime since;
        int code = 0;
        bool planned = false;
        QString text;
        QString job;
        QString row;
        int pieces = 0;
    };
    // An alarm line's shape: event "reason", the type field 1 for a planned stop, else 0.
    static QByteArray reasonLine(const ReasonEvent &e);
    // A production event: piece (job, pieces completed, target), start or stop (job).
    static QByteArray pieceLine(const QDateTime &time, const QString &job, int pieces, int target);
    static QByteArray runLine(const QDateTime &time, bool started, const QString &job);

    // Parses one line (without its newline); false for anything that is not a whole event.
    static bool parseLine(QByteArrayView line, Entry *entry);
    static Read parse(const QByteArray &text);
    // The log and its rotated predecessor (NAME.1.log) read oldest first.
    static Read readLog(const QString &path);

    // The ten alarms raised most often since from, with the seconds each stood (raised until
    // cleared or replaced by another alarm).
    struct Frequent
    {
        QString text;
        int type = 0;
        int code = 0;
        int count = 0;
        qint64 standingSeconds = 0;
    };
    static QList<Frequent> frequentAlarms(const QList<Entry> &alarms, const QDateTime &from, const QDateTime &now);

    // Pieces, knitting and stop seconds per day from the production record, days first to last.
    struct Day
    {
        QDate date;
        int pieces = 0;
        qint64 knittingSeconds = 0;
        qint64 stoppedSeconds = 0;
    };
    static QList<Day> days(const QList<Entry> &production, const QDate &first, const QDate &last, const QDateTime &now);

    // The entries as CSV (RFC 4180 quoting, CRLF lines) after a UTF-8 byte-order mark, with
    // the given header row.
    static QByteArray csv(const QStringList &header, const QList<Entry> &entries);
    static QStringList alarmHeader();
    static QStringList productionHeader();
    static bool isAlarmEvent(const QString &event);
    static QString csvField(const QString &field);

    static QString timeText(const QDateTime &time);
    // The log's times are wall-clock times as the panel showed them; entries carry them as UTC
    // values so that sums need no time-zone lookups. Convert "now" with this before comparing.
    static QDateTime wallClock(const QDateTime &time);
    static QDateTime parseTime(QByteArrayView text);
};
