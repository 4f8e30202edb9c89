// The job files (.cnt program, .pat pattern) as the panel checks and loads them, and knitjob's
// check of them. Faults caught: a check that gets a result code wrong at a size boundary
// (empty, one record, 1 MiB / 2 MiB and one byte over), takes its steps in the wrong order,
// reads an oversized file or a header the file does not hold, takes a bad checksum for a good
// one, or whose piecewise or in-image reading gives another verdict than the whole file's (a
// checksum summed across pieces wrongly, a refused program written into the image); a checksum
// that is not the plain byte sum (lanes overflowing, a tail or an unaligned start lost); a job's
// pattern width not the one its own read gives; knitjob's exit status not the check's code or
// its report lines wrong; a loader that keeps the previous program's bytes, reads rows the file
// never had, counts rows past the first end flag or lets a trailing checksum byte change the
// count; an effective width that looks at the two top lines or past the data; pixel code that
// swaps the two nibbles of a byte, writes outside the pattern, takes a file that is no pattern,
// or saves without the header line or a right checksum.
#include "ownprogram.h"
#include "testbytes.h"
#include "testroot.h"
#include "testtable.h"

#include "data/cntchecksum.h"
#include "data/cntfile.h"
#include "data/cntprogram.h"
#include "data/machinedata.h"
#include "data/patfile.h"
#include "data/patpixels.h"

#include <QProcess>
#include <QTest>

#include <memory>

using TestBytes::withChecksum;

namespace {

QByteArray records(int n, char fill = '\x11')
{
    return QByteArray(n * 128, fill);
}

QByteArray withEndFlag(QByteArray data, int row, char value = 1)
{
    data[row * 128 + 116] = value;
    return data;
}

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

QByteArray setLastNibble(QByteArray data, int width, int line)
{
    const int w = width / 2;
    data[w * (line + 2) - 1] = char(data[w * (line + 2) - 1] | 0x01);
    return data;
}

} // namespace

