#pragma once

#include "data/historylog.h"
#include "data/jobevents.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

// The telemetry's topics and JSON payloads (UTF-8): the machine's state as the main screen shows
// it, each alarm event as its log line carries it and each reason given for a stop. Reading a
// state back is bounded, so a hostile or damaged message cannot grow a reader's memory or reach
// its terminal as control characters.
class TelemetryMessages
{
public:
    static constexpr int kMaxPayload = 4096;
    static constexpr int kMaxText = 64;

    struct State
    {
        QString time; // as published; filled when read back
        QString job;
        int row = 0;
        int rows = 0;
        int pieces = 0;
        int target = 0;
        double speed = 0;
        bool running = false;
        bool offline = false; // the controller does not answer the panel
        bool alarm = false; // standing; then its type, code and text
        int alarmType = 0;
        int alarmCode = 0;
        QString alarmText;
        qint64 knittingSeconds = 0;
        qint64 stoppedSeconds = 0;
        QString configError; // why the panel refuses a reason list; empty while the list is good

        // Equal in everything but the time.
        bool sameAs(const State &other) const;
    };

    // knit/<machine>/<leaf>: leaf is state, alarm, stop, job, status, config or offer.
    static QByteArray topic(const QString &machine, const char *leaf);
    static QByteArray state(const QString &machine, const QDateTime &time, const State &s);
    static QByteArray alarm(const QString &machine, const HistoryLog::AlarmEvent &e);
    static QByteArray stop(const QString &machine, const HistoryLog::ReasonEvent &e);
    // A job imported or loaded: {"event","job","version","source","sha256":{"cnt","pat","wrk"},"time"}.
    static QByteArray job(const JobEvents::Event &e, const QDateTime &time);
    // False for anything but a JSON object of at most kMaxPayload bytes; fields of the wrong
    // type or range keep their defaults, texts are cut to kMaxText and lose control and format
    // characters.
    static bool readState(const QByteArray &payload, State *s);
    static QString cleanText(const QString &text, int max = kMaxText);
    // The text without format characters (the bidirectional controls U+202A-202E and
    // U+2066-2069, U+200E/F, zero-width ones...) and line or paragraph separators: a name
    // cannot show as another ("J0\u202egnp.exe" as "J0exe.png").
    static QString plainText(const QString &text);
};
