#include "libraryfetch.h"

#include "data/libraryconfig.h"
#include "platform/fsops.h"
#include "platform/panelpaths.h"

#include <QEventLoop>
#include <QFileInfo>
#include <QProcess>

#include <algorithm>
#include <cstdio>
#include <sysexits.h>

namespace {

// Bounds on what the helper may print: the list of every name's newest version, and a reason.
constexpr qint64 kMaxListOutput = 8 * 1024 * 1024;
constexpr qint64 kMaxErrorOutput = 4096;
// run()'s status for a run the operator stopped.
constexpr int kCancelled = -2;
// No "done" line came.
constexpr int kNoAnswer = -3;
// How long a helper told to end may take.
constexpr int kSessionEndMs = 3000;

} // namespace

LibraryFetch::LibraryFetch(QObject *parent)
    : QObject(parent)
{
}

LibraryFetch::~LibraryFetch()
{
    cancel();
    if (!session_)
        return;
    // The helper ends at the end of its input; one that does not is ended.
    session_->closeWriteChannel();
    if (!session_->waitForFinished(kSessionEndMs))
        session_->kill();
    session_->waitForFinished(kSessionEndMs);
}

QString LibraryFetch::folder()
{
    return PanelPaths::data(QStringLiteral("/.library"));
}

void LibraryFetch::clear()
{
    FsOps::removeTree(folder() + QStringLiteral(".part"));
    FsOps::removeTree(folder());
}

QString LibraryFetch::helper()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/knitjob");
}

QString LibraryFetch::unavailable()
{
    LibraryConfig config;
    QString why;
    if (LibraryConfig::load(&config, &why))
        return QString();
    if (!QFileInfo::exists(LibraryConfig::path()))
        //: F5 without library.ini: where it goes and what it holds.
        return tr("没有网络硬盘设置: 请在 %1 中写入 [library] 段的 url, machine, token (及 cafile)")
            .arg(QStringLiteral("mnt/ide/knit/library.ini"));
    return tr("网络硬盘设置错误: %1").arg(why);
}

bool LibraryFetch::list(QList<LibraryListing::Job> *jobs, QString *message)
{
    QByteArray out;
    const int status = run({QStringLiteral("list")}, &out);
    if (status != EX_OK) {
        *message = failure(status);
        return false;
    }
    QList<LibraryListing::Job> found;
    for (const QByteArray &line : out.split('\n')) {
        LibraryListing::Job job;
        if (LibraryListing::fromLine(line, &job))
            found.append(job);
        else if (!line.isEmpty()) {
            *message = failure(EX_DATAERR);
            return false;
        }
    }
    *jobs = found;
    return true;
}

bool LibraryFetch::fetch(const LibraryListing::Job &job, QString *message)
{
    clear();
    QByteArray out;
    QStringList args{QStringLiteral("fetch"), job.name, QString::number(job.version), folder()};
    for (const QByteArray &digest : job.sha256)
        args.append(QString::fromLatin1(digest));
    const int status = run(args, &out);
    const QByteArray done = "fetched " + job.name.toUtf8() + ' ' + QByteArray::number(job.version) + '\n';
    if (status == EX_OK && out.endsWith(done))
        return true;
    clear();
    *message = failure(status == EX_OK ? EX_SOFTWARE : status);
    return false;
}

void LibraryFetch::cancel()
{
    if (!running())
        return;
    cancelled_ = true;
    session_->kill();
}

