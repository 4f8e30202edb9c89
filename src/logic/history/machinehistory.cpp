#include "machinehistory.h"

#include "data/historylog.h"
#include "data/historyobserver.h"
#include "platform/logwriter.h"
#include "platform/panelpaths.h"
#include "platform/systemactions.h"

#include <algorithm>

namespace {
// A jump in the piece count beyond this is a new count (another job), not pieces knitted.
constexpr int kMaxPiecesPerReport = 100;
}

MachineHistory::MachineHistory() = default;
MachineHistory::~MachineHistory() = default;

QString MachineHistory::alarmLogPath()
{
    return PanelPaths::data(QStringLiteral("/log/alarms.log"));
}

QString MachineHistory::productionLogPath()
{
    return PanelPaths::data(QStringLiteral("/log/production.log"));
}

LogWriter &MachineHistory::alarms()
{
    if (!alarms_)
        alarms_ = std::make_unique<LogWriter>(alarmLogPath());
    return *alarms_;
}

LogWriter &MachineHistory::production()
{
    if (!production_)
        production_ = std::make_unique<LogWriter>(productionLogPath());
    return *production_;
}

void MachineHistory::alarmRaised(int type, int code, const QString &text, const Screen &screen)
{
    if (standing_ && type == type_ && code == code_)
        return;
    standing_ = true;
    type_ = type;
    code_ = code;
    text_ = text;
    logAlarm(QStringLiteral("raised"), type, code, text, screen);
}

void MachineHistory::alarmAcknowledged(const Screen &screen)
{
    if (!standing_)
        return;
    logAlarm(QStringLiteral("acknowledged"), type_, code_, text_, screen);
}

void MachineHistory::alarmCleared(const Screen &screen)
{
    if (!standing_)
        return;
    standing_ = false;
    logAlarm(QStringLiteral("cleared"), 0, 0, QString(), screen);
}

void MachineHistory::piecesReported(const Screen &screen)
{
    const int before = pieces_;
    pieces_ = screen.pieces;
    if (before < 0 || screen.pieces <= before || screen.pieces - before > kMaxPiecesPerReport)
        return;
    // One line per piece, so a day's pieces are its lines.
    for (int p = before + 1; p <= screen.pieces; ++p)
        production().append(HistoryLog::pieceLine(SystemActions::now(), screen.job, p, screen.target));
}

void MachineHistory::machineRan(bool started, const Screen &screen)
{
    production().append(HistoryLog::runLine(SystemActions::now(), started, screen.job));
    for (HistoryObserver *o : observers_)
        o->runLogged(started);
}

void MachineHistory::reasonGiven(const QDateTime &since, int code, bool planned, const QString &text, const Screen &screen)
{
    const HistoryLog::ReasonEvent e{SystemActions::now(), since, code, planned, text, screen.job, screen.row, screen.pieces};
    alarms().append(HistoryLog::reasonLine(e));
    for (HistoryObserver *o : observers_)
        o->reasonLogged(e);
}

void MachineHistory::logAlarm(const QString &event, int type, int code, const QString &text, const Screen &screen)
{
    const HistoryLog::AlarmEvent e{SystemActions::now(), event, type, code, text, screen.job, screen.row, screen.pieces};
    alarms().append(HistoryLog::alarmLine(e));
    for (HistoryObserver *o : observers_)
        o->alarmLogged(e);
}

void MachineHistory::addObserver(HistoryObserver *observer)
{
    if (observer && std::find(observers_.begin(), observers_.end(), observer) == observers_.end())
        observers_.push_back(observer);
}

void MachineHistory::removeObserver(HistoryObserver *observer)
{
    observers_.erase(std::remove(observers_.begin(), observers_.end(), observer), observers_.end());
}

void MachineHistory::flush()
{
    if (alarms_)
        alarms_->flush();
    if (production_)
        production_->flush();
}
