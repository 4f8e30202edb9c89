#include "brokerprocess.h"
#include "ownprogram.h"

#include <QFile>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

#include <pwd.h>
#include <signal.h>
#include <unistd.h>

namespace {

constexpr char kProbeTopic[] = "$SYS/broker/version";

// The broker lives in /usr/sbin, which a user's PATH may lack.
QString program(const char *name)
{
    const QString found = QStandardPaths::findExecutable(QLatin1String(name));
    return found.isEmpty() ? QStandardPaths::findExecutable(QLatin1String(name), {QStringLiteral("/usr/sbin")}) : found;
}

} // namespace

bool BrokerProcess::available(QString *why)
{
    for (const char *name : {"mosquitto", "mosquitto_sub", "mosquitto_pub", "mosquitto_passwd"}) {
        *why = QStringLiteral("%1 not found: install it with scripts/setup.sh").arg(QLatin1String(name));
        if (program(name).isEmpty())
            return false;
    }
    return true;
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
    // The default queue of 1,000 messages a subscriber is behind drops the rest of a whole floor
    // sent at once to a server slowed by a sanitizer; tests look at the server, not at that drop.
    const passwd *me = ::getpwuid(::getuid());
    QByteArray conf = QStringLiteral("listener %1 127.0.0.1\npersistence false\nsys_interval 1\nuser %2\nmax_queued_messages 20000\n")
                          .arg(port_).arg(QLatin1String(me ? me->pw_name : "root")).toUtf8();
    const QString passwd = dir_.filePath(QStringLiteral("passwd"));
    if (login_.isEmpty())
        conf += "allow_anonymous true\n";
    else if (QProcess::execute(program("mosquitto_passwd"), QStringList{"-c", "-b", passwd} + login_) == 0)
        conf += "allow_anonymous false\npassword_file " + passwd.toUtf8() + '\n';
    QFile f(dir_.filePath(QStringLiteral("mosquitto.conf")));
    if (f.open(QIODevice::WriteOnly) && f.write(conf) == conf.size() && f.flush())
        process_.start(program("mosquitto"), {QStringLiteral("-c"), f.fileName()});
    // Listening once a connection is taken; given up when mosquitto exits.
    const auto listening = [this] {
        QTcpSocket s;
        s.connectToHost(QHostAddress::LocalHost, quint16(port_));
        return s.waitForConnected(200);
    };
    if (process_.waitForStarted(1000)
        && QTest::qWaitFor([&] { return process_.state() != QProcess::Running || listening(); }, 5000)
        && process_.state() == QProcess::Running)
        return true;
    if (error)
        *error = QStringLiteral("mosquitto did not start on port %1: %2").arg(port_).arg(QString::fromLocal8Bit(process_.readAllStandardError()));
    return false;
}

void BrokerProcess::stop()
{
    pause(false);
    endProgram(process_);
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

QStringList BrokerProcess::subArgs(const QString &filter) const
{
    return {"-h", "127.0.0.1", "-p", QString::number(port_), "-t", filter, "-F", "%r %t %p"};
}

bool BrokerProcess::publish(const QString &topic, const QByteArray &payload, bool retain) const
{
    const QStringList args{"-h", "127.0.0.1", "-p", QString::number(port_), "-t", topic, "-m", QString::fromUtf8(payload)};
    return QProcess::execute(program("mosquitto_pub"), retain ? args + QStringList{"-r"} : args) == 0;
}

QByteArray BrokerProcess::retained(const QString &topic) const
{
    QProcess sub;
    sub.start(program("mosquitto_sub"), subArgs(topic) << "-W" << "1" << "-C" << "1");
    sub.waitForFinished(5000);
    const QByteArray line = sub.readAllStandardOutput().trimmed();
    const QByteArray prefix = "1 " + topic.toUtf8() + ' ';
    return line.startsWith(prefix) ? line.mid(prefix.size()) : QByteArray();
}

QProcess *BrokerProcess::subscribe(const QString &filter, QObject *parent) const
{
    // The broker's retained version comes back once the subscription stands: wait for it, so
    // nothing published after the return is missed. Looked at, not read: a line of the filter
    // may come before it (a retained one, or one published as the subscription was made).
    auto *sub = new QProcess(parent);
    sub->start(program("mosquitto_sub"), subArgs(filter) << "-t" << kProbeTopic);
    const QByteArray probe = QByteArray("\n1 ") + kProbeTopic + ' ';
    const bool stands = QTest::qWaitFor([sub, &probe] { return ('\n' + sub->peek(sub->bytesAvailable())).contains(probe); }, 10000);
    if (!stands)
        delete sub;
    return stands ? sub : nullptr;
}
