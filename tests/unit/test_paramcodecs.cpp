// The encodings of the calibration pages where faults hide. Faults caught: the racking sign
// rule losing "-0" or stepping the magnitude the wrong way; a density backup written at the
// wrong offsets, or a never-written (zero) or out-of-range backup offered for restoring; a
// carrier band sent under, or kept at, the other direction's address; a speed.mth that is not
// a whole table taken over the carrier corrections. (Racking -0 with fine 3 and the first band
// moving left are the parameter pages' test, through their pages.)
#include "testbytes.h"
#include "testroot.h"
#include "testtable.h"

#include "data/densitybackup.h"
#include "data/machinedata.h"
#include "data/carrierspeedtable.h"
#include "data/rackingvalue.h"

#include <QTest>

class TestParamCodecs : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void racking_data()
    {
        TestTable::columns<QString, QString, int, int, int, QString>("coarse", "fine", "step", "result", "stored", "shown");
        const int ok = RackingValue::Ok;
        QTest::addRow("-1 fine 3") << "-1" << "3" << 0 << ok << 987 << "-1";
        QTest::addRow("2 fine 3") << "2" << "3" << 0 << ok << 1023 << "2";
        QTest::addRow("-1 plus one") << "-1" << "4" << 1 << ok << 996 << "-0";
        QTest::addRow("-0 plus one") << "-0" << "4" << 1 << ok << 1004 << "0";
        QTest::addRow("0 minus one, no fine") << "0" << "0" << -1 << ok << 990 << "-1";
        QTest::addRow("0 minus one, fine 2") << "0" << "2" << -1 << ok << 998 << "-0";
        QTest::addRow("-98 minus one") << "-98" << "0" << -1 << ok << 10 << "-99";
        QTest::addRow("99 plus one") << "99" << "0" << 1 << int(RackingValue::CoarseOutOfRange) << 0 << "";
        QTest::addRow("coarse not a number") << "1x" << "0" << 0 << int(RackingValue::CoarseInvalid) << 0 << "";
        QTest::addRow("fine 10") << "1" << "10" << 0 << int(RackingValue::FineOutOfRange) << 0 << "";
        QTest::addRow("fine empty") << "1" << "" << 0 << int(RackingValue::FineInvalid) << 0 << "";
    }
    void racking()
    {
        auto [coarse, fine, step, result, stored, shown] = TestTable::fetch<QString, QString, int, int, int, QString>("coarse", "fine", "step", "result", "stored", "shown");
        unsigned short value = 0;
        QCOMPARE(int(RackingValue::encode(coarse, fine, step, &value)), result);
        if (result == RackingValue::Ok) {
            QCOMPARE(int(value), stored);
            QCOMPARE(RackingValue::coarseText(value), shown);
            QCOMPARE(RackingValue::fine(value), fine.toInt());
        }
    }

    // Record 1 taken from the system block: its corrections at bytes 80-111 of the file; a
    // record never written, or one value outside 400-600, is not restored.
    void densityBackup()
    {
        TestRoot root;
        ParamBlock<kSystemSize> system;
        for (int i = 0; i < DensityBackup::kCorrections; ++i)
            system.setWord(std::size_t(60 + i), quint16(401 + i));
        DensityBackup backup;
        backup.read();
        backup.store(1, system);
        QVERIFY(backup.write());
        const QByteArray file = TestBytes::readFile(DensityBackup::path());
        QCOMPARE(file.size(), DensityBackup::kSize);
        QCOMPARE(file.mid(80, 4), QByteArray::fromHex("91019201"));
        QCOMPARE(file.count('\0'), DensityBackup::kSize - 32);
        QVERIFY(backup.restorable(1));
        QVERIFY(!backup.restorable(0));
        for (const quint16 bad : {quint16(399), quint16(601)}) {
            QByteArray edited = file;
            edited[80 + 30] = char(bad & 0xff);
            edited[80 + 31] = char(bad >> 8);
            backup.parse(edited);
            QVERIFY2(!backup.restorable(1), qPrintable(QString::number(bad)));
        }
    }

    void carrierBands_data()
    {
        TestTable::columns<int, bool, int, int>("band", "left", "word", "address");
        QTest::addRow("1-5 right") << 0 << false << 64 << 0;
        QTest::addRow("96-99 left") << 19 << true << 243 << 179;
        QTest::addRow("96-99 right") << 19 << false << 83 << 19;
    }
    void carrierBands()
    {
        auto [band, left, word, address] = TestTable::fetch<int, bool, int, int>("band", "left", "word", "address");
        QCOMPARE(CarrierSpeedTable::word(band, left), word);
        QCOMPARE(CarrierSpeedTable::address(band, left), address);
    }

    // Kept corrections come back at start-up only from a whole table.
    void speedFile()
    {
        TestRoot root;
        MachineData machine;
        QByteArray table(int(kCarrierSpeedSize), '\0');
        table[2 * 224] = 70;
        QVERIFY(TestBytes::writeFile(CarrierSpeedTable::path(), table.left(int(kCarrierSpeedSize) - 1)));
        QVERIFY(!CarrierSpeedTable::load(machine));
        QCOMPARE(int(machine.carrierSpeedTable().word(224)), 0);
        QVERIFY(TestBytes::writeFile(CarrierSpeedTable::path(), table));
        QVERIFY(CarrierSpeedTable::load(machine));
        QCOMPARE(int(machine.carrierSpeedTable().word(224)), 70);
    }
};

QTEST_GUILESS_MAIN(TestParamCodecs)
#include "test_paramcodecs.moc"
