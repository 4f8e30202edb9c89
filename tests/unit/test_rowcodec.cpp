// Catches row-field codecs that use the wrong character table or bit order, set the ok flag
// against the described rules, lose a value on the way back, write past the caller's buffer
// or cut a Chinese text in half, remap carriers when they should not, or let the system II
// half of a display copy differ from system I.
#include "data/rowcodecaction.h"
#include "data/rowcodecbed.h"
#include "data/rowcodecrow.h"
#include "data/rowcodecselect.h"

#include <QMap>
#include <QTest>

#include <cstring>

class TestRowCodec : public QObject
{
    Q_OBJECT

private slots:
    void indexChange_data()
    {
        QTest::addColumn<int>("mask");
        QTest::addColumn<QString>("index");
        QTest::addColumn<QString>("carriers");
        QTest::addRow("%s", "none") << 0x0000 << "" << "";
        QTest::addRow("%s", "bits 0 and 15") << 0x8001 << "0F" << "10";
        QTest::addRow("%s", "carriers 1 and 8") << 0x0081 << "07" << "18";
        QTest::addRow("%s", "bit 9") << 0x0200 << "9" << "A";
        QTest::addRow("%s", "all") << 0xFFFF << "0123456789ABCDEF" << "123456789ABCDEF0";
    }
    void indexChange()
    {
        QFETCH(int, mask);
        QFETCH(QString, index);
        QFETCH(QString, carriers);
        QCOMPARE(system_index_change(static_cast<unsigned short>(mask)), index);
        QCOMPARE(system_para_ser(static_cast<unsigned short>(mask)), carriers);
        char buf[17];
        std::memset(buf, 'x', sizeof buf);
        QCOMPARE(system_index_change(buf, sizeof buf, static_cast<unsigned short>(mask)), std::size_t(index.size()));
        QCOMPARE(QString::fromLatin1(buf), index);
    }

