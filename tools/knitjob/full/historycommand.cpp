// knitjob history LOGFILE [--csv]: the panel's alarm log or production record as an aligned
// table, or as the CSV the panel exports.
#include "subcommand.h"

#include "toolcommandline.h"

#include "data/historylog.h"

#include <QFileInfo>
#include <QTextStream>

#include <cstdio>

namespace {

const char kSummary[] = "Prints the panel's alarm log or production record as a table, or as the CSV the panel exports.";
int history(const QStringList &args);
const Subcommand::Registration historyCommand("history", "history LOGFILE [--csv]", kSummary, &history);

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
    ToolCommandLine cl(QStringLiteral("knitjob history"), QString::fromUtf8(kSummary));
    cl.parser().addPositionalArgument(QStringLiteral("LOGFILE"), QStringLiteral("log/alarms.log or log/production.log."));
    cl.parser().addOption({QStringLiteral("csv"), QStringLiteral("CSV instead of a table.")});
    int status = 0;
    if (!cl.parse(args, &status))
        return status;
    const bool csv = cl.parser().isSet(QStringLiteral("csv"));
    const QStringList files = cl.parser().positionalArguments();
    if (files.size() != 1)
        return cl.usageError(QStringLiteral("needs one LOGFILE"));
    if (!QFileInfo(files[0]).isReadable() || QFileInfo(files[0]).isDir())
        return cl.fail(EX_NOINPUT, QStringLiteral("cannot read %1").arg(files[0]));
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
        cl.fail(0, QStringLiteral("%1 damaged lines skipped").arg(read.skipped));
    return 0;
}

} // namespace
