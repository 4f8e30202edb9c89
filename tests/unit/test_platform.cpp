// Catches a host build that would talk to a remote controller, ports or time-outs not moved by
// their variables, paths that escape KNIT_ROOT, system actions that are not recorded or that
// an emulation lets act outside the root, a tree copy that loses entries or never ends, job
// names that could become more than one path component, controller texts and job names
// decoded in the wrong coding or read past their length; a text, digit or bit helper that
// divides by zero or writes out of bounds, a management read that clobbers bytes a short file
// lacks, a save that reports success or damages the old file when it fails, and a mkdir/delete
// that lets a blank, quote or semicolon in a name reach anything but that one path or leaves
// the root; a temporary file of a save cut off by a crash that start-up leaves on the disk, or
// a file start-up removes for looking like one.
#include "data/jobname.h"
#include "data/machinedata.h"
#include "data/panelfiles.h"
#include "data/numberformat.h"
#include "data/saveleftovers.h"
#include "link/controlleraddress.h"
#include "platform/atomicfile.h"
#include "platform/fsops.h"
#include "platform/panelenv.h"
#include "platform/panelpaths.h"
#include "platform/systemactions.h"
#include "testbytes.h"
#include "testroot.h"
#include "testtable.h"

#include <QDir>
#include <QFile>
#include <QTest>

#include <cstring>
#include <memory>

using TestBytes::readFile;
using TestBytes::listTree;
using TestBytes::writeFile;

