#pragma once

#include <QString>

// Directory and file operations done with file-system calls, never through a shell, so a
// name with blanks, quotes or semicolons is only ever a name.
class FsOps
{
public:
    static bool makeDir(const QString &path);      // with missing parents; true if it exists
    static bool removeTree(const QString &path);   // file or directory; true if gone afterwards
    // Copies a file (atomically saved) or a directory tree into dst (dst is the new name).
    // Links inside a tree are copied as links; a tree is never copied into itself.
    static bool copy(const QString &src, const QString &dst);
    // A copy of an executable stays executable, as with cp (the formatting tools are copied
    // before they are run).
    static bool copyFile(const QString &src, const QString &dst);
    // Renames within one file system, then flushes the folder; false when from is missing or
    // to exists.
    static bool rename(const QString &from, const QString &to);
    // Flushes the file systems (the panel's "sync" after every write).
    static void sync();
};
