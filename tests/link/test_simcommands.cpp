// Catches: knitsim answering in another layout than the panel's, losing or mixing up the
// bracket values it was sent, a motor status in the wrong half of getmotostatus's word,
// faults that do not bite or do not clear, system words that do not reach file.sys or are
// lost on a restart, and control errors reported as "ok". (The journal's datagrams are read
// by every start-up test through SimProcess::traffic.)
#include "portoffset.h"
#include "simprocess.h"
#include "testbytes.h"
#include "testroot.h"

#include "link/commands.h"
#include "platform/panelenv.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

using Call = std::function<void()>;
Q_DECLARE_METATYPE(Call)

using TestBytes::readFile;

class TestSimCommands : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        PortOffset::useFree();
        qputenv("KNIT_CONTROLLER_HOST", "127.0.0.1");
        qputenv("KNIT_TIMEOUT_SCALE", "0.2");
        QString why;
        QVERIFY2(sim_.start(&why), qPrintable(why));
    }
    void init()
    {
        QVERIFY(sim_.command(QStringLiteral("fault clear")));
        QVERIFY(sim_.command(QStringLiteral("set motostatus 0")));
    }

    void bracket_data();
    void bracket();
    void motoStatus();
    void faults_data();
    void faults();
    void controlErrors_data();
    void controlErrors();
    void systemWordsPersist();

private:
    QStringList state()
    {
        QStringList lines;
        sim_.command(QStringLiteral("state"), &lines);
        return lines;
    }
    TestRoot root_;
    SimProcess sim_;
};

void TestSimCommands::bracket_data()
{
    QTest::addColumn<Call>("call");
    QTest::addColumn<QStringList>("present");
    QTest::addColumn<QStringList>("absent");
    QTest::addRow("%s", "value kept") << Call([] {
        QCOMPARE(int(setparacom(0x20, 3, 1, 0)), 1);
        QCOMPARE(int(setparacom(0x22, 3, 5, 777)), 1);
        QCOMPARE(int(setparacom(0x22, 3, 6, 0xFFFF)), 1);
    }) << QStringList{"open 3", "value 3 5 777", "value 3 6 65535"} << QStringList{};
    QTest::addRow("%s", "closed") << Call([] {
        QCOMPARE(int(setparacom(0x20, 4, 1, 0)), 1);
        QCOMPARE(int(setparacom(0x20, 4, 0, 0)), 1);
    }) << QStringList{} << QStringList{"open 4"};
    QTest::addRow("%s", "long command") << Call([] { QCOMPARE(int(setparacomlong(0x22, 8, 259, 12)), 1); })
                                        << QStringList{"value 8 259 12"} << QStringList{};
    QTest::addRow("%s", "row byte") << Call([] { QCOMPARE(int(setcntcmd(300, 17, 0xAB)), 1); })
                                    << QStringList{"row 300 17 171"} << QStringList{};
    QTest::addRow("%s", "carrier switch answered") << Call([] {
        unsigned short v = 1;
        QCOMPARE(int(getpara(0x2A, 1, 4, &v)), 1);
        QCOMPARE(int(v), 1);
    }) << QStringList{"action 4 1"} << QStringList{};
    QTest::addRow("%s", "without reply still applied") << Call([] { setparawithoutrcv(0x20, 129, 1, 0); })
                                                       << QStringList{"open 129"} << QStringList{};
}

void TestSimCommands::bracket()
{
    QFETCH(Call, call);
    QFETCH(QStringList, present);
    QFETCH(QStringList, absent);
    call();
    for (const QString &line : present)
        QTRY_VERIFY2(state().contains(line), qPrintable(line));
    const QStringList now = state();
    for (const QString &line : absent)
        QVERIFY2(!now.contains(line), qPrintable(line));
}

// The motor status is the high half of getmotostatus's word (0 when stopped: see init()).
void TestSimCommands::motoStatus()
{
    QVERIFY(sim_.command(QStringLiteral("set motostatus %1").arg(0x1234)));
    QCOMPARE(getmotostatus(), 0x12340000u);
}

void TestSimCommands::faults_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QList<int>>("results"); // of successive setparacom calls
    QTest::addRow("%s", "drop 2") << "fault drop 2" << QList<int>{0, 0, 1};
    QTest::addRow("%s", "delay past time-out") << "fault delay 500" << QList<int>{0, 0};
    QTest::addRow("%s", "silent") << "fault silent" << QList<int>{0, 0};
}

void TestSimCommands::faults()
{
    QFETCH(QString, fault);
    QFETCH(QList<int>, results);
    QVERIFY(sim_.command(fault));
    // Indices differ from row to row, so a reply delayed past one row cannot answer the next.
    static quint16 index = 0;
    for (int i = 0; i < results.size(); ++i, ++index)
        QCOMPARE(int(setparacom(0x22, 5, index, quint16(100 + i))), results[i]);
    QVERIFY(sim_.command(QStringLiteral("fault clear")));
    QCOMPARE(int(setparacom(0x22, 5, 99, 1)), 1);
}

void TestSimCommands::controlErrors_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("last");
    QTest::addRow("%s", "unknown") << "bogus 1" << "error unknown command bogus";
    QTest::addRow("%s", "delay too long") << "fault delay 999999" << "error usage: fault delay MS (0 to 60000)";
    QTest::addRow("%s", "status too big") << "set motostatus 65536" << "error value must be a number from 0 to 65535";
    QTest::addRow("%s", "set value of group") << "set value.2.7 99" << "ok";
}

void TestSimCommands::controlErrors()
{
    QFETCH(QString, line);
    QFETCH(QString, last);
    const QStringList reply = sim_.send(line);
    QVERIFY(!reply.isEmpty());
    QCOMPARE(reply.last(), last);
}

void TestSimCommands::systemWordsPersist()
{
    QTemporaryDir dir;
    SimProcess own;
    own.setRoot(dir.path());
    own.setPortOffset(PanelEnv::portOffset() + 1);
    QString why;
    QVERIFY2(own.start(&why), qPrintable(why));
    const QByteArray before = readFile(own.file("file.sys"));
    QCOMPARE(before.size(), 404);
    QCOMPARE(QFileInfo(own.file("config.cfg")).size(), 200);
    QCOMPARE(QFileInfo(own.file("file.knt")).size(), 292);

    qputenv("KNIT_PORT_OFFSET", QByteArray::number(own.portOffset()));
    QCOMPARE(int(setparacom(0x22, 1, 22, 0xA55A)), 1);
    QCOMPARE(int(setparacom(0x22, 32, 3, 0x0102)), 1);
    qputenv("KNIT_PORT_OFFSET", QByteArray::number(sim_.portOffset()));
    own.stop();
    QVERIFY(own.start(&why));

    QByteArray expected = before; // word 22 changed, nothing else moved
    expected[44] = char(0x5A);
    expected[45] = char(0xA5);
    QCOMPARE(readFile(own.file("file.sys")), expected);
    QCOMPARE(readFile(own.file("config.cfg")).mid(6, 2), QByteArray("\x02\x01", 2));
}

QTEST_GUILESS_MAIN(TestSimCommands)
#include "test_simcommands.moc"
