#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>

// Files named by their own bytes, for media whose names need not be UTF-8 (a FAT stick mounted
// with code page 936): a name is never decoded on its way to the file system, so a file whose
// name is GBK opens as surely as any other.
class NativeFs
{
public:
    struct Entry
    {
        QByteArray name;
        bool dir = false;
        qint64 size = 0;
        QDateTime modified;
    };

    // Every name in the folder but "." and "..", links included; empty when it cannot be read.
    static QList<QByteArray> names(const QByteArray &dir);
    // The folder's files and folders, without ".", ".." and symbolic links (a stick has none,
    // and a link could lead off it). False when the folder cannot be read.
    static bool list(const QByteArray &dir, QList<Entry> *entries);
    // False when nothing is there or it is a link.
    static bool stat(const QByteArray &path, Entry *entry);
    static bool exists(const QByteArray &path);
    static bool isDir(const QByteArray &path);
    // A descriptor open for reading (the caller closes it), -1 when the file cannot be opened.
    static int openRead(const QByteArray &path);
    // At most limit bytes from the start of the file; false when it cannot be read.
    static bool read(const QByteArray &path, qint64 limit, QByteArray *out);
    static bool makeDir(const QByteArray &path);
    // Removes a file, a link or a whole folder tree (links are removed, never followed); true
    // when nothing is left.
    static bool remove(const QByteArray &path);
    // Renames from over to (a file of the same folder), then flushes the folder.
    static bool replace(const QByteArray &from, const QByteArray &to);
    // Renames from over to on the same file system; the folders' names are the caller's to flush.
    static bool rename(const QByteArray &from, const QByteArray &to);
    // Flushes the file, or the folder's list of names, to the disk.
    static bool sync(const QByteArray &path);
    // The folder a path names a file of ("." for a bare name).
    static QByteArray folderOf(const QByteArray &path);
    static QByteArray join(const QByteArray &dir, const QByteArray &name);
};
