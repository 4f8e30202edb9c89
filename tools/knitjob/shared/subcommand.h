#pragma once

#include <QString>
#include <QStringList>

#include <vector>

// The table of knitjob's subcommands. Each subcommand lives in its own source file and adds
// itself with a file-scope Subcommand::Registration, so new ones need no edit elsewhere.
class Subcommand
{
public:
    // Arguments after the subcommand's name; the return value is the process exit status.
    using Run = int (*)(const QStringList &args);

    struct Entry
    {
        QString name;
        QString usage;   // "make NAME [--dir D] ..."
        QString summary; // what it does, one line
        Run run;
    };

    struct Registration
    {
        Registration(const char *name, const char *usage, const char *summary, Run run);
    };

    static const std::vector<Entry> &all();
    static const Entry *find(const QString &name);

private:
    static std::vector<Entry> &table();
};
