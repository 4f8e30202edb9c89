// knitjob library list|fetch: the panel's way to the office's job library. The machine's
// settings and token come from library.ini under the panel's data root (KNIT_ROOT), never from
// the command line or the environment, where other users could read the token.
#include "libraryclient.h"
#include "officecommand.h"
#include "sha256stream.h"
#include "subcommand.h"
#include "toolcommandline.h"

#include "data/librarylisting.h"
#include "platform/fsops.h"
#include "platform/nativefs.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>

#include <cstdio>
#include <memory>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

namespace {

// "progress" lines at most this many points apart unless this long has passed: a fast fetch
// does not wake the panel for every piece it receives, a slow one still moves on screen.
constexpr int kProgressStep = 5;
constexpr qint64 kProgressEveryMs = 100;

// A session's request line: an action and six fields, each a name, a path or a digest.
constexpr int kMaxRequestBytes = 8192;

struct Session
{
    ToolCommandLine &cl;
    LibraryConfig config;
    std::unique_ptr<LibraryClient> client; // one for all the session's requests: its connection is kept
    // The panel's helper: the fetched folder is a hand-off the panel empties at once into its
    // staging folder, syncing each file as it moves it and that folder's names after them, so
    // the disk only starts writing here and the panel's checks run while it does.
    bool handOff = false;
};

// The library's list of released versions; false after a failure line with *status.
bool listed(Session &s, QList<LibraryListing::Job> *jobs, int *status)
{
    QByteArray answer;
    QString why;
    const LibraryClient::Fault fault = s.client->get(QStringLiteral("/api/library"), LibraryListing::kMaxAnswerBytes,
                                                  [&answer](const QByteArray &piece, qint64) { answer += piece; return true; }, &why);
    if (fault != LibraryClient::None) {
        *status = s.cl.fail(LibraryClient::exitStatus(fault), why);
        return false;
    }
    if (!LibraryListing::fromJson(answer, jobs, &why)) {
        *status = s.cl.fail(EX_DATAERR, why);
        return false;
    }
    return true;
}

// The file's writeback started, not waited for.
bool startWriting(QFile &file)
{
    return file.flush() && ::sync_file_range(file.handle(), 0, 0, SYNC_FILE_RANGE_WRITE) == 0;
}

// The job's three files into folder, all three asked for at once, each digest taken as the file
// is written and compared with the one the panel listed; "progress PERCENT" lines of the three
// files' whole. The disk starts writing each file as soon as it is whole, while the others still
// arrive, so whoever syncs it later waits for less; files stay open for fetch()'s fsync. The
// files are unbuffered: each piece goes to the disk's cache at once, with no copy between.
int fetchFiles(Session &s, const LibraryListing::Job &job, const QString &folder, QFile (&files)[3])
{
    Sha256Stream sha[3];
    bool writing[3] = {false, false, false}; // its writeback started once it was whole
    int percents[3] = {0, 0, 0};
    int shownPercent = -1;
    QElapsedTimer shown;
    int unwritten = 0; // the file a write failed on
    QTextStream progress(stdout);
    std::vector<LibraryClient::Get> gets;
    // The pattern first: it is most of a job's bytes, and the office answers in the order it
    // is asked, so the longest answer starts arriving first and the short ones come beside it.
    for (const int which : {1, 0, 2}) {
        const QString fileName = job.name + QLatin1Char('.') + QLatin1String(LibraryListing::kExtensions[which]);
        QFile &out = files[which];
        out.setFileName(folder + QLatin1Char('/') + fileName);
        if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered))
            return s.cl.fail(EX_CANTCREAT, QStringLiteral("cannot write %1: %2").arg(out.fileName(), out.errorString()));
        qint64 done = 0;
        const auto sink = [&, which, done](const QByteArray &piece, qint64 length) mutable {
            sha[which].addData(piece);
            if (files[which].write(piece) != piece.size()) {
                unwritten = which;
                return false;
            }
            done += piece.size();
            if (done == length && !(writing[which] = startWriting(files[which]))) {
                unwritten = which;
                return false;
            }
            percents[which] = length > 0 ? int(qMin<qint64>(100, done * 100 / length)) : 100;
            const int percent = (percents[0] + percents[1] + percents[2]) / 3;
            if (percent != shownPercent
                && (shownPercent < 0 || percent == 100 || percent >= shownPercent + kProgressStep || shown.hasExpired(kProgressEveryMs))) {
                shownPercent = percent;
                shown.start();
                progress << "progress " << percent << '\n';
                progress.flush();
            }
            return true;
        };
        gets.push_back({QStringLiteral("/api/library/%1/%2/%3")
                            .arg(QString::fromLatin1(QUrl::toPercentEncoding(job.name)))
                            .arg(job.version)
                            .arg(QString::fromLatin1(QUrl::toPercentEncoding(fileName))),
                        LibraryListing::kMaxFileBytes, sink});
    }
    QString why;
    const LibraryClient::Fault fault = s.client->getAll(gets, &why);
    if (fault == LibraryClient::Sink)
        return s.cl.fail(EX_CANTCREAT, QStringLiteral("cannot write %1 (is the disk full?): %2")
                                           .arg(files[unwritten].fileName(), files[unwritten].errorString()));
    if (fault != LibraryClient::None)
        return s.cl.fail(LibraryClient::exitStatus(fault), why);
    for (int which = 0; which < 3; ++which) {
        QFile &out = files[which];
        if (sha[which].hexResult() != job.sha256[which])
            return s.cl.fail(EX_DATAERR, QStringLiteral("%1 differs from the SHA-256 the library listed for it")
                                             .arg(QFileInfo(out.fileName()).fileName()));
        // Now for an answer of no announced length.
        if (!writing[which] && !startWriting(out))
            return s.cl.fail(EX_CANTCREAT, QStringLiteral("cannot write %1 (is the disk full?)").arg(out.fileName()));
    }
    return EX_OK;
}

