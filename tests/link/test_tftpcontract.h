#pragma once
// What every TFTP server the panel meets must give our client, written once and run against
// knitsim's server (link_test_tftpclient) and against tftpd-hpa (interop_test_tftpinterop).
// Header only: each .cpp under tests/ is its own test program.

#include "link/tftpclient.h"
#include "platform/atomicfile.h"
#include "platform/panelpaths.h"
#include "testbytes.h"
#include "testtable.h"

#include <QDir>
#include <QFile>
#include <QHostAddress>
#include <QSignalSpy>
#include <QTest>

namespace TftpContract {

// Bytes that differ from block to block, so a repeated or skipped block shows.
inline QByteArray pattern(qint64 size, int seed)
{
    QByteArray b(int(size), Qt::Uninitialized);
    quint32 x = 2654435761u * quint32(seed + 1);
    for (qint64 i = 0; i < size; ++i) {
        x = x * 1103515245u + 12345u;
        b[int(i)] = char(x >> 16);
    }
    return b;
}

using TestBytes::readFile;

// One transfer with a fresh client against 127.0.0.1; over's code, or -1 when none came.
// started receives get()/put()'s return value. over must come exactly once.
inline int run(bool upload, const QString &localPath, const QString &remoteName = QString(),
               bool *started = nullptr, int limitMs = 30000)
{
    TftpClient client;
    QSignalSpy spy(&client, &TftpClient::over);
    const QString name = remoteName.isEmpty() ? TftpClient::remoteNameFor(localPath) : remoteName;
    const QHostAddress server(QHostAddress::LocalHost);
    const bool ok = upload ? client.put(localPath, name, server) : client.get(localPath, name, server);
    if (started)
        *started = ok;
    if (spy.isEmpty())
        spy.wait(limitMs);
    if (spy.size() != 1)
        return -1;
    return spy.at(0).at(0).toInt();
}

// Both directions: "get" and "put".
inline void directionRows()
{
    QTest::addColumn<bool>("upload");
    QTest::addRow("get") << false;
    QTest::addRow("put") << true;
}

// Both directions at the sizes around the 512-byte block.
inline void sizeRows()
{
    TestTable::columns<bool, int>("upload", "size");
    for (bool upload : {false, true}) {
        for (int size : {0, 1, 511, 512, 513, 1000, 70000})
            QTest::addRow("%s %d bytes", upload ? "put" : "get", size) << upload << size;
    }
}

// A transfer arrives whole: a download replaces the old local file, an upload lands under the
// local file's last path component (fault: lost last or empty block, a short block taken as a
// full one, an off-by-one in block numbering).
inline void transfer(const QString &serverDir)
{
    auto [upload, size] = TestTable::fetch<bool, int>("upload", "size");
    const QString name = QStringLiteral("%1%2.bin").arg(QLatin1String(upload ? "put" : "get")).arg(size);
    const QByteArray body = pattern(size, size);
    const QString local = PanelPaths::tmp(QLatin1Char('/') + name);
    const QString remote = serverDir + QLatin1Char('/') + name;
    QVERIFY(AtomicFile::save(upload ? local : remote, body));
    if (!upload)
        QVERIFY(AtomicFile::save(local, QByteArray("old contents")));
    QCOMPARE(run(upload, local), int(TftpClient::Complete));
    QCOMPARE(readFile(upload ? remote : local), body);
}

// A file the server does not have gives code 1 and leaves the local file as it was (fault:
// the local file truncated before the transfer succeeded); local files that cannot be written
// or read give codes 2 and 3 and get()/put() false.
inline void failures()
{
    const QString local = PanelPaths::tmp(QStringLiteral("/absent.bin"));
    QVERIFY(AtomicFile::save(local, QByteArray("keep me")));
    QCOMPARE(run(false, local), int(TftpClient::Failed));
    QCOMPARE(readFile(local), QByteArray("keep me"));
    bool started = true;
    QCOMPARE(run(false, PanelPaths::tmp(QStringLiteral("/no/such/dir/get1.bin")), QString(), &started),
             int(TftpClient::CannotWrite));
    QVERIFY(!started);
    started = true;
    QCOMPARE(run(true, PanelPaths::tmp(QStringLiteral("/missing.bin")), QString(), &started),
             int(TftpClient::CannotRead));
    QVERIFY(!started);
}

} // namespace TftpContract