void LibraryFetch::startSession()
{
    session_ = std::make_unique<QProcess>();
    QProcess *process = session_.get();
    connect(process, &QProcess::readyReadStandardOutput, this, [this, process] {
        while (process->canReadLine() && waiting_) {
            // The line is in the buffer whole, which the checks below keep within bounds; a
            // maximum here would reserve that much memory for every line.
            const QByteArray line = process->readLine();
            if (line.startsWith("done ")) {
                bool ok = false;
                answered_ = line.mid(5).trimmed().toInt(&ok);
                if (!ok)
                    answered_ = -1;
                waiting_->quit();
                return;
            }
            if (answer_.size() + line.size() > kMaxListOutput) {
                overflow_ = true;
                process->kill();
                return;
            }
            answer_.append(line);
            // "progress PERCENT" lines while a fetch writes.
            const QList<QByteArray> f = line.trimmed().split(' ');
            if (f.size() == 2 && f[0] == "progress")
                Q_EMIT progress(std::clamp(f[1].toInt(), 0, 100));
        }
        // A line of the helper's that never ends is no answer.
        if (!process->canReadLine() && process->bytesAvailable() > kMaxListOutput) {
            overflow_ = true;
            process->kill();
        }
    });
    // The helper's reasons, for the log, line by line as they come.
    const auto log = [](const QByteArray &text) {
        if (!text.trimmed().isEmpty())
            std::fprintf(stderr, "knitpanel: %s\n", text.trimmed().constData());
    };
    connect(process, &QProcess::readyReadStandardError, this, [process, log] {
        process->setReadChannel(QProcess::StandardError);
        while (process->canReadLine())
            log(process->readLine(kMaxErrorOutput));
        if (process->bytesAvailable() >= kMaxErrorOutput)
            log(process->read(kMaxErrorOutput));
        process->setReadChannel(QProcess::StandardOutput);
    });
    connect(process, &QProcess::finished, this, [this, process, log] {
        log(process->readAllStandardError().left(kMaxErrorOutput));
        if (waiting_)
            waiting_->quit();
    });
    connect(process, &QProcess::errorOccurred, this, [this](QProcess::ProcessError e) {
        if (e == QProcess::FailedToStart && waiting_)
            waiting_->quit();
    });
    process->start(helper(), {QStringLiteral("library"), QStringLiteral("session")});
}

int LibraryFetch::run(const QStringList &request, QByteArray *out)
{
    if (!session_ || session_->state() == QProcess::NotRunning)
        startSession();
    QProcess *process = session_.get();
    cancelled_ = false;
    overflow_ = false;
    answered_ = kNoAnswer;
    answer_.clear();
    QByteArray line;
    for (const QString &field : request)
        line += (line.isEmpty() ? "" : " ") + field.toUtf8().toPercentEncoding();
    QEventLoop loop;
    waiting_ = &loop;
    if (process->state() != QProcess::NotRunning && process->write(line + '\n') == line.size() + 1)
        loop.exec();
    waiting_ = nullptr;
    *out = answer_;
    answer_.clear();
    const bool ended = answered_ == kNoAnswer;
    if (ended && process->state() != QProcess::NotRunning) {
        // Cut off (a cancel, an answer out of bounds): the helper goes with its request.
        process->kill();
        process->waitForFinished(kSessionEndMs);
    }
    if (cancelled_)
        return kCancelled;
    if (overflow_)
        return EX_DATAERR;
    if (!ended)
        return answered_;
    // A helper that ended before it answered: its exit status says why (library.ini unreadable).
    return process->exitStatus() == QProcess::NormalExit && process->error() != QProcess::FailedToStart && process->exitCode() != EX_OK
        ? process->exitCode()
        : -1;
}

QString LibraryFetch::failure(int status) const
{
    switch (status) {
    case kCancelled:
        return tr("已取消网络硬盘下载 !");
    case EX_CONFIG:
        return unavailable().isEmpty() ? tr("网络硬盘设置错误 !") : unavailable();
    case EX_UNAVAILABLE:
        return tr("网络硬盘无法连接或连接中断, 未导入 !");
    case EX_PROTOCOL:
        return tr("网络硬盘的TLS证书验证失败, 未导入 !");
    case EX_NOPERM:
        return tr("网络硬盘拒绝了本机的令牌 !");
    case EX_TEMPFAIL:
        return tr("网络硬盘请求过于频繁, 请稍后再试 !");
    case EX_NOINPUT:
        return tr("网络硬盘中已没有该版本 !");
    case EX_DATAERR:
        return tr("网络硬盘文件校验失败, 未导入 !");
    case EX_CANTCREAT:
        return tr("硬盘空间不足或无法写入, 未导入 !");
    default:
        return tr("网络硬盘程序运行失败 !");
    }
}
