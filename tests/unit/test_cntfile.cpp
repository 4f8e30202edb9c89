// Catches a .cnt check that gets a result code wrong at a size boundary (empty, one record,
// 1 MiB and one byte over), reads an oversized file, takes a bad checksum for a good one; and a
// loader that keeps the previous program's bytes, reads rows the file never had, counts rows
// past the first end flag or lets a trailing checksum byte change the count.
#include "data/cntchecksum.h"
#include "data/cntfile.h"
#include "data/cntprogram.h"
#include "platform/atomicfile.h"
#include "testroot.h"

#include <QDir>
#include <QTest>

#include <memory>

namespace {

QByteArray records(int n, char fill = '\x11')
{
    return QByteArray(n * 128, fill);
}

QByteArray withChecksum(QByteArray data, int delta = 0)
{
    const int sum = getchecksum(reinterpret_cast<const unsigned char *>(data.constData()), data.size());
    data.append(static_cast<char>((sum + delta) & 0xff));
    return data;
}

QByteArray withEndFlag(QByteArray data, int row, char value = 1)
{
    data[row * 128 + 116] = value;
    return data;
}

} // namespace

class TestCntFile : public QObject
{
    Q_OBJECT

private slots:
    void check_data()
    {
        QTest::addColumn<QByteArray>("contents");
        QTest::addColumn<int>("code");
        QTest::addRow("%s", "empty") << QByteArray() << 2;
        QTest::addRow("%s", "1 byte, zero sum") << QByteArray(1, '\0') << 0;
        QTest::addRow("%s", "1 byte, wrong sum") << QByteArray(1, '\x05') << 3;
        QTest::addRow("%s", "127 bytes") << QByteArray(127, 'x') << 5;
        QTest::addRow("%s", "128 bytes") << records(1) << 2;
        QTest::addRow("%s", "129 bytes, good sum") << withChecksum(records(1)) << 0;
        QTest::addRow("%s", "129 bytes, bad sum") << withChecksum(records(1), 1) << 3;
        QTest::addRow("%s", "130 bytes") << QByteArray(130, 'x') << 5;
        QTest::addRow("%s", "exactly 1 MiB") << records(8192) << 2;
        QTest::addRow("%s", "1 MiB plus checksum") << withChecksum(records(8192)) << 4;
        QTest::addRow("%s", "largest with checksum") << withChecksum(records(8191, '\xff')) << 0;
        QTest::addRow("%s", "largest, checksum off by 128") << withChecksum(records(8191, '\xff'), 128) << 3;
    }
    void check()
    {
        QFETCH(QByteArray, contents);
        QFETCH(int, code);
        TestRoot root;
        const QString path = root.file("/job.cnt");
        QVERIFY(AtomicFile::save(path, contents));
        const CntCheck c = CntFile::check(path);
        QCOMPARE(c.code, code);
        QCOMPARE(cntfilecheck(path), code);
        QCOMPARE(c.size, static_cast<long long>(contents.size()));
        if (code == 0 || code == 3)
            QCOMPARE(c.storedChecksum, static_cast<int>(static_cast<unsigned char>(contents.back())));
        QCOMPARE(CntFile::isAccepted(code), code <= 3);
        QCOMPARE(CntFile::message(code).isEmpty(), code <= 3);
    }

    void unreadable_data()
    {
        QTest::addColumn<bool>("directory");
        QTest::addRow("%s", "missing") << false;
        QTest::addRow("%s", "a directory") << true;
    }
    void unreadable()
    {
        QFETCH(bool, directory);
        TestRoot root;
        const QString path = root.file("/job.cnt");
        if (directory)
            QVERIFY(QDir().mkpath(path));
        QCOMPARE(cntfilecheck(path), 1);
        QCOMPARE(CntFile::message(1), QStringLiteral("cnt文件读取失败 !"));
    }

