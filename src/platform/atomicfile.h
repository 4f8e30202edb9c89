#pragma once

#include <QByteArray>
#include <QString>

// Whole-file saves that never leave a half-written file: temporary file in the same folder,
// write, flush, fsync, rename over the old name, fsync the folder. Every writer uses this.
class AtomicFile
{
public:
    // True when the whole data is on disk under path. On failure the old file is untouched,
    // the temporary file is removed and error (if given) says why.
    static bool save(const QString &path, const QByteArray &data, QString *error = nullptr);
    static bool save(const QString &path, const void *data, qint64 length, QString *error = nullptr);

    // Tests only: make writes fail with ENOSPC once this many bytes were written (-1 = off).
    static void setWriteLimitForTesting(qint64 bytes);
};
