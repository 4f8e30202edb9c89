// Catches a host build that would talk to a remote controller, ports or time-outs not moved by
// their variables, paths that escape KNIT_ROOT, system actions that are not recorded or that
// an emulation lets act outside the root, a tree copy that loses entries or never ends, and job
// names that could become more than one path component.
#include "data/jobname.h"
#include "platform/atomicfile.h"
#include "platform/fsops.h"
#include "platform/panelenv.h"
#include "platform/panelpaths.h"
#include "platform/systemactions.h"
#include "testbytes.h"
#include "testroot.h"

#include <QDir>
#include <QFile>
#include <QTest>

using TestBytes::readFile;
using TestBytes::listTree;
using TestBytes::writeFile;

namespace {

void setEnv(const char *name, const QByteArray &value)
{
    if (value.isNull())
        qunsetenv(name);
    else
        qputenv(name, value);
}

} // namespace

class TestPlatform : public QObject
{
    Q_OBJECT

private slots:
    void cleanup()
    {
        for (const char *v : {"KNIT_CONTROLLER_HOST", "KNIT_ALLOW_REMOTE", "KNIT_PORT_OFFSET", "KNIT_TIMEOUT_SCALE"})
            qunsetenv(v);
        SystemActions::clearRecorded();
    }

    void controllerAddress_data()
    {
        QTest::addColumn<QByteArray>("host");
        QTest::addColumn<QByteArray>("allow");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("reason");
        QTest::addRow("default") << QByteArray() << QByteArray() << true << "127.0.0.1" << "";
        QTest::addRow("other loopback") << QByteArray("127.3.2.1") << QByteArray() << true << "127.3.2.1" << "";
        QTest::addRow("private refused") << QByteArray("10.1.2.3") << QByteArray() << false << "" << "KNIT_ALLOW_REMOTE=1";
        QTest::addRow("allow 0 refused") << QByteArray("10.1.2.3") << QByteArray("0") << false << "" << "127.0.0.0/8";
        QTest::addRow("allowed remote") << QByteArray("10.1.2.3") << QByteArray("1") << true << "10.1.2.3" << "";
        QTest::addRow("not an address") << QByteArray("panel.local") << QByteArray() << false << "" << "not an IPv4 address";
        QTest::addRow("IPv6 loopback") << QByteArray("::1") << QByteArray() << false << "" << "not an IPv4 address";
    }
    void controllerAddress()
    {
        QFETCH(QByteArray, host);
        QFETCH(QByteArray, allow);
        QFETCH(bool, ok);
        QFETCH(QString, address);
        QFETCH(QString, reason);
        setEnv("KNIT_CONTROLLER_HOST", host);
        setEnv("KNIT_ALLOW_REMOTE", allow);
        QHostAddress a;
        QString why;
        QCOMPARE(PanelEnv::controllerAddress(&a, &why), ok);
        if (ok) {
            QCOMPARE(a.toString(), address);
            QCOMPARE(PanelEnv::controller(), a);
        } else {
            QVERIFY2(why.contains(reason), qPrintable(why));
            // What is used instead reaches no host and stays on loopback.
            QCOMPARE(PanelEnv::controller().toString(), QStringLiteral("127.0.0.0"));
        }
    }

    void ports_data()
    {
        QTest::addColumn<QByteArray>("offset");
        QTest::addColumn<int>("want");
        QTest::addRow("host default") << QByteArray() << 10000;
        QTest::addRow("zero") << QByteArray("0") << 0;
        QTest::addRow("set") << QByteArray("23450") << 23450;
        QTest::addRow("negative") << QByteArray("-10") << 10000;
        QTest::addRow("too large") << QByteArray("70000") << 10000;
    }
    void ports()
    {
        QFETCH(QByteArray, offset);
        QFETCH(int, want);
        setEnv("KNIT_PORT_OFFSET", offset);
        QCOMPARE(PanelEnv::portOffset(), want);
        for (int base : {69, 2001, 2700, 2800, 2900, 3000})
            QCOMPARE(int(PanelEnv::port(quint16(base))), base + want);
    }

    void timeouts_data()
    {
        QTest::addColumn<QByteArray>("scale");
        QTest::addColumn<int>("ms");
        QTest::addColumn<int>("want");
        QTest::addRow("unset") << QByteArray() << 1500 << 1500;
        QTest::addRow("double") << QByteArray("2") << 1500 << 3000;
        QTest::addRow("fraction") << QByteArray("0.1") << 1000 << 100;
        QTest::addRow("at least 1") << QByteArray("0.0001") << 1000 << 1;
        QTest::addRow("zero ignored") << QByteArray("0") << 1000 << 1000;
    }
    void timeouts()
    {
        QFETCH(QByteArray, scale);
        QFETCH(int, ms);
        QFETCH(int, want);
        setEnv("KNIT_TIMEOUT_SCALE", scale);
        QCOMPARE(PanelEnv::scaledMs(ms), want);
    }

