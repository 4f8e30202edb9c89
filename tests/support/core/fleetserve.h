#pragma once

#include "ownprogram.h"

#include <QDeadlineTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QTcpSocket>

// knitfleet serve run by a test: started with its arguments (listening on a free loopback port
// unless they say otherwise), ready once it prints where it serves; and a plain HTTP/1.1
// request to it, answered as status line, headers and body.
class FleetServe
{
public:
    struct Reply
    {
        int status = 0;
        QByteArray head;
        QByteArray body;
    };

    ~FleetServe() { stop(); }
    // False, saying why, when knitfleet was built without serve (a cross build without the
    // foreign Qt HttpServer).
    static bool built(QString *why)
    {
        QProcess p;
        startOwnProgram(p, QStringLiteral(KNITFLEET_PATH), {"serve", "--help"});
        p.waitForFinished(30000);
        *why = QString::fromLocal8Bit(p.readAllStandardError()).trimmed();
        return !why->contains(QLatin1String("not built in"));
    }
    bool start(const QStringList &args)
    {
        startOwnProgram(process_, QStringLiteral(KNITFLEET_PATH), QStringList{"serve", "--listen", "127.0.0.1:0"} + args);
        const QDeadlineTimer deadline(15000);
        static const QRegularExpression serving(QStringLiteral("serving https?://[0-9.]+:([0-9]+)/"));
        while (!deadline.hasExpired() && process_.state() != QProcess::NotRunning) {
            process_.waitForReadyRead(200);
            out_ += process_.readAllStandardOutput();
            const QRegularExpressionMatch m = serving.match(QString::fromUtf8(out_));
            if (m.hasMatch()) {
                port_ = m.captured(1).toInt();
                return true;
            }
        }
        return false;
    }
    void stop() { endProgram(process_, 5000); }
    int port() const { return port_; }
    QProcess &process() { return process_; }
    QString url(const QString &path = QStringLiteral("/")) const
    {
        return QStringLiteral("http://127.0.0.1:%1%2").arg(port_).arg(path);
    }

    // One request with its own connection; the reply as far as it came within ms.
    Reply request(const QByteArray &head, int ms = 5000) const
    {
        QTcpSocket s;
        s.connectToHost(QHostAddress::LocalHost, quint16(port_));
        Reply r;
        if (!s.waitForConnected(3000))
            return r;
        s.write(head);
        QByteArray all;
        const QDeadlineTimer deadline(ms);
        while (!deadline.hasExpired() && s.state() == QAbstractSocket::ConnectedState) {
            if (s.waitForReadyRead(int(qMax<qint64>(1, deadline.remainingTime()))))
                all += s.readAll();
            const qsizetype end = all.indexOf("\r\n\r\n");
            const QRegularExpressionMatch length = QRegularExpression(QStringLiteral("(?i)content-length: *([0-9]+)")).match(QString::fromLatin1(all.left(end)));
            // A reply to HEAD, or an upgrade's, is a head alone.
            const bool headOnly = head.startsWith("HEAD ") || all.startsWith("HTTP/1.1 1");
            if (end >= 0 && (headOnly || (length.hasMatch() && all.size() >= end + 4 + length.captured(1).toInt())))
                break;
        }
        all += s.readAll();
        const qsizetype end = all.indexOf("\r\n\r\n");
        r.status = all.mid(9, 3).toInt();
        r.head = all.left(end);
        r.body = end < 0 ? QByteArray() : all.mid(end + 4);
        return r;
    }
    Reply get(const QByteArray &target, const QByteArray &headers = QByteArray()) const
    {
        return request("GET " + target + " HTTP/1.1\r\nHost: 127.0.0.1\r\n" + headers + "\r\n");
    }

private:
    QProcess process_;
    QByteArray out_;
    int port_ = 0;
};
