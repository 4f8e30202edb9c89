#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QString>

#include <functional>

// Imports a whole knitting job from a folder of the USB stick into the job directory: finds
// the job's files whatever the case of their extensions, checks them, fills a hidden staging
// folder in the job directory and only then puts it in the job's place, so a failed or
// cancelled import leaves an existing job of that name as it was and a new job no trace.
class StickJobImport
{
    Q_DECLARE_TR_FUNCTIONS(StickJobImport)

public:
    struct Hooks
    {
        std::function<bool(const QString &question)> ask;
        std::function<void(const QString &text)> tell;
        // One file copied whole to a file of the job directory; false when it failed or was
        // cancelled.
        std::function<bool(const QByteArray &from, const QString &to)> copy;
    };

    StickJobImport(const QString &root, Hooks hooks);

    bool importWork = false;    // "F7. 导入工作参数": the stick's .wrk replaces the job's
    bool importPicture = false; // "F8. 导入运行图片": the stick's .xxx comes along

    // Imports the job of the stick file folder/fileName; the job's name when it succeeded,
    // else empty (the hooks have said why).
    QString run(const QByteArray &folder, const QByteArray &fileName);
    // At start-up: an import cut off by a crash between taking the old job out of its place and
    // putting the new one in leaves no job of that name; the old one goes back. What is left
    // staged or parked besides is removed.
    static void recover(const QString &root);

private:
    bool checked(const QByteArray &cnt, const QByteArray &pat);
    bool stage(const QString &name, const QByteArray &folder, const QByteArray &nameBytes, const QByteArray &cnt,
               const QByteArray &pat, bool replacing);
    bool putInPlace(const QString &name, bool replacing);

    QString root_;
    QString staging_;
    Hooks hooks_;
};