    void paths()
    {
        TestRoot root;
        qputenv("KNIT_ROOT", QFile::encodeName(root.path() + QLatin1String("//")));
        QCOMPARE(PanelPaths::root(), root.path());
        QCOMPARE(PanelPaths::data(QStringLiteral("/para/speed.mth")), root.file("/mnt/ide/knit/para/speed.mth"));
        QCOMPARE(PanelPaths::tmp(QStringLiteral("/file.sys")), root.file("/tmp/file.sys"));
        QCOMPARE(PanelPaths::resolve(QStringLiteral("etc")), root.file("/etc"));
        for (const QString &p : {PanelPaths::usbRoot(), PanelPaths::buzzerDevice(), PanelPaths::pointercal()})
            QVERIFY2(p.startsWith(root.path() + QLatin1Char('/')), qPrintable(p));
        for (const char *dir : {"/tmp", "/mnt/ide/knit/para", "/mnt/ide/knit/wave", "/dev"})
            QVERIFY2(QFileInfo(root.file(QLatin1String(dir))).isDir(), dir);
        qputenv("KNIT_ROOT", "/");
        QCOMPARE(PanelPaths::resolve(QStringLiteral("/mnt/usb")), QStringLiteral("/mnt/usb"));
        QCOMPARE(PanelPaths::resolve(QStringLiteral("etc")), QStringLiteral("/etc"));
        qputenv("KNIT_ROOT", QFile::encodeName(root.path()));
    }

    void mount_data()
    {
        QTest::addColumn<bool>("stick");
        QTest::addColumn<bool>("inRoot");
        QTest::addColumn<int>("status");
        QTest::addRow("stick present") << true << true << 0;
        QTest::addRow("stick missing") << false << true << 32;
        QTest::addRow("folder outside the root") << true << false << 32;
    }
    void mount()
    {
        QFETCH(bool, stick);
        QFETCH(bool, inRoot);
        QFETCH(int, status);
        TestRoot root;
        TestRoot other;
        qputenv("KNIT_ROOT", QFile::encodeName(root.path()));
        QDir(root.file("/mnt/usb")).removeRecursively();
        if (stick)
            QVERIFY(QDir().mkpath(root.file("/mnt/usb")));
        const QStringList args = {"-t", "vfat", "-o", "iocharset=utf8", "/dev/scsi/host0/bus0/target0/lun0/part1",
                                  inRoot ? PanelPaths::usbRoot() : other.path()};
        QCOMPARE(SystemActions::run(QStringLiteral("mount"), args), status);
        const QString line = QStringLiteral("mount ") + args.join(QLatin1Char(' '));
        QCOMPARE(SystemActions::recorded(), QStringList{line});
        QCOMPARE(readFile(root.file("/var/log/system-actions.log")), line.toUtf8() + '\n');
    }