    void indexDechange_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("mask");
        QTest::addColumn<bool>("ok");
        QTest::addRow("%s", "empty") << "" << 0 << true;
        QTest::addRow("%s", "0F") << "0F" << 0x8001 << true;
        QTest::addRow("%s", "0G stops") << "0G" << 0x0001 << false;
        QTest::addRow("%s", "lower case refused") << "0a" << 0x0001 << false;
        QTest::addRow("%s", "repeats harmless") << "2222" << 0x0004 << true;
        QTest::addRow("%s", "17th character ignored") << "0123456789ABCDEFG" << 0xFFFF << true;
        QTest::addRow("%s", "16 valid, then junk") << "0000000000000000x" << 0x0001 << true;
        QTest::addRow("%s", "wide character refused") << QString::fromUtf8("1①") << 0x0002 << false;
    }
    void indexDechange()
    {
        QFETCH(QString, text);
        QFETCH(int, mask);
        QFETCH(bool, ok);
        bool got = !ok;
        QCOMPARE(int(system_index_dechange(text, &got)), mask);
        QCOMPARE(got, ok);
    }

    void indexRoundTrip()
    {
        for (int mask = 0; mask <= 0xFFFF; ++mask) {
            char buf[17];
            const std::size_t n = system_index_change(buf, sizeof buf, static_cast<unsigned short>(mask));
            bool ok = false;
            const unsigned short back = system_index_dechange(buf, n, &ok);
            if (!ok || back != mask)
                QFAIL(qPrintable(QStringLiteral("mask %1 came back as %2").arg(mask).arg(back)));
        }
    }

    // Buffers smaller than the text, and texts without a NUL inside their size.
    void bounded()
    {
        char guard[8];
        std::memset(guard, '#', sizeof guard);
        QCOMPARE(system_index_change(guard, 4, 0xFFFF), std::size_t(3));
        QCOMPARE(QByteArray(guard, 5), QByteArray("012\0#", 5));
        QCOMPARE(system_index_change(guard, 0, 0xFFFF), std::size_t(0));
        QCOMPARE(guard[0], '0');

        const char unterminated[3] = {'1', '2', '3'};
        bool ok = false;
        QCOMPARE(int(system_index_dechange(unterminated, 2, &ok)), 0x0006);
        QVERIFY(ok);
        QCOMPARE(int(system_bed_dechange(unterminated, 0, &ok)), 0x80);

        char a[5], h[8];
        std::memset(a, '#', sizeof a);
        system_type_change(a, sizeof a, h, sizeof h, 7);
        // "编织" is six bytes in UTF-8: a five-byte buffer holds one whole character.
        QCOMPARE(QByteArray(a), QByteArray("编"));
        QCOMPARE(QByteArray(h), QByteArray("接针"));
    }

    void mouth_data()
    {
        QTest::addColumn<int>("flag");
        QTest::addColumn<int>("mask");
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("enable");
        QTest::addColumn<QString>("text");
        // The map sends carrier i + 1 to carrier 8 - i; entry 2 is 0 and entry 3 is 9 (both drop),
        // entry 4 carries a high byte that must be ignored.
        QTest::addRow("%s", "hidden whatever the mask") << 0x81 << 0xFF << 0 << 1 << "0";
        QTest::addRow("%s", "inactive") << 0x00 << 0x01 << 0 << 0 << "0";
        QTest::addRow("%s", "no remap when disabled") << 0x80 << 0x81 << 0 << 0 << "18";
        QTest::addRow("%s", "remap in mode 0") << 0x80 << 0x03 << 0 << 1 << "78";
        QTest::addRow("%s", "remap in mode 1") << 0x80 << 0x80 << 1 << 5 << "1";
        QTest::addRow("%s", "no remap in mode 2") << 0x80 << 0x03 << 2 << 1 << "12";
        QTest::addRow("%s", "out-of-range entries drop") << 0x80 << 0x0C << 0 << 1 << "";
        QTest::addRow("%s", "high byte of an entry ignored") << 0x80 << 0x10 << 0 << 1 << "4";
    }
    void mouth()
    {
        QFETCH(int, flag);
        QFETCH(int, mask);
        QFETCH(int, mode);
        QFETCH(int, enable);
        QFETCH(QString, text);
        MouthRemap remap;
        remap.mode = static_cast<unsigned short>(mode);
        remap.enable = static_cast<unsigned short>(enable);
        remap.map = {8, 7, 0, 9, 0x0304, 3, 2, 1};
        QCOMPARE(system_multi_mouth_change(static_cast<unsigned char>(flag), static_cast<unsigned char>(mask), remap), text);
    }

    void rora_data()
    {
        QTest::addColumn<int>("value");
        QTest::addColumn<QString>("text");
        QTest::addRow("%s", "on, group 5") << 0x85 << "5";
        QTest::addRow("%s", "off") << 0x05 << "0";
        QTest::addRow("%s", "on, group 0") << 0x80 << "0";
        QTest::addRow("%s", "on, group 127") << 0xFF << "127";
    }
    void rora()
    {
        QFETCH(int, value);
        QFETCH(QString, text);
        QCOMPARE(wave_rora_change(static_cast<unsigned char>(value)), text);
    }

    void bedChange_data()
    {
        QTest::addColumn<int>("flag");
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("text");
        QTest::addRow("%s", "L3*") << 0xC1 << 3 << "L3*";
        QTest::addRow("%s", "R2") << 0x80 << 2 << "R2 ";
        QTest::addRow("%s", "distance 0 has no side") << 0x82 << 0 << " 0+";
        QTest::addRow("%s", "not racking") << 0x41 << 5 << "   ";
        QTest::addRow("%s", "modifier 3 is blank") << 0xC3 << 7 << "L7 ";
        QTest::addRow("%s", "minus, count high bits ignored") << 0x84 << 0xF9 << "R1-";
    }
    void bedChange()
    {
        QFETCH(int, flag);
        QFETCH(int, count);
        QFETCH(QString, text);
        QCOMPARE(system_bed_change(static_cast<unsigned char>(flag), static_cast<unsigned char>(count)), text);
    }

    void bedDechange_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("flag");
        QTest::addColumn<int>("count");
        QTest::addRow("%s", "L3*") << "L3*" << 0xC1 << 3;
        QTest::addRow("%s", "R8- has no distance 8") << "R8-" << 0x84 << 0;
        QTest::addRow("%s", "unknown side is R") << "X2+" << 0x82 << 2;
        QTest::addRow("%s", "short text") << "L" << 0xC0 << 0;
        QTest::addRow("%s", "lower-case l is R") << "l5*" << 0x81 << 5;
    }
    void bedDechange()
    {
        QFETCH(QString, text);
        QFETCH(int, flag);
        QFETCH(int, count);
        bool ok = false;
        const unsigned short v = system_bed_dechange(text, &ok);
        QVERIFY(ok);
        QCOMPARE(v & 0xff, flag);
        QCOMPARE(v >> 8, count);
    }

    // Whatever a row holds, the text shown, read back and shown again is the same text.
    void bedRoundTrip()
    {
        for (int flag = 0; flag < 256; ++flag) {
            for (int count = 0; count < 256; ++count) {
                const QString text = system_bed_change(static_cast<unsigned char>(flag), static_cast<unsigned char>(count));
                bool ok = false;
                const unsigned short v = system_bed_dechange(text, &ok);
                const QString again = system_bed_change(static_cast<unsigned char>(v & 0xff), static_cast<unsigned char>(v >> 8));
                if (again != text)
                    QFAIL(qPrintable(QStringLiteral("flag %1 count %2: '%3' became '%4'").arg(flag).arg(count).arg(text, again)));
            }
        }
    }

    void typeChange_data()
    {
        QTest::addColumn<int>("action");
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("h");
        const QString knit = QStringLiteral("编织");
        const QString tuck = QStringLiteral("集圈");
        QTest::addRow("%s", "0") << 0 << "" << "";
        QTest::addRow("%s", "1 transfer") << 1 << QStringLiteral("翻针") << "";
        QTest::addRow("%s", "7 knit and receive") << 7 << knit << QStringLiteral("接针");
        QTest::addRow("%s", "8 knit") << 8 << knit << "";
        QTest::addRow("%s", "10 tuck") << 10 << "" << tuck;
        QTest::addRow("%s", "11 tuck") << 11 << "" << tuck;
        QTest::addRow("%s", "13 knit and tuck") << 13 << knit << tuck;
        QTest::addRow("%s", "14 knit and tuck") << 14 << knit << tuck;
        for (int code : {2, 3, 4, 5, 6, 9, 12, 15, 16, 128, 255})
            QTest::addRow("%d nothing", code) << code << "" << "";
    }
    void typeChange()
    {
        QFETCH(int, action);
        QFETCH(QString, a);
        QFETCH(QString, h);
        QString gotA = QStringLiteral("stale"), gotH = QStringLiteral("stale");
        system_type_change(&gotA, &gotH, static_cast<unsigned char>(action));
        QCOMPARE(gotA, a);
        QCOMPARE(gotH, h);
        char bufA[8], bufH[8];
        std::memset(bufA, '#', sizeof bufA);
        std::memset(bufH, '#', sizeof bufH);
        system_type_change(bufA, sizeof bufA, bufH, sizeof bufH, static_cast<unsigned char>(action));
        QCOMPARE(QString::fromUtf8(bufA), a);
        QCOMPARE(QString::fromUtf8(bufH), h);
        QCOMPARE(bufA[7], '\0');
    }

    void dataChange_data()
    {
        QTest::addColumn<int>("systems");
        QTest::addColumn<bool>("inPlace");
        QTest::addRow("%s", "one system") << 1 << false;
        QTest::addRow("%s", "one system, in place") << 1 << true;
        QTest::addRow("%s", "two systems copy only") << 2 << false;
    }
    void dataChange()
    {
        QFETCH(int, systems);
        QFETCH(bool, inPlace);
        STRUCT_CNT row;
        auto *bytes = reinterpret_cast<unsigned char *>(&row);
        for (std::size_t i = 0; i < sizeof row; ++i)
            bytes[i] = static_cast<unsigned char>(i * 7 + 3);
        const QByteArray before(reinterpret_cast<const char *>(&row), sizeof row);
        STRUCT_CNT copy;
        STRUCT_CNT *out = inPlace ? &row : &copy;
        system_data_change(&row, out, 0x1234, 17, systems);
        const QByteArray after(reinterpret_cast<const char *>(out), sizeof *out);
        QByteArray want = before;
        if (systems <= 1) {
            want.replace(20, 20, before.mid(0, 20));
            want.replace(83, 3, before.mid(80, 3));
            want.replace(111, 2, before.mid(109, 2));
        }
        QCOMPARE(after, want);
    }

    void rowTexts()
    {
        STRUCT_CNT row;
        std::memset(&row, 0, sizeof row);
        STRUCT_CNT::set16(row.block[1].pat_line, 9999);
        STRUCT_CNT::set16(row.block[1].select_a, 0x8001);
        row.block[1].action = 13;
        row.mouth[0] = {0x80, 0x81, 0};
        row.rora_aux = 0x85;
        row.bed_flag = 0xC1;
        row.bed_count = 3;
        STRUCT_CNT::set16(row.back_line, 0xFFFF);
        CntRowTexts texts;
        RowCodecRow::decode(row, MouthRemap(), &texts);
        QMap<QString, QString> fields;
        for (const auto &f : RowCodecRow::fields(texts))
            fields.insert(f.first, f.second);
        auto value = [&fields](const char *name) { return fields.value(QLatin1String(name), QStringLiteral("<absent>")); };
        QCOMPARE(value("I.2.pat_line"), QStringLiteral("9999"));
        QCOMPARE(value("I.2.select_a"), QStringLiteral("0F"));
        QCOMPARE(value("I.2.action_h"), QStringLiteral("集圈"));
        QCOMPARE(value("I.mouth"), QStringLiteral("18"));
        QCOMPARE(value("II.mouth"), QStringLiteral("0"));
        QCOMPARE(value("rora_aux"), QStringLiteral("5"));
        QCOMPARE(value("bed"), QStringLiteral("L3*"));
        QCOMPARE(value("back_to"), QStringLiteral("65536"));
    }
};

QTEST_GUILESS_MAIN(TestRowCodec)
#include "test_rowcodec.moc"
