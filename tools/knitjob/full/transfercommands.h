#pragma once

#include <QString>
#include <QStringList>

class ToolCommandLine;

// knitjob's "fetch" and "send": one TFTP transfer with the controller (KNIT_CONTROLLER_HOST),
// exit status 0 on success, else a one-line reason on standard error and its sysexits status.
class TransferCommands
{
public:
    static int fetch(const QStringList &args); // NAME [--to PATH]
    static int send(const QStringList &args);  // PATH [--as NAME]

private:
    static int transfer(const ToolCommandLine &cl, bool upload, const QString &localPath, const QString &remoteName);
};
