#include "machinehistory.h"

#include "data/historylog.h"
#include "platform/logwriter.h"
#include "platform/panelpaths.h"
#include "platform/systemactions.h"

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
    alarms().append(HistoryLog::alarmLine(SystemActions::now(), QStringLiteral("raised"), type, code, text, screen.job,
                                          screen.row, screen.pieces));
}

void MachineHistory::alarmAcknowledged(const Screen &screen)
{
    if (!standing_)
        return;
    alarms().append(HistoryLog::alarmLine(SystemActions::now(), QStringLiteral("acknowledged"), type_, code_, text_,
                                          screen.job, screen.row, screen.pieces));
}

void MachineHistory::alarmCleared(const Screen &screen)
{
    if (!standing_)
        return;
    standing_ = false;
    alarms().append(HistoryLog::alarmLine(SystemActions::now(), QStringLiteral("cleared"), 0, 0, QString(), screen.job,
                                          screen.row, screen.pieces));
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
}

void MachineHistory::flush()
{
    if (alarms_)
        alarms_->flush();
    if (production_)
        production_->flush();
}
