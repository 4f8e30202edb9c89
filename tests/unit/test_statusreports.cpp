// Catches a status channel that decodes the wrong bytes or byte order into para_cur, takes a
// test report for a machine report (or the reverse), writes a test reading outside its block,
// lets an alarm with byte 6 != 1 through, clears the message on the wrong bit-15 change,
// keeps stale bytes of an earlier report for a short one, or traces the wrong line; also a
// message-step or alarm text table that differs from the operator texts.
#include "data/alarmtexts.h"
#include "data/messagesteps.h"
#include "data/parablocks.h"
#include "link/statuschannel.h"

#include <QSignalSpy>
#include <QTest>

#include <array>
#include <cstdio>

namespace {

using Report = std::array<unsigned char, 12>;

Report machine(int code, unsigned short a, unsigned short b)
{
    return {0, 0, 0, 0, 0, static_cast<unsigned char>(code), static_cast<unsigned char>(a & 0xff),
            static_cast<unsigned char>(a >> 8), static_cast<unsigned char>(b & 0xff),
            static_cast<unsigned char>(b >> 8), 0, 0};
}

Report test(int check, int item, int block, int value)
{
    return {0x26, 0, 0, 0, 0, static_cast<unsigned char>(check), static_cast<unsigned char>(item),
            static_cast<unsigned char>(block), static_cast<unsigned char>(value), 0, 0, 0};
}

QByteArray raw(const Report &r) { return QByteArray(reinterpret_cast<const char *>(r.data()), 12); }

} // namespace

Q_DECLARE_METATYPE(MessageSteps::Report)

