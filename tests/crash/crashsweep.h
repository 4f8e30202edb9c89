#pragma once

#include "simprocess.h"

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <random>

class DiskCheck;

// Cuts each save off at every one of its steps (KNIT_CRASH_AT) and by kill -9 at random
// moments, each time in a child on a copy of the old root; then judges the disk, starts the
// panel on it and judges it again. Prints the figures per save path.
class CrashSweep
{
public:
    struct Options
    {
        QStringList paths;  // all when empty
        int random = 35;    // kill -9 moments per path
        unsigned seed = 1;
        bool verbose = false;
    };

    explicit CrashSweep(const Options &options);
    // 0 when no file was found partial and every start reached the main screen.
    int run();

private:
    struct Tally
    {
        int steps = 0;
        int random = 0;
        int partial = 0;      // after start-up: neither old nor new, a torn log, a temporary
        int mended = 0;       // what the kill left so and start-up put right
        int leftovers = 0;    // after start-up: files neither old nor new has
        int failedStarts = 0;
        int errors = 0;       // a save that failed uncut, a child that did not end as asked
    };

    bool setUp(QString *why);
    Tally sweep(const QString &path);
    void judge(const DiskCheck &check, const QString &root, const QString &what, Tally *tally);
    int child(const QString &root, const QStringList &args, long long crashAt = 0, QByteArray *out = nullptr);
    QString freshCopy(const QString &from, const QString &name);
    void note(const QString &what, const QStringList &paths, const QString &kind);

    Options options_;
    std::mt19937 random_;
    SimProcess sim_;
    QTemporaryDir dir_;
    QString base_;
};
