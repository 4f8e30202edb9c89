// knitjob: makes sample jobs, checks .cnt/.pat files and moves files to and from the
// controller. Each subcommand is its own source file registering itself in Subcommand's table
// (check, show, make here; fetch and send in transfercommands.cpp).
#include "subcommand.h"

#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>

static int usage(int status)
{
    QTextStream err(stderr);
    err << "usage: knitjob COMMAND [ARGS...]\n";
    for (const Subcommand::Entry &e : Subcommand::all())
        err << "  knitjob " << e.usage << "\n";
    return status;
}

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = QCoreApplication::arguments();
    args.removeFirst();
    if (args.isEmpty())
        return usage(Subcommand::kUsageError);
    const QString name = args.takeFirst();
    if (name == QLatin1String("help") || name == QLatin1String("--help") || name == QLatin1String("-h"))
        return usage(0);
    const Subcommand::Entry *cmd = Subcommand::find(name);
    if (!cmd) {
        QTextStream(stderr) << "knitjob: unknown command '" << name << "'\n";
        return usage(Subcommand::kUsageError);
    }
    return cmd->run(args);
}
