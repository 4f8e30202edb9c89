// The machine's data tells of its changes: each part's signal once for a write that changed it,
// none for a write that left it as it was, once for a whole part loaded at a time, and no other
// part's signal. Faults caught: a change not signalled (a screen left showing an old value), a
// signal for an equal write (a repaint for every report that repeats the last), a signal per
// byte of a load, or a write that signals another part; a program read from a file that changed
// while it was read left half-written in the image. Its factory defaults: a wrong one (a
// word off by one in a range, a value of the wrong cam-board type, a missing word), a default
// image of the wrong size or byte order, and an init function that reports success without
// writing, or loses the defaults when /tmp is unusable; a system-block word in two settings or
// in none. The golden images in tests/data were checked word by word against the
// factory-default table, and the system block's are the bytes it gave before the pages' settings
// were described in it too.
#include "data/defaultblocks.h"
#include "data/machinedata.h"
#include "data/systemsettings.h"
#include "testbytes.h"
#include "testroot.h"
#include "testtable.h"

#include <QBuffer>
#include <QSignalSpy>
#include <QTest>

#include <algorithm>
#include <functional>
#include <memory>
#include <vector>

namespace {

using Write = std::function<void(MachineData &, int)>; // 0: one value changed, 1: all of it

struct Part
{
    const char *name;
    void (MachineData::*signal)();
    Write write;
};

template <std::size_t N>
Part block(const char *name, void (MachineData::*signal)(), WatchedBlock<N> &(MachineData::*part)())
{
    return {name, signal, [part](MachineData &d, int whole) {
                whole ? void((d.*part)().fill(QByteArray(int(N), '\x5a'))) : (d.*part)().setWord(1, 7);
            }};
}

// MachineData::readProgram() of all of bytes, as from a file.
bool readProgram(MachineData &d, QByteArray bytes, qint64 size = -1, int records = 1)
{
    QBuffer device(&bytes);
    device.open(QIODevice::ReadOnly);
    return d.readProgram(device, size < 0 ? bytes.size() : size, records);
}

const std::vector<Part> kParts{
    block("system", &MachineData::systemChanged, &MachineData::system),
    block("work", &MachineData::workChanged, &MachineData::work),
    block("controller state", &MachineData::controllerStateChanged, &MachineData::controllerState),
    block("run settings", &MachineData::runSettingsChanged, &MachineData::runSettings),
    block("io test", &MachineData::ioTestChanged, &MachineData::ioTest),
    block("carriage test", &MachineData::carriageTestChanged, &MachineData::carriageTest),
    block("panel settings", &MachineData::panelSettingsChanged, &MachineData::panelSettings),
    block("carrier speed table", &MachineData::carrierSpeedTableChanged, &MachineData::carrierSpeedTable),
    block("controller personalisation", &MachineData::controllerPersonalisationChanged, &MachineData::controllerPersonalisation),
    block("panel personalisation", &MachineData::panelPersonalisationChanged, &MachineData::panelPersonalisation),
    {"program growing", &MachineData::programChanged,
     [](MachineData &d, int whole) { d.setProgram(QByteArray(whole ? 5121 : 1, '\x5a'), whole ? 41 : 1); }},
    // The same records and first byte, the program shorter: only the bytes past the new end tell.
    {"program shrinking", &MachineData::programChanged,
     [](MachineData &d, int whole) { d.setProgram(QByteArray(whole ? 1 : 5121, '\x5a'), 41); }},
    // Read from a file a piece at a time: pieces compared, not only the first.
    {"program read growing", &MachineData::programChanged,
     [](MachineData &d, int whole) { readProgram(d, QByteArray(whole ? 70017 : 1, '\x5a'), -1, whole ? 547 : 1); }},
    {"program read shrinking", &MachineData::programChanged,
     [](MachineData &d, int whole) { readProgram(d, QByteArray(whole ? 1 : 70017, '\x5a'), -1, 547); }},
    {"controller config", &MachineData::controllerConfigChanged,
     [](MachineData &d, int whole) {
         using Config = MachineData::ControllerConfig;
         d.setControllerConfig(whole ? Config{1, 2, 3, 1, 1, 1} : Config{85, 0, 255, 2, 0, 0});
     }},
    {"job name", &MachineData::jobNameChanged, [](MachineData &d, int whole) { d.setJobName(QString::fromUtf8(whole ? "毛衫 2" : "W1")); }},
};

enum Block { System, Work, CarrierParking };

// Builds one block's defaults for the cam-board type and returns init's result and the block as
// it is in memory.
unsigned char build(int which, int camType, QByteArray *memory)
{
    MachineData machine;
    MachineData::ControllerConfig config = machine.controllerConfig();
    config[3] = camType;
    machine.setControllerConfig(config);
    const unsigned char ok = which == System ? initSystemParams(machine) : which == Work ? initWorkParams(machine) : initOtherParams(machine);
    *memory = which == System ? machine.system().toByteArray()
        : which == Work       ? machine.work().toByteArray()
                              : machine.carrierSpeedTable().toByteArray();
    return ok;
}

QString goldenName(int which, int type)
{
    return which == System ? QStringLiteral("default-cam%1.sys").arg(type % 3) : which == Work ? QStringLiteral("default.wrk")
                                                                                          : QStringLiteral("default.mth");
}

} // namespace

