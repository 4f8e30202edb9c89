#pragma once

#include <QCoreApplication>
#include <QString>
#include <QStringList>

// What both formatting chains share: the tools copied from the data root to the temporary
// folder, the log's result lines and the capacity line.
class FormatTools
{
    Q_DECLARE_TR_FUNCTIONS(FormatTools)

public:
    // data/tools/NAME copied to tmp/NAME (an older copy goes first).
    static void copyTool(const QString &name);
    static QString tmpTool(const QString &name);
    static bool hasTool(const QString &name); // its copy is in the temporary folder
    // "what............成功 !" or "what............失败 !".
    static QString result(const QString &what, bool ok);
    // "U盘容量: total     剩余容量: free" of the file system holding path (blank sizes when it
    // cannot be asked).
    static QString capacity(const QString &path);
    // The tool run on a device: "TOOL ARGS DEVICE"; its exit status.
    static int runTool(const QString &tool, const QStringList &args);
};
