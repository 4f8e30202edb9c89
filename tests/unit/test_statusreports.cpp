// Catches a status channel that decodes the wrong bytes or byte order into the controller state,
// takes a test report for a machine report (or the reverse), writes a test reading outside its
// block, lets an alarm with byte 6 != 1 through, clears the message on the wrong bit-15 change, or
// takes a short report; a message-step lookup that picks the wrong entry. (The
// trace line's form is what the end-to-end test waits for.)
#include "data/machinedata.h"
#include "data/messagesteps.h"
#include "link/statuschannel.h"
#include "testbytes.h"
#include "testtable.h"

#include <QSignalSpy>
#include <QTest>

#include <cstring>
#include <memory>

using TestBytes::machine;

namespace {

QByteArray test(int check, int item, int block)
{
    const char r[12] = {0x26, 0, 0, 0, 0, char(check), char(item), char(block), char(0xab), 0, 0, 0};
    return QByteArray(r, 12);
}

const unsigned char *bytes(const QByteArray &b) { return reinterpret_cast<const unsigned char *>(b.constData()); }

// The current-state block as a machine report should leave it: zeroing byte 0, carrier byte 4,
// row word 3, pieces word 7 and the untouched word 8.
QByteArray cur(int zero, int carrier, int row, int pieces = 0)
{
    QByteArray b(int(kCurSize), '\0');
    b[0] = char(zero);
    b[4] = char(carrier);
    b[6] = char(row & 0xff);
    b[7] = char(row >> 8);
    b[14] = char(pieces & 0xff);
    b[15] = char(pieces >> 8);
    b[16] = 40;
    return b;
}

} // namespace

Q_DECLARE_METATYPE(MessageSteps::Report)