// The version's three files into DIR: filled and synced in DIR.part, then renamed, so DIR is
// either the whole of them or not there. Outside a session the folders' names are flushed too,
// so DIR is still there after a power cut; in one the panel syncs what it takes (handOff).
int fetch(Session &s, const LibraryListing::Job &job, const QString &dir)
{
    const QString part = dir + QStringLiteral(".part");
    // Never a folder of someone else's emptied: the caller clears what an earlier fetch left.
    if (QFileInfo::exists(dir) || QFileInfo::exists(part))
        return s.cl.fail(EX_CANTCREAT, QStringLiteral("%1 or %2 exists already").arg(dir, part));
    if (!QDir().mkpath(part))
        return s.cl.fail(EX_CANTCREAT, QStringLiteral("cannot make %1").arg(part));
    QFile files[3];
    int status = fetchFiles(s, job, part, files);
    for (QFile &file : files) {
        if (status == EX_OK && !s.handOff && ::fsync(file.handle()) != 0)
            status = s.cl.fail(EX_CANTCREAT, QStringLiteral("cannot write %1 (is the disk full?)").arg(file.fileName()));
        file.close();
    }
    // FsOps::rename flushes the folder that now holds DIR.
    if (status == EX_OK
        && !(s.handOff ? NativeFs::rename(QFile::encodeName(part), QFile::encodeName(dir))
                       : NativeFs::sync(QFile::encodeName(part)) && FsOps::rename(part, dir)))
        status = s.cl.fail(EX_CANTCREAT, QStringLiteral("cannot put %1 in place").arg(dir));
    if (status != EX_OK) {
        FsOps::removeTree(part);
        FsOps::removeTree(dir);
        return status;
    }
    QTextStream(stdout) << "fetched " << job.name << ' ' << job.version << '\n';
    return EX_OK;
}

