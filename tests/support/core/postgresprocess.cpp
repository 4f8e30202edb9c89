#include "postgresprocess.h"

#include <QDir>
#include <QProcess>
#include <QTcpServer>

#include <pwd.h>
#include <unistd.h>

namespace {

QString serverBin()
{
    const QStringList versions = QDir(QStringLiteral("/usr/lib/postgresql")).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    for (auto it = versions.crbegin(); it != versions.crend(); ++it) {
        const QString bin = QStringLiteral("/usr/lib/postgresql/%1/bin").arg(*it);
        if (QFile::exists(bin + QStringLiteral("/initdb")) && QFile::exists(bin + QStringLiteral("/pg_ctl")))
            return bin;
    }
    return QString();
}

} // namespace

PostgresProcess::~PostgresProcess()
{
    stop();
}

bool PostgresProcess::available(QString *why)
{
    *why = QStringLiteral("PostgreSQL's server is not installed: install postgresql and postgresql-common with scripts/setup.sh");
    return !serverBin().isEmpty();
}

bool PostgresProcess::run(const QString &program, const QStringList &args, QString *why)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    // PostgreSQL will not run as root: as root the cluster is nobody's.
    if (::getuid() == 0)
        p.start(QStringLiteral("runuser"), QStringList{"-u", "nobody", "--", bin_ + QLatin1Char('/') + program} + args);
    else
        p.start(bin_ + QLatin1Char('/') + program, args);
    if (p.waitForFinished(60000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0)
        return true;
    *why = QStringLiteral("%1 failed: %2").arg(program, QString::fromLocal8Bit(p.readAll()).right(400));
    return false;
}

bool PostgresProcess::start(QString *why)
{
    bin_ = serverBin();
    const QString data = dir_.filePath(QStringLiteral("data"));
    if (port_ == 0) {
        QTcpServer probe;
        probe.listen(QHostAddress::LocalHost, 0);
        port_ = probe.serverPort();
        if (::getuid() == 0) {
            const passwd *nobody = ::getpwnam("nobody");
            if (!nobody || ::chown(QFile::encodeName(dir_.path()).constData(), nobody->pw_uid, nobody->pw_gid) != 0) {
                *why = QStringLiteral("cannot hand the cluster's directory to nobody");
                return false;
            }
        }
        if (!run(QStringLiteral("initdb"), {"-D", data, "-U", "knit", "--auth=trust", "--no-sync", "-E", "UTF8"}, why))
            return false;
    }
    const QString options = QStringLiteral("-p %1 -k %2 -c listen_addresses=127.0.0.1 -c fsync=off").arg(port_).arg(dir_.path());
    running_ = run(QStringLiteral("pg_ctl"), {"-D", data, "-l", dir_.filePath(QStringLiteral("log")), "-w", "-t", "60", "-o", options, "start"}, why);
    return running_;
}

bool PostgresProcess::stop()
{
    if (!running_)
        return true;
    QString why;
    running_ = !run(QStringLiteral("pg_ctl"), {"-D", dir_.filePath(QStringLiteral("data")), "-m", "fast", "-w", "stop"}, &why);
    return !running_;
}

QString PostgresProcess::url() const
{
    return QStringLiteral("postgresql://knit@127.0.0.1:%1/postgres").arg(port_);
}
