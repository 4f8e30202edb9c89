#pragma once

#include <QByteArray>
#include <QString>

// Replaces the panel's program with a copy staged beside it, so that a power cut or a bad file
// never leaves a panel that cannot start: the staged copy is checked (a whole program for this
// panel, equal to the stick's file and to its ".sha256" line when the stick has one), made
// executable and flushed, the old program kept as "<target>.old", and only then renamed over
// the target. A refusal removes the staged copy and leaves the target as it was.
class ProgramInstaller
{
public:
    enum Result { Installed = 0, NotProgram = 1, NotEqual = 2, WriteFailed = 3 };
    // Larger files are no panel program (the stick read is bounded by it).
    static constexpr qint64 kMaxSize = 64 * 1024 * 1024;

    // Checks the staged copy of source (the stick's file, by its own bytes).
    static Result verify(const QByteArray &source, const QString &staged);
    // Keeps target as target.old and renames the verified staged copy over target.
    static Result commit(const QString &staged, const QString &target);
    // verify, then commit.
    static Result install(const QByteArray &source, const QString &staged, const QString &target);
    // Where a new program is staged: beside the target, as "<target>.new".
    static QString stagedPath(const QString &target);
    // Removes what an install cut off by a crash left beside target: the staged copy and the
    // link that was to become "<target>.old".
    static void removeLeftovers(const QString &target);
};
