#pragma once
// bench/dashboard's attack run: the attackers (this program again, with --attacker) and the
// windows, quiet and under attack in turn, that it measures the server in.
#include "dashboardload.h"
#include "fleetserve.h"

#include "telemetry/outbox.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QHash>
#include <QHostAddress>
#include <QRandomGenerator>
#include <QTcpSocket>
#include <QTest>
#include <QTimer>

#include <functional>

namespace DashboardBench {


// --attacker bodies|guesses PORT SECONDS: the attack's other side, in a process of its own so
// the panels' publisher never waits on it. Prints one line: what the server answered.
inline int attacker(const QString &kind, quint16 port, int seconds)
{
    const bool bodies = kind == QLatin1String("bodies");
    const int connections = bodies ? 500 : 100;
    QHash<int, int> answers; // status -> count
    QElapsedTimer clock;
    clock.start();
    const QByteArray head = bodies ? "POST /api/health HTTP/1.1\r\nHost: 127.0.0.1\r\nContent-Length: 100000000\r\n\r\n"
                                   : "GET /api/health HTTP/1.1\r\nHost: 127.0.0.1\r\nAuthorization: Basic "
                                         + QByteArray("office:guess").toBase64() + "\r\n\r\n";
    const QByteArray chunk = QByteArray(8190, 'a') + "\r\n\r\n";
    std::function<void(int)> open = [&](int i) {
        if (clock.elapsed() >= seconds * 1000LL)
            return;
        auto *s = new QTcpSocket;
        // Bodies come from 32 addresses (16 connections each are let in), guesses from one.
        if (bodies)
            s->bind(QHostAddress(QStringLiteral("127.0.0.%1").arg(2 + i % 32)), 0);
        auto *sent = new qint64(0);
        QObject::connect(s, &QTcpSocket::connected, s, [s, &head] { s->write(head); });
        QObject::connect(s, &QTcpSocket::bytesWritten, s, [s, sent, bodies, &chunk] {
            while (bodies && *sent < 100000000 && s->bytesToWrite() < 256 * 1024) {
                s->write(chunk);
                *sent += chunk.size();
            }
        });
        QObject::connect(s, &QTcpSocket::readyRead, s, [s, &answers] {
            const QByteArray reply = s->readAll();
            if (reply.startsWith("HTTP/1.1 "))
                ++answers[reply.mid(9, 3).toInt()];
        });
        QObject::connect(s, &QTcpSocket::stateChanged, s, [s, sent, i, &open](QAbstractSocket::SocketState st) {
            if (st != QAbstractSocket::UnconnectedState)
                return;
            s->deleteLater();
            delete sent;
            QTimer::singleShot(10, [i, &open] { open(i); });
        });
        s->connectToHost(QHostAddress::LocalHost, port);
    };
    for (int i = 0; i < connections; ++i)
        open(i);
    QTimer::singleShot(seconds * 1000 + 2000, qApp, &QCoreApplication::quit);
    qApp->exec();
    std::printf("attacker %s: 401 %d 413 %d 429 %d 503 %d\n", qPrintable(kind), answers.value(401), answers.value(413),
                answers.value(429), answers.value(503));
    return 0;
}

inline qint64 residentKb(qint64 pid)
{
    QFile f(QStringLiteral("/proc/%1/status").arg(pid));
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray s = f.readAll();
    return s.mid(s.indexOf("VmRSS:") + 6).trimmed().split(' ').value(0).toLongLong();
}

// The attack run: windows of windowMs, quiet and under attack in turn, the panels publishing
// throughout; fleet records them with logins on.
inline void attackRun(FleetServe &fleet, const DbTarget &target, Outbox &outbox, int machines, int windows, int windowMs)
{
    StoredWatch watch(target);
    QString why;
    if (!watch.open(&why)) {
        std::printf("attack run left out: %s\n", qPrintable(why));
        return;
    }
    std::vector<Pending> pending[2];
    std::vector<double> lags[2], rss[3]; // quiet, under the bodies, under the guesses
    std::vector<int> pieces(std::size_t(machines) + 1, 1000);
    int window = 0;
    int next = 1;
    QList<QProcess *> attackers;
    QTimer publish, poll, sample, windowTimer;
    QObject::connect(&publish, &QTimer::timeout, [&] {
        for (int k = 0; k < qMax(1, machines / 50); ++k, next = next % machines + 1) {
            const bool piece = QRandomGenerator::global()->bounded(60) == 0;
            pieces[std::size_t(next)] += piece ? 1 : 0;
            outbox.push({Outbox::Kind::State, "knit/" + machineId(next).toUtf8() + "/state", state(next, 0, pieces[std::size_t(next)]), false});
            if (piece && window > 0)
                pending[window % 2].push_back({next, pieces[std::size_t(next)], QDateTime::currentMSecsSinceEpoch()});
        }
    });
    QObject::connect(&poll, &QTimer::timeout, [&] {
        for (int w = 0; w < 2; ++w)
            watch.poll(&pending[w], &lags[w]);
    });
    QObject::connect(&sample, &QTimer::timeout, [&] {
        if (window > 0)
            rss[window % 2 == 0 ? 0 : window % 4 == 1 ? 1 : 2].push_back(double(residentKb(fleet.process().processId())) / 1024);
    });
    QEventLoop loop;
    QObject::connect(&windowTimer, &QTimer::timeout, [&] {
        // Window 0 warms up; odd windows are attacked, by bodies and by guesses in turn.
        if (++window > windows)
            return loop.quit();
        if (window % 2 == 1) {
            for (const char *kind : {window % 4 == 1 ? "bodies" : "guesses"}) {
                auto *p = new QProcess;
                p->start(QCoreApplication::applicationFilePath(),
                         {"--attacker", QLatin1String(kind), QString::number(fleet.port()), QString::number(windowMs / 1000)});
                attackers.append(p);
            }
        }
    });
    publish.start(20);
    poll.start(20);
    sample.start(200);
    windowTimer.start(windowMs);
    loop.exec();
    publish.stop();
    // The last states get their seconds to arrive; what never does is told below.
    const bool allSeen = QTest::qWaitFor([&] {
        watch.poll(&pending[0], &lags[0]);
        watch.poll(&pending[1], &lags[1]);
        return pending[0].empty() && pending[1].empty();
    }, 3000);
    if (!allSeen)
        std::printf("  not seen within 3 s: quiet %zu, under attack %zu\n", pending[0].size(), pending[1].size());
    int checked = 0;
    for (QProcess *p : std::as_const(attackers)) {
        p->waitForFinished(10000);
        const QByteArray line = p->readAllStandardOutput().trimmed();
        if (line.startsWith("attacker guesses"))
            checked += line.mid(line.indexOf("401 ") + 4).split(' ').value(0).toInt();
        std::printf("  %s\n", line.constData());
        delete p;
    }
    const double attackedS = double(windows / 4 * windowMs) / 1000;
    std::printf("attack run: %d windows of %d s, every other one under attack, in turn by 500 connections sending 100 MB "
                "bodies from 32 addresses and by 100 connections guessing from one:\n", windows, windowMs / 1000);
    std::printf("  server memory (target < +50 MB): quiet median %.1f MB; under the bodies highest %.1f MB (+%.1f MB); under the "
                "guesses highest %.1f MB (+%.1f MB, a password check takes argon2id's 64 MiB while it runs)\n",
                quantile(rss[0], 0.5), quantile(rss[1], 1.0), quantile(rss[1], 1.0) - quantile(rss[0], 0.5), quantile(rss[2], 1.0),
                quantile(rss[2], 1.0) - quantile(rss[0], 0.5));
    std::printf("  guesses checked from one address over 100 connections (target ≤ 1 a second): %d in %.0f s, %.2f a second\n",
                checked, attackedS, double(checked) / attackedS);
    printLag("ingest lag, quiet", lags[0]);
    printLag("ingest lag, under attack", lags[1]);
    std::printf("  p99 under attack ÷ quiet (target ≤ 1.2): %.2f\n", quantile(lags[1], 0.99) / qMax(1.0, quantile(lags[0], 0.99)));
}


} // namespace DashboardBench
