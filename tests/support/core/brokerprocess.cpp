#include "brokerprocess.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>

#include <pwd.h>
#include <signal.h>
#include <unistd.h>

namespace {

// The broker lives in /usr/sbin, which a user's PATH may lack.
QString program(const char *name)
{
    const QString found = QStandardPaths::findExecutable(QLatin1String(name));
    return found.isEmpty() ? QStandardPaths::findExecutable(QLatin1String(name), {QStringLiteral("/usr/sbin")}) : found;
}

} // namespace

bool BrokerProcess::available(QString *why)
{
    for (const char *name : {"mosquitto", "mosquitto_sub", "mosquitto_passwd"}) {
        *why = QStringLiteral("%1 not found: install it with scripts/setup.sh").arg(QLatin1String(name));
        if (program(name).isEmpty())
            return false;
    }
    return true;
}

void BrokerProcess::setLogin(const QString &user, const QString &password)
{
    user_ = user;
    password_ = password;
}

bool BrokerProcess::start(QString *error)
{
    stop();
    if (port_ == 0) {
        QTcpServer probe;
        probe.listen(QHostAddress::LocalHost, 0);
        port_ = probe.serverPort();
    }
    // Run as root it would switch to the mosquitto user, who cannot read the private directory.
    const passwd *me = ::getpwuid(::getuid());
    QByteArray conf = QStringLiteral("listener %1 127.0.0.1\npersistence false\nsys_interval 1\nlog_dest stderr\nlog_type notice\n")
                          .arg(port_).toUtf8()
                      + "user " + QByteArray(me ? me->pw_name : "root") + '\n';
    if (user_.isEmpty()) {
        conf += "allow_anonymous true\n";
    } else {
        const QString passwd = dir_.filePath(QStringLiteral("passwd"));
        QProcess::execute(program("mosquitto_passwd"), {"-c", "-b", passwd, user_, password_});
        conf += "allow_anonymous false\npassword_file " + passwd.toUtf8() + '\n';
    }
    QFile f(dir_.filePath(QStringLiteral("mosquitto.conf")));
    if (!f.open(QIODevice::WriteOnly) || f.write(conf) != conf.size())
        return false;
    f.close();
    process_.start(program("mosquitto"), {QStringLiteral("-c"), f.fileName()});
    process_.waitForStarted(5000);
    const QDeadlineTimer deadline(5000);
    while (!deadline.hasExpired() && process_.state() == QProcess::Running) {
        QTcpSocket s;
        s.connectToHost(QHostAddress::LocalHost, quint16(port_));
        if (s.waitForConnected(200))
            return true;
        QThread::msleep(50);
    }
    if (error)
        *error = QStringLiteral("mosquitto did not start on port %1: %2 %3").arg(port_).arg(process_.errorString(), log());
    return false;
}

void BrokerProcess::stop()
{
    if (process_.state() != QProcess::NotRunning) {
        pause(false);
        process_.terminate();
        if (!process_.waitForFinished(3000))
            kill();
    }
    log();
}

void BrokerProcess::kill()
{
    process_.kill();
    process_.waitForFinished(3000);
}

void BrokerProcess::pause(bool paused)
{
    if (process_.state() == QProcess::Running)
        ::kill(pid_t(process_.processId()), paused ? SIGSTOP : SIGCONT);
}

QString BrokerProcess::log()
{
    if (process_.isOpen())
        log_ += QString::fromUtf8(process_.readAllStandardError());
    return log_;
}

QStringList BrokerProcess::subArgs(const QString &filter) const
{
    QStringList args{"-h", "127.0.0.1", "-p", QString::number(port_), "-t", filter, "-F", "%r %t %p"};
    if (!user_.isEmpty())
        args << QStringLiteral("-u") << user_ << QStringLiteral("-P") << password_;
    return args;
}

QStringList BrokerProcess::messages(const QString &filter, int ms, int count) const
{
    QStringList args = subArgs(filter) << QStringLiteral("-W") << QString::number(qMax(1, (ms + 999) / 1000));
    if (count > 0)
        args << QStringLiteral("-C") << QString::number(count);
    QProcess sub;
    sub.start(program("mosquitto_sub"), args);
    sub.waitForFinished(ms + 5000);
    return QString::fromUtf8(sub.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

QProcess *BrokerProcess::subscribe(const QString &filter, QObject *parent) const
{
    auto *sub = new QProcess(parent);
    sub->start(program("mosquitto_sub"), subArgs(filter));
    sub->waitForStarted(5000);
    return sub;
}

QByteArray BrokerProcess::retained(const QString &topic) const
{
    const QStringList lines = messages(topic, 1000, 1);
    const QString prefix = QStringLiteral("1 ") + topic + QLatin1Char(' ');
    return lines.isEmpty() || !lines[0].startsWith(prefix) ? QByteArray() : lines[0].mid(prefix.size()).toUtf8();
}
