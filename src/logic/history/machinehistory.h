#pragma once

#include <QDateTime>
#include <QString>

#include <memory>
#include <vector>

class HistoryObserver;
class LogWriter;

// What the main screen tells the machine's history: alarm events and production events, each
// becoming one line of the alarm log or the production record under the data root. Decides
// what is an event (a repeat of the alarm already standing is not; a clear with nothing
// standing is not) and leaves the disk to the log writers' own threads.
class MachineHistory
{
public:
    MachineHistory();
    ~MachineHistory();

    static QString alarmLogPath();
    static QString productionLogPath();

    // The main screen's state an event line carries.
    struct Screen
    {
        QString job;
        QString row;
        int pieces = 0;
        int target = 0;
    };

    void alarmRaised(int type, int code, const QString &text, const Screen &screen);
    void alarmAcknowledged(const Screen &screen);
    void alarmCleared(const Screen &screen);
    void piecesReported(const Screen &screen);
    void machineRan(bool started, const Screen &screen);
    // A reason picked for the stop that began at since: a line of the alarm log.
    void reasonGiven(const QDateTime &since, int code, bool planned, const QString &text, const Screen &screen);

    // Tests and shut-down: returns once every event so far is on disk.
    void flush();

    // Not owned: an observer is removed before it goes.
    void addObserver(HistoryObserver *observer);
    void removeObserver(HistoryObserver *observer);

private:
    void logAlarm(const QString &event, int type, int code, const QString &text, const Screen &screen);
    LogWriter &alarms();
    LogWriter &production();

    std::unique_ptr<LogWriter> alarms_;
    std::unique_ptr<LogWriter> production_;
    bool standing_ = false;
    int type_ = 0;
    int code_ = 0;
    QString text_;
    int pieces_ = -1;
    std::vector<HistoryObserver *> observers_;
};
