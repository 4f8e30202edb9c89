#include "simprocess.h"

#include "ownprogram.h"
#include "portoffset.h"

#include <QDeadlineTimer>
#include <QHostAddress>
#include <QRegularExpression>
#include <QTest>
#include <QUdpSocket>

#include <algorithm>

namespace {

constexpr int kStartMs = 10000;
constexpr int kStopMs = 5000;
constexpr int kReplyMs = 5000;

} // namespace

bool SimProcess::start(QString *error, const QStringList &options)
{
    stop();
    error_.clear();
    auto fail = [this, error](const QString &why) {
        error_ = why;
        if (error)
            *error = why;
        stop();
        return false;
    };
    if (!root_.isValid())
        return fail(QStringLiteral("cannot make a temporary root"));
    bool ok = false;
    const int env = qEnvironmentVariableIntValue("KNIT_PORT_OFFSET", &ok);
    offset_ = ok ? env : PortOffset::useFree();
    startOwnProgram(process_, QStringLiteral(KNITSIM_PATH), QStringList{QStringLiteral("--root"), root_.path(), QStringLiteral("--control"), QStringLiteral("0"),
                                                   QStringLiteral("--port-offset"), QString::number(offset_)} + options);
    if (!process_.waitForStarted(kStartMs))
        return fail(QStringLiteral("knitsim did not start: %1").arg(process_.errorString()));
    // knitsim picks the control port itself and names it in its ready line.
    const QDeadlineTimer deadline(kStartMs);
    while (!process_.canReadLine()) {
        if (!process_.waitForReadyRead(int(deadline.remainingTime())) && !process_.canReadLine())
            return fail(QStringLiteral("knitsim not ready: %1").arg(QString::fromLocal8Bit(process_.readAllStandardError())));
    }
    const QStringList words = QString::fromUtf8(process_.readLine()).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (words.size() < 6 || words[1] != QLatin1String("ready"))
        return fail(QStringLiteral("unexpected first line from knitsim: %1").arg(words.join(QLatin1Char(' '))));
    commandPort_ = quint16(words[5].toUInt());
    control_.connectToHost(QHostAddress::LocalHost, quint16(words[3].toUInt()));
    if (!control_.waitForConnected(kStartMs))
        return fail(QStringLiteral("control port %1: %2").arg(words[3], control_.errorString()));
    return true;
}

void SimProcess::stop()
{
    if (process_.state() == QProcess::NotRunning)
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
}

QStringList SimProcess::send(const QString &line)
{
    QStringList out;
    if (control_.state() != QAbstractSocket::ConnectedState)
        return out;
    control_.write(line.toUtf8() + '\n');
    control_.waitForBytesWritten(kReplyMs);
    const QDeadlineTimer deadline(kReplyMs);
    for (;;) {
        while (control_.canReadLine()) {
            out << QString::fromUtf8(control_.readLine()).trimmed();
            if (out.last() == QLatin1String("ok") || out.last().startsWith(QLatin1String("error")))
                return out;
        }
        if (deadline.hasExpired() || !control_.waitForReadyRead(int(deadline.remainingTime())))
            return {};
    }
}

QStringList SimProcess::traffic(bool bare)
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
    return bare ? out.replaceInStrings(QRegularExpression(QStringLiteral("/.*")), QString()) : out;
}

bool SimProcess::waitFor(const QString &line, int ms, int count)
{
    const bool bare = !line.contains(QLatin1Char('/'));
    // Events go on meanwhile: a panel's output keeps being read.
    return QTest::qWaitFor([&] { return traffic(bare).count(line) >= count; }, ms);
}

bool SimProcess::commandsJournaled(int ms)
{
    // Short of a command's twelve bytes, so knitsim journals it and does nothing else.
    const QByteArray marker = "mark" + QByteArray::number(++markers_);
    QUdpSocket socket;
    if (socket.writeDatagram(marker, QHostAddress::LocalHost, commandPort_) != marker.size())
        return false;
    const QString hex = QString::fromLatin1(marker.toHex());
    return QTest::qWaitFor([&] {
        const QStringList lines = send(QStringLiteral("journal"));
        return std::any_of(lines.begin(), lines.end(), [&](const QString &l) { return l.section(QLatin1Char(' '), 2).remove(QLatin1Char(' ')) == hex; });
    }, ms);
}