class TestStatusReports : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        data_ = std::make_unique<MachineData>();
        channel_ = new StatusChannel(*data_, this);
        channel_->setTraceStream(nullptr);
    }
    void cleanup() { delete channel_; }

    void machineReports_data()
    {
        TestTable::columns<QByteArray, int, QByteArray, int, QList<int>, QByteArray>("report", "oldRow", "signal", "count", "args", "after");
        const QByteArray row = SIGNAL(rowReport(unsigned short, bool));
        const QByteArray raised = SIGNAL(alarmRaised(unsigned char, unsigned char));
        const QByteArray started = SIGNAL(machineStarted(int));
        auto add = [](const char *name, const QByteArray &r, int oldRow, const QByteArray &signal, const QList<int> &args,
                      const QByteArray &after, int count = 1) {
            QTest::addRow("%s", name) << r << oldRow << signal << count << args << after;
        };
        add("row: flag set now", machine(20, 0, 0x8005), 0x0004, row, {5, 0}, cur(5, 7, 0x8005));
        add("row: flag gone clears", machine(20, 1, 0x0005), 0x8004, row, {5, 1}, cur(5, 7, 0x0005, 1));
        add("row: flag stays", machine(20, 1, 0x8006), 0x8004, row, {6, 0}, cur(5, 7, 0x8006, 1));
        add("row: high pieces", machine(20, 0xfffe, 0x7fff), 0, row, {0x7fff, 0}, cur(5, 7, 0x7fff, 0xfffe));
        add("16 zeroing started", machine(16, 0, 0), 9, SIGNAL(zeroingStarted()), {}, cur(0, 7, 9));
        add("17 started", machine(17, 0, 0), 9, started, {2}, cur(5, 7, 9));
        add("18 started", machine(18, 0, 0), 9, started, {3}, cur(5, 7, 9));
        add("19 stopped", machine(19, 0, 0), 9, SIGNAL(machineStopped()), {}, cur(5, 7, 9));
        add("23 zeroing finished", machine(23, 0, 0), 9, SIGNAL(zeroingFinished()), {}, cur(1, 0, 1));
        add("32 knitting time B, A", machine(32, 3725, 60), 9, SIGNAL(knittingTime(unsigned short, unsigned short)), {60, 3725}, cur(5, 7, 9));
        add("33 stop time B, A", machine(33, 1, 0xffff), 9, SIGNAL(stopTime(unsigned short, unsigned short)), {0xffff, 1}, cur(5, 7, 9));
        add("72 loop rows A, B", machine(72, 0x0102, 300), 9, SIGNAL(loopRows(unsigned short, unsigned short)), {0x0102, 300}, cur(5, 7, 9));
        add("73 loop counts A, B", machine(73, 9, 4), 9, SIGNAL(loopCounts(unsigned short, unsigned short)), {9, 4}, cur(5, 7, 9));
        // Alarm: byte 6 must be 1; B carries code (low) and type (high).
        add("alarm UPS 2/32", machine(21, 1, 0x0220), 9, raised, {2, 32}, cur(5, 7, 9));
        add("alarm 0/0 clears", machine(21, 1, 0), 9, SIGNAL(alarmCleared()), {}, cur(5, 7, 9));
        add("alarm byte 6 = 2 ignored", machine(21, 2, 0x0220), 9, raised, {}, cur(5, 7, 9), 0);
        add("alarm byte 6 = 2 clears nothing", machine(21, 2, 0), 9, SIGNAL(alarmCleared()), {}, cur(5, 7, 9), 0);
        for (int code : {0, 22, 255})
            QTest::addRow("code %d ignored", code) << machine(code, 0x1234, 0x5678) << 9 << row << 0 << QList<int>() << cur(5, 7, 9);
    }
    void machineReports()
    {
        auto [report, oldRow, signal, count, args, after] = TestTable::fetch<QByteArray, int, QByteArray, int, QList<int>, QByteArray>("report", "oldRow", "signal", "count", "args", "after");
        data_->controllerState().fill(cur(5, 7, oldRow));
        QSignalSpy spy(channel_, signal.constData());
        QVERIFY(spy.isValid());
        QVERIFY(channel_->handleStatus(bytes(report), 12));
        QCOMPARE(spy.count(), count);
        for (int i = 0; i < args.size(); ++i)
            QCOMPARE(spy.at(0).at(i).toInt(), args[i]);
        QCOMPARE(data_->controllerState().toByteArray(), after);
    }

    void testReports_data()
    {
        TestTable::columns<QByteArray, int, int>("report", "ioByte", "motoByte");
        QTest::addRow("%s", "io item 39, last byte") << test(1, 39, 0) << 79 << -1;
        QTest::addRow("%s", "io item 40 outside") << test(1, 40, 0) << -1 << -1;
        QTest::addRow("%s", "moto item 5") << test(1, 5, 3) << -1 << 89;
        QTest::addRow("%s", "moto item 6 unsettled") << test(1, 6, 3) << -1 << -1;
        QTest::addRow("%s", "moto item 55, last byte") << test(1, 55, 3) << -1 << 91;
        QTest::addRow("%s", "moto item 56 outside") << test(1, 56, 3) << -1 << -1;
        QTest::addRow("%s", "other block") << test(1, 0, 1) << -1 << -1;
        QTest::addRow("%s", "byte 5 not 1") << test(0, 0, 0) << -1 << -1;
        QTest::addRow("%s", "test class with code 21") << test(21, 1, 0) << -1 << -1;
    }
    void testReports()
    {
        auto [report, ioByte, motoByte] = TestTable::fetch<QByteArray, int, int>("report", "ioByte", "motoByte");
        QSignalSpy alarm(channel_, &StatusChannel::alarmRaised);
        channel_->handleStatus(bytes(report), 12);
        QByteArray io(int(kTestIoSize), '\0'), moto(int(kTestMotoSize), '\0');
        if (ioByte >= 0)
            io[ioByte] = char(0xab);
        if (motoByte >= 0)
            moto[motoByte] = char(0xab);
        QCOMPARE(data_->ioTest().toByteArray(), io);
        QCOMPARE(data_->carriageTest().toByteArray(), moto);
        QCOMPARE(alarm.count(), 0);
        QCOMPARE(data_->controllerState().toByteArray(), QByteArray(int(kCurSize), '\0'));
    }

    // A needle report sets pulses (word 5) and position (word 6), both bytes of each; a report
    // shorter than 12 bytes changes nothing, a longer one is read as its first 12.
    void shortAndLongReports()
    {
        QVERIFY(channel_->handleNeedle(bytes(machine(0, 0x1234, 0x0300)), 12));
        QCOMPARE(int(data_->controllerState().word(5)), 0x1234);
        QCOMPARE(int(data_->controllerState().word(6)), 0x0300);
        channel_->handleStatus(bytes(machine(20, 2, 7)), 12);
        QSignalSpy spy(channel_, &StatusChannel::rowReport);
        const QByteArray other = machine(20, 9, 0);
        for (int length = 0; length < 12; ++length)
            QVERIFY(!channel_->handleStatus(bytes(other), length));
        QVERIFY(!channel_->handleNeedle(bytes(other), 11));
        QCOMPARE(spy.count(), 0);
        QCOMPARE(int(data_->controllerState().word(3)), 7);
        QCOMPARE(int(data_->controllerState().word(7)), 2);
        QCOMPARE(channel_->dropped(), quint64(13));
        unsigned char longer[20] = {};
        std::memcpy(longer, other.constData(), 12);
        longer[12] = 0xff;
        QVERIFY(channel_->handleStatus(longer, 20));
        QCOMPARE(int(data_->controllerState().word(7)), 9);
    }

    void messageSteps_data()
    {
        TestTable::columns<MessageSteps::Report, QString, int, QString>("report", "before", "kind", "text");
        using R = MessageSteps::Report;
        const int show = int(MessageSteps::Kind::Show), set = int(MessageSteps::Kind::Set);
        const int cancel = int(MessageSteps::Kind::Cancel), none = int(MessageSteps::Kind::None);
        const QString za = QStringLiteral("启动拉杆,开始归零. "), z = QStringLiteral("系统归零, 请等待. ");
        const QString sza = QStringLiteral("启动拉杆,开始跳行归零. "), sz = QStringLiteral("正在跳行归零,请等待. ");
        const QString sa = QStringLiteral("启动拉杆, 开始跳行. "), s = QStringLiteral("正在跳行,请等待. ");
        QTest::addRow("%s", "16 zero armed") << R::ZeroingStarted << za << show << z;
        QTest::addRow("%s", "16 skip-zero armed") << R::ZeroingStarted << sza << set << sa;
        QTest::addRow("%s", "16 text without its space") << R::ZeroingStarted << sza.trimmed() << show << z;
        QTest::addRow("%s", "17 skip armed") << R::Started << sa << set << s;
        QTest::addRow("%s", "17 zeroing") << R::Started << z << none << QString();
        QTest::addRow("%s", "19 skip-zeroing") << R::Stopped << sz << set << sza;
        QTest::addRow("%s", "19 other") << R::Stopped << QStringLiteral("其它") << none << QString();
        QTest::addRow("%s", "23 zeroing") << R::ZeroingFinished << z << cancel << QString();
        QTest::addRow("%s", "23 skip-zeroing") << R::ZeroingFinished << sz << set << sa;
    }
    void messageSteps()
    {
        auto [report, before, kind, text] = TestTable::fetch<MessageSteps::Report, QString, int, QString>("report", "before", "kind", "text");
        const MessageSteps::Action action = MessageSteps::step(report, before);
        QCOMPARE(int(action.kind), kind);
        QCOMPARE(action.text, text);
    }

private:
    std::unique_ptr<MachineData> data_;
    StatusChannel *channel_ = nullptr;
};

QTEST_GUILESS_MAIN(TestStatusReports)
#include "test_statusreports.moc"
