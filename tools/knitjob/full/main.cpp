// knitjob-full: knitjob's commands, which the plain front (tools/knitjob) runs for every command
// line it does not carry out itself or hand to knitjob-library. Each subcommand is its own source
// file registering itself in Subcommand's table (check, show, make, history here; fetch and send
// in transfercommands.cpp; push and library, handed on, in handedcommands.cpp) and reading its
// own options.
#include "subcommand.h"

#include "toolcommandline.h"

#include <QCoreApplication>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QString commands;
    for (const Subcommand::Entry &e : Subcommand::all())
        commands += QStringLiteral("  %1\n      %2\n").arg(e.usage, e.summary);
    ToolCommandLine cl(QStringLiteral("knitjob"),
                       QStringLiteral("Makes, checks and shows knitting jobs, and moves files to and from the "
                                      "controller.\n\nCommands (each with its own --help):\n")
                           + commands);
    cl.parser().addPositionalArgument(QStringLiteral("COMMAND"), QStringLiteral("One of the commands above, then its arguments."),
                                      QStringLiteral("COMMAND [ARGS...]"));
    // What follows the command is the command's to read.
    cl.parser().setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    int status = 0;
    if (!cl.parse(QCoreApplication::arguments().mid(1), &status))
        return status;
    QStringList args = cl.parser().positionalArguments();
    if (args.isEmpty())
        return cl.usageError(QStringLiteral("no command given; knitjob --help lists them"));
    const QString name = args.takeFirst();
    if (name == QLatin1String("help"))
        return cl.parse({QStringLiteral("--help")}, &status) ? 0 : status;
    const Subcommand::Entry *cmd = Subcommand::find(name);
    if (!cmd)
        return cl.usageError(QStringLiteral("unknown command '%1'").arg(name.left(40)));
    return cmd->run(args);
}