    void clock_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("when"); // empty: clock unchanged
        QTest::addRow("panel form") << QStringList{"-s", "2007/3/9 8:05:00"} << 0 << "2007-03-09 08:05:00";
        QTest::addRow("date and time apart") << QStringList{"-s", "2007/3/9", "8:05:00"} << 0 << "2007-03-09 08:05:00";
        QTest::addRow("ISO") << QStringList{"-s", "2030-12-31 23:59:00"} << 0 << "2030-12-31 23:59:00";
        QTest::addRow("garbage") << QStringList{"-s", "soon"} << 1 << "";
        QTest::addRow("no -s") << QStringList{} << 0 << "";
    }
    void clock()
    {
        QFETCH(QStringList, args);
        QFETCH(int, status);
        QFETCH(QString, when);
        TestRoot root;
        QCOMPARE(SystemActions::run(QStringLiteral("date"), args), status);
        const QDateTime want = when.isEmpty() ? QDateTime::currentDateTime()
                                              : QDateTime::fromString(when, QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        QVERIFY(qAbs(SystemActions::now().secsTo(want)) <= 2);
        QCOMPARE(SystemActions::run(QStringLiteral("hwclock"), {"-w"}), 0);
        QCOMPARE(SystemActions::recorded().last(), QStringLiteral("hwclock -w"));
    }

    void format_data()
    {
        QTest::addColumn<QString>("target"); // '@' this root, '%' another root
        QTest::addColumn<int>("status");
        QTest::addColumn<bool>("usbEmptied");
        QTest::addRow("stick partition") << "/dev/scsi/host0/bus0/target0/lun0/part1" << 0 << true;
        QTest::addRow("stick directory") << "@/mnt/usb" << 0 << true;
        QTest::addRow("the root itself") << "@" << 1 << false;
        QTest::addRow("a folder outside the root") << "%" << 1 << false;
        QTest::addRow("out through ..") << "@/mnt/usb/../../.." << 1 << false;
        QTest::addRow("other device") << "/dev/sda1" << 1 << false;
    }
    void format()
    {
        QFETCH(QString, target);
        QFETCH(int, status);
        QFETCH(bool, usbEmptied);
        TestRoot root;
        TestRoot other;
        qputenv("KNIT_ROOT", QFile::encodeName(root.path()));
        QVERIFY(writeFile(root.file("/mnt/usb/job/a.cnt"), QByteArray("cnt")));
        QVERIFY(writeFile(root.file("/mnt/usb/.hidden"), QByteArray("h")));
        QVERIFY(writeFile(root.file("/mnt/ide/knit/para/keep.sys"), QByteArray("k")));
        QVERIFY(writeFile(other.file("/keep"), QByteArray("o")));
        QString arg = target;
        if (target.startsWith(QLatin1Char('@')))
            arg = root.path() + target.mid(1);
        else if (target.startsWith(QLatin1Char('%')))
            arg = other.path() + target.mid(1);
        QCOMPARE(SystemActions::run(QStringLiteral("./tmp/mkdosfs"), {"-v", "-F", "32", arg}), status);
        QCOMPARE(QDir(root.file("/mnt/usb")).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), usbEmptied);
        QVERIFY(QFileInfo(root.file("/mnt/usb")).isDir());
        QCOMPARE(readFile(root.file("/mnt/ide/knit/para/keep.sys")), QByteArray("k"));
        QCOMPARE(readFile(other.file("/keep")), QByteArray("o"));
    }

    void unknownProgram()
    {
        TestRoot root;
        QCOMPARE(SystemActions::run(QStringLiteral("reboot"), {}), 127);
        QCOMPARE(SystemActions::recorded(), QStringList{"reboot"});
    }

    void saveRefusesBadLength()
    {
        TestRoot root;
        const QString path = root.file("/tmp/x");
        QVERIFY(AtomicFile::save(path, QByteArray("old")));
        QString why;
        QVERIFY(!AtomicFile::save(path, "abc", -1, &why));
        QVERIFY(!why.isEmpty());
        QVERIFY(!AtomicFile::save(path, nullptr, 5));
        QCOMPARE(readFile(path), QByteArray("old"));
        QCOMPARE(QDir(root.file("/tmp")).entryList(QDir::Files | QDir::Hidden), QStringList{"x"});
    }

    void copyTree()
    {
        TestRoot root;
        const QString src = root.file("/mnt/usb/a b");
        QVERIFY(writeFile(src + QLatin1String("/it's.cnt"), QByteArray("\x00\x01\xff", 3)));
        QVERIFY(writeFile(src + QLatin1String("/sub/deeper/x; y.pat"), QByteArray("pat")));
        QVERIFY(AtomicFile::save(src + QLatin1String("/.hidden"), QByteArray()));
        QVERIFY(QDir().mkpath(src + QLatin1String("/empty")));
        QVERIFY(QFile::link(src, src + QLatin1String("/sub/loop")));
        const QString dst = root.file("/mnt/ide/knit/wave/a b");
        QVERIFY(FsOps::copy(src, dst));
        QCOMPARE(listTree(dst), listTree(src));
        QVERIFY(QFileInfo(dst + QLatin1String("/sub/loop")).isSymLink());
        // Into itself: refused, and the source is unchanged.
        const QStringList before = listTree(src);
        QVERIFY(!FsOps::copy(src, src + QLatin1String("/sub/copy")));
        QVERIFY(!FsOps::copy(src, src));
        QCOMPARE(listTree(src), before);
        QVERIFY(!FsOps::copy(root.file("/none"), root.file("/tmp/none")));
    }

    void jobNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("safe");
        QTest::addRow("Chinese") << QString::fromUtf8("毛衣花型") << true;
        QTest::addRow("blank and quote") << "a b's" << true;
        QTest::addRow("empty") << "" << false;
        QTest::addRow("slash") << "a/b" << false;
        QTest::addRow("backslash") << "a\\b" << false;
        QTest::addRow("dot dot") << ".." << false;
        QTest::addRow("leading dot") << ".job" << false;
        QTest::addRow("dots inside") << "a..b" << true;
        QTest::addRow("NUL") << QString(QStringLiteral("ab") + QChar(0) + QStringLiteral("c")) << false;
        QTest::addRow("newline") << "a\nb" << false;
        QTest::addRow("251 bytes") << QString(251, QLatin1Char('x')) << true;
        QTest::addRow("252 bytes") << QString(252, QLatin1Char('x')) << false;
        QTest::addRow("125 Chinese + 1") << QString(125, QChar(0x6bdb)) + QLatin1Char('x') << true;  // 251 GBK bytes
        QTest::addRow("126 Chinese") << QString(126, QChar(0x6bdb)) << false;                         // 252 GBK bytes
    }
    void jobNames()
    {
        QFETCH(QString, name);
        QFETCH(bool, safe);
        QCOMPARE(JobName::isSafe(name), safe);
    }

    void nameCoding_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::addRow("UTF-8") << QString::fromUtf8("毛衣").toUtf8() << QString::fromUtf8("毛衣");
        QTest::addRow("GBK") << QByteArray("\xc3\xab\xd2\xc2") << QString::fromUtf8("毛衣");
    }
    void nameCoding()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        QCOMPARE(JobName::decode(bytes), text);
        QCOMPARE(JobName::decode(JobName::encode(text)), text);
    }
};

QTEST_GUILESS_MAIN(TestPlatform)
#include "test_platform.moc"
