#include "simprocess.h"

#include "portoffset.h"

#include <QDeadlineTimer>
#include <QHostAddress>

namespace {

constexpr int kStartMs = 10000;
constexpr int kStopMs = 5000;

} // namespace

SimProcess::SimProcess() = default;

SimProcess::~SimProcess()
{
    stop();
}

QString SimProcess::root() const
{
    return root_.isEmpty() && tempRoot_ ? tempRoot_->path() : root_;
}

bool SimProcess::start(QString *error)
{
    if (isRunning())
        stop();
    if (root_.isEmpty() && !tempRoot_) {
        tempRoot_ = std::make_unique<QTemporaryDir>();
        if (!tempRoot_->isValid()) {
            if (error)
                *error = QStringLiteral("cannot make a temporary root");
            return false;
        }
    }
    if (offset_ < 0) {
        bool ok = false;
        const int env = qEnvironmentVariableIntValue("KNIT_PORT_OFFSET", &ok);
        offset_ = ok ? env : PortOffset::useFree();
    }
    const QStringList args{QStringLiteral("--root"), root(), QStringLiteral("--control"), QStringLiteral("0"),
                           QStringLiteral("--port-offset"), QString::number(offset_)};
    process_.setProcessChannelMode(QProcess::SeparateChannels);
    process_.start(QStringLiteral(KNITSIM_PATH), args);
    if (!process_.waitForStarted(kStartMs)) {
        if (error)
            *error = QStringLiteral("knitsim did not start: %1").arg(process_.errorString());
        return false;
    }
    // knitsim picks the control port itself and names it in its ready line.
    const QDeadlineTimer deadline(kStartMs);
    while (!process_.canReadLine()) {
        if (process_.state() != QProcess::Running || deadline.hasExpired()
            || !process_.waitForReadyRead(int(deadline.remainingTime()))) {
            if (process_.canReadLine())
                break;
            if (error)
                *error = QStringLiteral("knitsim not ready: %1").arg(QString::fromLocal8Bit(standardError()));
            stop();
            return false;
        }
    }
    const QStringList words = QString::fromUtf8(process_.readLine()).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (words.size() < 6 || words[1] != QLatin1String("ready")) {
        if (error)
            *error = QStringLiteral("unexpected first line from knitsim: %1").arg(words.join(QLatin1Char(' ')));
        stop();
        return false;
    }
    controlPort_ = quint16(words[3].toUInt());
    return connectControl(error);
}

bool SimProcess::connectControl(QString *error)
{
    control_.connectToHost(QHostAddress::LocalHost, controlPort_);
    if (!control_.waitForConnected(kStartMs)) {
        if (error)
            *error = QStringLiteral("control port %1: %2").arg(controlPort_).arg(control_.errorString());
        stop();
        return false;
    }
    return true;
}

bool SimProcess::isRunning() const
{
    return process_.state() != QProcess::NotRunning;
}

void SimProcess::stop()
{
    if (!isRunning())
        return;
    if (control_.state() == QAbstractSocket::ConnectedState) {
        control_.write("quit\n");
        control_.waitForBytesWritten(1000);
    }
    if (!process_.waitForFinished(kStopMs)) {
        process_.kill();
        process_.waitForFinished(kStopMs);
    }
    control_.abort();
    stderr_ += process_.readAllStandardError();
}

QStringList SimProcess::send(const QString &line, int timeoutMs)
{
    QStringList out;
    if (control_.state() != QAbstractSocket::ConnectedState)
        return out;
    control_.write(line.toUtf8() + '\n');
    control_.waitForBytesWritten(timeoutMs);
    const QDeadlineTimer deadline(timeoutMs);
    for (;;) {
        while (control_.canReadLine()) {
            const QString l = QString::fromUtf8(control_.readLine()).trimmed();
            out << l;
            if (l == QLatin1String("ok") || l.startsWith(QLatin1String("error")))
                return out;
        }
        if (deadline.hasExpired() || !control_.waitForReadyRead(int(deadline.remainingTime())))
            return {};
    }
}

bool SimProcess::command(const QString &line, QStringList *lines)
{
    QStringList reply = send(line);
    const bool ok = !reply.isEmpty() && reply.last() == QLatin1String("ok");
    if (!reply.isEmpty())
        reply.removeLast();
    if (lines)
        *lines = reply;
    return ok;
}

QStringList SimProcess::traffic()
{
    QStringList out;
    for (const QString &line : send(QStringLiteral("journal"))) {
        const QStringList p = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        const QByteArray b = QByteArray::fromHex(p.mid(2).join(QString()).toLatin1());
        if (p.size() < 4)
            continue;
        if (p.at(1) == QLatin1String("cmd") && b.size() > 6)
            out << QStringLiteral("cmd %1/%2/%3").arg(quint8(b[0]), 0, 16).arg(quint8(b[5]), 0, 16).arg(quint8(b[6]), 0, 16);
        else if (p.at(1) == QLatin1String("tftp") && b.size() > 2 && b.at(0) == 0 && (b.at(1) == 1 || b.at(1) == 2))
            out << QLatin1String(b.at(1) == 1 ? "RRQ " : "WRQ ") + QString::fromLatin1(b.mid(2).split('\0').first());
    }
    return out;
}

QByteArray SimProcess::standardError()
{
    stderr_ += process_.readAllStandardError();
    return stderr_;
}
