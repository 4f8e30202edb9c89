// knitjob-library: knitjob's commands for the office's job library (push, library), which the
// front and knitjob-full hand it whole ("knitjob COMMAND ARGS..."). Apart from knitjob-full so
// that only these commands load Qt Network, libcurl, their TLS and libcrypto.
#include "subcommand.h"

#include "toolcommandline.h"

#include <QCoreApplication>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = QCoreApplication::arguments().mid(1);
    const Subcommand::Entry *cmd = args.isEmpty() ? nullptr : Subcommand::find(args.takeFirst());
    if (!cmd)
        return ToolCommandLine(QStringLiteral("knitjob-library"), QString())
            .usageError(QStringLiteral("carries out knitjob push and knitjob library; run knitjob"));
    return cmd->run(args);
}