class TestPlatform : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        root_.reset(); // first, so the new root's environment is the one left
        root_ = std::make_unique<TestRoot>();
        for (const char *v : {"KNIT_CONTROLLER_HOST", "KNIT_ALLOW_REMOTE", "KNIT_PORT_OFFSET", "KNIT_TIMEOUT_SCALE"})
            qunsetenv(v);
        SystemActions::clearRecorded();
        AtomicFile::setWriteLimitForTesting(-1);
    }

    void controllerAddress_data()
    {
        TestTable::columns<QByteArray, QByteArray, bool, QString, QString>("host", "allow", "ok", "address", "reason");
        QTest::addRow("default") << QByteArray() << QByteArray() << true << "127.0.0.1" << "";
        QTest::addRow("private refused") << QByteArray("10.1.2.3") << QByteArray() << false << "" << "KNIT_ALLOW_REMOTE=1";
        QTest::addRow("allow 0 refused") << QByteArray("10.1.2.3") << QByteArray("0") << false << "" << "127.0.0.0/8";
        QTest::addRow("allowed remote") << QByteArray("10.1.2.3") << QByteArray("1") << true << "10.1.2.3" << "";
        QTest::addRow("IPv6 loopback") << QByteArray("::1") << QByteArray() << false << "" << "not an IPv4 address";
    }
    void controllerAddress()
    {
        auto [host, allow, ok, address, reason] = TestTable::fetch<QByteArray, QByteArray, bool, QString, QString>("host", "allow", "ok", "address", "reason");
        if (!host.isNull()) // init() unset both
            qputenv("KNIT_CONTROLLER_HOST", host);
        if (!allow.isNull())
            qputenv("KNIT_ALLOW_REMOTE", allow);
        QHostAddress a;
        QString why;
        QCOMPARE(ControllerAddress::configured(&a, &why), ok);
        if (ok) {
            QCOMPARE(a.toString(), address);
            QCOMPARE(ControllerAddress::current(), a);
        } else {
            QVERIFY2(why.contains(reason), qPrintable(why));
            // What is used instead reaches no host and stays on loopback.
            QCOMPARE(ControllerAddress::current().toString(), QStringLiteral("127.0.0.0"));
        }
    }

    // Every port moves by the offset; an offset out of range falls back to the host default.
    void portsAndTimeouts()
    {
        QCOMPARE(PanelEnv::portOffset(), 10000);
        qputenv("KNIT_PORT_OFFSET", "70000");
        QCOMPARE(PanelEnv::portOffset(), 10000);
        qputenv("KNIT_PORT_OFFSET", "23450");
        for (int base : {69, 2001, 2700, 2800, 2900, 3000})
            QCOMPARE(int(PanelEnv::port(quint16(base))), base + 23450);
        QCOMPARE(PanelEnv::scaledMs(1500), 1500);
        qputenv("KNIT_TIMEOUT_SCALE", "0.1");
        QCOMPARE(PanelEnv::scaledMs(1000), 100);
        qputenv("KNIT_TIMEOUT_SCALE", "0.0001");
        QCOMPARE(PanelEnv::scaledMs(1000), 1);
        qputenv("KNIT_TIMEOUT_SCALE", "0");
        QCOMPARE(PanelEnv::scaledMs(1000), 1000);
    }

    void paths()
    {
        qputenv("KNIT_ROOT", QFile::encodeName(root_->path() + QLatin1String("//")));
        QCOMPARE(PanelPaths::root(), root_->path());
        QCOMPARE(PanelPaths::data(QStringLiteral("/para/speed.mth")), root_->file("/mnt/ide/knit/para/speed.mth"));
        QCOMPARE(PanelPaths::tmp(QStringLiteral("/file.sys")), root_->file("/tmp/file.sys"));
        QCOMPARE(PanelPaths::resolve(QStringLiteral("etc")), root_->file("/etc"));
        for (const QString &p : {PanelPaths::usbRoot(), PanelPaths::buzzerDevice(), PanelPaths::pointercal()})
            QVERIFY2(p.startsWith(root_->path() + QLatin1Char('/')), qPrintable(p));
        for (const char *dir : {"/tmp", "/mnt/ide/knit/para", "/mnt/ide/knit/wave", "/dev"})
            QVERIFY2(QFileInfo(root_->file(QLatin1String(dir))).isDir(), dir);
        qputenv("KNIT_ROOT", "/");
        QCOMPARE(PanelPaths::resolve(QStringLiteral("/mnt/usb")), QStringLiteral("/mnt/usb"));
        QCOMPARE(PanelPaths::resolve(QStringLiteral("etc")), QStringLiteral("/etc"));
    }

    // mount succeeds only on an existing folder inside the root (the stick present), and every
    // action is recorded and logged.
    void mount()
    {
        TestRoot other;
        qputenv("KNIT_ROOT", QFile::encodeName(root_->path()));
        const QStringList stick = {"-t", "vfat", "/dev/scsi/host0/bus0/target0/lun0/part1", PanelPaths::usbRoot()};
        QDir(PanelPaths::usbRoot()).removeRecursively();
        QCOMPARE(SystemActions::run(QStringLiteral("mount"), stick), 32);
        QVERIFY(QDir().mkpath(PanelPaths::usbRoot()) && QDir().mkpath(other.file("/usb")));
        QCOMPARE(SystemActions::run(QStringLiteral("mount"), stick.mid(0, 3) + QStringList{other.file("/usb")}), 32);
        QCOMPARE(SystemActions::run(QStringLiteral("mount"), stick), 0);
        const QString line = QStringLiteral("mount ") + stick.join(QLatin1Char(' '));
        QCOMPARE(SystemActions::recorded().value(2), line);
        QVERIFY(readFile(root_->file("/var/log/system-actions.log")).endsWith(line.toUtf8() + '\n'));
    }

    // A clock setting that is no date fails; unknown programs are recorded, never run. (A good
    // date moving the emulated clock, and the hardware clock write, are the clock page's test.)
    void clock()
    {
        QCOMPARE(SystemActions::run(QStringLiteral("date"), {"-s", "soon"}), 1);
        QCOMPARE(SystemActions::run(QStringLiteral("reboot"), {}), 127);
        QCOMPARE(SystemActions::recorded().mid(1), QStringList({"reboot"}));
    }

    void format_data()
    {
        // target: '@' this root, '%' another root
        TestTable::columns<QString, int, bool>("target", "status", "usbEmptied");
        QTest::addRow("stick partition") << "/dev/scsi/host0/bus0/target0/lun0/part1" << 0 << true;
        QTest::addRow("the root itself") << "@" << 1 << false;
        QTest::addRow("a folder outside the root") << "%" << 1 << false;
        QTest::addRow("out through ..") << "@/mnt/usb/../../.." << 1 << false;
        QTest::addRow("other device") << "/dev/sda1" << 1 << false;
    }
    void format()
    {
        auto [target, status, usbEmptied] = TestTable::fetch<QString, int, bool>("target", "status", "usbEmptied");
        TestRoot other;
        qputenv("KNIT_ROOT", QFile::encodeName(root_->path()));
        QVERIFY(writeFile(root_->file("/mnt/usb/job/a.cnt"), QByteArray("cnt")));
        QVERIFY(writeFile(root_->file("/mnt/usb/.hidden"), QByteArray("h")));
        QVERIFY(writeFile(root_->file("/mnt/ide/knit/para/keep.sys"), QByteArray("k")));
        QVERIFY(writeFile(other.file("/keep"), QByteArray("o")));
        // The stick is there: its node, and the driver that shows it.
        QVERIFY(writeFile(root_->file("/dev/scsi/host0/bus0/target0/lun0/part1"), QByteArray()));
        QCOMPARE(SystemActions::run(QStringLiteral("insmod"), {root_->file("/usr/driver/usb-storage.o")}), 0);
        QString arg = target;
        if (target.startsWith(QLatin1Char('@')))
            arg = root_->path() + target.mid(1);
        else if (target.startsWith(QLatin1Char('%')))
            arg = other.path() + target.mid(1);
        QCOMPARE(SystemActions::run(QStringLiteral("./tmp/mkdosfs"), {"-v", "-F", "32", arg}), status);
        QCOMPARE(QDir(root_->file("/mnt/usb")).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), usbEmptied);
        QVERIFY(QFileInfo(root_->file("/mnt/usb")).isDir());
        QCOMPARE(readFile(root_->file("/mnt/ide/knit/para/keep.sys")), QByteArray("k"));
        QCOMPARE(readFile(other.file("/keep")), QByteArray("o"));
    }

    void copyTree()
    {
        const QString src = root_->file("/mnt/usb/a b");
        QVERIFY(writeFile(src + QLatin1String("/it's.cnt"), QByteArray("\x00\x01\xff", 3)));
        QVERIFY(writeFile(src + QLatin1String("/sub/deeper/x; y.pat"), QByteArray("pat")));
        QVERIFY(AtomicFile::save(src + QLatin1String("/.hidden"), QByteArray()));
        QVERIFY(QDir().mkpath(src + QLatin1String("/empty")));
        QVERIFY(QFile::link(src, src + QLatin1String("/sub/loop")));
        const QString dst = root_->file("/mnt/ide/knit/wave/a b");
        QVERIFY(FsOps::copy(src, dst));
        QCOMPARE(listTree(dst), listTree(src));
        QVERIFY(QFileInfo(dst + QLatin1String("/sub/loop")).isSymLink());
        // Into itself: refused, and the source is unchanged.
        const QStringList before = listTree(src);
        QVERIFY(!FsOps::copy(src, src + QLatin1String("/sub/copy")));
        QVERIFY(!FsOps::copy(src, src));
        QCOMPARE(listTree(src), before);
        QVERIFY(!FsOps::copy(root_->file("/none"), root_->file("/tmp/none")));
    }

    void jobNames_data()
    {
        TestTable::columns<QString, bool>("name", "safe");
        QTest::addRow("Chinese") << QString::fromUtf8("毛衣花型") << true;
        QTest::addRow("blank and quote") << "a b's" << true;
        QTest::addRow("empty") << "" << false;
        QTest::addRow("slash") << "a/b" << false;
        QTest::addRow("backslash") << "a\\b" << false;
        QTest::addRow("dot dot") << ".." << false;
        QTest::addRow("leading dot") << ".job" << false;
        QTest::addRow("dots inside") << "a..b" << true;
        QTest::addRow("NUL") << QString(QStringLiteral("ab") + QChar(0) + QStringLiteral("c")) << false;
        QTest::addRow("125 Chinese + 1") << QString(125, QChar(0x6bdb)) + QLatin1Char('x') << true;  // 251 GBK bytes
        QTest::addRow("126 Chinese") << QString(126, QChar(0x6bdb)) << false;                         // 252 GBK bytes
    }
    void jobNames()
    {
        auto [name, safe] = TestTable::fetch<QString, bool>("name", "safe");
        QCOMPARE(JobName::isSafe(name), safe);
    }

    // The text helpers at their unit boundary and at their bounds: a divisor 0, a buffer too
    // short (nothing written past it), a bit out of range.
    void helpers()
    {
        QCOMPARE(sizeText(1025), QStringLiteral("1.0 M"));
        QCOMPARE(speedText(5.0, 0.0), QStringLiteral("0.00 m/s"));
        char buf[8];
        std::memset(buf, 'x', sizeof buf);
        QCOMPARE(decimalText(65535, buf, 3), 2);
        QCOMPARE(QByteArray(buf, 4), QByteArray("65\0x", 4));
        QCOMPARE(decimalText(12, buf, 1), 0);
        QCOMPARE(readBit(0xffffffffu, 32), 0);
        QCOMPARE(int(writeBit(0xff, 0, 8)), 0xff);
    }

    void bytesToText_data()
    {
        TestTable::columns<QByteArray, int, QString>("bytes", "length", "text");
        QTest::addRow("NUL ended") << QByteArray("job1\0zz", 7) << 7 << "job1";
        QTest::addRow("no NUL within length") << QByteArray("abcdef") << 3 << "abc";
        QTest::addRow("GBK") << QByteArray("\xc3\xab\xd2\xc2") << 4 << QString::fromUtf8("毛衣");
        QTest::addRow("UTF-8") << QString::fromUtf8("花型").toUtf8() << 6 << QString::fromUtf8("花型");
    }
    // Names from the controller's files, and job names both ways, in GBK or UTF-8.
    void bytesToText()
    {
        auto [bytes, length, text] = TestTable::fetch<QByteArray, int, QString>("bytes", "length", "text");
        // An exact-size heap copy, so a read past length is a real overread under a sanitizer.
        std::vector<unsigned char> copy(bytes.begin(), bytes.begin() + length);
        QCOMPARE(bytesToString(copy.data(), copy.size()), text);
        if (length == bytes.size() && !bytes.contains('\0')) {
            QCOMPARE(JobName::decode(bytes), text);
            QCOMPARE(JobName::decode(JobName::encode(text)), text);
        }
    }

    void management_data()
    {
        TestTable::columns<bool, QByteArray, QByteArray>("present", "file", "after");
        const QByteArray old("\x11\x22\x33\x44\x55\x66\x77\x88", 8);
        QTest::addRow("missing keeps") << false << QByteArray() << old;
        QTest::addRow("full") << true << QByteArray("ABCDEFGH") << QByteArray("ABCDEFGH");
        QTest::addRow("short fills its length") << true << QByteArray("abc") << QByteArray("abc\x44\x55\x66\x77\x88", 8);
        QTest::addRow("long takes 8") << true << QByteArray("0123456789") << QByteArray("01234567");
    }
    void management()
    {
        auto [present, file, after] = TestTable::fetch<bool, QByteArray, QByteArray>("present", "file", "after");
        MachineData machine;
        machine.panelSettings().fill(QByteArray("\x11\x22\x33\x44\x55\x66\x77\x88", 8));
        if (present)
            QVERIFY(TestBytes::writeFile(root_->file("/mnt/ide/knit/para/management.bin"), file));
        QCOMPARE(readPanelSettings(machine), present);
        QCOMPARE(machine.panelSettings().toByteArray(), after);
        // Written back whole; a failed write is the save test's (the same save underneath).
        QVERIFY(writePanelSettings(machine));
        QCOMPARE(readFile(root_->file("/mnt/ide/knit/para/management.bin")), after);
    }

    // Saves write the whole file or leave the old one, with no temporary behind: a full disk, a
    // missing folder, a negative length or no data all fail.
    void save_data()
    {
        // length: -2: no data
        TestTable::columns<QString, qint64, int, bool>("relative", "limit", "length", "saved");
        QTest::addRow("ok") << "/mnt/ide/knit/para/x.sys" << qint64(-1) << 404 << true;
        QTest::addRow("disk full") << "/mnt/ide/knit/para/x.sys" << qint64(100) << 404 << false;
        QTest::addRow("folder missing") << "/mnt/ide/knit/nothere/x.sys" << qint64(-1) << 404 << false;
        QTest::addRow("negative length") << "/mnt/ide/knit/para/x.sys" << qint64(-1) << -1 << false;
        QTest::addRow("no data") << "/mnt/ide/knit/para/x.sys" << qint64(-1) << -2 << false;
    }
    void save()
    {
        auto [relative, limit, length, saved] = TestTable::fetch<QString, qint64, int, bool>("relative", "limit", "length", "saved");
        const QString path = root_->file(relative);
        const QByteArray old(404, 'o');
        const bool folder = QFileInfo(path).dir().exists();
        if (folder)
            QVERIFY(AtomicFile::save(path, old));
        QByteArray next(404, '\0');
        for (int i = 0; i < next.size(); ++i)
            next[i] = char(i);
        AtomicFile::setWriteLimitForTesting(limit);
        QString why;
        if (length >= 0) // through the panel's save call
            QCOMPARE(int(saveWholeFile(path, next.constData(), length)), saved ? 1 : 0);
        else
            QVERIFY(!AtomicFile::save(path, length == -1 ? next.constData() : nullptr, length == -1 ? -1 : 5, &why));
        AtomicFile::setWriteLimitForTesting(-1);
        QCOMPARE(readFile(path), saved ? next : folder ? old : QByteArray("<missing>"));
        QCOMPARE(QDir(QFileInfo(path).absolutePath()).entryList(QDir::Hidden | QDir::Files).size(), folder ? 1 : 0);
        QCOMPARE(why.isEmpty(), length >= 0); // a refusal says why
    }

    void hostileNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addRow("blank") << "a b";
        QTest::addRow("quote") << "it's";
        QTest::addRow("semicolon") << "x; rm -rf y";
        QTest::addRow("command substitution") << "$(touch z)";
    }
    void hostileNames()
    {
        QFETCH(QString, name);
        const QString MainScreen = root_->file("/mnt/ide/knit/wave");
        for (const char *keep : {"a", "b", "it", "s", "x", "y", "z"})
            QVERIFY(QDir().mkpath(MainScreen + QLatin1Char('/') + QLatin1String(keep)));
        const QStringList before = listTree(MainScreen);
        QVERIFY(makeDirectory(MainScreen + QLatin1Char('/') + name));
        QVERIFY(AtomicFile::save(MainScreen + QLatin1Char('/') + name + QLatin1Char('/') + name + QLatin1String(".cnt"), QByteArray("c")));
        QCOMPARE(listTree(MainScreen).size(), before.size() + 2);
        QVERIFY(deletePath(MainScreen + QLatin1Char('/') + name));
        QCOMPARE(listTree(MainScreen), before);
    }

    void interruptedSaves_data()
    {
        TestTable::columns<QString, bool, bool>("relative", "folder", "removed");
        QTest::addRow("para") << "/mnt/ide/knit/para/.checksystem.sys.a1B2c3" << false << true;
        QTest::addRow("log") << "/mnt/ide/knit/log/.alarms.log.ZZZZZZ" << false << true;
        QTest::addRow("job folder") << "/mnt/ide/knit/wave/J1/.J1.wrk.x9Y8z7" << false << true;
        QTest::addRow("data root") << "/mnt/ide/knit/.Config.ini.000000" << false << true;
        QTest::addRow("five letters") << "/mnt/ide/knit/para/.checksystem.sys.a1B2c" << false << false;
        QTest::addRow("no leading dot") << "/mnt/ide/knit/para/checksystem.sys.a1B2c3" << false << false;
        QTest::addRow("not a letter") << "/mnt/ide/knit/para/.checksystem.sys.a1B2-3" << false << false;
        QTest::addRow("no name") << "/mnt/ide/knit/para/..a1B2c3" << false << false;
        QTest::addRow("a folder") << "/mnt/ide/knit/wave/.J2.abcdef" << true << false;
        QTest::addRow("saved file") << "/mnt/ide/knit/wave/J1/J1.wrk" << false << false;
        QTest::addRow("staged program") << "/mnt/ide/knit/knit.new" << false << true;
        QTest::addRow("program to keep") << "/mnt/ide/knit/knit.old.tmp" << false << true;
        QTest::addRow("stick") << "/mnt/usb/.J1.wrk.x9Y8z7" << false << false;
        QTest::addRow("other folder") << "/mnt/ide/knit/image/desktop/.1.bmp.x9Y8z7" << false << false;
    }
    void interruptedSaves()
    {
        auto [relative, folder, removed] = TestTable::fetch<QString, bool, bool>("relative", "folder", "removed");
        const QString path = root_->file(relative);
        QVERIFY(folder ? QDir().mkpath(path) : TestBytes::writeFile(path, "part"));
        SaveLeftovers::clear();
        QCOMPARE(QFileInfo::exists(path), !removed);
    }

    void deleteStaysInsideRoot()
    {
        TestRoot other; // a second tree, outside the first root
        QVERIFY(AtomicFile::save(other.file("/keep.txt"), QByteArray("k")));
        QVERIFY(QDir().mkpath(root_->file("/mnt/ide/knit/wave/j")));
        QVERIFY(QFile::link(other.path(), root_->file("/mnt/ide/knit/wave/link")));
        qputenv("KNIT_ROOT", QFile::encodeName(root_->path()));
        QVERIFY(!deletePath(root_->path()));
        QVERIFY(!deletePath(root_->file("/mnt/..//..")));
        QVERIFY(!deletePath(other.file("/keep.txt")));
        QVERIFY(!deletePath(root_->file("/mnt/ide/knit/wave/link/keep.txt")));
        QVERIFY(!deletePath(QString()));
        QVERIFY(deletePath(root_->file("/mnt/ide/knit/wave/link")));
        QVERIFY(QFileInfo::exists(other.file("/keep.txt")));
        QVERIFY(!QFileInfo(root_->file("/mnt/ide/knit/wave/link")).isSymLink());
        QVERIFY(deletePath(root_->file("/mnt/ide/knit/wave/j/../j")));
        QVERIFY(!QFileInfo::exists(root_->file("/mnt/ide/knit/wave/j")));
        QVERIFY(deletePath(root_->file("/mnt/ide/knit/none/deeper")));
        QVERIFY(QFileInfo::exists(root_->file("/mnt/ide/knit/wave")));
    }

    void dateFile()
    {
        const QString path = root_->file("/mnt/ide/knit/para/date.txt");
        QCOMPARE(readDateTimeFile(path), QStringLiteral("error"));
        QVERIFY(createDateTimeFile(path, QStringLiteral("\n  2007/3/9\t\t8:05:00  extra\n")));
        QCOMPARE(readDateTimeFile(path), QStringLiteral("2007/3/9 8:05:00"));
        QVERIFY(createDateTimeFile(path, QStringLiteral("2007/3/9")));
        QCOMPARE(readDateTimeFile(path), QStringLiteral("2007/3/9 "));
    }

private:
    std::unique_ptr<TestRoot> root_;
};

QTEST_GUILESS_MAIN(TestPlatform)
#include "test_platform.moc"
