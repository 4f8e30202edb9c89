#pragma once

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QString>
#include <QStringList>

#include <sysexits.h>

// The command line of knitjob and knitfleet as Debian's tools answer: --help and --version on
// standard output with status 0; a usage error is one line naming the option on standard error
// with status 64; every other failure one line and its sysexits(3) status.
class ToolCommandLine
{
public:
    // what: "knitjob" or "knitjob make", as messages start.
    ToolCommandLine(const QString &what, const QString &description);

    // Options and arguments are added to it before parse().
    QCommandLineParser &parser() { return parser_; }
    const QCommandLineParser &parser() const { return parser_; }
    // args: what follows the program's (or the command's) name. False when the program ends
    // here with *status: after --help or --version (0), or a usage error (64).
    bool parse(const QStringList &args, int *status);
    // A whole number in [min, max] for option; false after a usage error.
    bool number(const QString &option, int min, int max, int *value, int *status) const;

    // One line "what: message" on standard error; returns status.
    int fail(int status, const QString &message) const;
    int usageError(const QString &message) const { return fail(EX_USAGE, message); }

private:
    QString what_;
    QCommandLineParser parser_;
    QCommandLineOption help_;
    QCommandLineOption version_;
};
