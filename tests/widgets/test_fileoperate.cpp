// The file-transfer dialog offscreen: the status text of a download, the progress of an
// upload (an empty one too), and its verdict (fault: a failed transfer reported as success, a
// dialog left open after the transfer, an early failure hanging in exec()).
#include "../link/test_tftpscripted.h"

#include "platform/atomicfile.h"
#include "platform/panelpaths.h"
#include "portoffset.h"
#include "testroot.h"
#include "ui/fileoperate.h"
#include "ui/labeltftp.h"

#include <QLabel>
#include <QProgressBar>
#include <QTest>

class TestFileoperate : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        PortOffset::useFree();
        qputenv("KNIT_TIMEOUT_SCALE", "0.02");
    }

    // Whole transfers through the dialog against a scripted server.
    void transfers_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("size");
        QTest::addColumn<bool>("refuse");
        QTest::addColumn<QString>("status"); // download: the label's last text
        QTest::addColumn<int>("progress");   // upload: the bar's last value
        QTest::addColumn<bool>("accepted");
        QTest::addRow("empty upload") << 1 << 0 << false << QString() << 100 << true;
        QTest::addRow("600 byte upload") << 1 << 600 << false << QString() << 100 << true;
        QTest::addRow("refused upload") << 1 << 600 << true << QString() << 0 << false;
        QTest::addRow("1000 byte download") << 2 << 1000 << false << QStringLiteral("正在下载: 1000 B") << -1 << true;
        QTest::addRow("refused download") << 2 << 1000 << true << QStringLiteral("正在联接下载服务器, 请稍等 ......") << -1 << false;
    }

    void transfers()
    {
        QFETCH(int, mode);
        QFETCH(int, size);
        QFETCH(bool, refuse);
        QFETCH(QString, status);
        QFETCH(int, progress);
        QFETCH(bool, accepted);
        TestRoot root;
        ScriptedServer server;
        QVERIFY(server.ok());
        const QByteArray body(size, 'k');
        char error[64];
        const QByteArray refusal(error, TftpPacket::makeerror(TftpPacket::NotFound, "File not found", error, sizeof error));
        int sent = 0;
        server.onPacket = [&](int socket, const TftpPacket::View &v, const QByteArray &) {
            if (socket == 0 && refuse)
                server.send(1, refusal);
            else if (socket == 0 && v.opcode == TftpPacket::Wrq)
                server.send(1, ScriptedServer::ack(0));
            else if (v.opcode == TftpPacket::Data)
                server.send(1, ScriptedServer::ack(v.block));
            if ((socket == 0 && v.opcode == TftpPacket::Rrq && !refuse) || (v.opcode == TftpPacket::Ack && sent * 512 <= size)) {
                const QByteArray chunk = body.mid(sent * 512, 512);
                ++sent;
                server.send(1, ScriptedServer::data(sent, chunk));
            }
        };
        const QString path = PanelPaths::tmp("/job.wrk");
        if (mode == 1)
            QVERIFY(AtomicFile::save(path, body));
        fileoperate dialog(path, QHostAddress::LocalHost, mode);
        QCOMPARE(dialog.run() == QDialog::Accepted, accepted);
        QCOMPARE(dialog.isVisible(), false);
        if (mode == 1)
            QCOMPARE(dialog.labelTftp()->progressBar()->value(), progress);
        else
            QCOMPARE(dialog.labelTftp()->text(), status);
        if (mode == 2 && accepted) {
            QFile f(path);
            QVERIFY(f.open(QIODevice::ReadOnly));
            QCOMPARE(f.readAll(), body);
        }
    }

    // A local file that cannot be used ends the transfer before the dialog runs; the static
    // helpers must return false at once rather than wait in a dialog nobody closes.
    void unusableLocalFileEndsAtOnce_data()
    {
        QTest::addColumn<bool>("upload");
        QTest::addRow("upload of a missing file") << true;
        QTest::addRow("download into a missing folder") << false;
    }

    void unusableLocalFileEndsAtOnce()
    {
        QFETCH(bool, upload);
        TestRoot root;
        const QString path = PanelPaths::tmp(upload ? "/missing.cnt" : "/no/dir/file.cnt");
        const bool ok = upload ? fileoperate::tftpputfile(path, QHostAddress::LocalHost)
                               : fileoperate::tftpgetfile(path, QHostAddress::LocalHost);
        QVERIFY(!ok);
    }
};

QTEST_MAIN(TestFileoperate)
#include "test_fileoperate.moc"
