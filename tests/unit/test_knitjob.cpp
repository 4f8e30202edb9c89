// Catches a knitjob whose exit status is not the check's result code, whose made job does not
// pass the panel's checks (or lacks the 1556-byte work parameters), which writes outside the
// given folder for a name with '/' or '..', or whose show prints rows the file does not have.
#include "data/cntchecksum.h"
#include "platform/atomicfile.h"
#include "testroot.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTest>

namespace {

struct Run
{
    int status = -1;
    QString out;
};

Run knitjob(const QStringList &args)
{
    QProcess p;
    p.start(QStringLiteral(KNITJOB_PATH), args);
    Run r;
    if (!p.waitForFinished(30000) || p.exitStatus() != QProcess::NormalExit)
        return r;
    r.status = p.exitCode();
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    return r;
}

QByteArray withChecksum(QByteArray data, int delta = 0)
{
    const int sum = getchecksum(reinterpret_cast<const unsigned char *>(data.constData()), data.size());
    data.append(char((sum + delta) & 0xff));
    return data;
}

} // namespace

class TestKnitjob : public QObject
{
    Q_OBJECT

private slots:
    void check_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("contents");
        QTest::addColumn<int>("code");
        QTest::addColumn<QStringList>("lines");
        QTest::addRow("%s", "cnt good") << "a.cnt" << withChecksum(QByteArray(3 * 128, '\x01')) << 0
                                        << QStringList{"size: 385", "rows: 2", "checksum stored: 128", "checksum computed: 128"};
        QTest::addRow("%s", "cnt no checksum") << "a.cnt" << QByteArray(128, '\0') << 2
                                               << QStringList{"rows: 0", "length: 1", "import message: cnt文件没有校验码 !"};
        QTest::addRow("%s", "cnt empty") << "e.cnt" << QByteArray() << 2 << QStringList{"size: 0", "rows: 0", "length: 1"};
        QTest::addRow("%s", "cnt bad size") << "a.cnt" << QByteArray(130, '\0') << 5
                                            << QStringList{"message: cnt文件格式错误 !"};
        QTest::addRow("%s", "cnt too large") << "b.CNT" << QByteArray(1024 * 1024 + 1, '\0') << 4
                                             << QStringList{"message: cnt文件大于1M !"};
        QTest::addRow("%s", "pat too short") << "a.pat" << QByteArray("\x08\x00\x03\x00", 4) << 9
                                             << QStringList{"width: 8", "height: 3", "message: pat花板高度于文件不对应 !"};
        QTest::addRow("%s", "pat header cut") << "a.pat" << QByteArray("\x08", 1) << 5
                                              << QStringList{"message: pat文件格式错误 !"};
        QTest::addRow("%s", "pat width 0") << "a.pat" << QByteArray("\x01\x00\x03\x00", 4) << 7
                                           << QStringList{"message: pat花板宽度为0 !"};
        QTest::addRow("%s", "pat good") << "a.pat" << withChecksum(QByteArray("\x08\x00\x03\x00", 4) + QByteArray(12, '\0')) << 0
                                        << QStringList{"effective width: 7", "checksum computed: 11"};
    }
    void check()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, contents);
        QFETCH(int, code);
        QFETCH(QStringList, lines);
        TestRoot root;
        const QString path = root.file("/" + name);
        QVERIFY(AtomicFile::save(path, contents));
        const Run r = knitjob({"check", path});
        QCOMPARE(r.status, code);
        const QStringList out = r.out.split('\n');
        QCOMPARE(out.value(0), QStringLiteral("code %1").arg(code));
        for (const QString &line : lines)
            QVERIFY2(out.contains(line), qPrintable(line + " missing in:\n" + r.out));
    }

    void checkMissing()
    {
        TestRoot root;
        const Run r = knitjob({"check", root.file("/none.pat")});
        QCOMPARE(r.status, 1);
        QVERIFY(r.out.contains(QStringLiteral("message: pat文件读取失败 !")));
        QCOMPARE(knitjob({"check", root.file("/none.txt")}).status, 64);
    }

    void make_data()
    {
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addRow("%s", "small") << 1 << 8 << 3;
        QTest::addRow("%s", "wide") << 40 << 1025 << 10;
        QTest::addRow("%s", "largest program") << 8190 << 64 << 100;
    }
    void make()
    {
        QFETCH(int, rows);
        QFETCH(int, width);
        QFETCH(int, height);
        TestRoot root;
        const QString dir = root.file("/jobs");
        QCOMPARE(knitjob({"make", "样品", "--dir", dir, "--rows", QString::number(rows), "--width",
                          QString::number(width), "--height", QString::number(height)}).status, 0);
        const QString base = dir + "/样品/样品";
        QCOMPARE(QFileInfo(base + ".cnt").size(), qint64(rows + 1) * 128 + 1);
        QCOMPARE(QFileInfo(base + ".wrk").size(), qint64(1556));
        const Run cnt = knitjob({"check", base + ".cnt"});
        QCOMPARE(cnt.status, 0);
        QVERIFY(cnt.out.contains(QStringLiteral("length: %1\n").arg(rows)));
        const Run pat = knitjob({"check", base + ".pat"});
        QCOMPARE(pat.status, 0);
        QVERIFY(pat.out.contains(QStringLiteral("height: %1\n").arg(height)));

        const Run last = knitjob({"show", base + ".cnt", "--row", QString::number(rows)});
        QCOMPARE(last.status, 0);
        QVERIFY(last.out.contains(QStringLiteral("  end_flag: 1\n")));
        QCOMPARE(knitjob({"show", base + ".cnt", "--row", QString::number(rows + 1)}).status, 64);
    }

    void makeRefuses_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addRow("%s", "slash") << QStringList{"a/b"};
        QTest::addRow("%s", "dot dot") << QStringList{".."};
        QTest::addRow("%s", "hidden name") << QStringList{".wave"};
        QTest::addRow("%s", "no rows") << QStringList{"ok", "--rows", "0"};
        QTest::addRow("%s", "pattern over 2 MiB") << QStringList{"ok", "--width", "1024", "--height", "4096"};
        QTest::addRow("%s", "header overlaps line 0") << QStringList{"ok", "--width", "6"};
    }
    void makeRefuses()
    {
        QFETCH(QStringList, args);
        TestRoot root;
        const QString dir = root.file("/jobs/inner");
        QVERIFY(QDir().mkpath(dir));
        const Run r = knitjob(QStringList{"make"} + args + QStringList{"--dir", dir});
        QVERIFY(r.status != 0);
        QVERIFY(QDir(dir).isEmpty());
        QVERIFY(QDir(root.file("/jobs")).entryList(QDir::NoDotAndDotDot | QDir::AllEntries) == QStringList{"inner"});
    }

    void showRows()
    {
        TestRoot root;
        const QString path = root.file("/one.cnt");
        QVERIFY(AtomicFile::save(path, withChecksum(QByteArray(128, '\x05'))));
        const Run r = knitjob({"show", path});
        QCOMPARE(r.status, 0);
        QVERIFY(r.out.startsWith(QStringLiteral("rows: 0\nlength: 1\n")));
        QVERIFY(!r.out.contains(QStringLiteral("row: ")));
        QCOMPARE(knitjob({"show", path, "--row", "1"}).status, 64);
    }
};

QTEST_GUILESS_MAIN(TestKnitjob)
#include "test_knitjob.moc"
