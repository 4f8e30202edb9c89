// Catches a panel program update that leaves a panel unable to start: a cut-off, foreign,
// empty or non-program file, one that differs from its ".sha256" line, or a staging copy the
// disk could not hold, installed over the program or the program left changed or not
// executable; the replaced program not kept. And a full update folder judged wrong: a
// lower-case "master.bin" missed, a checksum file counted as a second panel program.
#include "data/updatepackage.h"
#include "platform/atomicfile.h"
#include "platform/fsops.h"
#include "platform/programinstaller.h"
#include "testbytes.h"
#include "testroot.h"
#include "testtable.h"

#include <QCryptographicHash>
#include <QFileInfo>
#include <QTest>

using TestBytes::readFile;
using TestBytes::writeFile;

namespace {

QByteArray program()
{
    return readFile(QStringLiteral(KNITJOB_PATH));
}

QByteArray patched(QByteArray bytes, int offset, char value)
{
    bytes[offset] = value;
    return bytes;
}

QByteArray sumLine(const QByteArray &bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex() + "  knit_v2\n";
}

bool executable(const QString &path)
{
    return QFileInfo(path).permissions() & QFileDevice::ExeOwner;
}

} // namespace

class TestUpdate : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void install_data()
    {
        // sum: the stick's .sha256, null for none
        TestTable::columns<QByteArray, QByteArray, qint64, bool>("file", "sum", "writeLimit", "installed");
        const QByteArray p = program();
        QVERIFY(p.size() > 4096);
        QTest::addRow("sound") << p << QByteArray() << qint64(-1) << true;
        QTest::addRow("sound, its checksum") << p << sumLine(p) << qint64(-1) << true;
        QTest::addRow("another file's checksum") << p << sumLine("x") << qint64(-1) << false;
        QTest::addRow("cut off") << p.left(p.size() / 2) << QByteArray() << qint64(-1) << false;
        QTest::addRow("other machine") << patched(p, 18, char(p[18] + 1)) << QByteArray() << qint64(-1) << false;
        QTest::addRow("object file") << patched(patched(p, 16, 1), 17, 0) << QByteArray() << qint64(-1) << false;
        QTest::addRow("not ELF") << QByteArray("#!/bin/sh\nexit 0\n") << QByteArray() << qint64(-1) << false;
        QTest::addRow("empty") << QByteArray() << QByteArray() << qint64(-1) << false;
        QTest::addRow("disk full while staging") << p << QByteArray() << qint64(4096) << false;
    }
    void install()
    {
        auto [file, sum, writeLimit, installed] = TestTable::fetch<QByteArray, QByteArray, qint64, bool>("file", "sum", "writeLimit", "installed");
        TestRoot root;
        const QString target = root.file("/mnt/ide/knit/knit");
        const QString staged = target + ".new";
        const QString stick = root.file("/mnt/usb/knit_v2");
        const QByteArray old = program() + "old";
        QVERIFY(writeFile(target, old) && QFile::setPermissions(target, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
        QVERIFY(writeFile(stick, file));
        if (!sum.isNull())
            QVERIFY(writeFile(stick + ".sha256", sum));

        AtomicFile::setWriteLimitForTesting(writeLimit);
        FsOps::copyFile(stick, staged);
        AtomicFile::setWriteLimitForTesting(-1);
        const auto result = ProgramInstaller::install(QFile::encodeName(stick), staged, target);

        QCOMPARE(result == ProgramInstaller::Installed, installed);
        QVERIFY(!QFileInfo::exists(staged));
        QVERIFY(executable(target));
        QVERIFY(readFile(target) == (installed ? file : old));
        if (installed)
            QVERIFY(readFile(target + ".old") == old && executable(target + ".old"));
    }

    void package_data()
    {
        // chosen: master slave panel
        TestTable::columns<QStringList, QString, QString>("names", "refusal", "chosen");
        QTest::addRow("one of each") << QStringList{"MASTER_2.BIN", "slv1_2.bin", "knit", "readme.txt"} << QString()
                                     << "MASTER_2.BIN slv1_2.bin knit";
        QTest::addRow("lower-case master") << QStringList{"master.bin", "SLV1.BIN", "KNIT2"} << QString()
                                           << "master.bin SLV1.BIN KNIT2";
        QTest::addRow("checksum beside the program") << QStringList{"master.bin", "slv1.bin", "knit", "knit.sha256"}
                                                     << QString() << "master.bin slv1.bin knit";
        QTest::addRow("two masters") << QStringList{"master.bin", "Master2.bin", "slv1.bin", "knit"}
                                     << "请保证该目录下有且只有一个主控程序" << QString();
        QTest::addRow("no slave") << QStringList{"master.bin", "knit"} << "请保证该目录下有且只有一个从控程序" << QString();
        QTest::addRow("two panel programs") << QStringList{"master.bin", "slv1.bin", "knit", "knit.old"}
                                            << "请保证该目录下有且只有一个显示程序" << QString();
    }
    void package()
    {
        auto [names, refusal, chosen] = TestTable::fetch<QStringList, QString, QString>("names", "refusal", "chosen");
        QList<QByteArray> bytes;
        for (const QString &n : names)
            bytes << n.toUtf8();
        const UpdatePackage::Scan s = UpdatePackage::scan(bytes);
        const char *got = UpdatePackage::refusal(s);
        QCOMPARE(got ? QString::fromUtf8(got) : QString(), refusal);
        if (!got)
            QCOMPARE(QString::fromUtf8(s.masterName + ' ' + s.slaveName + ' ' + s.panelName), chosen);
    }
};

QTEST_GUILESS_MAIN(TestUpdate)

#include "test_update.moc"
