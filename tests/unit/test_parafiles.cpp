// Catches size and speed texts in the wrong unit or form, a digit or bit helper that writes or
// reads out of bounds, a management read that clobbers bytes a short file lacks, a save that
// reports success or damages the old file when the disk is full, and a mkdir/delete that lets
// a blank, quote or semicolon in a name reach anything but that one path.
#include "data/parablocks.h"
#include "data/parafiles.h"
#include "data/paraformat.h"
#include "platform/atomicfile.h"
#include "testbytes.h"
#include "testroot.h"

#include <QDir>
#include <QFile>
#include <QTest>

#include <cstring>

using TestBytes::readFile;

using TestBytes::listTree;

class TestParaFiles : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { AtomicFile::setWriteLimitForTesting(-1); }

    // Kilobytes up to 1024 K, then megabytes up to 1024.0 M, then gigabytes.
    void sizeText_data()
    {
        QTest::addColumn<quint64>("kb");
        QTest::addColumn<QString>("text");
        QTest::addRow("1024") << quint64(1024) << "1024 K";
        QTest::addRow("1025") << quint64(1025) << "1.0 M";
        QTest::addRow("1536") << quint64(1536) << "1.5 M";
        QTest::addRow("1048576") << quint64(1048576) << "1024.0 M";
        QTest::addRow("1048577") << quint64(1048577) << "1.0 G";
    }
    void sizeText()
    {
        QFETCH(quint64, kb);
        QFETCH(QString, text);
        QCOMPARE(sizebykb(kb), text);
    }

    void speedText()
    {
        QCOMPARE(floattostr(1200.0 * 45, 100000.0), QStringLiteral("0.54 m/s"));
        QCOMPARE(floattostr(5.0, 0.0), QStringLiteral("0.00 m/s")); // divisor 0
    }

    void digits_data()
    {
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("size");
        QTest::addColumn<QByteArray>("text");
        QTest::addRow("0") << 0 << 6 << QByteArray("0");
        QTest::addRow("255") << 255 << 6 << QByteArray("255");
        QTest::addRow("65535") << 65535 << 6 << QByteArray("65535");
        QTest::addRow("cut to buffer") << 65535 << 3 << QByteArray("65");
        QTest::addRow("no room") << 12 << 1 << QByteArray("");
    }
    void digits()
    {
        QFETCH(int, value);
        QFETCH(int, size);
        QFETCH(QByteArray, text);
        char buf[8];
        std::memset(buf, 'x', sizeof buf);
        QCOMPARE(dectostr(static_cast<unsigned short>(value), buf, std::size_t(size)), int(text.size()));
        QCOMPARE(QByteArray(buf), text);
        QCOMPARE(buf[size], 'x'); // nothing past the given size
    }

    // Bits of a word read only in range; a byte's bit set or cleared, others and bits past 7 untouched.
    void bits()
    {
        QCOMPARE(bit_read(0x80000000u, 31), 1);
        QCOMPARE(bit_read(0xffffffdfu, 5), 0);
        QCOMPARE(bit_read(0xffffffffu, 32), 0);
        QCOMPARE(bit_read(0xffffffffu, -1), 0);
        QCOMPARE(int(bit_write(0xff, 0, 8)), 0xff);
        QCOMPARE(int(bit_write(0xff, 0, 0)), 0xfe);
        QCOMPARE(int(bit_write(0x00, 1, 7)), 0x80);
    }

    void bytesToText_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("length");
        QTest::addColumn<QString>("text");
        QTest::addRow("NUL ended") << QByteArray("job1\0zz", 7) << 7 << "job1";
        QTest::addRow("no NUL within length") << QByteArray("abcdef") << 3 << "abc";
        QTest::addRow("empty") << QByteArray("\0", 1) << 1 << "";
        QTest::addRow("GBK") << QByteArray("\xb2\xe2\xca\xd4\0", 5) << 5 << QString::fromUtf8("测试");
        QTest::addRow("UTF-8") << QString::fromUtf8("花型").toUtf8() << 6 << QString::fromUtf8("花型");
    }
    void bytesToText()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, length);
        QFETCH(QString, text);
        // An exact-size heap copy, so a read past length is a real overread under a sanitizer.
        std::vector<unsigned char> copy(bytes.begin(), bytes.begin() + length);
        QCOMPARE(chartoqstr(copy.data(), copy.size()), text);
    }

    void management_data()
    {
        QTest::addColumn<bool>("present");
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QByteArray>("after");
        const QByteArray old("\x11\x22\x33\x44\x55\x66\x77\x88", 8);
        QTest::addRow("missing keeps") << false << QByteArray() << old;
        QTest::addRow("full") << true << QByteArray("ABCDEFGH") << QByteArray("ABCDEFGH");
        QTest::addRow("short fills its length") << true << QByteArray("abc") << QByteArray("abc\x44\x55\x66\x77\x88", 8);
        QTest::addRow("long takes 8") << true << QByteArray("0123456789") << QByteArray("01234567");
    }
    void management()
    {
        QFETCH(bool, present);
        QFETCH(QByteArray, file);
        QFETCH(QByteArray, after);
        TestRoot root;
        ::management.fill(QByteArray("\x11\x22\x33\x44\x55\x66\x77\x88", 8));
        if (present)
            QVERIFY(TestBytes::writeFile(root.file("/mnt/ide/knit/para/management.bin"), file));
        QCOMPARE(wave_read_management(), present);
        QCOMPARE(::management.toByteArray(), after);
    }

    void managementWrite()
    {
        TestRoot root;
        ::management.fill(QByteArray("\x01\x00\x02\x00\x03\x00\x00\x00", 8));
        QVERIFY(wave_write_management());
        QCOMPARE(readFile(root.file("/mnt/ide/knit/para/management.bin")), ::management.toByteArray());
        QVERIFY(QDir(root.file("/mnt/ide/knit/para")).removeRecursively());
        QVERIFY(!wave_write_management());
    }

    void save_data()
    {
        QTest::addColumn<QString>("relative");
        QTest::addColumn<qint64>("limit");
        QTest::addColumn<int>("result");
        QTest::addRow("ok") << "/mnt/ide/knit/para/x.sys" << qint64(-1) << 1;
        QTest::addRow("disk full") << "/mnt/ide/knit/para/x.sys" << qint64(100) << 0;
        QTest::addRow("folder missing") << "/mnt/ide/knit/nothere/x.sys" << qint64(-1) << 0;
    }
    void save()
    {
        QFETCH(QString, relative);
        QFETCH(qint64, limit);
        QFETCH(int, result);
        TestRoot root;
        const QString path = root.file(relative);
        const QByteArray old(404, 'o');
        if (QFileInfo(path).dir().exists())
            QVERIFY(AtomicFile::save(path, old));
        QByteArray next(404, '\0');
        for (int i = 0; i < next.size(); ++i)
            next[i] = char(i);
        AtomicFile::setWriteLimitForTesting(limit);
        QCOMPARE(int(savefileapp(path, next.constData(), next.size())), result);
        AtomicFile::setWriteLimitForTesting(-1);
        // The old file or nothing, and no temporary left behind.
        const bool folder = QFileInfo(path).dir().exists();
        QCOMPARE(readFile(path), result == 1 ? next : folder ? old : QByteArray("<missing>"));
        QCOMPARE(QDir(QFileInfo(path).absolutePath()).entryList(QDir::Hidden | QDir::Files).size(), folder ? 1 : 0);
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
        TestRoot root;
        const QString wave = root.file("/mnt/ide/knit/wave");
        for (const char *keep : {"a", "b", "it", "s", "x", "y", "z"})
            QVERIFY(QDir().mkpath(wave + QLatin1Char('/') + QLatin1String(keep)));
        const QStringList before = listTree(wave);
        QVERIFY(mkdirfile(wave + QLatin1Char('/') + name));
        QVERIFY(AtomicFile::save(wave + QLatin1Char('/') + name + QLatin1Char('/') + name + QLatin1String(".cnt"), QByteArray("c")));
        QCOMPARE(listTree(wave).size(), before.size() + 2);
        QVERIFY(deletefile(wave + QLatin1Char('/') + name));
        QCOMPARE(listTree(wave), before);
    }

    void deleteStaysInsideRoot()
    {
        TestRoot root;
        TestRoot other; // a second tree, outside the first root
        QVERIFY(AtomicFile::save(other.file("/keep.txt"), QByteArray("k")));
        QVERIFY(QDir().mkpath(root.file("/mnt/ide/knit/wave/j")));
        QVERIFY(QFile::link(other.path(), root.file("/mnt/ide/knit/wave/link")));
        qputenv("KNIT_ROOT", QFile::encodeName(root.path()));
        QVERIFY(!deletefile(root.path()));
        QVERIFY(!deletefile(root.file("/mnt/..//..")));
        QVERIFY(!deletefile(other.file("/keep.txt")));
        QVERIFY(!deletefile(root.file("/mnt/ide/knit/wave/link/keep.txt")));
        QVERIFY(!deletefile(QString()));
        QVERIFY(deletefile(root.file("/mnt/ide/knit/wave/link")));
        QVERIFY(QFileInfo::exists(other.file("/keep.txt")));
        QVERIFY(!QFileInfo(root.file("/mnt/ide/knit/wave/link")).isSymLink());
        QVERIFY(deletefile(root.file("/mnt/ide/knit/wave/j/../j")));
        QVERIFY(!QFileInfo::exists(root.file("/mnt/ide/knit/wave/j")));
        QVERIFY(deletefile(root.file("/mnt/ide/knit/none/deeper")));
        QVERIFY(QFileInfo::exists(root.file("/mnt/ide/knit/wave")));
    }

    void dateFile_data()
    {
        QTest::addColumn<bool>("present");
        QTest::addColumn<QByteArray>("contents");
        QTest::addColumn<QString>("text");
        QTest::addRow("missing") << false << QByteArray() << "error";
        QTest::addRow("two words") << true << QByteArray("2007/3/9 8:05:00\n") << "2007/3/9 8:05:00";
        QTest::addRow("spread out") << true << QByteArray("\n  2007/3/9\t\t8:05:00  extra\n") << "2007/3/9 8:05:00";
        QTest::addRow("one word") << true << QByteArray("2007/3/9") << "2007/3/9 ";
        QTest::addRow("empty") << true << QByteArray() << " ";
    }
    void dateFile()
    {
        QFETCH(bool, present);
        QFETCH(QByteArray, contents);
        QFETCH(QString, text);
        TestRoot root;
        const QString path = root.file("/mnt/ide/knit/para/date.txt");
        if (present)
            QVERIFY(createdatetimefile(path, QString::fromUtf8(contents)));
        QCOMPARE(readdatetimefile(path), text);
    }
};

QTEST_GUILESS_MAIN(TestParaFiles)
#include "test_parafiles.moc"
