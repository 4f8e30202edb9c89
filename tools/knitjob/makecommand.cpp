// knitjob make NAME: writes a sample job (.cnt, .pat, .wrk, and .txt with the time it was made)
// that the panel can load.
#include "subcommand.h"

#include "jobmaker.h"
#include "platform/panelpaths.h"

#include <QTextStream>

namespace {

const char kUsage[] = "make NAME [--dir D] [--rows R] [--width W] [--height H]";

int run(const QStringList &args)
{
    QTextStream err(stderr);
    QString name;
    QString dir = PanelPaths::data(QStringLiteral("/wave"));
    int rows = 16;
    int width = 64;
    int height = 16;
    for (int i = 0; i < args.size(); ++i) {
        const QString &a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == QLatin1String("--dir") && hasValue) {
            dir = args[++i];
            continue;
        }
        int *number = a == QLatin1String("--rows") ? &rows
            : a == QLatin1String("--width")        ? &width
            : a == QLatin1String("--height")       ? &height
                                                   : nullptr;
        if (number && hasValue) {
            bool ok = false;
            *number = args[++i].toInt(&ok);
            if (!ok) {
                err << "knitjob make: " << a << " needs a number\n";
                return Subcommand::kUsageError;
            }
        } else if (!number && name.isNull() && !a.startsWith(QLatin1String("--"))) {
            name = a;
        } else {
            err << "usage: knitjob " << kUsage << "\n";
            return Subcommand::kUsageError;
        }
    }
    if (name.isNull()) {
        err << "usage: knitjob " << kUsage << "\n";
        return Subcommand::kUsageError;
    }
    QString error;
    if (!JobMaker::write(dir, name, rows, width, height, &error)) {
        err << "knitjob make: " << error << "\n";
        return 1;
    }
    QTextStream(stdout) << "made " << dir << "/" << name << " (" << rows << " rows, " << width << " x " << height
                        << " pattern)\n";
    return 0;
}

const Subcommand::Registration registration("make", kUsage, run);

} // namespace
