// Catches row-field codecs that use the wrong character table or bit order, set the ok flag
// against the described rules, read a shown text back as another value, write past the
// caller's buffer or cut a Chinese text in half, remap carriers when they should not, or let
// the system II half of a display copy differ from system I. (The selector text's round trip
// over every mask, and the whole-row decode knitjob's show prints, are the row-codec fuzz
// target's.)
#include "data/rowcodecaction.h"
#include "data/rowcodecbed.h"
#include "data/rowcodecrow.h"
#include "data/rowcodecselect.h"
#include "testtable.h"

#include <QTest>

#include <cstring>

class TestRowCodec : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Row bytes shown as text: a and b are the codec's arguments (mouth: b is the mask, mode
    // and enable ride in bits 8-11 and 12-15 of a).
    void toText_data()
    {
        TestTable::columns<QString, int, int, QString>("codec", "a", "b", "text");
        QTest::addRow("index: bits 0 and 15") << "index" << 0x8001 << 0 << "0F";
        QTest::addRow("index: all") << "index" << 0xFFFF << 0 << "0123456789ABCDEF";
        QTest::addRow("carriers: bits 0 and 15") << "carriers" << 0x8001 << 0 << "10";
        QTest::addRow("carriers: all") << "carriers" << 0xFFFF << 0 << "123456789ABCDEF0";
        // The map sends carrier i + 1 to carrier 8 - i; entry 2 is 0 and entry 3 is 9 (both drop),
        // entry 4 carries a high byte that must be ignored.
        QTest::addRow("mouth: hidden whatever the mask") << "mouth" << 0x1081 << 0xFF << "0";
        QTest::addRow("mouth: inactive") << "mouth" << 0x0000 << 0x01 << "0";
        QTest::addRow("mouth: no remap when disabled") << "mouth" << 0x0080 << 0x81 << "18";
        QTest::addRow("mouth: remap in mode 0") << "mouth" << 0x1080 << 0x03 << "78";
        QTest::addRow("mouth: no remap in mode 2") << "mouth" << 0x1280 << 0x03 << "12";
        QTest::addRow("mouth: out-of-range entries drop") << "mouth" << 0x1080 << 0x0C << "";
        QTest::addRow("mouth: high byte of an entry ignored") << "mouth" << 0x1080 << 0x10 << "4";
        QTest::addRow("rora: on, group 5") << "rora" << 0x85 << 0 << "5";
        QTest::addRow("rora: off") << "rora" << 0x05 << 0 << "0";
        QTest::addRow("bed: L3*") << "bed" << 0xC1 << 3 << "L3*";
        QTest::addRow("bed: distance 0 has no side") << "bed" << 0x82 << 0 << " 0+";
        QTest::addRow("bed: not racking") << "bed" << 0x41 << 5 << "   ";
        QTest::addRow("bed: modifier 3 is blank") << "bed" << 0xC3 << 7 << "L7 ";
        QTest::addRow("bed: minus, count high bits ignored") << "bed" << 0x84 << 0xF9 << "R1-";
    }
    void toText()
    {
        auto [codec, a, b, text] = TestTable::fetch<QString, int, int, QString>("codec", "a", "b", "text");
        QString got;
        if (codec == QLatin1String("index") || codec == QLatin1String("carriers")) {
            got = codec == QLatin1String("index") ? selectorText(quint16(a)) : carrierNumbersText(quint16(a));
            char buf[17];
            std::memset(buf, 'x', sizeof buf);
            const std::size_t n = codec == QLatin1String("index") ? selectorText(buf, sizeof buf, quint16(a))
                                                                  : carrierNumbersText(buf, sizeof buf, quint16(a));
            QCOMPARE(QString::fromLatin1(buf), got); // NUL-terminated in a buffer of 17
            QCOMPARE(n, std::size_t(got.size()));
        } else if (codec == QLatin1String("mouth")) {
            CarrierRemap remap;
            remap.mode = quint16((a >> 8) & 0xf);
            remap.enable = quint16(a >> 12);
            remap.map = {8, 7, 0, 9, 0x0304, 3, 2, 1};
            got = multiCarrierText(quint8(a), quint8(b), remap);
        } else if (codec == QLatin1String("rora")) {
            got = rollerText(quint8(a));
        } else {
            got = bedText(quint8(a), quint8(b));
        }
        QCOMPARE(got, text);
    }

    // Texts typed by the operator read back: a selector of 16 characters at most, upper-case
    // hex only; a bed text as flag | count << 8, any side but L being R.
    void fromText_data()
    {
        TestTable::columns<bool, QString, int, bool>("bed", "text", "value", "ok");
        QTest::addRow("%s", "selector 0F") << false << "0F" << 0x8001 << true;
        QTest::addRow("%s", "selector 0G stops") << false << "0G" << 0x0001 << false;
        QTest::addRow("%s", "selector lower case refused") << false << "0a" << 0x0001 << false;
        QTest::addRow("%s", "selector 17th character ignored") << false << "0123456789ABCDEFG" << 0xFFFF << true;
        QTest::addRow("%s", "selector wide character refused") << false << QString::fromUtf8("1①") << 0x0002 << false;
        QTest::addRow("%s", "bed L3*") << true << "L3*" << 0x03C1 << true;
        QTest::addRow("%s", "bed R8- has no distance 8") << true << "R8-" << 0x0084 << true;
        QTest::addRow("%s", "bed unknown side is R") << true << "X2+" << 0x0282 << true;
        QTest::addRow("%s", "bed short text") << true << "L" << 0x00C0 << true;
    }
    void fromText()
    {
        auto [bed, text, value, ok] = TestTable::fetch<bool, QString, int, bool>("bed", "text", "value", "ok");
        bool got = !ok;
        QCOMPARE(int(bed ? parseBedText(text, &got) : parseSelectorText(text, &got)), value);
        QCOMPARE(got, ok);
    }

    // Buffers smaller than the text, and texts without a NUL inside their size.
    void bounded()
    {
        char guard[8];
        std::memset(guard, '#', sizeof guard);
        QCOMPARE(selectorText(guard, 4, 0xFFFF), std::size_t(3));
        QCOMPARE(QByteArray(guard, 5), QByteArray("012\0#", 5));
        QCOMPARE(selectorText(guard, 0, 0xFFFF), std::size_t(0));
        QCOMPARE(guard[0], '0');

        const char unterminated[3] = {'1', '2', '3'};
        bool ok = false;
        QCOMPARE(int(parseSelectorText(unterminated, 2, &ok)), 0x0006);
        QVERIFY(ok);
        QCOMPARE(int(parseBedText(unterminated, 0, &ok)), 0x80);

        char a[5], h[8];
        std::memset(a, '#', sizeof a);
        actionTexts(a, sizeof a, h, sizeof h, 7);
        // "编织" is six bytes in UTF-8: a five-byte buffer holds one whole character.
        QCOMPARE(QByteArray(a), QByteArray("编"));
        QCOMPARE(QByteArray(h), QByteArray("接针"));
    }

    void typeChange_data()
    {
        TestTable::columns<int, QString, QString>("action", "a", "h");
        const QString knit = QStringLiteral("编织");
        const QString tuck = QStringLiteral("集圈");
        QTest::addRow("%s", "1 transfer") << 1 << QStringLiteral("翻针") << "";
        QTest::addRow("%s", "7 knit and receive") << 7 << knit << QStringLiteral("接针");
        QTest::addRow("%s", "8 knit") << 8 << knit << "";
        QTest::addRow("%s", "10 tuck") << 10 << "" << tuck;
        QTest::addRow("%s", "13 knit and tuck") << 13 << knit << tuck;
        for (int code : {0, 9, 255})
            QTest::addRow("%d nothing", code) << code << "" << "";
    }
    void typeChange()
    {
        auto [action, a, h] = TestTable::fetch<int, QString, QString>("action", "a", "h");
        QString gotA = QStringLiteral("stale"), gotH = QStringLiteral("stale");
        actionTexts(&gotA, &gotH, static_cast<unsigned char>(action));
        QCOMPARE(gotA, a);
        QCOMPARE(gotH, h);
    }

    // One system: the system II half is a copy of system I (also when copying in place).
    void dataChange_data()
    {
        TestTable::columns<int, bool>("systems", "inPlace");
        QTest::addRow("%s", "one system") << 1 << false;
        QTest::addRow("%s", "one system, in place") << 1 << true;
        QTest::addRow("%s", "two systems copy only") << 2 << false;
    }
    void dataChange()
    {
        auto [systems, inPlace] = TestTable::fetch<int, bool>("systems", "inPlace");
        CntRow row;
        auto *bytes = reinterpret_cast<unsigned char *>(&row);
        for (std::size_t i = 0; i < sizeof row; ++i)
            bytes[i] = static_cast<unsigned char>(i * 7 + 3);
        const QByteArray before(reinterpret_cast<const char *>(&row), sizeof row);
        CntRow copy;
        CntRow *out = inPlace ? &row : &copy;
        displayRow(&row, out, 0x1234, 17, systems);
        QByteArray want = before;
        if (systems <= 1) {
            want.replace(20, 20, before.mid(0, 20));
            want.replace(83, 3, before.mid(80, 3));
            want.replace(111, 2, before.mid(109, 2));
        }
        QCOMPARE(QByteArray(reinterpret_cast<const char *>(out), sizeof *out), want);
    }
};

QTEST_GUILESS_MAIN(TestRowCodec)
#include "test_rowcodec.moc"
