// Catches a .pat check that takes its steps in the wrong order or misses a size boundary,
// reads a header the file does not hold, or reads an oversized file; an effective width that
// looks at the two top lines or past the data; and pixel code that swaps the two nibbles of a
// byte, writes outside the pattern, or saves without the header line or a right checksum.
#include "data/cntchecksum.h"
#include "data/patfile.h"
#include "data/patpixels.h"
#include "platform/atomicfile.h"
#include "testroot.h"

#include <QFile>
#include <QTest>

namespace {

// Header line of W bytes, then height lines of W bytes, then extra bytes (negative: cut).
QByteArray pattern(int width, int height, int extra = 0, char fill = '\0')
{
    const int w = width / 2;
    QByteArray data(qMax(4, w * (height + 1)), fill);
    data[0] = char(width & 0xff);
    data[1] = char(width >> 8);
    data[2] = char(height & 0xff);
    data[3] = char(height >> 8);
    if (extra < 0)
        data.chop(-extra);
    else
        data.append(QByteArray(extra, '\x07'));
    return data;
}

QByteArray withChecksum(QByteArray data, int delta = 0)
{
    const int sum = getchecksum(reinterpret_cast<const unsigned char *>(data.constData()), data.size());
    data.append(char((sum + delta) & 0xff));
    return data;
}

QByteArray setLastNibble(QByteArray data, int width, int line)
{
    const int w = width / 2;
    data[w * (line + 2) - 1] = char(data[w * (line + 2) - 1] | 0x01);
    return data;
}

} // namespace

class TestPatFile : public QObject
{
    Q_OBJECT

private slots:
    void check_data()
    {
        QTest::addColumn<QByteArray>("contents");
        QTest::addColumn<int>("code");
        QTest::addRow("%s", "empty") << QByteArray() << 5;
        QTest::addRow("%s", "3-byte header") << QByteArray("\x08\x00\x03", 3) << 5;
        QTest::addRow("%s", "8x3, 15 bytes") << pattern(8, 3, -1) << 9;
        QTest::addRow("%s", "8x3 (height 3), 16 bytes") << pattern(8, 3) << 2;
        QTest::addRow("%s", "8x3, 17 bytes, good sum") << withChecksum(pattern(8, 3)) << 0;
        QTest::addRow("%s", "8x3, 17 bytes, bad sum") << withChecksum(pattern(8, 3), 1) << 3;
        QTest::addRow("%s", "8x3, 18 bytes") << pattern(8, 3, 2) << 5;
        QTest::addRow("%s", "width 0") << pattern(0, 3) << 7;
        QTest::addRow("%s", "width 1") << pattern(1, 3) << 7;
        QTest::addRow("%s", "width 512") << pattern(512, 3) << 2;
        QTest::addRow("%s", "width 1025") << withChecksum(pattern(1025, 3)) << 0;
        QTest::addRow("%s", "width 1026") << pattern(1026, 3) << 6;
        QTest::addRow("%s", "width over, height 0") << pattern(2000, 0) << 6;
        QTest::addRow("%s", "height 2") << pattern(8, 2) << 8;
        QTest::addRow("%s", "height 0, width 0") << pattern(0, 0) << 7;
        QTest::addRow("%s", "height beyond the data") << pattern(64, 10, -32 * 5) << 9;
        QTest::addRow("%s", "exactly 2 MiB") << pattern(1024, 4095) << 2;
        QTest::addRow("%s", "2 MiB, longer than the header says") << pattern(1024, 4000, 512 * 95) << 5;
        QTest::addRow("%s", "2 MiB plus checksum") << withChecksum(pattern(1024, 4095)) << 4;
        QTest::addRow("%s", "2 MiB plus one, width over") << pattern(3000, 1, 2097153 - 1500 * 2) << 4;
    }
    void check()
    {
        QFETCH(QByteArray, contents);
        QFETCH(int, code);
        TestRoot root;
        const QString path = root.file("/job.pat");
        QVERIFY(AtomicFile::save(path, contents));
        const PatCheck c = PatFile::check(path);
        QCOMPARE(c.code, code);
        QCOMPARE(patfilecheck(path), code);
        QCOMPARE(PatFile::isAccepted(code), code <= 3);
        QCOMPARE(PatFile::message(code).isEmpty(), code <= 3);
    }

    void missing()
    {
        TestRoot root;
        QCOMPARE(patfilecheck(root.file("/none.pat")), 1);
        QCOMPARE(countpatwidth(root.file("/none.pat")), 0);
        QCOMPARE(PatFile::message(9), QStringLiteral("pat花板高度于文件不对应 !"));
    }

