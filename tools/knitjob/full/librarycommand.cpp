// knitjob library list|fetch: the panel's way to the office's job library. The machine's
// settings and token come from library.ini under the panel's data root (KNIT_ROOT), never from
// the command line or the environment, where other users could read the token.
#include "libraryclient.h"
#include "subcommand.h"
#include "toolcommandline.h"

#include "data/librarylisting.h"
#include "platform/fsops.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QTextStream>

#include <fcntl.h>
#include <unistd.h>

namespace {

const char kSummary[] = "Lists the office's job library, or fetches one version of a job into a folder, for the panel.";

struct Session
{
    ToolCommandLine &cl;
    LibraryConfig config;
};

// The library's list of released versions; false after a failure line with *status.
bool listed(Session &s, QList<LibraryListing::Job> *jobs, int *status)
{
    LibraryClient client(s.config);
    QByteArray answer;
    QString why;
    const LibraryClient::Fault fault = client.get(QStringLiteral("/api/library"), LibraryListing::kMaxAnswerBytes,
                                                  [&answer](const QByteArray &piece) { answer += piece; return true; }, &why);
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

bool syncPath(const QString &path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    const bool ok = fd >= 0 && ::fsync(fd) == 0;
    if (fd >= 0)
        ::close(fd);
    return ok;
}

// One file of the job into folder, its digest taken as it is written; its progress counted on
// from *done of total.
int fetchFile(Session &s, LibraryClient &client, const LibraryListing::Job &job, int which, const QString &folder,
              qint64 *done, qint64 total)
{
    const QString ext = QLatin1String(LibraryListing::kExtensions[which]);
    const QString fileName = job.name + QLatin1Char('.') + ext;
    QFile out(folder + QLatin1Char('/') + fileName);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return s.cl.fail(EX_CANTCREAT, QStringLiteral("cannot write %1: %2").arg(out.fileName(), out.errorString()));
    QCryptographicHash sha(QCryptographicHash::Sha256);
    QTextStream progress(stdout);
    int shownPercent = -1;
    const auto sink = [&](const QByteArray &piece) {
        sha.addData(piece);
        if (out.write(piece) != piece.size())
            return false;
        *done += piece.size();
        const int percent = total > 0 ? int(qMin<qint64>(100, *done * 100 / total)) : 100;
        if (percent != shownPercent) {
            shownPercent = percent;
            progress << "progress " << *done << ' ' << total << '\n';
            progress.flush();
        }
        return true;
    };
    QString why;
    const QString path = QStringLiteral("/api/library/%1/%2/%3")
                             .arg(QString::fromLatin1(QUrl::toPercentEncoding(job.name)))
                             .arg(job.version)
                             .arg(QString::fromLatin1(QUrl::toPercentEncoding(fileName)));
    const LibraryClient::Fault fault = client.get(path, LibraryListing::kMaxFileBytes, sink, &why);
    if (fault == LibraryClient::Sink)
        return s.cl.fail(EX_CANTCREAT, QStringLiteral("cannot write %1 (is the disk full?): %2").arg(out.fileName(), out.errorString()));
    if (fault != LibraryClient::None)
        return s.cl.fail(LibraryClient::exitStatus(fault), why);
    if (sha.result().toHex() != job.sha256[which])
        return s.cl.fail(EX_DATAERR, QStringLiteral("%1 differs from the SHA-256 the library lists for it").arg(fileName));
    if (!out.flush() || ::fsync(out.handle()) != 0)
        return s.cl.fail(EX_CANTCREAT, QStringLiteral("cannot write %1 (is the disk full?)").arg(out.fileName()));
    return EX_OK;
}

// The version's three files into DIR: filled and synced in DIR.part, then renamed, so DIR is
// either the whole of them or not there.
int fetch(Session &s, const QList<LibraryListing::Job> &jobs, const QString &name, int version, const QString &dir)
{
    const auto job = std::find_if(jobs.begin(), jobs.end(), [&](const LibraryListing::Job &j) { return j.name == name && j.version == version; });
    if (job == jobs.end())
        return s.cl.fail(EX_NOINPUT, QStringLiteral("%1 version %2 is not released in the library").arg(name).arg(version));
    const QString part = dir + QStringLiteral(".part");
    FsOps::removeTree(part);
    FsOps::removeTree(dir);
    if (!QDir().mkpath(part))
        return s.cl.fail(EX_CANTCREAT, QStringLiteral("cannot make %1").arg(part));
    LibraryClient client(s.config);
    qint64 done = 0;
    int status = EX_OK;
    for (int i = 0; i < 3 && status == EX_OK; ++i)
        status = fetchFile(s, client, *job, i, part, &done, job->size);
    if (status == EX_OK && (!syncPath(part) || !FsOps::rename(part, dir) || !syncPath(QFileInfo(dir).absolutePath())))
        status = s.cl.fail(EX_CANTCREAT, QStringLiteral("cannot put %1 in place").arg(dir));
    if (status != EX_OK) {
        FsOps::removeTree(part);
        FsOps::removeTree(dir);
        return status;
    }
    QTextStream(stdout) << "fetched " << job->name << ' ' << job->version << '\n';
    return EX_OK;
}

int run(const QStringList &args)
{
    ToolCommandLine cl(QStringLiteral("knitjob library"), QString::fromUtf8(kSummary));
    QCommandLineParser &p = cl.parser();
    p.addPositionalArgument(QStringLiteral("ACTION"), QStringLiteral("list, or fetch NAME VERSION DIR."), QStringLiteral("list | fetch NAME VERSION DIR"));
    int status = 0;
    if (!cl.parse(args, &status))
        return status;
    const QStringList rest = p.positionalArguments();
    const bool list = rest.size() == 1 && rest[0] == QLatin1String("list");
    if (!list && !(rest.size() == 4 && rest[0] == QLatin1String("fetch")))
        return cl.usageError(QStringLiteral("needs list, or fetch NAME VERSION DIR"));
    Session s{cl, {}};
    QString why;
    if (!LibraryConfig::load(&s.config, &why))
        return cl.fail(EX_CONFIG, why);
    int version = 0;
    if (!list) {
        bool ok = false;
        version = rest[2].toInt(&ok);
        if (!LibraryListing::isJobName(rest[1]) || !ok || version < 1 || rest[3].isEmpty())
            return cl.usageError(QStringLiteral("fetch needs a plain job name, a version from 1 and a folder"));
    }
    QList<LibraryListing::Job> jobs;
    if (!listed(s, &jobs, &status))
        return status;
    if (!list)
        return fetch(s, jobs, rest[1], version, QDir(rest[3]).absolutePath());
    QTextStream out(stdout);
    for (const LibraryListing::Job &job : LibraryListing::newest(jobs))
        out << QString::fromUtf8(LibraryListing::line(job)) << '\n';
    return EX_OK;
}

const Subcommand::Registration registration("library", "library list | library fetch NAME VERSION DIR", kSummary, run);

} // namespace