class TestStatusReports : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        para_cur.clear();
        para_test_io.clear();
        para_test_moto.clear();
        channel_ = new StatusChannel(this);
        channel_->setTraceStream(nullptr);
    }
    void cleanup() { delete channel_; }

    void rowReport_data()
    {
        QTest::addColumn<int>("oldRow");
        QTest::addColumn<int>("pieces");
        QTest::addColumn<int>("newRow");
        QTest::addColumn<int>("painted");
        QTest::addColumn<bool>("cancel");
        QTest::addRow("%s", "plain row") << 0x0004 << 3 << 0x0005 << 5 << false;
        QTest::addRow("%s", "flag set now") << 0x0004 << 0 << 0x8005 << 5 << false;
        QTest::addRow("%s", "flag gone clears") << 0x8004 << 1 << 0x0005 << 5 << true;
        QTest::addRow("%s", "flag stays") << 0x8004 << 1 << 0x8006 << 6 << false;
        QTest::addRow("%s", "high pieces") << 0 << 0xfffe << 0x7fff << 0x7fff << false;
    }
    void rowReport()
    {
        QFETCH(int, oldRow);
        QFETCH(int, pieces);
        QFETCH(int, newRow);
        QFETCH(int, painted);
        QFETCH(bool, cancel);
        para_cur.setWord(3, static_cast<unsigned short>(oldRow));
        para_cur.setWord(8, 40);
        QSignalSpy spy(channel_, &StatusChannel::rowReport);
        QVERIFY(spy.isValid());
        const Report r = machine(20, static_cast<unsigned short>(pieces), static_cast<unsigned short>(newRow));
        QVERIFY(channel_->handleStatus(r.data(), 12));
        QCOMPARE(para_cur.byte(6) | (para_cur.byte(7) << 8), newRow);
        QCOMPARE(int(para_cur.word(7)), pieces);
        QCOMPARE(int(para_cur.word(8)), 40);
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).value<unsigned short>(), static_cast<unsigned short>(painted));
        QCOMPARE(spy.at(0).at(1).toBool(), cancel);
    }

    void valueReports_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("a");
        QTest::addColumn<int>("b");
        QTest::addColumn<QByteArray>("signal");
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("second");
        QTest::addRow("%s", "knitting time B then A") << 32 << 3725 << 60 << QByteArray(SIGNAL(knittingTime(unsigned short, unsigned short))) << 60 << 3725;
        QTest::addRow("%s", "stop time B then A") << 33 << 1 << 0xffff << QByteArray(SIGNAL(stopTime(unsigned short, unsigned short))) << 0xffff << 1;
        QTest::addRow("%s", "loop rows A, B") << 72 << 0x0102 << 300 << QByteArray(SIGNAL(loopRows(unsigned short, unsigned short))) << 0x0102 << 300;
        QTest::addRow("%s", "loop counts A, B") << 73 << 9 << 4 << QByteArray(SIGNAL(loopCounts(unsigned short, unsigned short))) << 9 << 4;
    }
    void valueReports()
    {
        QFETCH(int, code);
        QFETCH(int, a);
        QFETCH(int, b);
        QFETCH(QByteArray, signal);
        QFETCH(int, first);
        QFETCH(int, second);
        QSignalSpy spy(channel_, signal.constData());
        QVERIFY(spy.isValid());
        const Report r = machine(code, static_cast<unsigned short>(a), static_cast<unsigned short>(b));
        channel_->handleStatus(r.data(), 12);
        QCOMPARE(spy.count(), 1);
        QCOMPARE(int(spy.at(0).at(0).value<unsigned short>()), first);
        QCOMPARE(int(spy.at(0).at(1).value<unsigned short>()), second);
    }

    void stateReports_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QByteArray>("signal");
        QTest::addColumn<int>("zeroByte");
        QTest::addColumn<int>("carrierByte");
        QTest::addColumn<int>("rowWord");
        QTest::addRow("%s", "16 zeroing started") << raw(machine(16, 0, 0)) << QByteArray(SIGNAL(zeroingStarted())) << 0 << 7 << 9;
        QTest::addRow("%s", "17 started") << raw(machine(17, 0, 0)) << QByteArray(SIGNAL(machineStarted(int))) << 5 << 7 << 9;
        QTest::addRow("%s", "18 started") << raw(machine(18, 0, 0)) << QByteArray(SIGNAL(machineStarted(int))) << 5 << 7 << 9;
        QTest::addRow("%s", "19 stopped") << raw(machine(19, 0, 0)) << QByteArray(SIGNAL(machineStopped())) << 5 << 7 << 9;
        QTest::addRow("%s", "23 zeroing finished") << raw(machine(23, 0, 0)) << QByteArray(SIGNAL(zeroingFinished())) << 1 << 0 << 1;
        QTest::addRow("%s", "alarm raised") << raw(machine(21, 1, 0x0220)) << QByteArray(SIGNAL(alarmRaised(unsigned char, unsigned char))) << 5 << 7 << 9;
        QTest::addRow("%s", "alarm cleared") << raw(machine(21, 1, 0)) << QByteArray(SIGNAL(alarmCleared())) << 5 << 7 << 9;
    }
    void stateReports()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QByteArray, signal);
        QFETCH(int, zeroByte);
        QFETCH(int, carrierByte);
        QFETCH(int, rowWord);
        para_cur.setByte(0, 5);
        para_cur.setByte(4, 7);
        para_cur.setWord(3, 9);
        QSignalSpy spy(channel_, signal.constData());
        QVERIFY(spy.isValid());
        channel_->handleStatus(reinterpret_cast<const unsigned char *>(bytes.constData()), 12);
        QCOMPARE(spy.count(), 1);
        QCOMPARE(int(para_cur.byte(0)), zeroByte);
        QCOMPARE(int(para_cur.byte(4)), carrierByte);
        QCOMPARE(int(para_cur.word(3)), rowWord);
    }

    void startedKinds()
    {
        QSignalSpy spy(channel_, &StatusChannel::machineStarted);
        Report r = machine(17, 0, 0);
        channel_->handleStatus(r.data(), 12);
        r = machine(18, 0, 0);
        channel_->handleStatus(r.data(), 12);
        QCOMPARE(spy.count(), 2);
        QCOMPARE(spy.at(0).at(0).toInt(), 2);
        QCOMPARE(spy.at(1).at(0).toInt(), 3);
    }

    void alarmBytes_data()
    {
        QTest::addColumn<int>("byte6");
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("raised");
        QTest::addColumn<int>("cleared");
        QTest::addRow("%s", "UPS 2/32") << 1 << 2 << 32 << 1 << 0;
        QTest::addRow("%s", "type only") << 1 << 3 << 0 << 1 << 0;
        QTest::addRow("%s", "code only") << 1 << 0 << 7 << 1 << 0;
        QTest::addRow("%s", "0/0 clears") << 1 << 0 << 0 << 0 << 1;
        QTest::addRow("%s", "byte 6 = 0 ignored") << 0 << 2 << 32 << 0 << 0;
        QTest::addRow("%s", "byte 6 = 2 ignored") << 2 << 2 << 32 << 0 << 0;
    }
    void alarmBytes()
    {
        QFETCH(int, byte6);
        QFETCH(int, type);
        QFETCH(int, code);
        QFETCH(int, raised);
        QFETCH(int, cleared);
        QSignalSpy up(channel_, &StatusChannel::alarmRaised);
        QSignalSpy down(channel_, &StatusChannel::alarmCleared);
        Report r = machine(21, static_cast<unsigned short>(byte6), static_cast<unsigned short>(code | (type << 8)));
        channel_->handleStatus(r.data(), 12);
        QCOMPARE(up.count(), raised);
        QCOMPARE(down.count(), cleared);
        if (raised) {
            QCOMPARE(int(up.at(0).at(0).value<unsigned char>()), type);
            QCOMPARE(int(up.at(0).at(1).value<unsigned char>()), code);
        }
    }

    void testReports_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("ioByte");
        QTest::addColumn<int>("motoByte");
        QTest::addRow("%s", "io item 0") << raw(test(1, 0, 0, 0xab)) << 40 << -1;
        QTest::addRow("%s", "io item 39, last byte") << raw(test(1, 39, 0, 0xab)) << 79 << -1;
        QTest::addRow("%s", "io item 40 outside") << raw(test(1, 40, 0, 0xab)) << -1 << -1;
        QTest::addRow("%s", "moto item 0") << raw(test(1, 0, 3, 0xab)) << -1 << 84;
        QTest::addRow("%s", "moto item 5") << raw(test(1, 5, 3, 0xab)) << -1 << 89;
        QTest::addRow("%s", "moto item 6 unsettled") << raw(test(1, 6, 3, 0xab)) << -1 << -1;
        QTest::addRow("%s", "moto item 16") << raw(test(1, 16, 3, 0xab)) << -1 << 52;
        QTest::addRow("%s", "moto item 55, last byte") << raw(test(1, 55, 3, 0xab)) << -1 << 91;
        QTest::addRow("%s", "moto item 56 outside") << raw(test(1, 56, 3, 0xab)) << -1 << -1;
        QTest::addRow("%s", "other block") << raw(test(1, 0, 1, 0xab)) << -1 << -1;
        QTest::addRow("%s", "byte 5 not 1") << raw(test(0, 0, 0, 0xab)) << -1 << -1;
        QTest::addRow("%s", "test class with code 21") << raw(test(21, 1, 0, 0xab)) << -1 << -1;
    }
    void testReports()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, ioByte);
        QFETCH(int, motoByte);
        QSignalSpy alarm(channel_, &StatusChannel::alarmRaised);
        channel_->handleStatus(reinterpret_cast<const unsigned char *>(bytes.constData()), 12);
        for (std::size_t i = 0; i < kTestIoSize; ++i)
            QCOMPARE(int(para_test_io.byte(i)), int(i) == ioByte ? 0xab : 0);
        for (std::size_t i = 0; i < kTestMotoSize; ++i)
            QCOMPARE(int(para_test_moto.byte(i)), int(i) == motoByte ? 0xab : 0);
        QCOMPARE(alarm.count(), 0);
        QCOMPARE(para_cur.toByteArray(), QByteArray(int(kCurSize), '\0'));
    }

    void needle_data()
    {
        QTest::addColumn<int>("pulses");
        QTest::addColumn<int>("stored");
        QTest::addColumn<int>("shown");
        QTest::addRow("%s", "500 is needle 0") << 1234 << 500 << 0;
        QTest::addRow("%s", "400 is -100") << 0 << 400 << -100;
        QTest::addRow("%s", "0 is -500") << 0xffff << 0 << -500;
        QTest::addRow("%s", "high byte") << 7 << 0x0300 << 268;
    }
    void needle()
    {
        QFETCH(int, pulses);
        QFETCH(int, stored);
        QFETCH(int, shown);
        const Report r = machine(0, static_cast<unsigned short>(pulses), static_cast<unsigned short>(stored));
        QVERIFY(channel_->handleNeedle(r.data(), 12));
        QCOMPARE(int(para_cur.word(5)), pulses);
        QCOMPARE(int(para_cur.word(6)), stored);
        QCOMPARE(int(para_cur.word(6)) - 500, shown);
    }

    void shortAndLongReports()
    {
        Report row = machine(20, 2, 7);
        channel_->handleStatus(row.data(), 12);
        QSignalSpy spy(channel_, &StatusChannel::rowReport);
        const Report other = machine(20, 9, 0);
        for (int length = 0; length < 12; ++length)
            QVERIFY(!channel_->handleStatus(other.data(), length));
        QVERIFY(!channel_->handleNeedle(other.data(), 11));
        QCOMPARE(spy.count(), 0);
        QCOMPARE(int(para_cur.word(3)), 7);
        QCOMPARE(int(para_cur.word(7)), 2);
        QCOMPARE(channel_->dropped(), quint64(13));
        unsigned char longer[20] = {};
        std::memcpy(longer, other.data(), 12);
        longer[12] = 0xff;
        QVERIFY(channel_->handleStatus(longer, 20));
        QCOMPARE(int(para_cur.word(7)), 9);
    }

    void unknownCodesIgnored()
    {
        for (int code : {0, 15, 22, 24, 31, 34, 71, 74, 255}) {
            const Report r = machine(code, 0x1234, 0x5678);
            channel_->handleStatus(r.data(), 12);
        }
        QCOMPARE(para_cur.toByteArray(), QByteArray(int(kCurSize), '\0'));
    }

    void traceLine()
    {
        char buffer[256] = {};
        std::FILE *stream = fmemopen(buffer, sizeof buffer - 1, "w");
        QVERIFY(stream);
        channel_->setTraceStream(stream);
        Report r = machine(20, 0x0a0b, 0x8005);
        r[11] = 0xff;
        channel_->handleStatus(r.data(), 12);
        std::fclose(stream);
        channel_->setTraceStream(nullptr);
        QCOMPARE(QByteArray(buffer), QByteArray("send:0 0 0 0 0 14 b a 5 80 0 ff \n"));
    }

    void messageSteps_data()
    {
        QTest::addColumn<MessageSteps::Report>("report");
        QTest::addColumn<QString>("before");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("text");
        using R = MessageSteps::Report;
        const int show = int(MessageSteps::Kind::Show), set = int(MessageSteps::Kind::Set);
        const int cancel = int(MessageSteps::Kind::Cancel), none = int(MessageSteps::Kind::None);
        const QString za = QStringLiteral("启动拉杆,开始归零. "), z = QStringLiteral("系统归零, 请等待. ");
        const QString sza = QStringLiteral("启动拉杆,开始跳行归零. "), sz = QStringLiteral("正在跳行归零,请等待. ");
        const QString sa = QStringLiteral("启动拉杆, 开始跳行. "), s = QStringLiteral("正在跳行,请等待. ");
        QTest::addRow("%s", "16 zero armed") << R::ZeroingStarted << za << show << z;
        QTest::addRow("%s", "16 zeroing") << R::ZeroingStarted << z << show << z;
        QTest::addRow("%s", "16 skip-zero armed") << R::ZeroingStarted << sza << set << sa;
        QTest::addRow("%s", "16 skip-zeroing") << R::ZeroingStarted << sz << set << sz;
        QTest::addRow("%s", "16 empty") << R::ZeroingStarted << QString() << show << z;
        QTest::addRow("%s", "16 other") << R::ZeroingStarted << QStringLiteral("x") << show << z;
        QTest::addRow("%s", "16 text without its space") << R::ZeroingStarted << za.trimmed() << show << z;
        QTest::addRow("%s", "17 zero armed") << R::Started << za << show << z;
        QTest::addRow("%s", "17 skip armed") << R::Started << sa << set << s;
        QTest::addRow("%s", "17 skip-zero armed") << R::Started << sza << set << sz;
        QTest::addRow("%s", "17 zeroing") << R::Started << z << none << QString();
        QTest::addRow("%s", "17 empty") << R::Started << QString() << none << QString();
        QTest::addRow("%s", "19 zeroing") << R::Stopped << z << show << za;
        QTest::addRow("%s", "19 skipping") << R::Stopped << s << set << sa;
        QTest::addRow("%s", "19 skip-zeroing") << R::Stopped << sz << set << sza;
        QTest::addRow("%s", "19 other") << R::Stopped << QStringLiteral("其它") << none << QString();
        QTest::addRow("%s", "23 zeroing") << R::ZeroingFinished << z << cancel << QString();
        QTest::addRow("%s", "23 zero armed") << R::ZeroingFinished << za << cancel << QString();
        QTest::addRow("%s", "23 skip-zero armed") << R::ZeroingFinished << sza << set << sa;
        QTest::addRow("%s", "23 skip-zeroing") << R::ZeroingFinished << sz << set << sa;
        QTest::addRow("%s", "23 skipping") << R::ZeroingFinished << s << none << QString();
    }
    void messageSteps()
    {
        QFETCH(MessageSteps::Report, report);
        QFETCH(QString, before);
        QFETCH(int, kind);
        QFETCH(QString, text);
        const MessageSteps::Action action = MessageSteps::step(report, before);
        QCOMPARE(int(action.kind), kind);
        QCOMPARE(action.text, text);
    }

    void alarmTexts_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("text");
        QTest::addRow("%s", "1/0") << 1 << 0 << QStringLiteral("从控制器动作等待 !");
        QTest::addRow("%s", "1/1") << 1 << 1 << QStringLiteral("纱嘴未下落, 请按F6键切换 ! ");
        QTest::addRow("%s", "1/2 unknown") << 1 << 2 << QStringLiteral("报警1 - 2");
        QTest::addRow("%s", "1/17 no space") << 1 << 17 << QStringLiteral("设定件数已经完成, 请重新设定件数 !");
        QTest::addRow("%s", "1/18") << 1 << 18 << QStringLiteral("指定行停车 !");
        QTest::addRow("%s", "2/4 unknown") << 2 << 4 << QStringLiteral("报警2 - 4");
        QTest::addRow("%s", "2/23") << 2 << 23 << QStringLiteral("撞针报警 ! ");
        QTest::addRow("%s", "2/32 UPS") << 2 << 32 << QStringLiteral("UPS断电报警 ! ");
        QTest::addRow("%s", "2/37") << 2 << 37 << QStringLiteral("UPS故障报警 ! ");
        QTest::addRow("%s", "2/99 unknown") << 2 << 99 << QStringLiteral("报警2 - 99");
        QTest::addRow("%s", "3/17 fuse F4") << 3 << 17 << QStringLiteral("机头F4保险丝报警 ! ");
        QTest::addRow("%s", "3/22 fuse F2") << 3 << 22 << QStringLiteral("机头F2保险丝报警 ! ");
        QTest::addRow("%s", "3/23 probe") << 3 << 23 << QStringLiteral("机头探针( 浮纱 )报警 ! ");
        QTest::addRow("%s", "3/40") << 3 << 40 << QStringLiteral("右系统后 2 密度电机报警 ! ");
        QTest::addRow("%s", "3/48 unknown") << 3 << 48 << QStringLiteral("报警3 - 48");
        QTest::addRow("%s", "3/49 sinker") << 3 << 49 << QStringLiteral("沉降马达故障报警 ! ");
        QTest::addRow("%s", "3/54 sinker") << 3 << 54 << QStringLiteral("沉降马达故障报警 ! ");
        QTest::addRow("%s", "3/55 unknown") << 3 << 55 << QStringLiteral("报警3 - 55");
        QTest::addRow("%s", "0/0 unknown type") << 0 << 0 << QStringLiteral("未知类型00");
        QTest::addRow("%s", "5/12 unknown type") << 5 << 12 << QStringLiteral("未知类型512");
        QTest::addRow("%s", "255/255") << 255 << 255 << QStringLiteral("未知类型255255");
    }
    void alarmTexts()
    {
        QFETCH(int, type);
        QFETCH(int, code);
        QFETCH(QString, text);
        QCOMPARE(AlarmTexts::errorcode(static_cast<unsigned char>(type), static_cast<unsigned char>(code)), text);
    }

    void alarmTableSizes()
    {
        int known[4] = {};
        for (int type = 0; type < 4; ++type) {
            for (int code = 0; code < 256; ++code)
                known[type] += AlarmTexts::isKnown(static_cast<unsigned char>(type), static_cast<unsigned char>(code));
        }
        QCOMPARE(known[0], 0);
        QCOMPARE(known[1], 9);
        QCOMPARE(known[2], 21);
        QCOMPARE(known[3], 21);
    }

private:
    StatusChannel *channel_ = nullptr;
};

QTEST_GUILESS_MAIN(TestStatusReports)
#include "test_statusreports.moc"