    void effectiveWidth_data()
    {
        QTest::addColumn<QByteArray>("contents");
        QTest::addColumn<int>("width");
        QTest::addRow("%s", "height 3, pixel set") << setLastNibble(pattern(16, 3), 16, 0) << 15;
        QTest::addRow("%s", "blank right column") << pattern(16, 10) << 15;
        QTest::addRow("%s", "line 0 has the column") << setLastNibble(pattern(16, 10), 16, 0) << 16;
        QTest::addRow("%s", "line height-4 has it") << setLastNibble(pattern(16, 10), 16, 6) << 16;
        QTest::addRow("%s", "only the top lines have it")
            << setLastNibble(setLastNibble(pattern(16, 10), 16, 7), 16, 9) << 15;
        QTest::addRow("%s", "high nibble only") << pattern(16, 10, 0, '\xf0') << 15;
        QTest::addRow("%s", "odd width") << setLastNibble(pattern(17, 5), 17, 1) << 17;
        QTest::addRow("%s", "lines missing") << pattern(16, 100, -8 * 90) << 15;
        QTest::addRow("%s", "width 0") << pattern(0, 5) << 0;
    }
    void effectiveWidth()
    {
        QFETCH(QByteArray, contents);
        QFETCH(int, width);
        TestRoot root;
        const QString path = root.file("/job.pat");
        QVERIFY(AtomicFile::save(path, contents));
        QCOMPARE(countpatwidth(path), width);
    }

    void pixels_data()
    {
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("y");
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("offset");
        QTest::addColumn<int>("byte");
        // 20 x 4 pattern: W = 10, line y starts at file offset 10 (y + 1).
        QTest::addRow("%s", "even column is the high nibble") << 0 << 0 << 0xA << 10 << 0xA0;
        QTest::addRow("%s", "odd column is the low nibble") << 1 << 0 << 0x5 << 10 << 0x05;
        QTest::addRow("%s", "last column of the top line") << 19 << 3 << 0xF << 49 << 0x0F;
        QTest::addRow("%s", "value keeps four bits") << 2 << 1 << 0x13 << 21 << 0x30;
    }
    void pixels()
    {
        QFETCH(int, x);
        QFETCH(int, y);
        QFETCH(int, value);
        QFETCH(int, offset);
        QFETCH(int, byte);
        TestRoot root;
        const QString path = root.file("/job.pat");
        QByteArray original = pattern(20, 4);
        original[4] = '\x5a'; // rest of the header line, kept on save
        QVERIFY(AtomicFile::save(path, original));
        PatPixels p;
        QVERIFY(p.load(path));
        QVERIFY(p.setPixel(x, y, value));
        QCOMPARE(p.pixel(x, y), value & 0x0f);
        QVERIFY(p.save(path));

        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray saved = f.readAll();
        QCOMPARE(saved.size(), original.size() + 1);
        QCOMPARE(static_cast<unsigned char>(saved[offset]), static_cast<unsigned char>(byte));
        QCOMPARE(saved.left(10), original.left(10));
        QCOMPARE(patfilecheck(path), 0);
        PatPixels again;
        QVERIFY(again.load(path));
        QCOMPARE(again.pixel(x, y), value & 0x0f);
    }

    void outside_data()
    {
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("y");
        QTest::addRow("%s", "left of it") << -1 << 0;
        QTest::addRow("%s", "right of it") << 20 << 0;
        QTest::addRow("%s", "above it") << 0 << 4;
        QTest::addRow("%s", "below it") << 0 << -1;
    }
    void outside()
    {
        QFETCH(int, x);
        QFETCH(int, y);
        PatPixels p;
        QVERIFY(p.loadData(pattern(20, 4, 0, '\x11')));
        QVERIFY(!p.setPixel(x, y, 3));
        QCOMPARE(p.pixel(x, y), 0);
        QCOMPARE(p.fileData(p.headerLine()).mid(10, 40), QByteArray(40, '\x11'));
    }

    void refused_data()
    {
        QTest::addColumn<QByteArray>("contents");
        QTest::addRow("%s", "header overlaps line 0") << pattern(6, 3);
        QTest::addRow("%s", "fails its check") << pattern(20, 4, -1);
        QTest::addRow("%s", "no header") << QByteArray("\x10", 1);
    }
    void refused()
    {
        QFETCH(QByteArray, contents);
        PatPixels p;
        QVERIFY(!p.loadData(contents));
        QVERIFY(!p.isLoaded());
        QVERIFY(!p.setPixel(0, 0, 1));
    }
};

QTEST_GUILESS_MAIN(TestPatFile)
#include "test_patfile.moc"