// One action, list or fetch NAME VERSION DIR CNT PAT WRK; its exit status.
int act(Session &s, const QStringList &rest)
{
    ToolCommandLine &cl = s.cl;
    const bool list = rest.size() == 1 && rest[0] == QLatin1String("list");
    if (!list && !(rest.size() == 7 && rest[0] == QLatin1String("fetch")))
        return cl.usageError(QStringLiteral("needs list, or fetch NAME VERSION DIR CNT PAT WRK"));
    if (!list) {
        // The files are checked against the digests the panel showed with the list: what the
        // office holds may have changed since, or something between may change it.
        LibraryListing::Job job;
        bool ok = false;
        job.name = rest[1];
        job.version = rest[2].toInt(&ok);
        for (int i = 0; i < 3; ++i)
            job.sha256[i] = rest[4 + i].toLatin1();
        if (!LibraryListing::isJobName(job.name) || !ok || job.version < 1 || rest[3].isEmpty() || !LibraryListing::isDigest(job.sha256[0])
            || !LibraryListing::isDigest(job.sha256[1]) || !LibraryListing::isDigest(job.sha256[2]))
            return cl.usageError(QStringLiteral("fetch needs a plain job name, a version from 1, a folder and three SHA-256 digests"));
        return fetch(s, job, QDir(rest[3]).absolutePath());
    }
    QList<LibraryListing::Job> jobs;
    int status = EX_OK;
    if (!listed(s, &jobs, &status))
        return status;
    QTextStream out(stdout);
    for (const LibraryListing::Job &job : LibraryListing::newest(jobs))
        out << QString::fromUtf8(LibraryListing::line(job)) << '\n';
    return EX_OK;
}

// Actions one a line on standard input, its fields percent-encoded and separated by blanks,
// each answered as on the command line and closed by "done STATUS", until the input ends.
// The panel keeps one session while its import browser is open, so the fetch after an F5
// starts no second helper and goes over the list's connection.
int session(Session &s)
{
    char line[kMaxRequestBytes];
    while (std::fgets(line, sizeof line, stdin)) {
        const QByteArray request(line);
        if (!request.endsWith('\n'))
            return s.cl.usageError(QStringLiteral("a request line over %1 bytes").arg(kMaxRequestBytes - 2));
        QStringList rest;
        for (const QByteArray &field : request.trimmed().split(' '))
            rest.append(QString::fromUtf8(QByteArray::fromPercentEncoding(field)));
        const int status = act(s, rest);
        QTextStream(stdout) << "done " << status << '\n';
    }
    return EX_OK;
}

int run(const QStringList &args)
{
    ToolCommandLine cl(QStringLiteral("knitjob library"), QString::fromUtf8(OfficeCommand::library.summary));
    QCommandLineParser &p = cl.parser();
    p.addPositionalArgument(QStringLiteral("ACTION"),
                            QStringLiteral("list, or fetch NAME VERSION DIR and the SHA-256 of the .cnt, .pat and .wrk as listed, "
                                           "or session: those actions one a line on standard input."),
                            QStringLiteral("list | fetch NAME VERSION DIR CNT PAT WRK | session"));
    int status = 0;
    if (!cl.parse(args, &status))
        return status;
    const QStringList rest = p.positionalArguments();
    const bool inSession = rest == QStringList{QStringLiteral("session")};
    if (!inSession && !(rest.value(0) == QLatin1String("list") || rest.value(0) == QLatin1String("fetch")))
        return cl.usageError(QStringLiteral("needs list, fetch NAME VERSION DIR CNT PAT WRK, or session"));
    Session s{cl, {}, nullptr, inSession};
    QString why;
    if (!LibraryConfig::load(&s.config, &why))
        return cl.fail(EX_CONFIG, why);
    s.client = std::make_unique<LibraryClient>(s.config);
    return inSession ? session(s) : act(s, rest);
}

const Subcommand::Registration registration(OfficeCommand::library.name, OfficeCommand::library.usage, OfficeCommand::library.summary, run);

} // namespace
