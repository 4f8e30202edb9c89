// Catches a wrong factory default (a word off by one in a range, a value of the wrong cam-board
// type, a missing word), a default image of the wrong size or byte order, and an init function
// that reports success without writing, or loses the defaults when /tmp is unusable. The golden
// images in tests/data were checked word by word against the factory-default table.
#include "data/machinedata.h"
#include "data/parainit.h"
#include "testbytes.h"
#include "testroot.h"
#include "testtable.h"

#include <QTest>

namespace {

enum Block { System, Work, Mouth };

// Builds one block's defaults for the cam-board type and returns init's result and the block as
// it is in memory.
unsigned char build(int which, int camType, QByteArray *memory)
{
    MachineData machine;
    MachineData::ControllerConfig config = machine.controllerConfig();
    config[3] = camType;
    machine.setControllerConfig(config);
    const unsigned char ok = which == System ? initsystemparam(machine) : which == Work ? initworkparam(machine) : initelseparam(machine);
    *memory = which == System ? machine.system().toByteArray()
        : which == Work       ? machine.work().toByteArray()
                              : machine.carrierSpeedTable().toByteArray();
    return ok;
}

QString goldenName(int which, int type)
{
    return which == System ? QStringLiteral("default-cam%1.sys").arg(type) : which == Work ? QStringLiteral("default.wrk")
                                                                                          : QStringLiteral("default.mth");
}

} // namespace

class TestParaDefaults : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // In memory and in the /tmp image.
    void defaults_data()
    {
        TestTable::columns<int, int, QString>("which", "type", "file");
        for (int t = 0; t < 3; ++t)
            QTest::addRow("system, cam board %d", t) << int(System) << t << "/tmp/default.sys";
        QTest::addRow("work") << int(Work) << 0 << "/tmp/default.wrk";
        QTest::addRow("carrier speed table") << int(Mouth) << 0 << "/tmp/default.mth";
    }
    void defaults()
    {
        auto [which, type, file] = TestTable::fetch<int, int, QString>("which", "type", "file");
        TestRoot root;
        QByteArray memory;
        QCOMPARE(build(which, type, &memory), 1);
        const QByteArray want = TestBytes::golden(goldenName(which, type));
        KNIT_COMPARE_BYTES(memory, want);
        KNIT_COMPARE_BYTES(TestBytes::readFile(root.file(file)), want);
    }

    void blockBounds()
    {
        ParaBlock<kSystemSize> b;
        b.setWord(0, 0x1234);
        b.setWord(201, 0xbeef);
        b.setWord(202, 0xffff);
        b.setWord(std::size_t(-1) / 2 + 1, 0xffff); // twice this index wraps to 0
        QCOMPARE(int(b.word(0)), 0x1234);
        QCOMPARE(int(b.word(201)), 0xbeef);
        QCOMPARE(int(b.word(202)), 0);
        QCOMPARE(int(b.word(std::size_t(-1) / 2 + 1)), 0);
        QCOMPARE(int(b.byte(404)), 0);
    }

    // Without a usable /tmp (missing, or a file in its place) the result is 0, yet the
    // defaults are in memory.
    void unusableTmp()
    {
        for (bool fileInPlace : {false, true}) {
            TestRoot root;
            QVERIFY(QDir(root.file("/tmp")).removeRecursively());
            if (fileInPlace)
                QVERIFY(TestBytes::writeFile(root.file("/tmp"), QByteArray()));
            for (int which : {System, Work, Mouth}) {
                QByteArray memory;
                QCOMPARE(build(which, 2, &memory), 0);
                KNIT_COMPARE_BYTES(memory, TestBytes::golden(goldenName(which, 2)));
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestParaDefaults)
#include "test_paradefaults.moc"
