// Our TFTP client against knitsim's server (in-process) and against scripted servers. Catches:
// lost, repeated or skipped blocks; a server error or a silent server not ending the transfer;
// a half-written or damaged local file after a failure; data taken from a stranger's port;
// block numbers that stop at 65535; request retransmission that is too short or too long;
// knitjob fetch/send reporting a failure as success. (The knitsim program's TFTP serving, its
// faults from the control protocol and its journal are exercised by every start-up test.)
#include "ownprogram.h"
#include "test_tftpcontract.h"
#include "test_tftpscripted.h"
#include "testtable.h"

#include "faultlayer.h"
#include "tftpserver.h"

#include "link/tftppacket.h"
#include "link/tftpporthistory.h"
#include "platform/panelenv.h"
#include "portoffset.h"
#include "testroot.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QScopeGuard>

#include <memory>

namespace {

const char kScale[] = "0.02"; // request time-out 120 ms, inactivity limit 1.2 s

} // namespace

class TestTftpClient : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        new TftpPortHistory(qApp); // as the panel keeps it, across its transfers
        PortOffset::useFree();
        qputenv("KNIT_TIMEOUT_SCALE", kScale);
    }

    void init()
    {
        root_ = std::make_unique<TestRoot>();
        QVERIFY(QDir().mkpath(simDir()));
        network_ = std::make_unique<FaultLayer>(1);
        server_ = std::make_unique<TftpServer>(simDir(), network_.get());
        QVERIFY2(server_->listen(QHostAddress::LocalHost, PanelEnv::port(69)), qPrintable(server_->errorString()));
    }

    void cleanup()
    {
        server_.reset();
        network_.reset();
        root_.reset();
    }

    void transfer_data() { TftpContract::sizeRows(); }
    void transfer() { TftpContract::transfer(simDir()); }
    void failures() { TftpContract::failures(); }

    // Faults injected into knitsim's server and its network: an ERROR answer and a server going
    // silent end the transfer with code 1 and leave the old local file (a download answered
    // with ERROR is the contract's missing file); duplicated packets do not disturb the file (fault: a duplicate written twice, a silent server hanging the panel, a
    // duplicated acknowledgement that doubles every block after it, for ever).
    void serverFaults_data()
    {
        TestTable::columns<bool, QStringList, int, int>("upload", "fault", "size", "code");
        QTest::addRow("put error") << true << QStringList{"error", "job.cnt"} << 1000 << 1;
        QTest::addRow("get duplicate") << false << QStringList{"duplicate"} << 70000 << 0;
        QTest::addRow("put duplicate") << true << QStringList{"duplicate"} << 70000 << 0;
        QTest::addRow("get silent after 3") << false << QStringList{"silent-after", "3"} << 70000 << 1;
        QTest::addRow("put silent after 2") << true << QStringList{"silent-after", "2"} << 70000 << 1;
    }

    void serverFaults()
    {
        auto [upload, fault, size, code] = TestTable::fetch<bool, QStringList, int, int>("upload", "fault", "size", "code");
        QString why;
        QVERIFY2(server_->applyFault(fault, &why) || network_->apply(fault, &why), qPrintable(why));
        const QByteArray body = TftpContract::pattern(size, 3);
        const QByteArray old("old contents");
        QVERIFY(AtomicFile::save(simDir() + "/job.cnt", upload ? old : body));
        QVERIFY(AtomicFile::save(local("job.cnt"), upload ? body : old));
        QSignalSpy packets(server_.get(), &TftpServer::datagram);
        QCOMPARE(TftpContract::run(upload, local("job.cnt")), code);
        // Duplicates double the traffic and a slow machine's retransmissions (20 ms here) add
        // some; the fault multiplies it block by block.
        QVERIFY2(packets.size() <= 3 * (size / 512 + 2), qPrintable(QString::number(packets.size())));
        const QByteArray expected = code == 0 ? body : old;
        QCOMPARE(TftpContract::readFile(upload ? simDir() + "/job.cnt" : local("job.cnt")), expected);
        QVERIFY(!QDir(PanelPaths::tmpDir()).entryList(QDir::Files | QDir::Hidden).join(' ').contains(".job.cnt"));
    }

    // Nobody answers: the request goes out once and is repeated ten times, one request time-out
    // apart, then code 1 (fault: retries miscounted, or no time-out at all).
    void unansweredRequest_data() { TftpContract::directionRows(); }

    void unansweredRequest()
    {
        QFETCH(bool, upload);
        server_.reset(); // the scripted server takes the TFTP port
        ScriptedServer fake;
        QVERIFY(fake.ok());
        QVERIFY(AtomicFile::save(local("file.sys"), QByteArray(404, 'p')));
        QElapsedTimer clock;
        clock.start();
        QCOMPARE(TftpContract::run(upload, local("file.sys")), 1);
        const qint64 elapsed = clock.elapsed();
        QCOMPARE(fake.received[0].size(), 11);
        for (const QByteArray &r : fake.received[0])
            QCOMPARE(TftpPacket::parse(r.constData(), r.size()).opcode, upload ? 2 : 1);
        const int period = PanelEnv::scaledMs(TftpClient::kRequestTimeoutMs);
        QVERIFY2(elapsed >= 11 * period - 20 && elapsed < 11 * period + 2000, qPrintable(QString::number(elapsed)));
        QCOMPARE(TftpContract::readFile(local("file.sys")), QByteArray(404, 'p'));
    }

    // Once the server answered from one port, a DATA from another port is answered with ERROR 5
    // there and not written (fault: a stranger's packet spliced into the file).
    void strangerPortIsRefused()
    {
        server_.reset(); // the scripted server takes the TFTP port
        ScriptedServer fake;
        QVERIFY(fake.ok());
        const QByteArray first = TftpContract::pattern(512, 1);
        fake.onPacket = [&](int socket, const TftpPacket::View &v, const QByteArray &) {
            if (socket == 0 && v.opcode == TftpPacket::Rrq) {
                fake.send(1, ScriptedServer::data(1, first));
            } else if (socket == 1 && v.opcode == TftpPacket::Ack && v.block == 1) {
                fake.send(2, ScriptedServer::data(2, "intruder"));
            } else if (socket == 2 && v.opcode == TftpPacket::Error) {
                fake.send(1, ScriptedServer::data(2, "tail"));
            }
        };
        QCOMPARE(TftpContract::run(false, local("file.knt")), 0);
        QCOMPARE(TftpContract::readFile(local("file.knt")), first + "tail");
        QCOMPARE(fake.received[2].size(), 1);
        const TftpPacket::View error = TftpPacket::parse(fake.received[2].at(0).constData(), fake.received[2].at(0).size());
        QCOMPARE(error.opcode, int(TftpPacket::Error));
        QCOMPARE(int(error.errorCode), int(TftpPacket::UnknownTid));
    }

    // A server still repeating a packet of an earlier transfer (the last one's port, or a dead
    // run's block) reaches the new one first: it is refused with ERROR 5 and the transfer takes
    // the real answer that follows (fault: another file's data taken for this one, or the
    // earlier port fixed as the server's so that the real answer is refused).
    void earlierTransfersPackets_data()
    {
        // previous: a transfer on socket 1 first
        // stale: from socket 1, just before the real answer
        TestTable::columns<bool, bool, QByteArray>("upload", "previous", "stale");
        QTest::addRow("get: DATA 1 from the last transfer's port") << false << true << ScriptedServer::data(1, "old");
        QTest::addRow("get: a dead run's DATA 3") << false << false << ScriptedServer::data(3, "junk");
        QTest::addRow("put: ACK 0 from the last transfer's port") << true << true << ScriptedServer::ack(0);
        QTest::addRow("put: a dead run's ACK 5") << true << false << ScriptedServer::ack(5);
    }

    void earlierTransfersPackets()
    {
        auto [upload, previous, stale] = TestTable::fetch<bool, bool, QByteArray>("upload", "previous", "stale");
        server_.reset(); // the scripted server takes the TFTP port
        ScriptedServer fake;
        QVERIFY(fake.ok());
        const QByteArray body("the new file");
        int requests = 0;
        QByteArray uploaded;
        fake.onPacket = [&, upload = upload, previous = previous, stale = stale](int socket, const TftpPacket::View &v, const QByteArray &) {
            if (socket == 0 && (v.opcode == TftpPacket::Rrq || v.opcode == TftpPacket::Wrq)) {
                if (++requests == 1 && previous) {
                    fake.send(1, ScriptedServer::data(1, "first"));
                    return;
                }
                fake.send(1, stale);
                fake.send(2, upload ? ScriptedServer::ack(0) : ScriptedServer::data(1, body));
            } else if (socket == 2 && v.opcode == TftpPacket::Data) {
                uploaded = QByteArray(v.data, v.dataLength);
                fake.send(2, ScriptedServer::ack(v.block));
            }
        };
        if (previous)
            QCOMPARE(TftpContract::run(false, local("file.sys")), 0);
        QVERIFY(AtomicFile::save(local("config.cfg"), upload ? body : QByteArray("before")));
        QCOMPARE(TftpContract::run(upload, local("config.cfg")), 0);
        QCOMPARE(upload ? uploaded : TftpContract::readFile(local("config.cfg")), body);
        const auto refused = [&fake] {
            const QByteArray last = fake.received[1].value(fake.received[1].size() - 1);
            const TftpPacket::View v = TftpPacket::parse(last.constData(), last.size());
            return v.opcode == TftpPacket::Error && v.errorCode == TftpPacket::UnknownTid;
        };
        QTRY_VERIFY(refused());
    }

    // The answers of an upload to each acknowledgement: the block before the last one asks for
    // the last block again (the controller's way to ask for a lost block), even after the final
    // block; a number out of line after the final block ends with code 3.
    void uploadAcknowledgements_data()
    {
        // acks: sent after each DATA received
        // blocks: DATA blocks expected, in order
        TestTable::columns<QList<int>, QList<int>, int>("acks", "blocks", "code");
        QTest::addRow("repeat block 1") << QList<int>{0, 1, 2} << QList<int>{1, 1, 2} << 0;
        QTest::addRow("repeat last") << QList<int>{1, 1, 2} << QList<int>{1, 2, 2} << 0;
        QTest::addRow("wrong final ack") << QList<int>{1, 7} << QList<int>{1, 2} << 3;
    }

    void uploadAcknowledgements()
    {
        auto [acks, blocks, code] = TestTable::fetch<QList<int>, QList<int>, int>("acks", "blocks", "code");
        server_.reset(); // the scripted server takes the TFTP port
        ScriptedServer fake;
        QVERIFY(fake.ok());
        QList<int> seen;
        fake.onPacket = [&, &acks = acks](int socket, const TftpPacket::View &v, const QByteArray &) {
            if (socket == 0 && v.opcode == TftpPacket::Wrq)
                fake.send(1, ScriptedServer::ack(0));
            if (socket == 1 && v.opcode == TftpPacket::Data) {
                seen.append(v.block);
                if (seen.size() <= acks.size())
                    fake.send(1, ScriptedServer::ack(acks.at(seen.size() - 1)));
            }
        };
        QVERIFY(AtomicFile::save(local("config.cfg"), TftpContract::pattern(513, 2)));
        QCOMPARE(TftpContract::run(true, local("config.cfg")), code);
        QCOMPARE(seen, blocks);
    }

    // A server that never repeats its own packets loses one answer: the client repeats its last
    // block or acknowledgement after a period without one and the transfer completes; a clean
    // run sends nothing twice (fault: a lost final acknowledgement waited out for the whole idle
    // time and reported as a failure though the server has the file).
    void resendOnTimeout_data()
    {
        // lost: the server's n-th answer is not sent
        // blocks: of the client's DATA or ACK packets, in order
        TestTable::columns<bool, int, QList<int>>("upload", "lost", "blocks");
        QTest::addRow("put clean") << true << -1 << QList<int>{1, 2};
        QTest::addRow("put, last ACK lost") << true << 2 << QList<int>{1, 2, 2};
        QTest::addRow("get clean") << false << -1 << QList<int>{1, 2};
        QTest::addRow("get, DATA 2 lost") << false << 1 << QList<int>{1, 1, 2};
    }

    void resendOnTimeout()
    {
        auto [upload, lost, blocks] = TestTable::fetch<bool, int, QList<int>>("upload", "lost", "blocks");
        // Periods of 600 ms, so a loaded machine does not pass for a lost packet.
        qputenv("KNIT_TIMEOUT_SCALE", "0.1");
        const auto restore = qScopeGuard([] { qputenv("KNIT_TIMEOUT_SCALE", kScale); });
        server_.reset(); // the scripted server takes the TFTP port
        ScriptedServer fake;
        QVERIFY(fake.ok());
        const QByteArray body = TftpContract::pattern(513, 4);
        int answers = 0;
        QList<int> seen;
        QByteArray uploaded;
        const auto answer = [&, lost = lost](const QByteArray &packet) {
            if (answers++ != lost)
                fake.send(1, packet);
        };
        fake.onPacket = [&, upload = upload](int socket, const TftpPacket::View &v, const QByteArray &) {
            if (socket == 0) {
                answer(upload ? ScriptedServer::ack(0) : ScriptedServer::data(1, body.left(512)));
            } else if (v.opcode == TftpPacket::Data) {
                seen.append(v.block);
                if (seen.size() == 1 || v.block != seen.at(seen.size() - 2))
                    uploaded += QByteArray(v.data, v.dataLength);
                answer(ScriptedServer::ack(v.block));
            } else if (v.opcode == TftpPacket::Ack) {
                seen.append(v.block);
                if (v.block == 1)
                    answer(ScriptedServer::data(2, body.mid(512)));
            }
        };
        QVERIFY(AtomicFile::save(local("job.cnt"), upload ? body : QByteArray("old")));
        QCOMPARE(TftpContract::run(upload, local("job.cnt")), 0);
        QCOMPARE(upload ? uploaded : TftpContract::readFile(local("job.cnt")), body);
        QTRY_COMPARE(seen, blocks);
    }

    // A file of more than 65535 blocks (32 MiB) arrives whole both ways (fault: block numbers
    // that stop or restart wrongly at the wrap).
    void blockNumbersWrap_data() { TftpContract::directionRows(); }

    void blockNumbersWrap()
    {
        QFETCH(bool, upload);
        const QByteArray body = TftpContract::pattern(65536LL * 512 + 100, 9);
        const QString serverFile = simDir() + "/update.img";
        QVERIFY(AtomicFile::save(upload ? local("update.img") : serverFile, body));
        QCOMPARE(TftpContract::run(upload, local("update.img"), QString(), nullptr, 120000), 0);
        QVERIFY(TftpContract::readFile(upload ? serverFile : local("update.img")) == body);
    }

    // knitjob fetch and send: exit status 0 and the file whole, or non-zero with one line on
    // standard error (fault: a failure reported as success; refusals before any transfer are
    // the tools test's).
    void knitjobTransfers_data()
    {
        // serverFile: expected to hold the payload afterwards
        TestTable::columns<QStringList, int, QString, QString>("args", "status", "serverFile", "localFile");
        QTest::addRow("fetch") << QStringList{"fetch", "file.sys", "--to", "@/fetched.sys"} << 0 << "file.sys" << "@/fetched.sys";
        QTest::addRow("fetch missing") << QStringList{"fetch", "nothing.sys", "--to", "@/x"} << 69 << "" << "";
        QTest::addRow("send as a GBK name") << QStringList{"send", "@/file.sys", "--as", "花型一.cnt"} << 0 << "花型一.cnt" << "@/file.sys";
    }

    void knitjobTransfers()
    {
        auto [args, status, serverFile, localFile] = TestTable::fetch<QStringList, int, QString, QString>("args", "status", "serverFile", "localFile");
        const QByteArray body = TftpContract::pattern(1500, 21);
        const bool send = args.first() == "send";
        QVERIFY(AtomicFile::save(send ? local("file.sys") : simDir() + "/file.sys", body));
        args.replaceInStrings("@", PanelPaths::tmpDir());
        QProcess p;
        QSignalSpy done(&p, &QProcess::finished);
        startOwnProgram(p, QStringLiteral(KNITJOB_PATH), args);
        QVERIFY(done.wait(30000));
        QCOMPARE(p.exitCode(), status);
        const QByteArray err = p.readAllStandardError();
        if (status == 0) {
            QCOMPARE(err, QByteArray());
            QCOMPARE(TftpContract::readFile(simDir() + "/" + serverFile), body);
            QCOMPARE(TftpContract::readFile(localFile.replace("@", PanelPaths::tmpDir())), body);
        } else {
            QCOMPARE(err.count('\n'), 1);
            QVERIFY(err.startsWith(args.first() == "send" ? "knitjob send: " : "knitjob fetch: "));
        }
    }

private:
    QString simDir() const { return root_->file(QStringLiteral("/sim")); }
    QString local(const QString &name) const { return PanelPaths::tmp(QLatin1Char('/') + name); }

    std::unique_ptr<TestRoot> root_;
    std::unique_ptr<FaultLayer> network_;
    std::unique_ptr<TftpServer> server_;
};

QTEST_GUILESS_MAIN(TestTftpClient)
#include "test_tftpclient.moc"