class TestMachineData : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void oncePerChange_data()
    {
        QTest::addColumn<int>("part");
        for (std::size_t i = 0; i < kParts.size(); ++i)
            QTest::addRow("%s", kParts[i].name) << int(i);
    }
    void oncePerChange()
    {
        QFETCH(int, part);
        MachineData data;
        std::vector<std::unique_ptr<QSignalSpy>> spies;
        for (const Part &p : kParts)
            spies.push_back(std::make_unique<QSignalSpy>(&data, p.signal));
        // Each write twice: the second leaves the part as it was.
        for (int whole : {0, 0, 1, 1})
            kParts[std::size_t(part)].write(data, whole);
        // Two rows write the program: both its signal's.
        for (std::size_t i = 0; i < kParts.size(); ++i)
            QCOMPARE(spies[i]->count(), kParts[i].signal == kParts[std::size_t(part)].signal ? 2 : 0);
    }

    // A file that is not the size it said (it changed while read) or larger than the image
    // leaves no half-read program behind.
    void programReadRefused_data()
    {
        TestTable::columns<int, qint64, bool, int>("bytes", "size", "empty", "signals");
        for (bool empty : {false, true}) {
            const char *image = empty ? "into an empty image" : "over a program";
            QTest::addRow("shorter than said, %s", image) << 70000 << qint64(70017) << empty << 1;
            QTest::addRow("longer than said, %s", image) << 70017 << qint64(70000) << empty << 1;
            // Nothing read: over an empty image nothing changed.
            QTest::addRow("larger than the image, %s", image) << 10 << qint64(1024 * 1024 + 1) << empty << (empty ? 0 : 1);
        }
    }
    void programReadRefused()
    {
        auto [bytes, size, empty, signals] = TestTable::fetch<int, qint64, bool, int>("bytes", "size", "empty", "signals");
        MachineData data;
        if (!empty)
            data.setProgram(QByteArray(5000, '\x11'), 39);
        QSignalSpy changed(&data, &MachineData::programChanged);
        QVERIFY(!readProgram(data, QByteArray(bytes, '\x5a'), size, 547));
        QCOMPARE(changed.count(), signals);
        QCOMPARE(data.programRecords(), 0);
        QCOMPARE(data.program().toByteArray(), QByteArray(int(MachineData::ProgramImage::size), '\0'));
    }

    // In memory and in the /tmp image.
    void defaults_data()
    {
        TestTable::columns<int, int, QString>("which", "type", "file");
        for (int t = 0; t < 4; ++t) // 3: unknown, taken as 0
            QTest::addRow("system, cam board %d", t) << int(System) << t << "/tmp/default.sys";
        QTest::addRow("work") << int(Work) << 0 << "/tmp/default.wrk";
        QTest::addRow("carrier speed table") << int(CarrierParking) << 0 << "/tmp/default.mth";
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

    // Each of the system block's words 0-201 in one setting or grid: one in two would take the
    // later's default, one in none the empty block's zero.
    void settingsDescribeEachWordOnce()
    {
        std::vector<int> settings(kSystemSize / 2);
        const auto count = [&settings](std::size_t first, std::size_t last) {
            for (std::size_t w = first; w <= last; ++w)
                ++settings.at(w); // throws for a word past the block
        };
        for (const SystemSettings::Setting &s : SystemSettings::all())
            count(s.first, s.last);
        for (const SystemSettings::Grid &g : SystemSettings::grids())
            count(g.first, g.last);
        QCOMPARE(std::count(settings.begin(), settings.end(), 1), long(settings.size()));
    }

    void blockBounds()
    {
        ParamBlock<kSystemSize> b;
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
            for (int which : {System, Work, CarrierParking}) {
                QByteArray memory;
                QCOMPARE(build(which, 2, &memory), 0);
                KNIT_COMPARE_BYTES(memory, TestBytes::golden(goldenName(which, 2)));
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestMachineData)
#include "test_machinedata.moc"