    void rowCount_data()
    {
        QTest::addColumn<QByteArray>("contents");
        QTest::addColumn<int>("rows");
        QTest::addRow("%s", "empty file") << QByteArray() << 1;
        QTest::addRow("%s", "record 0 alone") << records(1) << 1;
        QTest::addRow("%s", "record 0 with checksum") << withChecksum(records(1)) << 1;
        QTest::addRow("%s", "no end flag") << records(11, '\0') << 10;
        QTest::addRow("%s", "checksum does not count") << withChecksum(records(11, '\0')) << 10;
        QTest::addRow("%s", "end flag on row 1") << withEndFlag(records(200, '\0'), 1) << 1;
        QTest::addRow("%s", "first of two end flags") << withEndFlag(withEndFlag(records(50, '\0'), 30), 7) << 7;
        QTest::addRow("%s", "end flag 2 is not an end") << withEndFlag(records(10, '\0'), 3, 2) << 9;
        QTest::addRow("%s", "end flag in record 0 ignored") << withEndFlag(records(5, '\0'), 0) << 4;
        QTest::addRow("%s", "partial record after the rows") << records(4, '\0') + QByteArray(100, '\x01') << 3;
    }
    void rowCount()
    {
        QFETCH(QByteArray, contents);
        QFETCH(int, rows);
        QCOMPARE(CntProgram::rowCount(reinterpret_cast<const unsigned char *>(contents.constData()), contents.size()), rows);
        TestRoot root;
        const QString path = root.file("/job.cnt");
        QVERIFY(AtomicFile::save(path, contents));
        auto image = std::make_unique<CntProgram::Image>();
        const CntLoad load = CntProgram::loadInto(path, *image);
        QVERIFY(load.ok);
        QCOMPARE(load.rows, rows);
        QCOMPARE(load.size, static_cast<long long>(contents.size()));
    }

    // The earlier job's program must not show through a shorter or empty one.
    void loadClearsImage_data()
    {
        QTest::addColumn<QByteArray>("contents");
        QTest::addRow("%s", "empty") << QByteArray();
        QTest::addRow("%s", "record 0 only") << withChecksum(records(1, '\x22'));
        QTest::addRow("%s", "two rows") << records(3, '\x22');
        QTest::addRow("%s", "too large") << records(8193, '\x22');
    }
    void loadClearsImage()
    {
        QFETCH(QByteArray, contents);
        TestRoot root;
        const QString path = root.file("/job.cnt");
        QVERIFY(AtomicFile::save(path, contents));
        std::memset(wave_cnt.data(), 0xAA, wave_cnt.size);
        const CntLoad load = CntProgram::load(path);
        const bool fits = contents.size() <= static_cast<qsizetype>(wave_cnt.size);
        QCOMPARE(load.ok, fits);
        const qsizetype kept = fits ? contents.size() : 0;
        QCOMPARE(QByteArray(reinterpret_cast<const char *>(wave_cnt.data()), kept), contents.left(kept));
        QCOMPARE(wave_cnt.toByteArray().mid(kept), QByteArray(int(wave_cnt.size) - int(kept), '\0'));

        STRUCT_CNT row;
        const int records = int(contents.size() / 128);
        for (int r = 1; r <= 4; ++r) {
            const bool present = fits && r < records;
            QCOMPARE(CntProgram::row(r, &row), present);
            const QByteArray got(reinterpret_cast<const char *>(&row), sizeof row);
            QCOMPARE(got, present ? contents.mid(r * 128, 128) : QByteArray(128, '\0'));
        }
    }

    void rowBounds_data()
    {
        QTest::addColumn<int>("records");
        QTest::addColumn<int>("row");
        QTest::addColumn<bool>("present");
        QTest::addRow("%s", "row 0 is not a row") << 3 << 0 << false;
        QTest::addRow("%s", "last row") << 3 << 2 << true;
        QTest::addRow("%s", "past the file") << 3 << 3 << false;
        QTest::addRow("%s", "negative") << 3 << -1 << false;
        QTest::addRow("%s", "past the image") << 9000 << 8192 << false;
        QTest::addRow("%s", "last record of the image") << 9000 << 8191 << true;
    }
    void rowBounds()
    {
        QFETCH(int, records);
        QFETCH(int, row);
        QFETCH(bool, present);
        auto image = std::make_unique<CntProgram::Image>();
        std::memset(image->data(), 0x33, image->size);
        STRUCT_CNT out;
        QCOMPARE(CntProgram::row(*image, records, row, &out), present);
        QCOMPARE(out.density_group, present ? 0x33 : 0);
    }
};

QTEST_GUILESS_MAIN(TestCntFile)
#include "test_cntfile.moc"
