// The TFTP contract against tftpd-hpa, and knitsim's server against the tftp-hpa client.
// Catches a client or server that only works with its own counterpart: wrong block
// numbering, a missing empty last block, request fields another implementation rejects,
// names with '/', '..' or a leading '.' reaching outside knitsim's root.
#include "../link/test_tftpcontract.h"
#include "ownprogram.h"
#include "testtable.h"

#include "tftpserver.h"

#include "link/tftpporthistory.h"
#include "link/tftpsocket.h"
#include "platform/panelenv.h"
#include "portoffset.h"
#include "testroot.h"

#include <QProcess>

#include <memory>

namespace {

const char kTftpd[] = "/usr/sbin/in.tftpd";
const char kTftp[] = "/usr/bin/tftp";

} // namespace

class TestTftpInterop : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        new TftpPortHistory(qApp); // as the panel keeps it, across its transfers
        PortOffset::useFree();
        root_ = std::make_unique<TestRoot>();
        QVERIFY(QDir().mkpath(tftpdDir()));
        QVERIFY(QDir().mkpath(simDir()));
        // tftpd-hpa drops to "nobody", which must be able to create files there.
        QFile::setPermissions(tftpdDir(), QFileDevice::Permissions(0x7777));
        sim_ = std::make_unique<TftpServer>(simDir());
        QVERIFY(sim_->listen(QHostAddress::LocalHost, 0));

        if (!QFile::exists(kTftpd))
            return;
        const quint16 port = PanelEnv::port(69);
        tftpd_.start(kTftpd, {"-L", "-c", "-a", QStringLiteral("127.0.0.1:%1").arg(port), "-s", tftpdDir()});
        // Up once something holds its port.
        tftpdUp_ = tftpd_.waitForStarted(5000) && QTest::qWaitFor([port] { return !TftpSocket().bind(QHostAddress::LocalHost, port); }, 2000)
            && tftpd_.state() == QProcess::Running;
    }

    void cleanupTestCase()
    {
        endProgram(tftpd_);
        sim_.reset();
        root_.reset();
    }

    void tftpdTransfer_data() { TftpContract::sizeRows(); }

    void tftpdTransfer()
    {
        needTftpd();
        TftpContract::transfer(tftpdDir());
    }

    void tftpdFailures()
    {
        needTftpd();
        TftpContract::failures();
    }

    void simByTftpHpa_data() { TftpContract::sizeRows(); }

    // knitsim serves a file whole to tftp-hpa and accepts one whole under the plain name.
    void simByTftpHpa()
    {
        needTftp();
        auto [upload, size] = TestTable::fetch<bool, int>("upload", "size");
        const QString name = QStringLiteral("%1%2.knt").arg(QLatin1String(upload ? "put" : "get")).arg(size);
        const QByteArray body = TftpContract::pattern(size, 11);
        const QString local = PanelPaths::tmp("/" + name);
        const QString remote = simDir() + "/" + name;
        QVERIFY(AtomicFile::save(upload ? local : remote, body));
        QSignalSpy received(sim_.get(), &TftpServer::received);
        const QString out = upload ? tftpHpa({"put", local, name}) : tftpHpa({"get", name, local});
        QVERIFY2(!out.contains("Error"), qPrintable(out));
        QCOMPARE(TftpContract::readFile(upload ? remote : local), body);
        if (upload)
            QCOMPARE(received.value(0).value(0).toString(), name);
    }

    // Names that would leave the root, or hide a file, are refused with ERROR and touch nothing.
    void simRefusesNames_data()
    {
        TestTable::columns<QString, QString>("verb", "name");
        QTest::addRow("get parent") << "get" << "../secret";
        QTest::addRow("put subdir") << "put" << "sub/planted";
        QTest::addRow("put hidden") << "put" << ".planted";
    }

    void simRefusesNames()
    {
        needTftp();
        auto [verb, name] = TestTable::fetch<QString, QString>("verb", "name");
        QVERIFY(AtomicFile::save(root_->file("/secret"), QByteArray("secret")));
        QVERIFY(QDir().mkpath(simDir() + "/sub"));
        const QString local = PanelPaths::tmp("/refused.bin");
        QVERIFY(AtomicFile::save(local, verb == "put" ? QByteArray("payload") : QByteArray()));
        const QString out = verb == "put" ? tftpHpa({"put", local, name}) : tftpHpa({"get", name, local});
        QVERIFY2(out.contains("Error code 2"), qPrintable(out));
        QVERIFY(!QFile::exists(simDir() + "/sub/planted"));
        QVERIFY(!QFile::exists(simDir() + "/.planted"));
        if (verb == "get")
            QCOMPARE(TftpContract::readFile(local), QByteArray());
    }

private:

    void needTftpd()
    {
        if (!QFile::exists(kTftpd))
            QSKIP("tftpd-hpa is not installed: install it with scripts/setup.sh");
        if (!tftpdUp_)
            QSKIP("in.tftpd did not start (it needs to run as root to drop to nobody)");
    }

    void needTftp()
    {
        if (!QFile::exists(kTftp))
            QSKIP("tftp-hpa is not installed: install it with scripts/setup.sh");
    }
    // Runs tftp-hpa against knitsim's server while the event loop serves; its output.

    QString tftpHpa(const QStringList &command)
    {
        QProcess p;
        p.setProcessChannelMode(QProcess::MergedChannels);
        QSignalSpy done(&p, &QProcess::finished);
        p.start(kTftp, QStringList{"-m", "binary", "127.0.0.1", QString::number(sim_->port()), "-c"} + command);
        if (!done.wait(30000))
            p.kill();
        p.waitForFinished(3000);
        return QString::fromLocal8Bit(p.readAll());
    }
    QString tftpdDir() const { return root_->file(QStringLiteral("/tftpd")); }
    QString simDir() const { return root_->file(QStringLiteral("/sim")); }

    std::unique_ptr<TestRoot> root_;
    QProcess tftpd_;
    bool tftpdUp_ = false;
    std::unique_ptr<TftpServer> sim_;
};

QTEST_GUILESS_MAIN(TestTftpInterop)
#include "test_tftpinterop.moc"
