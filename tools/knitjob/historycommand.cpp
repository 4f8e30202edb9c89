// knitjob history LOGFILE [--csv]: the panel's alarm log or production record as an aligned
// table, or as the CSV the panel exports.
#include "subcommand.h"

#include "data/historylog.h"

#include <QFile>
#include <QTextStream>

#include <cstdio>

namespace {

int history(const QStringList &args);
const Subcommand::Registration historyCommand("history", "history LOGFILE [--csv]", &history);

// Columns on a terminal: CJK characters take two.
int displayWidth(const QString &s)
{
    int w = 0;
    for (const QChar c : s)
        w += c.unicode() >= 0x1100 ? 2 : 1;
    return w;
}

int history(const QStringList &args)
{
    const bool csv = args.contains(QStringLiteral("--csv"));
    QStringList files = args;
    files.removeAll(QStringLiteral("--csv"));
    if (files.size() != 1 || files[0].startsWith(QLatin1String("--"))) {
        QTextStream(stderr) << "usage: knitjob history LOGFILE [--csv]\n";
        return Subcommand::kUsageError;
    }
    if (!QFile::exists(files[0])) {
        QTextStream(stderr) << "knitjob: history: cannot read " << files[0] << "\n";
        return 1;
    }
    const HistoryLog::Read read = HistoryLog::readLog(files[0]);
    if (csv) {
        const bool alarms = read.entries.isEmpty() || HistoryLog::isAlarmEvent(read.entries.first().event);
        const QByteArray text = HistoryLog::csv(alarms ? HistoryLog::alarmHeader() : HistoryLog::productionHeader(),
                                                read.entries);
        std::fwrite(text.constData(), 1, size_t(text.size()), stdout);
    } else {
        QList<int> widths;
        for (const HistoryLog::Entry &e : read.entries) {
            for (int i = 0; i < e.count; ++i) {
                if (i >= widths.size())
                    widths.append(0);
                widths[i] = qMax(widths[i], displayWidth(e.field(i)));
            }
        }
        QTextStream out(stdout);
        for (const HistoryLog::Entry &e : read.entries) {
            QString line;
            const QStringList fields = e.fields();
            for (int i = 0; i < fields.size(); ++i)
                line += fields[i] + QString(widths[i] - displayWidth(fields[i]) + 2, QLatin1Char(' '));
            out << line.trimmed() << "\n";
        }
    }
    if (read.skipped > 0)
        QTextStream(stderr) << "knitjob: history: " << read.skipped << " damaged lines skipped\n";
    return 0;
}

} // namespace
