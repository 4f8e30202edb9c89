// knitjob make NAME: writes a sample job (.cnt, .pat, .wrk, and .txt with the time it was made)
// that the panel can load.
#include "subcommand.h"

#include "jobmaker.h"
#include "toolcommandline.h"

#include "data/jobname.h"
#include "platform/panelpaths.h"

#include <QTextStream>

namespace {

const char kSummary[] = "Writes a sample job the panel loads and knits: NAME.cnt, NAME.pat, NAME.wrk and NAME.txt.";

int run(const QStringList &args)
{
    ToolCommandLine cl(QStringLiteral("knitjob make"), QString::fromUtf8(kSummary));
    QCommandLineParser &p = cl.parser();
    p.addPositionalArgument(QStringLiteral("NAME"), QStringLiteral("The job's name: a plain file name."));
    p.addOptions({{QStringLiteral("dir"), QStringLiteral("The folder the job folder is made in (default: the panel's job folder)."),
                   QStringLiteral("D")},
                  {QStringLiteral("rows"), QStringLiteral("The program's rows, 1 to %1 (default 16).").arg(JobMaker::kMaxRows),
                   QStringLiteral("R")},
                  {QStringLiteral("width"),
                   QStringLiteral("The pattern's width in pixels, %1 to %2 (default 64).").arg(JobMaker::kMinWidth).arg(JobMaker::kMaxWidth),
                   QStringLiteral("W")},
                  {QStringLiteral("height"),
                   QStringLiteral("The pattern's lines, %1 to %2 (default 16).").arg(JobMaker::kMinHeight).arg(JobMaker::kMaxHeight),
                   QStringLiteral("H")}});
    int status = 0;
    int rows = 16;
    int width = 64;
    int height = 16;
    if (!cl.parse(args, &status) || !cl.number(QStringLiteral("rows"), 1, JobMaker::kMaxRows, &rows, &status)
        || !cl.number(QStringLiteral("width"), JobMaker::kMinWidth, JobMaker::kMaxWidth, &width, &status)
        || !cl.number(QStringLiteral("height"), JobMaker::kMinHeight, JobMaker::kMaxHeight, &height, &status))
        return status;
    const QStringList names = p.positionalArguments();
    if (names.size() != 1)
        return cl.usageError(QStringLiteral("needs one NAME"));
    const QString name = names.first();
    if (!JobName::isSafe(name))
        return cl.usageError(QStringLiteral("'%1' is not a usable job name").arg(name.left(40)));
    const QString limits = JobMaker::validate(rows, width, height);
    if (!limits.isEmpty())
        return cl.usageError(limits);
    const QString dir = p.isSet(QStringLiteral("dir")) ? p.value(QStringLiteral("dir")) : PanelPaths::data(QStringLiteral("/wave"));
    QString error;
    if (!JobMaker::write(dir, name, rows, width, height, &error))
        return cl.fail(EX_CANTCREAT, error);
    QTextStream(stdout) << "made " << dir << "/" << name << " (" << rows << " rows, " << width << " x " << height
                        << " pattern)\n";
    return 0;
}

const Subcommand::Registration registration("make", "make NAME [--dir D] [--rows R] [--width W] [--height H]", kSummary, run);

} // namespace
