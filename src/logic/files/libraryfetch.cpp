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

} // namespace

LibraryFetch::LibraryFetch(QObject *parent)
    : QObject(parent)
{
}

LibraryFetch::~LibraryFetch()
{
    cancel();
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
    const int status = run({QStringLiteral("library"), QStringLiteral("list")}, &out);
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
    QStringList args{QStringLiteral("library"), QStringLiteral("fetch"), job.name, QString::number(job.version), folder()};
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
    if (!process_)
        return;
    cancelled_ = true;
    process_->kill();
}

int LibraryFetch::run(const QStringList &args, QByteArray *out)
{
    QProcess process;
    process_ = &process;
    cancelled_ = false;
    reason_.clear();
    bool overflow = false;
    QByteArray pending;
    connect(&process, &QProcess::readyReadStandardOutput, this, [&] {
        const QByteArray piece = process.readAllStandardOutput();
        if (out->size() + piece.size() > kMaxListOutput) {
            overflow = true;
            process.kill();
            return;
        }
        out->append(piece);
        pending.append(piece);
        // "progress PERCENT" lines while a fetch writes.
        for (qsizetype nl; (nl = pending.indexOf('\n')) >= 0; pending.remove(0, nl + 1)) {
            const QList<QByteArray> f = pending.left(nl).split(' ');
            if (f.size() == 2 && f[0] == "progress")
                Q_EMIT progress(std::clamp(f[1].toInt(), 0, 100));
        }
    });
    QEventLoop loop;
    connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
    connect(&process, &QProcess::errorOccurred, &loop, [&loop](QProcess::ProcessError e) {
        if (e == QProcess::FailedToStart)
            loop.quit();
    });
    process.start(helper(), args, QIODevice::ReadOnly);
    if (process.state() != QProcess::NotRunning || process.error() != QProcess::FailedToStart)
        loop.exec();
    process_ = nullptr;
    reason_ = QString::fromUtf8(process.readAllStandardError().left(kMaxErrorOutput)).trimmed();
    if (!reason_.isEmpty())
        std::fprintf(stderr, "knitpanel: %s\n", qPrintable(reason_));
    if (cancelled_)
        return kCancelled;
    if (overflow)
        return EX_DATAERR;
    return process.exitStatus() == QProcess::NormalExit && process.error() != QProcess::FailedToStart ? process.exitCode() : -1;
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