class TestJobFiles : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // The panel's check of a file and knitjob check's exit status and report lines.
    void check_data()
    {
        // contents: "<none>": no file, "<dir>": a directory
        TestTable::columns<QString, QByteArray, int, QStringList>("ext", "contents", "code", "lines");
        const QStringList none;
        QTest::addRow("cnt empty") << "cnt" << QByteArray() << 2 << QStringList{"size: 0", "rows: 0", "length: 1"};
        QTest::addRow("cnt 1 byte, wrong sum") << "cnt" << QByteArray(1, '\x05') << 3 << none;
        QTest::addRow("cnt 128 bytes") << "cnt" << records(1, '\0') << 2 << QStringList{"rows: 0", "length: 1", "import message: cnt文件没有校验码 !"};
        QTest::addRow("cnt 130 bytes") << "cnt" << QByteArray(130, 'x') << 5 << QStringList{"message: cnt文件格式错误 !"};
        QTest::addRow("cnt three records") << "cnt" << withChecksum(records(3, '\x01')) << 0
                                           << QStringList{"size: 385", "rows: 2", "checksum stored: 128", "checksum computed: 128"};
        QTest::addRow("cnt exactly 1 MiB") << "cnt" << records(8192) << 2 << none;
        QTest::addRow("CNT 1 MiB plus checksum") << "CNT" << withChecksum(records(8192)) << 4 << QStringList{"message: cnt文件大于1M !"};
        QTest::addRow("cnt largest with checksum") << "cnt" << withChecksum(records(8191, '\xff')) << 0 << none;
        QTest::addRow("cnt largest, checksum off by 128") << "cnt" << withChecksum(records(8191, '\xff'), 128) << 3 << none;
        QTest::addRow("cnt missing") << "cnt" << QByteArray("<none>") << 1 << QStringList{"message: cnt文件读取失败 !"};
        QTest::addRow("cnt a directory") << "cnt" << QByteArray("<dir>") << 1 << none;
        QTest::addRow("pat 3-byte header") << "pat" << QByteArray("\x08\x00\x03", 3) << 5 << QStringList{"message: pat文件格式错误 !"};
        QTest::addRow("pat 8x3, 15 bytes") << "pat" << pattern(8, 3, -1) << 9 << none;
        QTest::addRow("pat 8x3 (height 3), 16 bytes") << "pat" << pattern(8, 3) << 2 << none;
        QTest::addRow("pat 8x3, 17 bytes, good sum") << "pat" << withChecksum(pattern(8, 3)) << 0
                                                     << QStringList{"effective width: 7", "checksum computed: 11"};
        QTest::addRow("pat 8x3, 17 bytes, bad sum") << "pat" << withChecksum(pattern(8, 3), 1) << 3 << none;
        QTest::addRow("pat 8x3, 18 bytes") << "pat" << pattern(8, 3, 2) << 5 << none;
        QTest::addRow("pat width 1") << "pat" << pattern(1, 3) << 7 << QStringList{"message: pat花板宽度为0 !"};
        QTest::addRow("pat width 1025") << "pat" << withChecksum(pattern(1025, 3)) << 0 << none;
        QTest::addRow("pat width 1026") << "pat" << pattern(1026, 3) << 6 << none;
        QTest::addRow("pat width over, height 0") << "pat" << pattern(2000, 0) << 6 << none;
        QTest::addRow("pat height 2") << "pat" << pattern(8, 2) << 8 << none;
        QTest::addRow("pat height 0, width 0") << "pat" << pattern(0, 0) << 7 << none;
        QTest::addRow("pat height beyond the data") << "pat" << pattern(64, 10, -32 * 5) << 9
                                                    << QStringList{"width: 64", "height: 10", "message: pat花板高度于文件不对应 !"};
        QTest::addRow("pat exactly 2 MiB") << "pat" << pattern(1024, 4095) << 2 << none;
        QTest::addRow("pat 2 MiB, longer than the header says") << "pat" << pattern(1024, 4000, 512 * 95) << 5 << none;
        QTest::addRow("pat 2 MiB plus checksum") << "pat" << withChecksum(pattern(1024, 4095)) << 4 << QStringList{"message: pat文件大于2M !"};
        QTest::addRow("pat 2 MiB plus one, width over") << "pat" << pattern(3000, 1, 2097153 - 1500 * 2) << 4 << none;
        QTest::addRow("pat missing") << "pat" << QByteArray("<none>") << 1 << QStringList{"message: pat文件读取失败 !"};
    }
    void check()
    {
        auto [ext, contents, code, lines] = TestTable::fetch<QString, QByteArray, int, QStringList>("ext", "contents", "code", "lines");
        TestRoot root;
        const QString path = root.file(QStringLiteral("/job.") + ext);
        if (contents == "<dir>")
            QVERIFY(QDir().mkpath(path));
        else if (contents != "<none>")
            QVERIFY(AtomicFile::save(path, contents));
        const bool accepted = code == 0 || code == 2 || code == 3; // the job may still load
        if (ext.toLower() == QLatin1String("cnt")) {
            QByteArray bytes;
            const CntCheck c = CntFile::check(path, &bytes);
            QCOMPARE(c.code, code);
            // A job loads exactly the bytes that were checked; a refused read holds none.
            QCOMPARE(bytes, code == 1 || code == 4 ? QByteArray() : contents);
            QCOMPARE(checkCntFile(path), code);
            // The check that keeps no bytes sums them piece by piece: the same verdict.
            const CntCheck streamed = CntFile::check(path);
            QCOMPARE(qMakePair(streamed.size, streamed.storedChecksum), qMakePair(c.size, c.storedChecksum));
            QCOMPARE(streamed.computedChecksum, c.computedChecksum);
            // A job's opening checks the file in the program image: the same verdict, and the
            // program becomes the file only when it is accepted.
            MachineData machine;
            machine.setProgram(QByteArray(3, 'z'), 7);
            CntCheck opened;
            const CntLoad load = CntProgram::loadAccepted(machine, path, &opened);
            QCOMPARE(qMakePair(opened.code, load.ok), qMakePair(code, accepted));
            QCOMPARE(opened.computedChecksum, c.computedChecksum);
            const QByteArray program = accepted ? contents : QByteArray(3, 'z');
            QCOMPARE(machine.program().toByteArray(), program.leftJustified(int(CntProgram::Image::size), '\0'));
            QCOMPARE(machine.programRecords(), accepted ? int(contents.size() / 128) : 7);
            if (code != 1)
                QCOMPARE(c.size, static_cast<long long>(contents.size()));
            if (code == 0 || code == 3)
                QCOMPARE(c.storedChecksum, int(quint8(contents.back())));
            QCOMPARE(CntFile::isAccepted(code), accepted);
            QCOMPARE(CntFile::message(code).isEmpty(), accepted);
        } else {
            QCOMPARE(PatFile::check(path).code, code);
            // A job's opening takes the width from its check's read.
            int width = -1;
            QCOMPARE(PatFile::check(path, &width).code, code);
            QCOMPARE(width, accepted ? patFileWidth(path) : 0);
            QCOMPARE(checkPatFile(path), code);
            QCOMPARE(PatFile::isAccepted(code), accepted);
            QCOMPARE(PatFile::message(code).isEmpty(), accepted);
        }
        QProcess knitjob;
        startOwnProgram(knitjob, QStringLiteral(KNITJOB_PATH), {"check", path});
        QVERIFY(knitjob.waitForFinished(30000) && knitjob.exitStatus() == QProcess::NormalExit);
        QCOMPARE(knitjob.exitCode(), code);
        const QString report = QString::fromUtf8(knitjob.readAllStandardOutput());
        const QStringList out = report.split(QLatin1Char('\n'));
        QCOMPARE(out.value(0), QStringLiteral("code %1").arg(code));
        for (const QString &line : lines)
            QVERIFY2(out.contains(line), qPrintable(line + " missing in:\n" + report));
    }

    // Rows up to the first end flag past record 0, a trailing checksum or partial record not
    // counted; the earlier job's program never shows through a shorter one; a file too large
    // for the image loads nothing.
    void load_data()
    {
        // rows: 0: not loaded
        TestTable::columns<QByteArray, int>("contents", "rows");
        QTest::addRow("%s", "empty file") << QByteArray() << 1;
        QTest::addRow("%s", "record 0 with checksum") << withChecksum(records(1)) << 1;
        QTest::addRow("%s", "no end flag") << records(11, '\0') << 10;
        QTest::addRow("%s", "checksum does not count") << withChecksum(records(11, '\0')) << 10;
        QTest::addRow("%s", "end flag on row 1") << withEndFlag(records(200, '\0'), 1) << 1;
        QTest::addRow("%s", "first of two end flags") << withEndFlag(withEndFlag(records(50, '\0'), 30), 7) << 7;
        QTest::addRow("%s", "end flag 2 is not an end") << withEndFlag(records(10, '\0'), 3, 2) << 9;
        QTest::addRow("%s", "end flag in record 0 ignored") << withEndFlag(records(5, '\0'), 0) << 4;
        QTest::addRow("%s", "partial record after the rows") << records(4, '\0') + QByteArray(100, '\x01') << 3;
        QTest::addRow("%s", "too large") << records(8193, '\x22') << 0;
    }
    // The 8-bit sum against a byte-by-byte one: every length around the eight-byte steps and
    // the lane folding, every start offset, and all-0xff bytes that fill the lanes most.
    void checksum_data()
    {
        TestTable::columns<QByteArray, int>("bytes", "offset");
        QByteArray mixed(70001, '\0');
        for (int i = 0; i < mixed.size(); ++i)
            mixed[i] = char(i * 31 + 7);
        for (int length : {0, 1, 7, 8, 9, 1023, 1024, 1025, 1031, 2049})
            QTest::addRow("mixed, %d bytes", length) << mixed.left(length + 7) << 7;
        for (int offset = 0; offset < 8; ++offset)
            QTest::addRow("mixed, offset %d", offset) << mixed << offset;
        QTest::addRow("%s", "0xff, 1 MiB less one") << QByteArray(1024 * 1024 - 1, '\xff') << 0;
        QTest::addRow("%s", "0xff, 1031 bytes") << QByteArray(1031, '\xff') << 0;
    }
    void checksum()
    {
        auto [bytes, offset] = TestTable::fetch<QByteArray, int>("bytes", "offset");
        const auto *data = reinterpret_cast<const unsigned char *>(bytes.constData()) + offset;
        const long long length = bytes.size() - offset;
        unsigned expected = 0;
        for (long long i = 0; i < length; ++i)
            expected += data[i];
        QCOMPARE(cntChecksum(data, length), int(expected & 0xff));
    }

    void load()
    {
        auto [contents, rows] = TestTable::fetch<QByteArray, int>("contents", "rows");
        if (rows)
            QCOMPARE(CntProgram::rowCount(reinterpret_cast<const unsigned char *>(contents.constData()), contents.size()), rows);
        TestRoot root;
        const QString path = root.file("/job.cnt");
        QVERIFY(AtomicFile::save(path, contents));
        MachineData machine;
        machine.setProgram(QByteArray(int(CntProgram::Image::size), '\xAA'), 8192);
        const CntLoad load = CntProgram::load(machine, path);
        QCOMPARE(load.ok, rows > 0);
        if (load.ok)
            QCOMPARE(qMakePair(load.rows, load.size), qMakePair(rows, static_cast<long long>(contents.size())));
        const qsizetype kept = load.ok ? contents.size() : 0;
        const CntProgram::Image &image = machine.program();
        QCOMPARE(QByteArray(reinterpret_cast<const char *>(image.data()), kept), contents.left(kept));
        QCOMPARE(image.toByteArray().mid(kept), QByteArray(int(image.size) - int(kept), '\0'));
        CntRow row;
        for (int r = 1; r <= 4; ++r) {
            const bool present = load.ok && r < contents.size() / 128;
            QCOMPARE(CntProgram::row(machine, r, &row), present);
            QCOMPARE(QByteArray(reinterpret_cast<const char *>(&row), sizeof row), present ? contents.mid(r * 128, 128) : QByteArray(128, '\0'));
        }
    }

    void rowBounds_data()
    {
        TestTable::columns<int, int, bool>("records", "row", "present");
        QTest::addRow("%s", "row 0 is not a row") << 3 << 0 << false;
        QTest::addRow("%s", "last row") << 3 << 2 << true;
        QTest::addRow("%s", "past the file") << 3 << 3 << false;
        QTest::addRow("%s", "negative") << 3 << -1 << false;
        QTest::addRow("%s", "past the image") << 9000 << 8192 << false;
        QTest::addRow("%s", "last record of the image") << 9000 << 8191 << true;
    }
    void rowBounds()
    {
        auto [records, row, present] = TestTable::fetch<int, int, bool>("records", "row", "present");
        auto image = std::make_unique<CntProgram::Image>();
        std::memset(image->data(), 0x33, image->size);
        CntRow out;
        QCOMPARE(CntProgram::row(*image, records, row, &out), present);
        QCOMPARE(out.density_group, present ? 0x33 : 0);
    }

    void effectiveWidth_data()
    {
        TestTable::columns<QByteArray, int>("contents", "width");
        QTest::addRow("%s", "height 3, pixel set") << setLastNibble(pattern(16, 3), 16, 0) << 15;
        QTest::addRow("%s", "blank right column") << pattern(16, 10) << 15;
        QTest::addRow("%s", "line 0 has the column") << setLastNibble(pattern(16, 10), 16, 0) << 16;
        QTest::addRow("%s", "line height-4 has it") << setLastNibble(pattern(16, 10), 16, 6) << 16;
        QTest::addRow("%s", "only the top lines have it") << setLastNibble(setLastNibble(pattern(16, 10), 16, 7), 16, 9) << 15;
        QTest::addRow("%s", "high nibble only") << pattern(16, 10, 0, '\xf0') << 15;
        QTest::addRow("%s", "odd width") << setLastNibble(pattern(17, 5), 17, 1) << 17;
        QTest::addRow("%s", "lines missing") << pattern(16, 100, -8 * 90) << 15;
        QTest::addRow("%s", "width 0") << pattern(0, 5) << 0;
        QTest::addRow("%s", "no file") << QByteArray("<none>") << 0;
    }
    void effectiveWidth()
    {
        auto [contents, width] = TestTable::fetch<QByteArray, int>("contents", "width");
        TestRoot root;
        const QString path = root.file("/job.pat");
        if (contents != "<none>")
            QVERIFY(AtomicFile::save(path, contents));
        QCOMPARE(patFileWidth(path), width);
    }

    void pixels_data()
    {
        TestTable::columns<int, int, int, int, int>("x", "y", "value", "offset", "byte");
        // 20 x 4 pattern: W = 10, line y starts at file offset 10 (y + 1).
        QTest::addRow("%s", "even column is the high nibble") << 0 << 0 << 0xA << 10 << 0xA0;
        QTest::addRow("%s", "odd column is the low nibble") << 1 << 0 << 0x5 << 10 << 0x05;
        QTest::addRow("%s", "last column of the top line") << 19 << 3 << 0xF << 49 << 0x0F;
        QTest::addRow("%s", "value keeps four bits") << 2 << 1 << 0x13 << 21 << 0x30;
    }
    void pixels()
    {
        auto [x, y, value, offset, byte] = TestTable::fetch<int, int, int, int, int>("x", "y", "value", "offset", "byte");
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
        const QByteArray saved = TestBytes::readFile(path);
        QCOMPARE(saved.size(), original.size() + 1);
        QCOMPARE(int(quint8(saved[offset])), byte);
        QCOMPARE(saved.left(10), original.left(10));
        QCOMPARE(checkPatFile(path), 0);
    }

    // Outside the pattern nothing is read or written; a file that is no pattern is not taken.
    void outsideAndRefused()
    {
        for (const QByteArray &bad : {pattern(6, 3), pattern(20, 4, -1), QByteArray("\x10", 1)}) {
            PatPixels p; // header overlapping line 0, failing its check, no header
            QVERIFY(!p.loadData(bad) && !p.isLoaded() && !p.setPixel(0, 0, 1));
        }
        PatPixels p;
        QVERIFY(p.loadData(pattern(20, 4, 0, '\x11')));
        for (const QPoint &at : {QPoint(-1, 0), QPoint(20, 0), QPoint(0, 4), QPoint(0, -1)}) {
            QVERIFY(!p.setPixel(at.x(), at.y(), 3));
            QCOMPARE(p.pixel(at.x(), at.y()), 0);
        }
        QCOMPARE(p.fileData(p.headerLine()).mid(10, 40), QByteArray(40, '\x11'));
    }
};

QTEST_GUILESS_MAIN(TestJobFiles)
#include "test_jobfiles.moc"
