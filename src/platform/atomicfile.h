#pragma once

#include <QByteArray>
#include <QString>

// Whole-file saves that never leave a half-written file: temporary file in the same folder,
// write, flush, fsync, rename over the old name, fsync the folder. Every writer uses this,
// either at once (save) or piece by piece (open, append, commit) for data that arrives over
// time. Until commit the old file stays as it was; a writer dropped uncommitted removes its
// temporary file.
class AtomicFile
{
public:
    explicit AtomicFile(const QString &path);
    ~AtomicFile();
    AtomicFile(const AtomicFile &) = delete;
    AtomicFile &operator=(const AtomicFile &) = delete;

    // Each false return carries the reason in error (if given); after a failed append or commit
    // the temporary file is already gone.
    bool open(QString *error = nullptr);
    bool append(const char *data, qint64 length, QString *error = nullptr);
    // durable: fsync the file and the folder, so the new file survives a power cut. Without it
    // readers still never see half a file (for the command-line tools, which promise no more
    // than cp does).
    bool commit(bool durable, QString *error = nullptr);
    void abort();

    // True when the whole data is on disk under path. On failure the old file is untouched,
    // the temporary file is removed and error (if given) says why.
    static bool save(const QString &path, const QByteArray &data, QString *error = nullptr);
    static bool save(const QString &path, const void *data, qint64 length, QString *error = nullptr);
    // The same for a path given by its own bytes (a stick file whose name is not UTF-8).
    static bool saveNative(const QByteArray &nativePath, const QByteArray &data, QString *error = nullptr);

    // Whether a file name has the shape of a temporary file of a save: "." NAME "." and six
    // letters or digits.
    static bool isTemporaryName(const QByteArray &name);
    // Removes the temporary files that saves cut off by a crash or a power cut left in the
    // folder (plain files of that shape only).
    static void removeTemporaries(const QString &dir);

    // Tests only: make writes fail with ENOSPC once this many bytes were written to one file
    // (-1 = off), a full disk emulated by the host build through $KNIT_ROOT/var/write-limit,
    // read when a file is opened.
    static void setWriteLimitForTesting(qint64 bytes);

private:
    struct Native {};
    AtomicFile(const QByteArray &nativePath, Native);
    void setPaths(const QByteArray &target, const QByteArray &dir, const QByteArray &fileName);
    bool saveAll(const void *data, qint64 length, QString *error);
    bool fail(int err, QString *error);

    QByteArray target_;
    QByteArray dir_;
    QByteArray tmp_;
    int fd_ = -1;
    qint64 written_ = 0;
    qint64 limit_ = -1; // bytes this file may take (the emulated full disk); -1: no limit
};
